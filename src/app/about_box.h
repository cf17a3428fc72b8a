// The About box (template 9000): the program's icon, name and version.
#pragma once
#include <windows.h>

// Runs the box modally, owned by `owner`.
void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
