// The lists and the edit fields as the user meets them in the real main window
// and its dialogs: the columns, the row colours, the empty texts, the Days
// Ahead legend, and how much each limited field takes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "daysahead/days_ahead_view.h"
#include "engine/calendar.h"
#include "formats/price_points.h"
#include "layout_check.h"
#include "quitdetails/price_list.h"
#include "quitdetails/price_point_file.h"
#include "resource.h"
#include "shell_fixture.h"
#include "win/listview.h"

namespace {
using namespace shell_test;
const std::string R = "\x1E", E = "\x1C";
// Today is 15 March 2010: Abe's first anniversary is today, Bea's fifth lies
// 17 days ahead.
const std::string TwoBuddies = "20090315Abe" + R + "20050401Bea" + R + E;
const std::vector<PricePoint> FourPrices = {{static_cast<uint32_t>(DateToDayNumber(2009, 6, 1)), 450},
                                            {static_cast<uint32_t>(DateToDayNumber(2009, 9, 1)), 475},
                                            {static_cast<uint32_t>(DateToDayNumber(2010, 1, 1)), 500},
                                            {static_cast<uint32_t>(DateToDayNumber(2010, 2, 1)), 525}};
constexpr char QuitTitle[] = "Edit Quit Details";

HWND PriceList() { return GetDlgItem(DialogNamed(QuitTitle), IDC_QD_PRICE_LIST); }
void Focus(HWND list, int row) {
  ListView_SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

// What is wrong with the text an empty list shows: it is drawn as a full
// repaint draws it, grey on the window colour, only where the text goes
// (centred, its top 10 pixels below the headings, as wide as the text in the
// stock ANSI variable-width font), and whole.
std::string EmptyTextFault(HWND list, const char* text) {
  const std::vector<COLORREF> shown = ClientPixels(list);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (ClientPixels(list) != shown) return "not as a full repaint draws it";
  RECT client{};
  GetClientRect(list, &client);
  const int top = layout_test::PlaceOf(ListView_GetHeader(list)).bottom + 10;
  SIZE size{};
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  RECT ink{client.right, client.bottom, 0, 0};
  int grey = 0;  // the text's own colour (its edges may be smoothed)
  for (int y = top - 10; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) {
      const COLORREF pixel = shown[static_cast<size_t>(y * client.right + x)];
      if (pixel == GetSysColor(COLOR_WINDOW)) continue;
      ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1), y + 1};
      grey += pixel == GetSysColor(COLOR_GRAYTEXT);
    }
  if (grey < 20) return "not grey";
  const int left = (client.right - size.cx) / 2;
  if (ink.left < left - 1 || ink.right > left + size.cx + 1 || ink.top < top || ink.bottom > top + size.cy)
    return "drawn at " + layout_test::RectText(ink) + ", not within " +
           layout_test::RectText({left, top, left + size.cx, top + size.cy});
  if (ink.right - ink.left < size.cx - 4) return "cut: " + std::to_string(ink.right - ink.left) + " pixels wide";
  return {};
}

// The real main window over anny.dat and pp.dat of their own, the clock on
// 15 March 2010; message boxes recorded and answered Yes.
class ListsAndFields : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    const std::string folder = TempFolder("fumora_lists");
    BuddyFilePath = folder + "anny.dat";
    PricePointFilePath = folder + "pp.dat";
    HoldClockAt(MakeDate(2010, 3, 15, 10, 0));
    Boxes.clear();
    Answer = IDYES;
    BuddyMessageBox = RecordBox;
    QuitDetailsMessageBox = RecordBox;
  }
  void TearDown() override {
    BuddyMessageBox = MessageBoxA;
    QuitDetailsMessageBox = MessageBoxA;
    MainWindowFixture::TearDown();
    DeleteFileA(BuddyFilePath.c_str());
    DeleteFileA(PricePointFilePath.c_str());
  }
  void Create(const std::string& buddies, const std::vector<PricePoint>& prices, int view) {
    ASSERT_TRUE(WriteFileText(BuddyFilePath, buddies));
    ASSERT_TRUE(ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(prices)));
    Open({.startupView = static_cast<uint32_t>(view)});
    Pump(100);
  }
  // Runs `steps` in turn, each given the dialog titled `caption` that `open`
  // opens; then closes it as its close box does.
  static void In(const char* caption, std::function<void()> open, std::vector<std::function<void(HWND)>> steps) {
    std::vector<ModalDriver::Step> driven;
    for (auto& step : steps) driven.push_back([step, caption] { step(DialogNamed(caption)); });
    driven.push_back([caption] { PostMessageA(DialogNamed(caption), WM_SYSCOMMAND, SC_CLOSE, 0); });
    Drive(caption, driven, std::move(open));
  }
  void InQuitDetails(std::vector<std::function<void(HWND)>> steps) {
    In(QuitTitle, [this] { Command(IDM_EDIT_QUIT_DETAILS); }, std::move(steps));
  }
};

// Each list's columns (caption, width in pixels, alignment), the hidden ones
// without width; the label and price columns at full width while every row
// fits.
TEST_F(ListsAndFields, ColumnsCaptionsWidthsAndAlignments) {
  Create(TwoBuddies, FourPrices, BuddiesViewIndex);
  struct Column {
    const char* caption;
    int width, format;
  };
  constexpr int L = LVCFMT_LEFT, C = LVCFMT_CENTER;
  const struct {
    const char* name;
    HWND (*list)();
    std::vector<Column> columns;
  } lists[] = {
      {"buddies", [] { return BuddyList; },
       {{"Buddy Name", 0, L}, {"Buddy Name", 144, L}, {"Quit Date", 76, C}, {"Comp Date", 0, L},
        {"Anniversary", 94, L}, {"Anniversary", 0, L}}},
      {"days ahead", [] { return DaysAheadList; },
       {{"Date", 0, L}, {"Date", 75, L}, {"Buddy Name", 145, L}, {"Anniversary", 94, L}, {"Anniversary", 0, L}}},
      {"price changes", PriceList, {{"Date", 0, L}, {"Date", 100, C}, {"Price", 105, C}, {"Price", 0, L}}},
  };
  InQuitDetails({[&](HWND) {
    for (const auto& l : lists) {
      HWND list = l.list();
      EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), static_cast<int>(l.columns.size())) << l.name;
      for (int i = 0; i < static_cast<int>(l.columns.size()); ++i) {
        SCOPED_TRACE(std::string(l.name) + ", column " + std::to_string(i));
        char caption[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = caption;
        column.cchTextMax = sizeof caption;
        ASSERT_TRUE(ListView_GetColumn(list, i, &column));
        EXPECT_STREQ(caption, l.columns[i].caption);
        EXPECT_EQ(column.cx, l.columns[i].width);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, l.columns[i].format);
      }
    }
  }});
}

// The last buddy deleted empties both buddy lists, the last price change
// deleted the price list: each shows its text whole.
TEST_F(ListsAndFields, EmptyTextsDrawnWhole) {
  Create("20090315Abe" + R + E, {FourPrices[0]}, BuddiesViewIndex);
  Focus(BuddyList, 0);
  Click(BuddiesViewWindow, IDC_BUDDY_DELETE);
  Pump(100);
  EXPECT_EQ(EmptyTextFault(BuddyList, "No buddies entered"), "");
  Command(IDM_VIEW_DAYS_AHEAD);
  Pump(100);
  EXPECT_EQ(EmptyTextFault(DaysAheadList, "No milestones in the period specified"), "");
  InQuitDetails({[](HWND) {
                   Focus(PriceList(), 0);
                   SendMessageA(PriceList(), WM_KEYDOWN, VK_DELETE, 0);
                 },
                 [](HWND) { EXPECT_EQ(EmptyTextFault(PriceList(), "No price changes in effect"), ""); }});
  EXPECT_EQ(Boxes.size(), 2u) << "each deletion asked";
}

// Under the Days Ahead list, on a band of the shadow grey and left to right:
// the today swatch, "Today", the tomorrow swatch, "Tommorrow"; the swatches
// in the today and tomorrow colours, the texts in the tooltip-background one.
TEST_F(ListsAndFields, DaysAheadLegend) {
  Create(TwoBuddies, {}, DaysAheadViewIndex);
  HWND view = DaysAheadViewWindow;
  RECT client{};
  GetClientRect(view, &client);
  const std::vector<COLORREF> pixels = ClientPixels(view);
  auto count = [&](const RECT& r, COLORREF colour) {
    int found = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) found += pixels[static_cast<size_t>(y * client.right + x)] == colour;
    return found;
  };
  const RECT band = layout_test::PlaceOf(GetDlgItem(view, IDC_LEGEND_BAND));
  const COLORREF grey = GetSysColor(COLOR_BTNSHADOW), text = GetSysColor(COLOR_INFOBK);
  EXPECT_GT(count({band.left, band.top, band.left + 8, band.bottom}, grey), 0) << "the band";
  const struct {
    int id;
    const char* text;
    COLORREF colour;  // filling a swatch, drawing a text
  } parts[] = {{IDC_LEGEND_TODAY_SWATCH, "", AppColors.todayBack},
               {IDC_LEGEND_TODAY, "Today", text},
               {IDC_LEGEND_TOMORROW_SWATCH, "", AppColors.tomorrowBack},
               {IDC_LEGEND_TOMORROW, "Tommorrow", text}};
  LONG left = band.left;
  for (const auto& p : parts) {
    SCOPED_TRACE(p.id);
    HWND part = GetDlgItem(view, p.id);
    const RECT r = layout_test::PlaceOf(part);
    EXPECT_TRUE(layout_test::Holds(band, r)) << "on the band";
    EXPECT_GE(r.left, left) << "right of the one before";
    left = r.right;
    EXPECT_EQ(WindowText(part), p.text);
    const RECT middle{(r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2 - 1, (r.left + r.right) / 2 + 1,
                      (r.top + r.bottom) / 2 + 1};
    if (*p.text) {
      EXPECT_GT(count(r, text), 5) << "the text drawn";
      EXPECT_GT(count(r, grey), 0) << "on the band's grey";
    } else {
      EXPECT_EQ(count(middle, p.colour), 4) << "the swatch's colour";
    }
  }
}

// The price list's rows alternate, the first in the Row Highlight colour,
// the next white, with black text.
TEST_F(ListsAndFields, PriceRowsAlternate) {
  Create("", FourPrices, StatisticsViewIndex);
  InQuitDetails({[](HWND) {
    HWND list = PriceList();
    RECT client{};
    GetClientRect(list, &client);
    const std::vector<COLORREF> pixels = ClientPixels(list);
    for (int row = 0; row < 4; ++row) {
      RECT r{};
      ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
      const int y = (r.top + r.bottom) / 2;
      EXPECT_EQ(pixels[static_cast<size_t>(y * client.right + 3)], row % 2 ? RGB(255, 255, 255) : 0xF4F4F2u) << row;
      int black = 0;
      for (int x = 0; x < client.right; ++x) black += pixels[static_cast<size_t>(y * client.right + x)] == 0;
      EXPECT_GT(black, 0) << row;
    }
  }});
}

// What each limited field takes, typed or pasted: 25 characters of a buddy's
// name in both dialogs, 30 of the user's name and 3 digits of the daily count.
TEST_F(ListsAndFields, EditLimits) {
  Create(TwoBuddies, {}, BuddiesViewIndex);
  const struct {
    const char* dialog;
    std::function<void()> open;
    int id;
    char typed;
    size_t limit;
  } fields[] = {
      {"Add New Buddy", [] { Click(BuddiesViewWindow, IDC_BUDDY_NEW); }, IDC_ADD_BUDDY_NAME, 'a', 25},
      {"Edit Buddy",
       [] {
         Focus(BuddyList, 0);
         Click(BuddiesViewWindow, IDC_BUDDY_CHANGE);
       },
       IDC_EDIT_BUDDY_NAME, 'a', 25},
      {QuitTitle, [this] { Command(IDM_EDIT_QUIT_DETAILS); }, IDC_QD_NAME, 'a', 30},
      {QuitTitle, [this] { Command(IDM_EDIT_QUIT_DETAILS); }, IDC_QD_PER_DAY, '7', 3},
  };
  for (const auto& f : fields) {
    In(f.dialog, f.open, {[&f](HWND dialog) {
         SCOPED_TRACE(std::string(f.dialog) + ", field " + std::to_string(f.id));
         HWND edit = GetDlgItem(dialog, f.id);
         SetWindowTextA(edit, "");
         for (size_t i = 0; i < f.limit + 5; ++i) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(f.typed), 1);
         EXPECT_EQ(WindowText(edit), std::string(f.limit, f.typed)) << "typed";
         PutOnClipboard(std::string(f.limit + 5, f.typed));
         SendMessageA(edit, EM_SETSEL, 0, -1);
         SendMessageA(edit, WM_PASTE, 0, 0);
         EXPECT_EQ(WindowText(edit), std::string(f.limit, f.typed)) << "pasted";
       }});
  }
}

}  // namespace
