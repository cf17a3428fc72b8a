// The DPI a window is shown at, and what is sized by it. Windows 10 (1607 and
// later) knows a DPI per monitor; before that, and on XP, every window has the
// system DPI.
#pragma once
#include <windows.h>

#include "util/dpi_scale.h"

// WM_DPICHANGED: the SDK declares it only for Windows 7 targets and later.
inline constexpr UINT DpiChangedMessage = 0x02E0;

// GetDpiForWindow where the system has it, the system DPI otherwise (also for
// a null window).
int WindowDpi(HWND window);
int SystemDpi();
// A figure of the 96-DPI layout in the pixels of `window`.
inline int Scaled(HWND window, int value) { return ScaleToDpi(value, WindowDpi(window)); }

// The icon resource `id` at the largest drawn size that fits `size` pixels and
// that the system can read (XP reads no PNG images: a DIB image then).
HICON LoadIconAtSize(HINSTANCE instance, int id, int size);
// The largest DIB image of icon resource `id` that fits `size` pixels, read
// without the system's choice (which on XP may fall on a PNG image it cannot
// read); null when there is none.
HICON LoadDibIconAtSize(HINSTANCE instance, int id, int size);
// The small (SM_CXSMICON) and the large (SM_CXICON) icon at `dpi`.
int SmallIconSize(int dpi);
int LargeIconSize(int dpi);
