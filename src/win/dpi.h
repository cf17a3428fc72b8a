// The DPI a window is shown at, and what is sized by it. Windows 10 (1607 and
// later) knows a DPI per monitor; before that, and on XP, every window has the
// system DPI.
#pragma once
#include <windows.h>

#include "util/dpi_scale.h"

// WM_DPICHANGED: the SDK declares it only for Windows 7 targets and later.
// Its wParam holds the new DPI (LOWORD), its lParam the suggested rectangle.
inline constexpr UINT DpiChangedMessage = 0x02E0;

// GetDpiForWindow where the system has it, the system DPI otherwise (also for
// a null window).
int WindowDpi(HWND window);
int SystemDpi();
// A figure of the 96-DPI layout in the pixels of `window`.
inline int Scaled(HWND window, int value) { return ScaleToDpi(value, WindowDpi(window)); }

// The icon resource `id` at the largest size it is drawn at that fits `size`
// pixels and that the system can read (XP reads no PNG images: the largest
// DIB image then); null when none fits.
HICON LoadIconAtSize(HINSTANCE instance, int id, int size);
// The largest DIB image of icon resource `id` that fits `size` pixels, read
// without the system's choice (which on XP may fall on a PNG image it cannot
// read); null when there is none.
HICON LoadDibIconAtSize(HINSTANCE instance, int id, int size);
// The small (SM_CXSMICON) and the large (SM_CXICON) icon at `dpi`.
int SmallIconSize(int dpi);
int LargeIconSize(int dpi);

// A dialog made from a template that follows a move to a monitor of
// another scale (WM_DPICHANGED): its controls and those of the dialogs in it
// are placed and sized again, each font of theirs is made again at the new
// DPI (the dialog owns the new fonts), list columns are widened or narrowed,
// and the dialog takes the suggested rectangle. The message then goes on to
// the dialog's procedure, which remakes what else it made at the old DPI.
// Windows' own re-layout of dialogs (Windows 10 1703 and later) is turned
// off for it, so that nothing is scaled twice. With `smallIconId`, the
// dialog's small icon is that icon resource at the DPI of the moment. For
// WM_INITDIALOG.
void FollowDpiChanges(HWND dialog, int smallIconId = 0);
// MapDialogRect for a dialog that follows DPI changes: its dialog units in
// pixels at the DPI of the moment (MapDialogRect keeps those of its creation).
void MapDialogRectNow(HWND dialog, RECT& rect);
