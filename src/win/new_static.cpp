#include "win/new_static.h"

#include "win/app_state.h"
#include "win/scoped.h"

WNDPROC NewStaticBaseProc;

namespace {
// The label's place in its parent's client area: the frame is drawn there,
// where its right and bottom edges lie, just beyond the label.
RECT PlaceInParent(HWND label) {
  RECT place{};
  GetWindowRect(label, &place);
  MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&place), 2);
  return place;
}
}  // namespace

// Bottom and right edges in one colour, then top and left in the other, as
// one closed path: the same pixels whatever the colours. The corners are
// (1, 1) and the label's size, (48, 48) at 96 DPI, whatever size the display
// scale gives it.
void DrawFrameLines(HWND label, COLORREF lowerRight, COLORREF upperLeft) {
  WindowDC dc(GetParent(label));
  if (!dc.get()) return;
  const RECT r = PlaceInParent(label);
  ScopedPen lowerPen(CreatePen(PS_SOLID, 1, lowerRight));
  ScopedPen upperPen(CreatePen(PS_SOLID, 1, upperLeft));
  MoveToEx(dc.get(), r.left + 1, r.bottom, nullptr);
  {
    SelectedObject pen(dc.get(), lowerPen.get());
    LineTo(dc.get(), r.right, r.bottom);
    LineTo(dc.get(), r.right, r.top + 1);
  }
  {
    SelectedObject pen(dc.get(), upperPen.get());
    LineTo(dc.get(), r.left + 1, r.top + 1);
    LineTo(dc.get(), r.left + 1, r.bottom);
  }
}

namespace {
bool CursorOutside(HWND label) {
  POINT cursor{};
  RECT area{};
  GetCursorPos(&cursor);
  GetWindowRect(label, &area);
  return !PtInRect(&area, cursor);
}

LRESULT OnMouseMove(HWND label) {
  if (CursorOutside(label)) {
    ReleaseCapture();  // and the frame goes with it (WM_CAPTURECHANGED)
  } else if (GetCapture() != label) {
    DrawLabelFrame(label, LabelFrame::Raised);
    // Holding the capture is what lets the label see the move that leaves it.
    SetCapture(label);
  }
  return 0;
}
}  // namespace

void DrawLabelFrame(HWND label, LabelFrame look) {
  switch (look) {
    case LabelFrame::Erased: {
      // What lay under the frame is drawn again, whatever its colours (the
      // strip's shadow grey, a dialog's face).
      RECT area = PlaceInParent(label);
      ++area.right;
      ++area.bottom;
      RedrawWindow(GetParent(label), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      break;
    }
    case LabelFrame::Raised:
      DrawFrameLines(label, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
      break;
    case LabelFrame::Sunken:
      DrawFrameLines(label, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
      break;
  }
}

LRESULT CALLBACK NewStaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      return OnMouseMove(label);
    case WM_LBUTTONDOWN:
      DrawLabelFrame(label, LabelFrame::Sunken);
      break;  // the base procedure sends the click notification
    case WM_LBUTTONUP:
      DrawLabelFrame(label, LabelFrame::Raised);
      break;
    case WM_CAPTURECHANGED:
      // The frame lives on the capture: whatever takes the capture away (a
      // switch to another program) takes the frame too.
      if (reinterpret_cast<HWND>(lParam) != label) DrawLabelFrame(label, LabelFrame::Erased);
      break;
    case WM_CLOSE:
      DestroyWindow(label);
      return 0;
  }
  return CallWindowProcA(NewStaticBaseProc, label, message, wParam, lParam);
}

bool RegisterNewStaticClass() {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (NewStaticBaseProc && GetClassInfoExA(AppInstance, NewStaticClassName, &existing)) return true;
  WNDCLASSEXA info{};
  info.cbSize = sizeof(info);
  if (!GetClassInfoExA(nullptr, "STATIC", &info)) return false;
  NewStaticBaseProc = info.lpfnWndProc;
  info.lpfnWndProc = NewStaticProc;
  info.hInstance = AppInstance;
  info.lpszClassName = NewStaticClassName;
  return RegisterClassExA(&info) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
