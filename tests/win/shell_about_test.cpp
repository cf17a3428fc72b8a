// The About box, opened from the real main window's Help menu and driven from
// a timer while its modal loop runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/about_box.h"
#include "app/main_window.h"
#include "layout_check.h"
#include "shell_fixture.h"

namespace {
using namespace shell_test;

class AboutBox : public MainWindowFixture {
 protected:
  static HWND Box() { return FindWindowA("#32770", "About Fumora 1.05b"); }

  static HWND IconLabel(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[32] = {};
      GetClassNameA(child, name, sizeof(name));
      if (std::string(name) == "NEWSTATIC") return child;
    }
    return nullptr;
  }

  // Opens the box with Help > About and runs the steps while it is up.
  void RunAbout(std::vector<ModalDriver::Step> steps) {
    ModalDriver::Run(std::move(steps), [] { EndDialog(Box(), 0); }, [this] { Command(10012); });
    EXPECT_FALSE(ModalDriver::TimedOut()) << "the box did not close";
    EXPECT_TRUE(ModalDriver::AllStepsRan()) << "the box closed too early";
    EXPECT_EQ(Box(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(window_));
  }

  static RECT PlaceInParent(HWND child) {
    RECT r = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

// What the user sees: the program's icon top left beside its name, a rule
// drawn across below them, and OK under the rule with the keyboard's focus;
// the main window waits behind it.
TEST_F(AboutBox, ShowsIconNameRuleAndOkOwnedByTheMainWindow) {
  Open();
  RunAbout({[this] {
              HWND box = Box();
              ASSERT_NE(box, nullptr);
              EXPECT_EQ(GetWindow(box, GW_OWNER), window_);
              EXPECT_FALSE(IsWindowEnabled(window_));
              HWND name = GetDlgItem(box, 9001), rule = GetDlgItem(box, 9005), ok = GetDlgItem(box, 9004);
              HWND label = IconLabel(box);
              for (HWND part : {name, rule, ok, label}) {
                ASSERT_NE(part, nullptr);
                EXPECT_TRUE(IsWindowVisible(part));
              }
              EXPECT_EQ(WindowText(name), "Fumora v1.05b");
              EXPECT_EQ(WindowText(ok), "OK");
              EXPECT_TRUE(IsWindowEnabled(ok));
              EXPECT_EQ(GetFocus(), ok);
              const RECT icon = PlaceInParent(label), text = PlaceInParent(name), line = PlaceInParent(rule),
                         button = PlaceInParent(ok);
              EXPECT_LE(icon.right, text.left);
              EXPECT_LE(icon.bottom, line.top);
              EXPECT_LE(text.bottom, line.top);
              EXPECT_LE(line.bottom, button.top);
              EXPECT_LT(line.left, icon.right);  // across, under the icon and the name
              EXPECT_GT(line.right, button.left);
              // The rule is drawn: down its middle, not all is the face colour.
              HDC dc = GetWindowDC(rule);
              int drawn = 0;
              for (int y = 0; y < line.bottom - line.top; ++y)
                drawn += GetPixel(dc, (line.right - line.left) / 2, y) != GetSysColor(COLOR_3DFACE);
              ReleaseDC(rule, dc);
              EXPECT_GT(drawn, 0);
              // The program's icon at the size drawn for 96 DPI.
              const auto shown = reinterpret_cast<HICON>(SendMessageA(label, STM_GETIMAGE, IMAGE_ICON, 0));
              ASSERT_NE(shown, nullptr);
              EXPECT_EQ(layout_test::IconSize(shown).cx, 32);
            },
            [] { SendMessageA(Box(), WM_COMMAND, MAKEWPARAM(9004, BN_CLICKED), 0); }});
}

TEST_F(AboutBox, EscapeLeavesItOpenAndOkClosesIt) {
  Open();
  RunAbout({[] { PostMessageA(Box(), WM_KEYDOWN, VK_ESCAPE, 0); },
            [] { SendMessageA(Box(), WM_COMMAND, IDCANCEL, 0); },
            [] { ASSERT_NE(Box(), nullptr) << "Escape closed the box"; },
            [] { PostMessageA(GetDlgItem(Box(), 9004), BM_CLICK, 0, 0); }});
}

TEST_F(AboutBox, EnterClosesIt) {
  Open();
  RunAbout({[] { PostMessageA(Box(), WM_KEYDOWN, VK_RETURN, 0); }});
}

TEST_F(AboutBox, CloseBoxClosesIt) {
  Open();
  RunAbout({[] { PostMessageA(Box(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
}

// The pointer moved over the icon as a user moves it: the system hit-tests
// the label, so the frame shows only if the label answers as a client area.
TEST_F(AboutBox, IconShowsTheHoverFrameButAClickDoesNothing) {
  Open();
  POINT centre{};
  RunAbout({[&] {
              HWND label = IconLabel(Box());
              ASSERT_NE(label, nullptr);
              const RECT r = WindowRect(label);
              centre = {r.left + 24, r.top + 24};
              MovePointerTo(centre.x, centre.y);
            },
            [] {
              HWND label = IconLabel(Box());
              EXPECT_EQ(GetCapture(), label) << "the pointer over the icon did not reach it";
              HDC dc = GetDC(label);
              EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_3DLIGHT));
              ReleaseDC(label, dc);
            },
            [&] {
              HWND label = IconLabel(Box());
              SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 24));
              SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(24, 24));
              MovePointerTo(centre.x + 200, centre.y + 200);
            },
            [] { EXPECT_EQ(GetCapture(), nullptr) << "the frame stayed after the pointer left"; },
            [] { ASSERT_NE(Box(), nullptr) << "a click on the icon closed the box"; },
            [] { SendMessageA(Box(), WM_COMMAND, MAKEWPARAM(9004, BN_CLICKED), 0); }});
}

}  // namespace
