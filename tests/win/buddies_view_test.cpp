// The Buddies and Days Ahead views made from their templates over a seeded
// anny.dat, the buddy dialogs driven by messages, and the change of date.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <tuple>
#include <vector>

#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "daysahead/days_ahead_view.h"
#include "engine/savings.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"
#include "util/systime_win32.h"
#include "util/text.h"
#include "win/file_io.h"
#include "win/listview.h"

namespace {
using namespace shell_test;
const std::string R = "\x1E", E = "\x1C";
// Today is 15 March 2010; Days Ahead looks 20 days ahead.
const std::string Seeded = "20090315Cleo" + R + "20100316Abe" + R + "20100201Sam" + R + "20091115Sam" + R +
                           "20050320Bea" + R + E;
// The seeded rows in name order, as a save writes them.
const std::string ByName = "20100316Abe" + R + "20050320Bea" + R + "20090315Cleo" + R + "20091115Sam" + R +
                           "20100201Sam" + R;
SysTime FakeNow = MakeDate(2010, 3, 15, 10, 0);
SysTime FakeClock() { return FakeNow; }

std::vector<std::tuple<std::string, std::string, UINT>> Messages;
int Answer = IDYES;
int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR caption, UINT flags) {
  Messages.emplace_back(text, caption, flags);
  return Answer;
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
std::string FileText(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return {bytes.begin(), bytes.end()};
}

// "name|flag|label|#id" per buddy row; "offset name label #id" per Days Ahead row.
std::vector<std::string> BuddyRows() {
  std::vector<std::string> rows;
  for (int r = 0; r < RowCount(BuddyList); ++r)
    rows.push_back(CellText(BuddyList, r, 1) + "|" + CellText(BuddyList, r, 0) + "|" + CellText(BuddyList, r, 4) +
                   "|#" + CellText(BuddyList, r, 5));
  return rows;
}
std::vector<std::string> DaysAheadRows() {
  std::vector<std::string> rows;
  for (int r = 0; r < RowCount(DaysAheadList); ++r)
    rows.push_back(std::to_string(ParseDecimal(CellText(DaysAheadList, r, 0)) - TodayDayNumber) + " " +
                   CellText(DaysAheadList, r, 2) + " " + CellText(DaysAheadList, r, 3) + " #" +
                   CellText(DaysAheadList, r, 4));
  return rows;
}
const std::vector<std::string> SeededDaysAhead = {
    "0 Cleo 1 Year #0", "0 Sam 4 Months #3", "1 Abe Quit Date #1", "5 Bea 5 Years #4",
    "8 Abe 7 Days #1",  "8 Sam 50 Days #2",  "15 Abe 14 Days #1",  "17 Sam 2 Months #2"};

void Focus(int row) { ListView_SetItemState(BuddyList, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED); }

class BuddyViews : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitialiseProcessValues(GetModuleHandleA(nullptr));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "fumora_buddies\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 640, 520, nullptr, nullptr,
                           AppInstance, nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(host); }
  void SetUp() override {
    BuddyFilePath = folder + "anny.dat";
    for (const char* name : {"anny.dat", "anny.dat.bak"}) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA((folder + "anny.dat.bak").c_str());
    AppColors = DefaultAppColors();
    GeneralPrefs = DefaultGeneralPrefs();
    LocalNow = FakeNow;
    TodayDayNumber = DateToDayNumber(LocalNow);
    Messages.clear();
    Answer = IDYES;
    BuddyMessageBox = RecordMessage;
  }
  void TearDown() override {
    for (HWND view : {days, buddies})
      if (IsWindow(view)) DestroyWindow(view);
    BuddyMessageBox = MessageBoxA;
  }
  void Create(const std::string& file = Seeded) {
    if (!file.empty()) {
      ASSERT_TRUE(ReplaceFileAtomically(BuddyFilePath, Bytes(file)));
    }
    buddies = CreateBuddiesView(host);
    days = CreateDaysAheadView(host);
    ASSERT_TRUE(BuddyList && DaysAheadList);
  }
  // Clicks a view button and runs `steps` in the dialog it opens.
  void InDialog(int button, const char* caption, std::vector<std::function<void(HWND)>> steps) {
    std::vector<ModalDriver::Step> driven;
    for (auto& step : steps) driven.push_back([step, caption] { step(FindWindowA("#32770", caption)); });
    ModalDriver::Run(driven, [caption] { EndDialog(FindWindowA("#32770", caption), 0); },
                     [&] { Click(buddies, button); });
    EXPECT_FALSE(ModalDriver::TimedOut());
  }
  static void Type(HWND dialog, int id, const char* text) {
    SetDlgItemTextA(dialog, id, text);
    SendDlgItemMessageA(dialog, id, EM_SETMODIFY, TRUE, 0);
  }
  static inline HWND host = nullptr;
  static inline std::string folder;
  HWND buddies = nullptr, days = nullptr;
};

TEST_F(BuddyViews, RowsInNameOrderAndTheDaysAheadByDayThenName) {
  Create();
  EXPECT_EQ(BuddyRows(), (std::vector<std::string>{"Abe|0||#1", "Bea|0||#4", "Cleo|1|1 Year|#0", "Sam|1|4 Months|#3",
                                                   "Sam|0||#2"}));
  EXPECT_EQ(CellText(BuddyList, 0, 2), "03/16/2010");
  EXPECT_EQ(CellText(BuddyList, 0, 3), "20100316");
  EXPECT_EQ(DaysAheadRows(), SeededDaysAhead);
  EXPECT_EQ(CellText(DaysAheadList, 2, 1), "03/16/2010");
  EXPECT_EQ(ListView_GetColumnWidth(BuddyList, 4), 94);  // every row fits
  for (int i = 0; i < 30; ++i) AppendBuddyRow(BuddyList, MakeDate(2000, 1, 1), "More");
  Pump(20);
  EXPECT_EQ(ListView_GetColumnWidth(BuddyList, 4), 94 - ScrollBarWidth);  // room for the scroll bar
  GeneralPrefs.LookAheadDays = 500;  // a damaged period: 100 days at most
  BuildDaysAhead();
  EXPECT_EQ(DaysAheadRows().back(), "97 Bea 63 Months #4");
}

TEST_F(BuddyViews, RowColoursAndLegend) {
  Create();
  auto draw = [](HWND list, int row) {
    NMLVCUSTOMDRAW d{};
    d.nmcd.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_CUSTOMDRAW)};
    d.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    d.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    SendMessageA(GetParent(list), WM_NOTIFY, d.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&d));
    return std::make_pair(d.clrTextBk, d.clrText);
  };
  const AppColorsRecord& c = AppColors;
  using Colours = std::pair<COLORREF, COLORREF>;
  const Colours highlight{c.rowHighlightBack, 0}, white{RGB(255, 255, 255), 0};
  EXPECT_EQ(draw(BuddyList, 0), highlight);
  EXPECT_EQ(draw(BuddyList, 1), white);
  EXPECT_EQ(draw(BuddyList, 2), Colours(c.anniversaryBack, c.anniversaryText));
  EXPECT_EQ(draw(DaysAheadList, 1), Colours(c.todayBack, c.todayText));
  EXPECT_EQ(draw(DaysAheadList, 2), Colours(c.tomorrowBack, c.tomorrowText));
  EXPECT_EQ(draw(DaysAheadList, 3), white);
  EXPECT_EQ(draw(DaysAheadList, 4), highlight);
  auto swatch = [&] {
    HDC dc = GetDC(days);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(days, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(GetDlgItem(days, IDC_LEGEND_TOMORROW_SWATCH))));
    ReleaseDC(days, dc);
    LOGBRUSH lb{};
    GetObjectA(brush, sizeof lb, &lb);
    return lb.lbColor;
  };
  EXPECT_EQ(swatch(), c.tomorrowBack);
  AppColors.tomorrowBack = RGB(1, 2, 3);
  RefreshDaysAheadColours();
  EXPECT_EQ(swatch(), RGB(1, 2, 3));
}

TEST_F(BuddyViews, HeadingClicksSortTheBuddies) {
  Create();
  const struct {
    int column;
    std::vector<std::string> names;
  } clicks[] = {{2, {"Bea", "Cleo", "Sam", "Sam", "Abe"}}, {2, {"Abe", "Sam", "Sam", "Cleo", "Bea"}},
                {4, {"Bea", "Sam", "Abe", "Cleo", "Sam"}}, {1, {"Abe", "Bea", "Cleo", "Sam", "Sam"}},
                {1, {"Sam", "Sam", "Cleo", "Bea", "Abe"}}};
  HWND header = ListView_GetHeader(BuddyList);
  for (const auto& click : clicks) {
    NMHEADERA n{{header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_ITEMCLICKA)}, click.column, 0, nullptr};
    SendMessageA(BuddyList, WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    std::vector<std::string> names;
    for (int r = 0; r < RowCount(BuddyList); ++r) names.push_back(CellText(BuddyList, r, 1));
    EXPECT_EQ(names, click.names) << "column " << click.column;
  }
  EXPECT_EQ(BuddySortState, 2u);
}

TEST_F(BuddyViews, DeletingOneOfTwoSamsRemovesExactlyItsRows) {
  Create();
  Focus(4);  // Sam #2
  Answer = IDNO;
  DeleteCurrentBuddy();
  EXPECT_EQ(RowCount(BuddyList), 5);
  EXPECT_EQ(FileText(BuddyFilePath), Seeded);
  Answer = IDYES;
  NMLVKEYDOWN key{{BuddyList, IDC_BUDDY_LIST, static_cast<UINT>(LVN_KEYDOWN)}, VK_DELETE, 0};
  SendMessageA(buddies, WM_NOTIFY, IDC_BUDDY_LIST, reinterpret_cast<LPARAM>(&key));
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[1], std::make_tuple(std::string("Are you sure that you wish to delete the data for Sam"),
                                         std::string("Delete Warning"), UINT(MB_YESNO | MB_ICONSTOP)));
  EXPECT_EQ(BuddyRows().back(), "Sam|1|4 Months|#3");
  std::vector<std::string> expected = SeededDaysAhead;
  std::erase_if(expected, [](const std::string& row) { return row.ends_with("#2"); });
  EXPECT_EQ(DaysAheadRows(), expected);
  EXPECT_EQ(FileText(BuddyFilePath), ByName.substr(0, ByName.size() - 12) + E);
}

TEST_F(BuddyViews, AddThroughTheDialog) {
  Create();
  InDialog(IDC_BUDDY_NEW, "Add New Buddy",
           {[](HWND d) { Click(d, IDOK); },  // blank: refused, the dialog stays
            [](HWND d) {
              ASSERT_TRUE(d);
              Type(d, IDC_ADD_BUDDY_NAME, "D\x1E" "ee\t");
              Pick(d, IDC_ADD_BUDDY_DATE, MakeDate(2010, 3, 15));
              Click(d, IDOK);
            }});
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], std::make_tuple(std::string("The buddy name cannot be blank"), std::string("Fumora"),
                                         UINT(MB_OK | MB_ICONERROR)));
  EXPECT_EQ(BuddyRows()[3], "Dee|1|Quit Date|#5");
  EXPECT_EQ(DaysAheadRows(), (std::vector<std::string>{"0 Cleo 1 Year #0", "0 Dee Quit Date #5", "0 Sam 4 Months #3",
                                                       "1 Abe Quit Date #1", "5 Bea 5 Years #4", "7 Dee 7 Days #5",
                                                       "8 Abe 7 Days #1", "8 Sam 50 Days #2", "14 Dee 14 Days #5",
                                                       "15 Abe 14 Days #1", "17 Sam 2 Months #2"}));
  EXPECT_EQ(FileText(BuddyFilePath), ByName + "20100315Dee" + R + E);
}

TEST_F(BuddyViews, EditThroughTheDialog) {
  Create();
  const std::string seededRows = FileText(BuddyFilePath);
  Focus(0);  // Abe, renamed: his rows follow, in name order within their day
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) {
             EXPECT_EQ(WindowText(GetDlgItem(d, IDC_EDIT_BUDDY_NAME)), "Abe");
             Type(d, IDC_EDIT_BUDDY_NAME, "Zed");
             Click(d, IDOK);
           }});
  EXPECT_EQ(BuddyRows().back(), "Zed|0||#1");
  EXPECT_EQ(DaysAheadRows()[5], "8 Zed 7 Days #1");
  EXPECT_EQ(DaysAheadRows()[2], "1 Zed Quit Date #1");
  Focus(1);  // Cleo, a new date: her rows are replaced
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) {
             Pick(d, IDC_EDIT_BUDDY_DATE, MakeDate(2010, 3, 17));
             Click(d, IDOK);
           }});
  EXPECT_EQ(BuddyRows()[1], "Cleo|0||#0");
  EXPECT_EQ(CellText(BuddyList, 1, 3), "20100317");
  EXPECT_EQ(DaysAheadRows(), (std::vector<std::string>{"0 Sam 4 Months #3", "1 Zed Quit Date #1", "2 Cleo Quit Date #0",
                                                       "5 Bea 5 Years #4", "8 Sam 50 Days #2", "8 Zed 7 Days #1",
                                                       "9 Cleo 7 Days #0", "15 Zed 14 Days #1", "16 Cleo 14 Days #0",
                                                       "17 Sam 2 Months #2"}));
  const std::string edited = FileText(BuddyFilePath);
  EXPECT_NE(edited, seededRows);
  // Apply without a change, by a double-click on a row: nothing moves.
  NMITEMACTIVATE click{};
  click.hdr = {BuddyList, IDC_BUDDY_LIST, static_cast<UINT>(NM_DBLCLK)};
  ListView_GetItemPosition(BuddyList, 2, &click.ptAction);
  ModalDriver::Run({[] { Click(FindWindowA("#32770", "Edit Buddy"), IDOK); }}, nullptr,
                   [&] { SendMessageA(buddies, WM_NOTIFY, IDC_BUDDY_LIST, reinterpret_cast<LPARAM>(&click)); });
  EXPECT_TRUE(ModalDriver::AllStepsRan());
  EXPECT_EQ(FileText(BuddyFilePath), edited);
}

TEST_F(BuddyViews, ARenameKeepsADateThePickerCannotShow) {
  Create("19000101Old" + R + E);
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) { Type(d, IDC_EDIT_BUDDY_NAME, "Older"); Click(d, IDOK); }});
  EXPECT_EQ(FileText(BuddyFilePath), "19000101Older" + R + E);
}

TEST_F(BuddyViews, AnEmptyListShowsNoEditAndDeletesNothing) {
  Create("");
  EXPECT_EQ(RowCount(BuddyList) + RowCount(DaysAheadList), 0);
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {});
  DeleteCurrentBuddy();
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(GetFileAttributesA(BuddyFilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file that was not read in full is copied to anny.dat.bak before it is
// replaced; when no copy can be made, or the file cannot be written, the user
// is told and the file stays as it was.
TEST_F(BuddyViews, SavesNeverLoseTheList) {
  const std::string lossy = "20100316Abe" + R + "2010O316Bad" + R + E;
  const struct {
    const char* what;
    bool bakIsFolder, locked;
    bool saved;
    std::string file, bak;
  } cases[] = {
      {"a skipped record", false, false, true, "20100316Abe" + R + E, lossy},
      {"no backup possible", true, false, false, lossy, ""},
      {"an unreadable file", false, true, false, lossy, ""},
  };
  for (const auto& c : cases) {
    SetUp();
    if (c.bakIsFolder) CreateDirectoryA((BuddyFilePath + ".bak").c_str(), nullptr);
    Create(lossy);
    HANDLE lock = c.locked ? CreateFileA(BuddyFilePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    if (c.locked) {  // the load happened before the lock: load again under it
      DestroyWindow(days);
      DestroyWindow(buddies);
      buddies = CreateBuddiesView(host);
    }
    EXPECT_EQ(SaveBuddies(BuddyList, host), c.saved) << c.what;
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    EXPECT_EQ(FileText(BuddyFilePath), c.file) << c.what;
    EXPECT_EQ(FileText(BuddyFilePath + ".bak"), c.bak) << c.what;
    EXPECT_EQ(Messages.size(), c.saved ? 0u : 1u) << c.what;
    TearDown();
  }
  SetUp();
  BuddyFilePath = folder + "missing\\anny.dat";
  buddies = CreateBuddiesView(host);
  AppendBuddyRow(BuddyList, MakeDate(2010, 1, 1), "New");
  EXPECT_FALSE(SaveBuddies(BuddyList, host));
  EXPECT_EQ(RowCount(BuddyList), 1);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(std::get<0>(Messages[0]), "The buddies could not be saved to " + BuddyFilePath +
                                          ". Your change is shown but not saved.");
  // A file that may be there but whose attributes cannot be read counts as
  // not read: no save without a copy first.
  TearDown();
  SetUp();
  BuddyFilePath = folder + "bad|name\\anny.dat";
  buddies = CreateBuddiesView(host);
  AppendBuddyRow(BuddyList, MakeDate(2010, 1, 1), "New");
  EXPECT_FALSE(SaveBuddies(BuddyList, host));
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(std::get<0>(Messages[0]).find(BuddyFilePath + " could not be read in full"), 0u);
}

// The change of date, from the clock's first tick of a new day and from a
// system time change, rebuilds both lists from the date of that moment.
class BuddyViewsDateChange : public MainWindowFixture {};

TEST_F(BuddyViewsDateChange, BothListsFollowTheDate) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  BuddyFilePath = std::string(temp) + "fumora_buddies\\anny.dat";
  ASSERT_TRUE(ReplaceFileAtomically(BuddyFilePath, Bytes(Seeded)));
  StatsClockSource = FakeClock;
  FakeNow = MakeDate(2010, 3, 15, 10, 0);
  Open();
  SendMessageA(window_, WM_TIMECHANGE, 0, 0);
  EXPECT_EQ(DaysAheadRows(), SeededDaysAhead);
  EXPECT_EQ(BuddyRows()[2], "Cleo|1|1 Year|#0");
  FakeNow = MakeDate(2010, 3, 16, 0, 0, 1);
  StatisticsClockTick(nullptr, 0, 0, 0);
  EXPECT_EQ(DaysAheadRows().front(), "0 Abe Quit Date #1");
  EXPECT_EQ(BuddyRows()[0], "Abe|1|Quit Date|#1");
  EXPECT_EQ(BuddyRows()[2], "Cleo|0||#0");
  FakeNow = MakeDate(2010, 3, 20, 9, 0);
  SendMessageA(window_, WM_TIMECHANGE, 0, 0);
  EXPECT_EQ(DaysAheadRows().front(), "0 Bea 5 Years #4");
  EXPECT_EQ(BuddyRows()[1], "Bea|1|5 Years|#4");
  StatsClockSource = LocalTimeNow;
  FakeNow = MakeDate(2010, 3, 15, 10, 0);
}
}  // namespace
