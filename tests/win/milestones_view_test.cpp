// The milestones view in a real list view, and the shared list routines.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <vector>
#include <string>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "layout_check.h"
#include "locale/formats.h"
#include "milestones/milestones_view.h"
#include "resource.h"
#include "util/systime_win32.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/listview.h"

namespace {
constexpr UINT Unmarked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT Marked = INDEXTOSTATEIMAGEMASK(2);

void PrepareProcess() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  AppInstance = GetModuleHandleA(nullptr);
  ScrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  SetUpLocale();
  BuildDatePicture();
  AppColors = DefaultAppColors();
}

HWND MakeHost() {
  return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 640, 520, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

SysTime DaysFromToday(int days) {
  SysTime date;
  DayNumberToDate(DateToDayNumber(LocalTimeNow()) + days, date);
  date.wHour = 8;
  return date;
}

UINT MarkOf(HWND list, int row) { return ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK); }

int MarkedRow(HWND list) {
  int found = -1;
  for (int row = 0; row < RowCount(list); ++row)
    if (MarkOf(list, row) == Marked) {
      EXPECT_EQ(found, -1) << "two marked rows";
      found = row;
    }
  return found;
}
}  // namespace

// One host window for the suite: under Wine without a window manager every
// top-level window that has been on screen takes two seconds to go away.
class MilestonesView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { host = MakeHost(); }
  static void TearDownTestSuite() { DestroyWindow(host); }
  void SetUp() override {
    PrepareProcess();
    QuitDetails = QuitDetailsRecord{};
    QuitDetails.quitTime = MakeDate(2003, 1, 31, 18, 45);
    QuitDetails.cigsPerDay = 20;
    ASSERT_NE(host, nullptr);
  }
  void TearDown() override {
    if (IsWindow(view)) DestroyWindow(view);
  }
  void Create() {
    view = CreateMilestonesView(host);
    ASSERT_NE(view, nullptr);
    list = GetDlgItem(view, IDC_MILESTONES_LIST);
    line = GetDlgItem(view, IDC_MILESTONES_NEXT);
  }
  // The list is filled when the view is first shown.
  void Open() {
    Create();
    ShowWindow(view, SW_SHOW);
  }
  LRESULT Notify(NMHDR* header) {
    SetWindowLongPtrA(view, DWLP_MSGRESULT, 0x5555);
    SendMessageA(view, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    return GetWindowLongPtrA(view, DWLP_MSGRESULT);
  }
  NMLVCUSTOMDRAW DrawItem(int row) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr = {list, static_cast<UINT_PTR>(IDC_MILESTONES_LIST), static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = RGB(1, 2, 3);
    draw.clrTextBk = RGB(4, 5, 6);
    EXPECT_EQ(Notify(&draw.nmcd.hdr), CDRF_DODEFAULT);
    return draw;
  }
  static inline HWND host = nullptr;
  HWND view = nullptr;
  HWND list = nullptr;
  HWND line = nullptr;
};

TEST_F(MilestonesView, CreatedHiddenWithItsColumns) {
  Create();
  EXPECT_EQ(MilestonesViewWindow, view);
  EXPECT_EQ(MilestonesList, list);
  EXPECT_FALSE(IsWindowVisible(view));
  EXPECT_EQ(GetParent(view), host);
  const struct {
    const char* caption;
    int width;
    int format;
  } columns[] = {{"Cdate", 0, LVCFMT_LEFT}, {"Milestone Date", 150, LVCFMT_CENTER},
                 {"Milestone", 164 - ScrollBarWidth, LVCFMT_LEFT}};
  for (int i = 0; i < 3; ++i) {
    char caption[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, columns[i].caption);
    EXPECT_EQ(column.cx, columns[i].width) << i;
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format) << i;
  }
  DWORD styles = ListView_GetExtendedListViewStyle(list);
  for (DWORD style : {LVS_EX_FULLROWSELECT, LVS_EX_HEADERDRAGDROP, LVS_EX_CHECKBOXES, LVS_EX_GRIDLINES})
    EXPECT_TRUE(styles & style) << std::hex << style;
  // Nothing acts on a selected row: the selection is a report view's own.
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & (LVS_SINGLESEL | LVS_SHOWSELALWAYS), 0);
}

TEST_F(MilestonesView, FilledOnceWhenFirstShown) {
  Create();
  EXPECT_EQ(RowCount(list), 0);
  EXPECT_EQ(WindowText(line), "");
  ShowWindow(view, SW_SHOW);
  EXPECT_EQ(RowCount(list), 214);  // before the show returns: there for the first paint
  EXPECT_EQ(WindowText(line).rfind("Your next milestone is ", 0), 0u);
  // Later shows keep what is there; only a change of the quit details rebuilds it.
  ListView_DeleteItem(list, 0);
  ShowWindow(view, SW_HIDE);
  ShowWindow(view, SW_SHOW);
  EXPECT_EQ(RowCount(list), 213);
}

// A quit on 31 January 2003, 20 a day: rows worked out by hand from the rules
// (months end on the last day of shorter months, a cigarette milestone falls
// n / 20 days on), their day numbers and dates by Python's calendar
// (date.toordinal() + 1721425), shown in the en_US locale's date format.
TEST_F(MilestonesView, RowsOfAQuitOn31January) {
  Open();
  ASSERT_EQ(RowCount(list), 214);
  const struct {
    const char* label;
    DayNumber day;
    const char* date;
  } expected[] = {
      {"Quit Date", 2452671, "01/31/2003"},         {"7 Days", 2452678, "02/07/2003"},
      {"1 Month", 2452699, "02/28/2003"},           {"2 Months", 2452730, "03/31/2003"},
      {"3 Months", 2452760, "04/30/2003"},          {"1,000 Cigarettes", 2452721, "03/22/2003"},
      {"100 Days", 2452771, "05/11/2003"},          {"1 Year", 2453036, "01/31/2004"},
      {"13 Months", 2453065, "02/29/2004"},         {"50,000 Cigarettes", 2455171, "12/05/2009"},
      {"3,600 Days", 2456271, "12/09/2012"},        {"119 Months", 2456293, "12/31/2012"},
      {"10 Years", 2456324, "01/31/2013"},
  };
  std::map<std::string, std::pair<DayNumber, std::string>> shown;
  DayNumber previous = 0;
  for (int row = 0; row < RowCount(list); ++row) {
    const DayNumber key = ParseDecimal(CellText(list, row, 0));
    EXPECT_GE(key, previous) << row;  // in date order
    previous = key;
    shown[CellText(list, row, 2)] = {key, CellText(list, row, 1)};
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, row);
  }
  EXPECT_EQ(shown.size(), 214u);  // every label once
  for (const auto& e : expected) {
    SCOPED_TRACE(e.label);
    ASSERT_EQ(shown.count(e.label), 1u);
    EXPECT_EQ(shown[e.label].first, e.day);
    EXPECT_EQ(shown[e.label].second, e.date);
  }
  EXPECT_EQ(CellText(list, 0, 2), "Quit Date");
  EXPECT_EQ(CellText(list, RowCount(list) - 1, 2), "10 Years");
}

TEST_F(MilestonesView, QuitOn29FebruaryAndThreeADay) {
  QuitDetails.quitTime = MakeDate(2004, 2, 29);
  QuitDetails.cigsPerDay = 3;
  Open();
  const DayNumber q = DateToDayNumber(2004, 2, 29);
  std::map<std::string, std::pair<std::string, DayNumber>> byLabel;
  for (int row = 0; row < RowCount(list); ++row)
    byLabel[CellText(list, row, 2)] = {CellText(list, row, 1), ParseDecimal(CellText(list, row, 0))};
  EXPECT_EQ(byLabel["1 Year"].first, "02/28/2005");
  EXPECT_EQ(byLabel["4 Years"].first, "02/29/2008");
  EXPECT_EQ(byLabel["1,000 Cigarettes"].second, q + 333);
  EXPECT_EQ(byLabel["50,000 Cigarettes"].second, q + 16666);
}

TEST_F(MilestonesView, RightAfterQuittingTheQuitDateIsNext) {
  QuitDetails.quitTime = DaysFromToday(0);
  Open();
  EXPECT_EQ(MarkedRow(list), 0);
  EXPECT_EQ(CellText(list, 0, 2), "Quit Date");
  for (int row = 1; row < RowCount(list); ++row) EXPECT_EQ(MarkOf(list, row), Unmarked) << row;
  EXPECT_EQ(WindowText(line), "Your next milestone is Quit Date");
  EXPECT_EQ(TodayDayNumber, DateToDayNumber(LocalTimeNow()));
}

// 400 days on, at 3 a day, "400 Days" falls today, and no other milestone
// does (no month's day, no thousand cigarettes): today's is the next one.
TEST_F(MilestonesView, NextMilestoneFurtherOnIsMarkedAndShown) {
  QuitDetails.quitTime = DaysFromToday(-400);
  QuitDetails.cigsPerDay = 3;
  Create();
  ShowWindow(view, SW_SHOW);
  Pump();
  const int next = MarkedRow(list);
  ASSERT_GT(next, 10);
  EXPECT_EQ(CellText(list, next, 2), "400 Days");
  const DayNumber today = DateToDayNumber(LocalTimeNow());
  EXPECT_EQ(ParseDecimal(CellText(list, next, 0)), today);
  EXPECT_LT(ParseDecimal(CellText(list, next - 1, 0)), today);
  EXPECT_EQ(WindowText(line), "Your next milestone is 400 Days");
  // Scrolled so that the ten rows after it are in view.
  int top = ListView_GetTopIndex(list);
  int perPage = ListView_GetCountPerPage(list);
  EXPECT_LE(top, next);
  EXPECT_LT(next + 10, top + perPage + 1);
}

TEST_F(MilestonesView, TenYearsOnNothingIsMarked) {
  QuitDetails.quitTime = DaysFromToday(-3700);
  QuitDetails.cigsPerDay = 14;
  Open();
  EXPECT_EQ(MarkedRow(list), -1);
  EXPECT_EQ(WindowText(line), "Your next milestone is ");
}

TEST_F(MilestonesView, RebuiltWhenTheQuitDetailsChange) {
  Open();
  EXPECT_EQ(RowCount(list), 214);
  QuitDetails.quitTime = DaysFromToday(-1);
  QuitDetails.cigsPerDay = 0;  // no daily count: no cigarette rows, and no crash
  BuildMilestoneList();
  EXPECT_EQ(RowCount(list), 164);
  EXPECT_EQ(WindowText(line), "Your next milestone is 7 Days");
  EXPECT_EQ(CellText(list, MarkedRow(list), 2), "7 Days");
  QuitDetails.cigsPerDay = 20;
  BuildMilestoneList();
  EXPECT_EQ(RowCount(list), 214);
}

TEST_F(MilestonesView, RowColours) {
  QuitDetails.quitTime = DaysFromToday(-20);  // 25 Days is next: row 3
  Open();
  int marked = MarkedRow(list);
  ASSERT_EQ(marked, 3);
  NMLVCUSTOMDRAW start{};
  start.nmcd.hdr = {list, static_cast<UINT_PTR>(IDC_MILESTONES_LIST), static_cast<UINT>(NM_CUSTOMDRAW)};
  start.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(Notify(&start.nmcd.hdr), CDRF_NOTIFYITEMDRAW);
  NMLVCUSTOMDRAW first = DrawItem(0);
  EXPECT_EQ(first.clrText, RGB(0, 0, 0));
  EXPECT_EQ(first.clrTextBk, AppColors.rowHighlightBack);
  EXPECT_EQ(first.clrTextBk, 0xF4F4F2u);
  NMLVCUSTOMDRAW second = DrawItem(1);
  EXPECT_EQ(second.clrText, RGB(0, 0, 0));
  EXPECT_EQ(second.clrTextBk, RGB(255, 255, 255));
  EXPECT_EQ(DrawItem(2).clrTextBk, AppColors.rowHighlightBack);
  NMLVCUSTOMDRAW next = DrawItem(marked);
  EXPECT_EQ(next.clrText, AppColors.anniversaryText);
  EXPECT_EQ(next.clrTextBk, AppColors.anniversaryBack);
  // New colours show at the next paint.
  AppColors.rowHighlightBack = RGB(10, 20, 30);
  EXPECT_EQ(DrawItem(4).clrTextBk, RGB(10, 20, 30));
}

TEST_F(MilestonesView, TheMarkCannotBeToggledByTheUser) {
  QuitDetails.quitTime = DaysFromToday(-20);
  Create();
  ShowWindow(view, SW_SHOW);
  SetFocus(list);
  ListView_SetItemState(list, 5, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(list, WM_CHAR, ' ', 0);
  SendMessageA(list, WM_KEYUP, VK_SPACE, 0);
  Pump();
  EXPECT_EQ(MarkOf(list, 5), Unmarked);
  EXPECT_EQ(MarkedRow(list), 3);
}

TEST_F(MilestonesView, LineFontColoursAndCentredText) {
  Create();
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(line, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, 16);
  EXPECT_EQ(lf.lfWeight, 500);
  EXPECT_EQ(lf.lfPitchAndFamily, FF_SWISS);
  HDC dc = GetDC(view);
  LRESULT brush = SendMessageA(view, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(line));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNSHADOW));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(view, dc);
  // Its text stands in the middle of the line, both ways (to a few pixels:
  // the glyphs' ink is narrower than their advance).
  ShowWindow(view, SW_SHOW);
  Pump();
  const RECT ink = layout_test::InkBounds(line);
  RECT box{};
  GetClientRect(line, &box);
  ASSERT_LT(ink.left, ink.right) << "no text drawn";
  EXPECT_LE(std::abs(ink.left - (box.right - ink.right)), 6) << ink.left << " " << ink.right << " of " << box.right;
  EXPECT_LE(std::abs(ink.top - (box.bottom - ink.bottom)), 4) << ink.top << " " << ink.bottom << " of " << box.bottom;
}

TEST_F(MilestonesView, ColumnsCannotBeResizedOrDragged) {
  Create();
  ShowWindow(view, SW_SHOW);
  Pump();
  HWND header = ListView_GetHeader(list);
  ASSERT_NE(header, nullptr);
  // Every notification from the header is refused.
  for (UINT code : {HDN_BEGINTRACKA, HDN_BEGINTRACKW, HDN_ITEMCHANGINGA, HDN_ITEMCHANGINGW, HDN_BEGINDRAG,
                    HDN_DIVIDERDBLCLICKA}) {
    NMHEADERA change{};
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = 300;
    change.hdr = {header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), code};
    change.iItem = 0;
    change.pitem = &item;
    EXPECT_EQ(SendMessageA(list, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change)), TRUE) << code;
  }
  EXPECT_EQ(SendMessageA(header, WM_SETCURSOR, reinterpret_cast<WPARAM>(header), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  // A drag on the divider after the date column changes nothing.
  int divider = ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(divider, 5));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(divider + 60, 5));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(divider + 60, 5));
  // And one on the hidden key column's divider, at the left edge.
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 5));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 5));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(80, 5));
  Pump();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), 0);
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 150);
  EXPECT_EQ(ListView_GetColumnWidth(list, 2), 164 - ScrollBarWidth);
}

TEST_F(MilestonesView, ClosingDestroysTheView) {
  Create();
  SendMessageA(view, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_EQ(MilestonesList, nullptr);
  BuildMilestoneList();  // without a view: nothing happens
}

// ---- the shared list routines on a bare list view ----

class ListViewRoutines : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { host = MakeHost(); }
  static void TearDownTestSuite() { DestroyWindow(host); }
  void SetUp() override {
    PrepareProcess();
    list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 400, 300,
                           host, reinterpret_cast<HMENU>(77), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    AddColumn(list, 0, "Key", 0, 1);
    AddColumn(list, 1, "Centred", 120, 2);
    AddColumn(list, 2, "Right", 100, 3);
  }
  void TearDown() override { DestroyWindow(list); }
  void AddRow(const char* key) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount(list);
    item.pszText = const_cast<char*>(key);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  // Pixels of `colour` in the band 10..40 pixels below the headings.
  int PixelsOf(COLORREF colour) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    RECT header;
    GetWindowRect(ListView_GetHeader(list), &header);
    MapWindowPoints(HWND_DESKTOP, list, reinterpret_cast<POINT*>(&header), 2);
    HDC dc = GetDC(list);
    int count = 0;
    for (int y = header.bottom + 8; y < header.bottom + 40; ++y)
      for (int x = 0; x < 390; ++x)
        if (GetPixel(dc, x, y) == colour) ++count;
    ReleaseDC(list, dc);
    return count;
  }
  static inline HWND host = nullptr;
  HWND list = nullptr;
};

TEST_F(ListViewRoutines, RowsColumnsAndCells) {
  EXPECT_EQ(RowCount(list), 0);
  EXPECT_EQ(CurrentRow(list), -1);
  for (const char* key : {"a", "b", "c", "d"}) AddRow(key);
  EXPECT_EQ(RowCount(list), 4);
  EXPECT_EQ(CurrentRow(list), -1);
  ListView_SetItemState(list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(CurrentRow(list), 2);
  SetCellText(list, 2, 1, "middle");
  SetCellText(list, 2, 2, "right");
  EXPECT_EQ(CellText(list, 2, 0), "c");
  EXPECT_EQ(CellText(list, 2, 1), "middle");
  EXPECT_EQ(CellText(list, 2, 2), "right");
  EXPECT_EQ(CellText(list, 1, 1), "");
  EXPECT_EQ(CellText(list, 2, 1, 4), "mid");  // capacity counts the terminator
  const int formats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT};
  const int widths[] = {0, 120, 100};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, formats[i]) << i;
    EXPECT_EQ(column.cx, widths[i]) << i;
  }
  // Many cells at once, from a plain list and from one with a behaviour,
  // which it keeps.
  const int columns[] = {1, 0};
  const std::vector<std::string> cells = {"", "a", "", "b", "mid", "c", "", "d"};
  EXPECT_EQ(RowCells(list, columns, 4), cells);
  FixColumns(list);
  EXPECT_EQ(RowCells(list, columns, 4), cells);
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(60, 0));
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 120) << "the columns stay fixed";
}

TEST_F(ListViewRoutines, FixedColumnsLetTheProgramChangeAWidth) {
  FixColumns(list);
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(60, 0));
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 120);  // refused like a user's change
  SetFixedColumnWidth(list, 1, 60);
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 60);
  SetFixedColumnWidth(list, 1, 120);
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 120);
  HWND header = ListView_GetHeader(list);
  NMHEADERA click{};
  click.hdr = {header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_ITEMCLICKA)};
  EXPECT_EQ(SendMessageA(list, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click)), TRUE);
}

TEST_F(ListViewRoutines, EmptyListTextIsGreyUntilARowExists) {
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  ASSERT_NE(grey, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(PixelsOf(grey), 0);
  SetEmptyListText(list, "No rows entered");
  FixColumns(list);
  EXPECT_GT(PixelsOf(grey), 20);
  AddRow("x");
  SetCellText(list, 0, 1, "row text");
  EXPECT_EQ(PixelsOf(grey), 0);
  ListView_DeleteAllItems(list);
  EXPECT_GT(PixelsOf(grey), 20);
  // The headings stay.
  EXPECT_TRUE(IsWindowVisible(ListView_GetHeader(list)));
}
