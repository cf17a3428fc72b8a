// The layout rules every window of the program keeps at any DPI, checked
// over a window and the child dialogs and panels it holds: each visible
// control lies inside its parent's client area, no two visible siblings
// overlap (a frame and what it wholly holds aside), every text of a static,
// button or check box fits its control in the control's own font, and every
// icon is one drawn at the size the DPI asks for.
#pragma once
#include <windows.h>
#include <commctrl.h>

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

// The icon sizes the program's icons are drawn at for its controls; the one
// shown at a DPI is the largest that is not larger than 32 pixels scaled.
inline int ExpectedIconSize(int dpi) {
  int best = 32;
  for (int size : {32, 40, 48, 64})
    if (size <= MulDiv(32, dpi, 96)) best = size;
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
    if (!icon) return Fault(w, "shows no icon");
    const SIZE size = IconSize(icon);
    RECT client{};
    GetClientRect(w, &client);
    const int expected = ExpectedIconSize(dpi_);
    if (size.cx != expected || size.cy != expected)
      Fault(w, "icon of " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + ", drawn size " +
                   std::to_string(expected) + " expected");
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
