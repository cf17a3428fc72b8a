// The layout rules every window of the program keeps at any DPI, checked
// over a window and the child dialogs and panels it holds: each visible
// control lies inside its parent's client area, no two visible siblings
// overlap (a frame and what it wholly holds aside), every text of a static,
// button or check box fits its control in the control's own font, and every
// icon is the largest its resource is drawn at that fits the size the DPI
// asks for, never a stretched one.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace layout_test {

inline std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}
inline std::string TextOf(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}
inline LONG StyleOf(HWND w) { return GetWindowLongA(w, GWL_STYLE); }
inline bool IsClass(HWND w, const char* name) { return _stricmp(ClassOf(w).c_str(), name) == 0; }
inline bool IsStatic(HWND w) { return IsClass(w, "Static") || IsClass(w, "NEWSTATIC"); }
inline bool IsButton(HWND w) { return IsClass(w, "Button"); }

inline std::string Describe(HWND w) {
  std::string d = ClassOf(w) + " " + std::to_string(GetDlgCtrlID(w));
  const std::string text = TextOf(w);
  if (!text.empty()) d += " \"" + text + "\"";
  return d;
}

// The window's rectangle in its parent's client coordinates.
inline RECT PlaceOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
inline std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// Frames that hold other controls: group boxes, frame and rectangle statics,
// the tab control, and a text static without text laid under others as a band.
inline bool IsFrame(HWND w) {
  const LONG style = StyleOf(w);
  if (IsButton(w)) return (style & BS_TYPEMASK) == BS_GROUPBOX;
  if (IsClass(w, WC_TABCONTROLA)) return true;
  if (!IsStatic(w)) return false;
  const LONG type = style & SS_TYPEMASK;
  if ((type >= SS_BLACKRECT && type <= SS_WHITEFRAME && type != SS_ICON) || type == SS_ETCHEDFRAME) return true;
  return (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && TextOf(w).empty();
}
inline bool Holds(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The smallest rectangle of `w`'s client area holding every pixel drawn in
// another colour than its top-left corner's: where its text or picture is
// seen. Empty when nothing is drawn.
inline RECT InkBounds(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(w, &client);
  RECT ink{client.right, client.bottom, 0, 0};
  HDC dc = GetDC(w);
  const COLORREF back = GetPixel(dc, 0, 0);
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (GetPixel(dc, x, y) != back) {
        ink.left = x < ink.left ? x : ink.left;
        ink.top = y < ink.top ? y : ink.top;
        ink.right = x + 1 > ink.right ? x + 1 : ink.right;
        ink.bottom = y + 1;
      }
  ReleaseDC(w, dc);
  return ink.right > ink.left ? ink : RECT{};
}

// The extent of `text` in the control's font, laid out with `flags` in `width`.
inline SIZE TextExtent(HWND control, const std::string& text, UINT flags, int width) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  RECT r{0, 0, width, 0};
  DrawTextA(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}
inline int HalfZeroWidth(HWND control) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE zero{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return zero.cx / 2;
}

// The room a control gives its text, and how it lays the text out; false for
// controls that show no text of their own.
inline bool TextRoom(HWND w, int dpi, RECT& room, UINT& flags) {
  GetClientRect(w, &room);
  const LONG style = StyleOf(w);
  if (IsStatic(w)) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)
      return false;
    const bool oneLine = type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE);
    flags = (oneLine ? DT_SINGLELINE : DT_WORDBREAK | DT_EXPANDTABS) | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    return true;
  }
  if (!IsButton(w)) return false;
  const LONG type = style & BS_TYPEMASK;
  flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      InflateRect(&room, -3, -3);  // the raised edge and the default frame
      return true;
    case BS_GROUPBOX:  // the caption sits on the frame, a character in from each end
      room.left += 2 * HalfZeroWidth(w);
      room.right -= 2 * HalfZeroWidth(w);
      return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: {
      // The box (12 pixels and its edge at 96 DPI) and half a digit's gap.
      const int box = MulDiv(12, dpi, 96) + 1 + HalfZeroWidth(w);
      if (style & BS_LEFTTEXT)
        room.right -= box;
      else
        room.left += box;
      return true;
    }
  }
  return false;
}

// Of the sizes an icon is drawn at, the one shown for a wanted size: the
// largest not larger (the smallest when all are).
inline int DrawnSizeFor(int wanted, const std::vector<int>& drawn) {
  int best = drawn.empty() ? 0 : *std::min_element(drawn.begin(), drawn.end());
  for (int size : drawn)
    if (size <= wanted && size > best) best = size;
  return best;
}

inline SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  BITMAP bm{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

// The icon's colour pixels, top row first.
inline std::vector<uint32_t> IconPixels(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  std::vector<uint32_t> pixels;
  BITMAP bm{};
  if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    if (!GetDIBits(screen, info.hbmColor, 0, bm.bmHeight, pixels.data(), &format, DIB_RGB_COLORS)) pixels.clear();
    ReleaseDC(nullptr, screen);
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

struct DrawnImageSearch {
  int size;
  std::vector<uint32_t> shown;
  std::vector<int> sizes = {};  // of the icon resource that holds the image
};
// Looks through the images of one icon resource for the one searched for.
inline BOOL CALLBACK MatchDrawnImage(HMODULE module, LPCSTR, LPSTR name, LONG_PTR context) {
  auto& s = *reinterpret_cast<DrawnImageSearch*>(context);
  HRSRC group = FindResourceA(module, name, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  const auto* bytes = group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  const DWORD length = group ? SizeofResource(module, group) : 0;
  // A 6-byte header, then 14-byte entries: the width at 0, the image's number at 12.
  std::vector<int> sizes;
  bool found = false;
  for (DWORD at = 6; bytes && at + 14 <= length; at += 14) {
    sizes.push_back(bytes[at]);
    if (found || bytes[at] != s.size) continue;
    const WORD number = static_cast<WORD>(bytes[at + 12] | bytes[at + 13] << 8);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(3));  // RT_ICON
    if (!image) continue;
    auto* data = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
    HICON drawn = CreateIconFromResourceEx(data, SizeofResource(module, image), TRUE, 0x00030000, s.size, s.size, 0);
    found = drawn && IconPixels(drawn) == s.shown;
    if (drawn) DestroyIcon(drawn);
  }
  if (found) s.sizes = sizes;
  return !found;
}
// The sizes of the program's icon resource that holds an image of the icon's
// size with the icon's pixels; none for a stretched icon (the system's answer
// when no image of the size asked for is there).
inline std::vector<int> SizesDrawnFor(HICON icon) {
  DrawnImageSearch search{IconSize(icon).cx, IconPixels(icon)};
  if (!search.shown.empty())
    EnumResourceNamesA(nullptr, MAKEINTRESOURCEA(14), MatchDrawnImage, reinterpret_cast<LONG_PTR>(&search));
  return search.sizes;
}
inline bool IsDrawnImage(HICON icon) { return !SizesDrawnFor(icon).empty(); }

// What is wrong with an icon shown for `wanted` pixels: none, stretched, or
// not the largest its resource is drawn at that fits; empty when nothing.
inline std::string IconFault(HICON icon, int wanted) {
  if (!icon) return "shows no icon";
  const SIZE size = IconSize(icon);
  const std::string shown = "icon of " + std::to_string(size.cx) + " x " + std::to_string(size.cy);
  const std::vector<int> sizes = SizesDrawnFor(icon);
  if (sizes.empty()) return shown + " stretched: no image drawn at that size";
  const int expected = DrawnSizeFor(wanted, sizes);
  if (size.cx != expected || size.cy != expected) return shown + ", drawn size " + std::to_string(expected) + " expected";
  return {};
}

// The window's own icons (caption, taskbar, Alt+Tab and the notification
// area) at the sizes the system asks for at its DPI.
inline std::string WindowIconFaults(HWND window, HICON trayIcon, const std::string& where) {
  const struct {
    const char* name;
    HICON icon;
    int wanted;
  } icons[] = {
      {"small", reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), GetSystemMetrics(SM_CXSMICON)},
      {"large", reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), GetSystemMetrics(SM_CXICON)},
      {"notification-area", trayIcon, GetSystemMetrics(SM_CXSMICON)},
  };
  std::string faults;
  for (const auto& i : icons)
    if (const std::string fault = IconFault(i.icon, i.wanted); !fault.empty())
      faults += where + ": " + i.name + " " + fault + "\n";
  return faults;
}

class Checker {
 public:
  Checker(int dpi, std::string where) : dpi_(dpi), where_(std::move(where)) {}

  // Checks the children of `parent`, and theirs where they are dialogs or panels.
  void CheckChildren(HWND parent) {
    RECT client{};
    GetClientRect(parent, &client);
    std::vector<HWND> shown;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (IsWindowVisible(c)) shown.push_back(c);
    for (size_t i = 0; i < shown.size(); ++i) {
      HWND c = shown[i];
      const RECT place = PlaceOf(c);
      if (!Holds(client, place))
        Fault(c, "lies outside its parent's client area " + RectText(client) + ": " + RectText(place));
      for (size_t j = i + 1; j < shown.size(); ++j) CheckOverlap(c, shown[j]);
      CheckText(c);
      CheckIcon(c);
      if (IsClass(c, "#32770") || (IsStatic(c) && GetWindow(c, GW_CHILD))) CheckChildren(c);
    }
  }

  const std::vector<std::string>& Faults() const { return faults_; }

 private:
  void Fault(HWND w, const std::string& what) {
    faults_.push_back(where_ + ", " + Describe(w) + " in " + Describe(GetParent(w)) + ": " + what);
  }

  void CheckOverlap(HWND a, HWND b) {
    const RECT ra = PlaceOf(a), rb = PlaceOf(b);
    RECT common{};
    if (!IntersectRect(&common, &ra, &rb)) return;
    if ((IsFrame(a) && Holds(ra, rb)) || (IsFrame(b) && Holds(rb, ra))) return;
    Fault(a, "overlaps " + Describe(b) + ": " + RectText(ra) + " and " + RectText(rb));
  }

  void CheckText(HWND w) {
    const std::string text = TextOf(w);
    RECT room{};
    UINT flags = 0;
    if (text.empty() || !TextRoom(w, dpi_, room, flags)) return;
    const SIZE need = TextExtent(w, text, flags, room.right - room.left);
    if (need.cx > room.right - room.left || need.cy > room.bottom - room.top)
      Fault(w, "text needs " + std::to_string(need.cx) + " x " + std::to_string(need.cy) + ", has " +
                   std::to_string(room.right - room.left) + " x " + std::to_string(room.bottom - room.top));
  }

  void CheckIcon(HWND w) {
    if (!IsStatic(w) || (StyleOf(w) & SS_TYPEMASK) != SS_ICON) return;
    auto icon = reinterpret_cast<HICON>(SendMessageA(w, STM_GETIMAGE, IMAGE_ICON, 0));
    // The program's controls show their icons at 32 pixels at 96 DPI.
    if (const std::string fault = IconFault(icon, MulDiv(32, dpi_, 96)); !fault.empty()) return Fault(w, fault);
    const SIZE size = IconSize(icon);
    RECT client{};
    GetClientRect(w, &client);
    if (size.cx > client.right || size.cy > client.bottom) Fault(w, "icon larger than its control");
  }

  int dpi_;
  std::string where_;
  std::vector<std::string> faults_;
};

// Every fault of `window` at `dpi`, each on its own line; empty when none.
inline std::string LayoutFaults(HWND window, int dpi, const std::string& where) {
  Checker checker(dpi, where);
  checker.CheckChildren(window);
  std::string all;
  for (const auto& fault : checker.Faults()) all += fault + "\n";
  return all;
}

}  // namespace layout_test
