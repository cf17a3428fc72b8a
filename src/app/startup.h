// Start-up: the process-wide values, the single-instance gate, the first-run
// wizard, the main window and the message loop.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// Runs the program; the result is the process's exit code (0 when start-up
// stops early: another copy runs, or the first-run wizard was cancelled).
int RunFumora(HINSTANCE instance);

// The values every window reads, set before any window exists: instance,
// common-control classes, date-picker range, custom colours, locale formats,
// data-file paths, scroll-bar width.
void InitialiseProcessValues(HINSTANCE instance);

// The folder (ending in a backslash) where the data files of the executable
// at `executable` lie: beside it, or in %APPDATA%\Fumora when that folder
// can hold no files or the path is not known (empty); empty when neither is
// known.
std::string DataFolderFor(std::string_view executable);

// One message of the program's loop: the dialog keys of DialogMessageTarget,
// then translation and dispatch.
void DispatchLoopMessage(MSG& message);

// Takes the named single-instance mutex into InstanceMutex; false (and no
// handle kept) when another copy holds it.
bool TakeSingleInstanceMutex();

inline constexpr char InstanceMutexName[] = "3g46aFumoraMutex1dk92a0";
