// Resource and control numbers. One section per subsystem; the numbers are
// fixed (stored nowhere, but other tools and tests find controls by them).
#pragma once

// ---- icons ----
#define IDI_FUMORA 101

// ---- application shell: main window 1000, menus 10000/10100, About 9000 ----

// ---- first-run wizard 7000 ----

// ---- statistics view 4000 ----

// ---- milestones view 5000 ----

// ---- buddies view 2000 ----

// ---- days ahead view 3000 ----

// ---- quit details 7500, price point ----

// ---- preferences 8000 ----
