// The view strip and the NEWSTATIC labels inside the real main window: the
// layout, the clicks and the hover and press frames, read back as pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/view_strip.h"
#include "layout_check.h"
#include "shell_fixture.h"
#include "win/new_static.h"

namespace {
using namespace shell_test;

class ViewStrip : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    Open();
    ASSERT_NE(StripPanel, nullptr);
    for (HWND child = GetWindow(StripPanel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[32] = {};
      GetClassNameA(child, name, sizeof(name));
      (std::string(name) == "NEWSTATIC" ? labels : captions).push_back(child);
    }
    ASSERT_EQ(labels.size(), 4u);
    ASSERT_EQ(captions.size(), 4u);
  }

  // Client position of a child in its parent.
  static RECT PlaceInParent(HWND child) {
    RECT r = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static COLORREF PixelAt(HWND label, int x, int y) {
    HDC dc = GetDC(label);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(label, dc);
    return colour;
  }

  static void PointerTo(HWND label, int x, int y) {
    const RECT r = WindowRect(label);
    SetCursorPos(r.left + x, r.top + y);
  }

  static void PointerAway() { SetCursorPos(900, 700); }

  static void Move(HWND label) { SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(24, 24)); }

  // The frame's colours: the corner and one point along the top and left edges.
  static void ExpectFrame(HWND label, COLORREF colour) {
    EXPECT_EQ(PixelAt(label, 1, 1), colour);
    EXPECT_EQ(PixelAt(label, 30, 1), colour);
    EXPECT_EQ(PixelAt(label, 1, 30), colour);
  }

  std::vector<HWND> labels, captions;
};

// The colour pixels of an icon, to tell which resource it was made from.
std::string IconPixels(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP bm{};
  GetObjectA(info.hbmColor, sizeof bm, &bm);
  std::string bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight, '\0');
  GetBitmapBits(info.hbmColor, static_cast<LONG>(bits.size()), bits.data());
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bits;
}

using NewStatic = ViewStrip;

TEST_F(ViewStrip, PanelIsAGreyStaticDownTheLeftEdge) {
  const RECT r = PlaceInParent(StripPanel);
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.right - r.left, 78);
  EXPECT_EQ(r.bottom - r.top, 328);
  EXPECT_EQ(GetParent(StripPanel), window_);
  EXPECT_TRUE(GetWindowLongA(StripPanel, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongA(StripPanel, GWL_STYLE) & SS_TYPEMASK, SS_GRAYRECT);
  EXPECT_EQ(GetDlgCtrlID(StripPanel), 0);
}

TEST_F(ViewStrip, FourIconButtonsWithCaptionsInViewOrder) {
  const int tops[] = {10, 88, 163, 238};
  const int icons[] = {102, 105, 103, 104};
  const char* texts[] = {"Quit Stats", "Milestones", "Buddies", "Days Ahead"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const RECT r = PlaceInParent(labels[i]);
    EXPECT_EQ(r.left, 13);
    EXPECT_EQ(r.top, tops[i]);
    EXPECT_EQ(r.right - r.left, 48);
    EXPECT_EQ(r.bottom - r.top, 48);
    EXPECT_EQ(GetDlgCtrlID(labels[i]), i);
    const LONG style = GetWindowLongA(labels[i], GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, SS_ICON);
    EXPECT_TRUE(style & SS_NOTIFY);
    EXPECT_TRUE(style & SS_CENTERIMAGE);
    EXPECT_TRUE(style & WS_VISIBLE);
    const HICON shown = reinterpret_cast<HICON>(SendMessageA(labels[i], STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(shown, StripIcons[i].get());
    EXPECT_EQ(layout_test::IconSize(StripIcons[i].get()).cx, 32);  // drawn at 96 DPI's size
    EXPECT_EQ(IconPixels(StripIcons[i].get()), IconPixels(static_cast<HICON>(LoadImageA(
                                             GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icons[i]), IMAGE_ICON, 32, 32,
                                             LR_SHARED))));

    const RECT c = PlaceInParent(captions[i]);
    EXPECT_EQ(c.left, 0);
    EXPECT_EQ(c.top, tops[i] + 51);
    EXPECT_EQ(c.right - c.left, 72);
    EXPECT_EQ(c.bottom - c.top, 15);
    EXPECT_EQ(WindowText(captions[i]), texts[i]);
    const LONG captionStyle = GetWindowLongA(captions[i], GWL_STYLE);
    EXPECT_EQ(captionStyle & SS_TYPEMASK, SS_CENTER);
    EXPECT_FALSE(captionStyle & SS_NOTIFY);
  }
}

TEST_F(ViewStrip, CaptionsUseTheStripFont) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(captions[0], WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(font, sizeof(lf), &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, 14);
  EXPECT_EQ(lf.lfWeight, 500);
  for (HWND caption : captions) EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(caption, WM_GETFONT, 0, 0)), font);
}

TEST_F(ViewStrip, CaptionsAreTooltipColouredOnShadowGrey) {
  HDC dc = CreateCompatibleDC(nullptr);
  const LRESULT brush = SendMessageA(StripPanel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(captions[2]));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW)));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  DeleteDC(dc);
}

TEST_F(ViewStrip, ClickingAnIconSelectsItsView) {
  const char* titles[] = {"Quitting Statistics", "Personal Milestones", "Buddy List", "Next 20 Days"};
  for (int i : {2, 3, 1, 0}) {
    PointerTo(labels[i], 24, 24);
    SendMessageA(labels[i], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 24));
    SendMessageA(labels[i], WM_LBUTTONUP, 0, MAKELPARAM(24, 24));
    EXPECT_EQ(CurrentView, i);
    EXPECT_EQ(VisibleView(), i);
    EXPECT_EQ(Title(), titles[i]);
  }
  PointerAway();
  Move(labels[0]);
}

TEST_F(ViewStrip, ClickingTheShownViewsIconChangesNothing) {
  SetWindowTextA(GetDlgItem(window_, 1001), "unchanged");
  SendMessageA(labels[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 24));
  SendMessageA(labels[0], WM_LBUTTONUP, 0, MAKELPARAM(24, 24));
  EXPECT_EQ(Title(), "unchanged");
  EXPECT_EQ(VisibleView(), StatisticsViewIndex);
}

TEST_F(ViewStrip, CaptionsAndOtherNotificationsSelectNothing) {
  SendMessageA(captions[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(captions[2], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  SendMessageA(StripPanel, WM_COMMAND, MAKEWPARAM(2, STN_DBLCLK), reinterpret_cast<LPARAM>(labels[2]));
  SendMessageA(StripPanel, WM_COMMAND, MAKEWPARAM(3, STN_ENABLE), reinterpret_cast<LPARAM>(labels[3]));
  EXPECT_EQ(CurrentView, StatisticsViewIndex);
  SendMessageA(StripPanel, WM_COMMAND, MAKEWPARAM(1, STN_CLICKED), reinterpret_cast<LPARAM>(labels[1]));
  EXPECT_EQ(CurrentView, MilestonesViewIndex);
}

TEST_F(NewStatic, ClassIsStaticWithItsOwnProcedure) {
  WNDCLASSEXA ours{};
    ours.cbSize = sizeof(ours);
  WNDCLASSEXA base{};
    base.cbSize = sizeof(base);
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "NEWSTATIC", &ours));
  ASSERT_TRUE(GetClassInfoExA(nullptr, "STATIC", &base));
  EXPECT_EQ(ours.lpfnWndProc, NewStaticProc);
  EXPECT_EQ(NewStaticBaseProc, base.lpfnWndProc);
  EXPECT_EQ(ours.style, base.style);
  EXPECT_EQ(ours.cbWndExtra, base.cbWndExtra);
  EXPECT_EQ(ours.cbClsExtra, base.cbClsExtra);
  EXPECT_EQ(ours.hCursor, base.hCursor);
  EXPECT_TRUE(RegisterNewStaticClass());  // a second registration keeps the first
}

TEST_F(NewStatic, PointerOverALabelRaisesItsFrameAndTakesTheCapture) {
  PointerTo(labels[1], 24, 24);
  Move(labels[1]);
  EXPECT_EQ(GetCapture(), labels[1]);
  ExpectFrame(labels[1], GetSysColor(COLOR_3DLIGHT));
  // Further moves inside change nothing.
  Move(labels[1]);
  EXPECT_EQ(GetCapture(), labels[1]);
  ExpectFrame(labels[1], GetSysColor(COLOR_3DLIGHT));

  PointerAway();
  Move(labels[1]);
  EXPECT_EQ(GetCapture(), nullptr);
  ExpectFrame(labels[1], GetSysColor(COLOR_BTNSHADOW));
}

// However the capture goes, the frame goes with it.
TEST_F(ViewStrip, LosingTheCaptureErasesTheHoverFrame) {
  PointerTo(labels[1], 24, 24);
  Move(labels[1]);
  ASSERT_EQ(GetCapture(), labels[1]);
  SetCapture(window_);
  ExpectFrame(labels[1], GetSysColor(COLOR_BTNSHADOW));
  ReleaseCapture();
  PointerAway();
}

TEST_F(NewStatic, CrossingFromOneLabelToTheNextMovesTheFrame) {
  PointerTo(labels[0], 24, 24);
  Move(labels[0]);
  ASSERT_EQ(GetCapture(), labels[0]);
  // The label holding the capture sees the move that leaves it.
  PointerTo(labels[1], 24, 24);
  Move(labels[0]);
  EXPECT_EQ(GetCapture(), nullptr);
  ExpectFrame(labels[0], GetSysColor(COLOR_BTNSHADOW));
  Move(labels[1]);
  EXPECT_EQ(GetCapture(), labels[1]);
  ExpectFrame(labels[1], GetSysColor(COLOR_3DLIGHT));
  PointerAway();
  Move(labels[1]);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NewStatic, PressSinksTheFrameAndReleaseRaisesItAgain) {
  PointerTo(labels[2], 24, 24);
  Move(labels[2]);
  SendMessageA(labels[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 24));
  ExpectFrame(labels[2], GetSysColor(COLOR_3DDKSHADOW));
  SendMessageA(labels[2], WM_LBUTTONUP, 0, MAKELPARAM(24, 24));
  ExpectFrame(labels[2], GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(CurrentView, BuddiesViewIndex);
  PointerAway();
  Move(labels[2]);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NewStatic, CloseDestroysTheLabel) {
  SendMessageA(labels[3], WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(labels[3]));
  EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
