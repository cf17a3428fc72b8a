#include "win/dpi.h"

#include <commctrl.h>

#include <cstring>
#include <span>
#include <utility>

#include "win/scoped.h"
#include "win/subclass.h"
#include "win/system_library.h"

namespace {
// Declared here: the SDK declares them only for Windows 10 targets.
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL WINAPI(HWND, int, int);
constexpr int DialogDpiChangeDisableAll = 1;  // DDC_DISABLE_ALL

HMODULE User32() {
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32;
}

int IconMetric(int metric, int dpi) {
  static auto* const forDpi = SystemFunction<GetSystemMetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
  const int size = forDpi ? forDpi(metric, static_cast<UINT>(dpi)) : 0;
  // Before Windows 10 the metrics are those of the system DPI.
  return size > 0 ? size : ScaleBetween(GetSystemMetrics(metric), dpi, SystemDpi());
}

std::span<const BYTE> ResourceBytes(HINSTANCE instance, int id, LPCSTR type) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const BYTE*>(data), SizeofResource(instance, found)};
}

// An icon resource (RT_GROUP_ICON) is this header and `count` entries, each
// naming one image (RT_ICON) by number.
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD image;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);
}  // namespace

namespace {
int FollowedDpi(HWND dialog);
// Until a window that follows DPI changes has seen one, every window has the
// DPI the system gives it, and no window needs to be asked.
bool DpiChangeFollowed = false;
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : BaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : BaseDpi;
}

int WindowDpi(HWND window) {
  // A window inside a dialog that follows DPI changes has the DPI the last
  // change gave (the system's own answer, where it has one, is the same).
  if (DpiChangeFollowed)
    if (const int followed = FollowedDpi(window ? GetAncestor(window, GA_ROOT) : nullptr)) return followed;
  static auto* const forWindow = SystemFunction<GetDpiForWindowFunction>(User32(), "GetDpiForWindow");
  if (window && forWindow) {
    const UINT dpi = forWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SmallIconSize(int dpi) { return IconMetric(SM_CXSMICON, dpi); }
int LargeIconSize(int dpi) { return IconMetric(SM_CXICON, dpi); }

namespace {
struct IconImage {
  std::span<const BYTE> bytes;  // read only for a DIB one
  int size = 0;
};

// The largest image of icon resource `id` that fits `size` pixels, of any
// kind or a DIB one; size 0 when none fits.
IconImage LargestImage(HINSTANCE instance, int id, int size, bool dib) {
  const std::span<const BYTE> group = ResourceBytes(instance, id, RT_GROUP_ICON);
  GroupIconHeader header{};
  IconImage best;
  if (group.size() < sizeof header) return best;
  std::memcpy(&header, group.data(), sizeof header);
  for (size_t i = 0; i < header.count && sizeof header + (i + 1) * sizeof(GroupIconEntry) <= group.size(); ++i) {
    GroupIconEntry entry{};
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    const int width = entry.width ? entry.width : 256;
    if (width > size || width <= best.size) continue;
    std::span<const BYTE> image;
    if (dib) {
      // A DIB image starts with its 40-byte header, a PNG one with its signature.
      image = ResourceBytes(instance, entry.image, RT_ICON);
      if (image.size() < sizeof(BITMAPINFOHEADER) || image[0] != sizeof(BITMAPINFOHEADER) || image[1] != 0) continue;
    }
    best = {image, width};
  }
  return best;
}
}  // namespace

HICON LoadDibIconAtSize(HINSTANCE instance, int id, int size) {
  const IconImage image = LargestImage(instance, id, size, true);
  if (image.bytes.empty()) return nullptr;
  return CreateIconFromResourceEx(const_cast<BYTE*>(image.bytes.data()), static_cast<DWORD>(image.bytes.size()), TRUE,
                                  0x00030000, image.size, image.size, LR_DEFAULTCOLOR);
}

HICON LoadIconAtSize(HINSTANCE instance, int id, int size) {
  // A size the icon is drawn at: the system stretches an image to any other.
  const int drawn = LargestImage(instance, id, size, false).size;
  if (drawn)
    if (HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, drawn, drawn, 0))
      return static_cast<HICON>(icon);
  return LoadDibIconAtSize(instance, id, size);
}

namespace {
// The fonts of a dialog's controls at another DPI, one for each font they
// had (a dialog has few: its own, a banner's); more keep their size.
constexpr int MaxDialogFonts = 8;
struct DialogFonts {
  HFONT old[MaxDialogFonts] = {};
  ScopedFont made[MaxDialogFonts];
  int count = 0;
};

struct DialogDpi {
  DialogDpi(int atDpi, int iconId) : dpi(atDpi), createdDpi(atDpi), smallIconId(iconId) {}
  int dpi;
  int createdDpi;  // that of the template's layout, which MapDialogRect keeps
  int smallIconId;
  ScopedIcon smallIcon;
  DialogFonts fonts;  // made at `dpi`, once it changed
};

void SetSmallIcon(HWND dialog, DialogDpi& state) {
  if (!state.smallIconId) return;
  ScopedIcon icon(LoadIconAtSize(GetModuleHandleA(nullptr), state.smallIconId, SmallIconSize(state.dpi)));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
  state.smallIcon = std::move(icon);
}

HFONT ScaledFont(HFONT font, int to, int from, DialogFonts& fonts) {
  for (int i = 0; i < fonts.count; ++i)
    if (fonts.old[i] == font) return fonts.made[i].get();
  LOGFONTA look{};
  if (fonts.count == MaxDialogFonts || !GetObjectA(font, sizeof look, &look)) return font;
  look.lfHeight = ScaleBetween(look.lfHeight, to, from);
  look.lfWidth = ScaleBetween(look.lfWidth, to, from);
  HFONT made = CreateFontIndirectA(&look);
  if (!made) return font;
  fonts.old[fonts.count] = font;
  fonts.made[fonts.count++].Reset(made);
  return made;
}

// A font's dialog base units: the average width of the letters, and the
// height of a line, as the dialog manager measures them.
SIZE BaseUnits(HWND window, HFONT font) {
  WindowDC dc(window);
  SelectedObject selected(dc.get(), font);
  TEXTMETRICA metrics{};
  SIZE letters{};
  GetTextMetricsA(dc.get(), &metrics);
  GetTextExtentPoint32A(dc.get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
  return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// How a dialog laid out in dialog units grows from one DPI to another: by
// the base units of its font made at each (text does not grow evenly).
struct Growth {
  SIZE to, from;
  LONG X(LONG x) const { return MulDiv(x, to.cx, from.cx); }
  LONG Y(LONG y) const { return MulDiv(y, to.cy, from.cy); }
};

Growth DialogGrowth(HWND dialog, int to, int from) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA look{};
  if (!font || !GetObjectA(font, sizeof look, &look)) return {{to, to}, {from, from}};
  look.lfHeight = MulDiv(look.lfHeight, to, from);
  look.lfWidth = MulDiv(look.lfWidth, to, from);
  ScopedFont scaled(CreateFontIndirectA(&look));
  const SIZE now = BaseUnits(dialog, font);
  const SIZE then = scaled ? BaseUnits(dialog, scaled.get()) : SIZE{MulDiv(now.cx, to, from), MulDiv(now.cy, to, from)};
  if (now.cx <= 0 || now.cy <= 0) return {{to, to}, {from, from}};
  return {then, now};
}

// The children of `parent`, and theirs inside the dialogs it holds, at DPI
// `to` instead of `from`: the font first (a combo box takes its height from
// it), then the place. A dialog's own font stays: the dialog manager owns it.
void RescaleChildren(HWND parent, const Growth& growth, int to, int from, DialogFonts& fonts) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char kind[32] = {};
    GetClassNameA(child, kind, sizeof kind);
    const bool dialog = lstrcmpiA(kind, "#32770") == 0;
    auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    if (font && !dialog)
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(ScaledFont(font, to, from, fonts)), TRUE);
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    if (lstrcmpiA(kind, "ComboBox") == 0) {  // its height counts the list that drops down
      RECT dropped{};
      if (SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
        place.bottom = place.top + dropped.bottom - dropped.top;
    }
    // A dialog inside (a view) grows by its size, as what fills it does: by
    // its edges it could come out a pixel short of its own children.
    const LONG left = growth.X(place.left), top = growth.Y(place.top);
    const LONG width = dialog ? growth.X(place.right - place.left) : growth.X(place.right) - left;
    const LONG height = dialog ? growth.Y(place.bottom - place.top) : growth.Y(place.bottom) - top;
    SetWindowPos(child, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (lstrcmpiA(kind, WC_LISTVIEWA) == 0) {
      HWND header = ListView_GetHeader(child);
      const int columns = header ? Header_GetItemCount(header) : 0;
      for (int column = 0; column < columns; ++column)
        ListView_SetColumnWidth(child, column, growth.X(ListView_GetColumnWidth(child, column)));
    }
    if (dialog) RescaleChildren(child, growth, to, from, fonts);
  }
}

// WM_GETDPISCALEDSIZE: the window's size at `to`, its frame grown with the
// DPI and its client area with the base units, so that the rectangle that
// WM_DPICHANGED then suggests holds the controls.
void ScaledWindowSize(HWND dialog, int to, int from, SIZE& size) {
  const Growth growth = DialogGrowth(dialog, to, from);
  RECT outer{}, client{};
  GetWindowRect(dialog, &outer);
  GetClientRect(dialog, &client);
  const LONG frameX = outer.right - outer.left - client.right, frameY = outer.bottom - outer.top - client.bottom;
  size = {MulDiv(frameX, to, from) + growth.X(client.right), MulDiv(frameY, to, from) + growth.Y(client.bottom)};
}

constexpr UINT DpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

LRESULT FollowDpi(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, DialogDpi& state) {
  const int dpi = static_cast<int>(LOWORD(wParam));
  if (message == DpiScaledSizeMessage && dpi > 0) {
    ScaledWindowSize(dialog, dpi, state.dpi, *reinterpret_cast<SIZE*>(lParam));
    return TRUE;
  }
  if (message != DpiChangedMessage) return DefSubclassProc(dialog, message, wParam, lParam);
  RECT client{};
  GetClientRect(dialog, &client);
  const Growth growth = DialogGrowth(dialog, dpi, state.dpi);
  if (dpi > 0 && dpi != state.dpi) {
    DpiChangeFollowed = true;
    DialogFonts fonts;
    RescaleChildren(dialog, growth, dpi, state.dpi, fonts);
    state.fonts = std::move(fonts);  // the old ones are no longer in use
    SetSmallIcon(dialog, state);
  }
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame did not grow as the DPI did (it can stay as it was: Wine),
  // the client area is made the size the controls need.
  if (dpi > 0 && dpi != state.dpi) {
    RECT now{};
    GetClientRect(dialog, &now);
    const LONG moreX = growth.X(client.right) - now.right, moreY = growth.Y(client.bottom) - now.bottom;
    if (moreX || moreY)
      SetWindowPos(dialog, nullptr, 0, 0, suggested.right - suggested.left + moreX,
                   suggested.bottom - suggested.top + moreY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    state.dpi = dpi;
  }
  DefSubclassProc(dialog, message, wParam, lParam);
  return 0;
}

int FollowedDpi(HWND dialog) {
  const DialogDpi* state = ControlStateOf<DialogDpi, FollowDpi>(dialog);
  return state ? state->dpi : 0;
}
}  // namespace

void MapDialogRectNow(HWND dialog, RECT& rect) {
  MapDialogRect(dialog, &rect);
  const DialogDpi* state = DpiChangeFollowed ? ControlStateOf<DialogDpi, FollowDpi>(dialog) : nullptr;
  if (!state || state->dpi == state->createdDpi) return;
  const Growth growth = DialogGrowth(dialog, state->dpi, state->createdDpi);
  rect = {growth.X(rect.left), growth.Y(rect.top), growth.X(rect.right), growth.Y(rect.bottom)};
}

void FollowDpiChanges(HWND dialog, int smallIconId) {
  static auto* const ownLayout =
      SystemFunction<SetDialogDpiChangeBehaviorFunction>(User32(), "SetDialogDpiChangeBehavior");
  if (ownLayout) ownLayout(dialog, DialogDpiChangeDisableAll, DialogDpiChangeDisableAll);
  if (DialogDpi* state = SubclassControlWithState<DialogDpi, FollowDpi>(dialog, WindowDpi(dialog), smallIconId))
    SetSmallIcon(dialog, *state);
}
