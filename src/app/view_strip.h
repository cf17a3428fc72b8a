// The view strip: a grey panel down the main window's left edge with four
// NEWSTATIC icon buttons, each with a caption; a click selects its view.
#pragma once
#include <windows.h>

#include "win/scoped.h"

inline constexpr int StripButtonCount = 4;

// Creates the panel in `mainWindow`, subclasses it, registers NEWSTATIC and
// has the panel build its font and labels. The panel is destroyed with the
// main window, and its font and icons with it.
HWND CreateViewStrip(HWND mainWindow);
// Sizes and places the labels and captions, their icons and font, for the
// panel's DPI.
void LayOutViewStrip();
// Places the panel down the main window's left edge at the DPI's size and
// lays it out; gives back its bottom in the main window's client area.
int PlaceViewStrip();
extern HWND StripPanel;
// The four icons of the buttons, by view index.
extern ScopedIcon StripIcons[StripButtonCount];
