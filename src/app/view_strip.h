// The view strip: a grey panel down the main window's left edge with four
// NEWSTATIC icon buttons, each with a caption; a click selects its view.
#pragma once
#include <windows.h>

#include "win/scoped.h"

inline constexpr int StripButtonCount = 4;

// Creates the panel in its place in `mainWindow`, subclasses it, registers
// NEWSTATIC and lays out the labels. The panel is destroyed with the main
// window, and its font and icons with it.
HWND CreateViewStrip(HWND mainWindow);
// Sizes and places the labels and captions (made where missing), their icons
// and font, for the panel's DPI.
void LayOutViewStrip();
// Places the panel down the main window's left edge at the DPI's size and
// lays it out.
void PlaceViewStrip();
// The panel's bottom in the main window's client area.
int ViewStripBottom();
extern HWND StripPanel;
// The four icons of the buttons, by view index.
extern ScopedIcon StripIcons[StripButtonCount];
