// Puts the stats text on the clipboard.
#pragma once
#include <windows.h>

// The expansion of the stats template as CF_TEXT, with exactly one
// terminator. `owner` becomes the clipboard owner (a null owner would make
// SetClipboardData fail after EmptyClipboard). Failures leave the clipboard's
// text as it was, silently.
void CopyStatsToClipboard(HWND owner);

// SetClipboardData; tests make it refuse.
using ClipboardDataFunction = HANDLE(WINAPI*)(UINT format, HANDLE data);
extern ClipboardDataFunction PutClipboardData;
