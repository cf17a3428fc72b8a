// The view strip: a grey panel down the main window's left edge with four
// NEWSTATIC icon buttons, each with a caption; a click selects its view.
#pragma once
#include <windows.h>

inline constexpr int StripButtonCount = 4;

// Creates the panel in `mainWindow`, subclasses it, registers NEWSTATIC and
// has the panel build its font and labels. The panel is destroyed with the
// main window; its icons are not (DestroyStripIcons).
HWND CreateViewStrip(HWND mainWindow);
// The four icons of the buttons, by view index; destroyed at shutdown.
void DestroyStripIcons();

extern HWND StripPanel;
extern HICON StripIcons[StripButtonCount];
