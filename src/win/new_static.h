// NEWSTATIC: the STATIC class with a hover frame (raised while the pointer
// rests on the label, sunken while the button is down, gone with the
// capture). Used for the view strip's buttons, the About box icon and the
// statistics view's copy button.
#pragma once
#include <windows.h>

inline constexpr char NewStaticClassName[] = "NEWSTATIC";

// Registers the class (a copy of STATIC with NewStaticProc) for the program's
// instance. Later calls keep the first registration; true when it exists.
bool RegisterNewStaticClass();

// The class's procedure; everything it does not handle goes to STATIC's.
LRESULT CALLBACK NewStaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
// STATIC's class procedure, saved at registration.
extern WNDPROC NewStaticBaseProc;

// The frame is drawn straight onto the label and its parent, corners (1, 1)
// and the label's size: (48, 48) at 96 DPI. Erased, what lay under it is
// drawn again.
enum class LabelFrame { Erased, Raised, Sunken };
void DrawLabelFrame(HWND label, LabelFrame look);
// The same frame in any two colours: bottom and right edges, then top and left.
void DrawFrameLines(HWND label, COLORREF lowerRight, COLORREF upperLeft);
