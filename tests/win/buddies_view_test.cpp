// The Buddies and Days Ahead views made from their templates over a seeded
// anny.dat, the buddy dialogs driven by messages, and the change of date.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <tuple>

#include "buddies/buddies_view.h"
#include "buddies/buddy_store.h"
#include "daysahead/days_ahead_view.h"
#include "engine/savings.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"
#include "util/text.h"
#include "win/listview.h"

namespace {
using namespace shell_test;
using Strings = std::vector<std::string>;
const std::string R = "\x1E", E = "\x1C";
// Today is 15 March 2010; Days Ahead looks 20 days ahead.
const std::string Seeded = "20090315Cleo" + R + "20100316Abe" + R + "20100201Sam" + R + "20091115Sam" + R +
                           "20050320Bea" + R + E;
// The seeded rows in name order, as a save writes them.
const std::string ByName = "20100316Abe" + R + "20050320Bea" + R + "20090315Cleo" + R + "20091115Sam" + R +
                           "20100201Sam" + R;
SysTime FakeNow;
SysTime FakeClock() { return FakeNow; }

void WriteFile(const std::string& text) { ASSERT_TRUE(WriteFileText(BuddyFilePath, text)); }
// "name|flag|label|#id" per buddy row; "offset name label #id" per Days Ahead row.
Strings BuddyRows() {
  Strings rows;
  for (int r = 0; r < RowCount(BuddyList); ++r)
    rows.push_back(CellText(BuddyList, r, 1) + "|" + CellText(BuddyList, r, 0) + "|" + CellText(BuddyList, r, 4) +
                   "|#" + CellText(BuddyList, r, 5));
  return rows;
}
Strings DaysAheadRows() {
  Strings rows;
  for (int r = 0; r < RowCount(DaysAheadList); ++r)
    rows.push_back(std::to_string(ParseDecimal(CellText(DaysAheadList, r, 0)) - TodayDayNumber) + " " +
                   CellText(DaysAheadList, r, 2) + " " + CellText(DaysAheadList, r, 3) + " #" +
                   CellText(DaysAheadList, r, 4));
  return rows;
}
const Strings SeededDaysAhead = {"0 Cleo 1 Year #0", "0 Sam 4 Months #3", "1 Abe Quit Date #1", "5 Bea 5 Years #4",
                                 "8 Abe 7 Days #1",  "8 Sam 50 Days #2",  "15 Abe 14 Days #1",  "17 Sam 2 Months #2"};

void Focus(int row) {
  ListView_SetItemState(BuddyList, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}
void Notify(HWND to, NMHDR* header) { SendMessageA(to, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header)); }

// The real main window over a seeded anny.dat, its clock on 15 March 2010.
class BuddyViews : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    BuddyFilePath = TempFolder("fumora_buddies") + "anny.dat";
    DeleteFileA(BuddyFilePath.c_str());
    DeleteFileA((BuddyFilePath + ".bak").c_str());
    RemoveDirectoryA((BuddyFilePath + ".bak").c_str());
    FakeNow = MakeDate(2010, 3, 15, 10, 0);
    StatsClockSource = FakeClock;
    Boxes.clear();
    Answer = IDYES;
    BuddyMessageBox = RecordBox;
  }
  void TearDown() override {
    StatsClockSource = LocalTimeNow;
    BuddyMessageBox = MessageBoxA;
    MainWindowFixture::TearDown();
  }
  void Create(const std::string& file = Seeded) {
    if (!file.empty()) WriteFile(file);
    Open();
    ASSERT_TRUE(BuddyList && DaysAheadList);
  }
  // Clicks a Buddies view button and runs `steps` in the dialog it opens.
  void InDialog(int button, const char* caption, std::vector<std::function<void(HWND)>> steps) {
    std::vector<ModalDriver::Step> driven;
    for (auto& step : steps) driven.push_back([step, caption] { step(DialogNamed(caption)); });
    Drive(caption, driven, [&] { Click(BuddiesViewWindow, button); });
  }
  static void Type(HWND dialog, int id, const char* text) {
    SetDlgItemTextA(dialog, id, text);
    SendDlgItemMessageA(dialog, id, EM_SETMODIFY, TRUE, 0);
  }
};

TEST_F(BuddyViews, SeededRowsTheirColoursAndTheirSort) {
  Create();
  EXPECT_EQ(BuddyRows(), (Strings{"Abe|0||#1", "Bea|0||#4", "Cleo|1|1 Year|#0", "Sam|1|4 Months|#3", "Sam|0||#2"}));
  EXPECT_EQ(CellText(BuddyList, 0, 2), "03/16/2010");
  EXPECT_EQ(CellText(BuddyList, 0, 3), "20100316");
  EXPECT_EQ(DaysAheadRows(), SeededDaysAhead);
  EXPECT_EQ(CellText(DaysAheadList, 2, 1), "03/16/2010");

  // Anniversary rows in their colours, the others alternating.
  auto draw = [](HWND list, int row) {
    NMLVCUSTOMDRAW d{};
    d.nmcd.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_CUSTOMDRAW)};
    d.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    d.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    Notify(GetParent(list), &d.nmcd.hdr);
    return std::make_pair(d.clrTextBk, d.clrText);
  };
  const AppColorsRecord& c = AppColors;
  using Colours = std::pair<COLORREF, COLORREF>;
  const Colours highlight{c.rowHighlightBack, 0}, white{RGB(255, 255, 255), 0};
  const std::tuple<HWND, int, Colours> rows[] = {
      {BuddyList, 0, highlight}, {BuddyList, 1, white}, {BuddyList, 2, {c.anniversaryBack, c.anniversaryText}},
      {DaysAheadList, 1, {c.todayBack, c.todayText}}, {DaysAheadList, 2, {c.tomorrowBack, c.tomorrowText}},
      {DaysAheadList, 3, white}, {DaysAheadList, 4, highlight}};
  for (auto [list, row, colours] : rows) EXPECT_EQ(draw(list, row), colours) << row;

  // Heading clicks toggle the order of their column.
  const struct {
    int column;
    Strings names;
  } clicks[] = {{2, {"Bea", "Cleo", "Sam", "Sam", "Abe"}}, {2, {"Abe", "Sam", "Sam", "Cleo", "Bea"}},
                {4, {"Bea", "Sam", "Abe", "Cleo", "Sam"}}, {1, {"Abe", "Bea", "Cleo", "Sam", "Sam"}},
                {1, {"Sam", "Sam", "Cleo", "Bea", "Abe"}}};
  HWND header = ListView_GetHeader(BuddyList);
  for (const auto& click : clicks) {
    NMHEADERA n{{header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_ITEMCLICKA)},
                click.column, 0, nullptr};
    Notify(BuddyList, &n.hdr);
    Strings names;
    for (int r = 0; r < RowCount(BuddyList); ++r) names.push_back(CellText(BuddyList, r, 1));
    EXPECT_EQ(names, click.names) << "column " << click.column;
  }

  // The label column gives way to a scroll bar only as far as the list
  // lacks room; the longest period, 100 days.
  EXPECT_EQ(ListView_GetColumnWidth(BuddyList, 4), 94);
  for (int i = 0; i < 30; ++i) AppendBuddyRow(BuddyList, MakeDate(2000, 1, 1), "More");
  Pump(20);
  RECT client;
  GetClientRect(BuddyList, &client);
  EXPECT_EQ(ListView_GetColumnWidth(BuddyList, 4), std::clamp(int{client.right} - 144 - 76, 94 - ScrollBarWidth, 94));
  EXPECT_GT(client.right - 144 - 76, 94 - ScrollBarWidth) << "the list here has room to spare";
  GeneralPrefs.LookAheadDays = 100;
  BuildDaysAhead();
  EXPECT_EQ(DaysAheadRows().back(), "97 Bea 63 Months #4");
}

// After an add the list is in name order, and the next heading clicks sort
// from there: the quit date's first click is ascending, the name's descending.
TEST_F(BuddyViews, HeadingClicksAfterAnAddStartFromTheNameOrder) {
  Create();
  auto click = [](int column) {
    HWND header = ListView_GetHeader(BuddyList);
    NMHEADERA n{{header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_ITEMCLICKA)}, column, 0,
                nullptr};
    Notify(BuddyList, &n.hdr);
    Strings names;
    for (int r = 0; r < RowCount(BuddyList); ++r) names.push_back(CellText(BuddyList, r, 1));
    return names;
  };
  click(2);
  InDialog(IDC_BUDDY_NEW, "Add New Buddy", {[](HWND d) {
             Type(d, IDC_ADD_BUDDY_NAME, "Al");
             Pick(d, IDC_ADD_BUDDY_DATE, MakeDate(2001, 1, 1));
             Click(d, IDOK);
           }});
  EXPECT_EQ(click(2), (Strings{"Al", "Bea", "Cleo", "Sam", "Sam", "Abe"}));
  InDialog(IDC_BUDDY_NEW, "Add New Buddy", {[](HWND d) {
             Type(d, IDC_ADD_BUDDY_NAME, "Zoe");
             Click(d, IDOK);
           }});
  EXPECT_EQ(click(1), (Strings{"Zoe", "Sam", "Sam", "Cleo", "Bea", "Al", "Abe"}));
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
  Notify(BuddiesViewWindow, &key.hdr);
  const Box question{BuddyList, "Are you sure that you wish to delete the data for Sam", "Delete Warning",
                     MB_YESNO | MB_ICONSTOP};
  EXPECT_EQ(Boxes, (BoxList{question, question}));
  EXPECT_EQ(BuddyRows().back(), "Sam|1|4 Months|#3");
  Strings expected = SeededDaysAhead;
  std::erase_if(expected, [](const std::string& row) { return row.ends_with("#2"); });
  EXPECT_EQ(DaysAheadRows(), expected);
  EXPECT_EQ(FileText(BuddyFilePath), ByName.substr(0, ByName.size() - 12) + E);
}

// Delete and Change act on the row the user sees selected, wherever the
// focus is; with none selected nothing is asked and nothing opens.
TEST_F(BuddyViews, DeleteAndChangeActOnTheSelectedRow) {
  Create();
  const struct {
    int focused, selected;
    const char* name;
  } cases[] = {{0, 2, "Cleo"}, {4, 1, "Bea"}, {3, 3, "Sam"}, {1, -1, ""}, {-1, -1, ""}};
  Answer = IDNO;
  for (const auto& c : cases) {
    ListView_SetItemState(BuddyList, -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
    if (c.focused >= 0) ListView_SetItemState(BuddyList, c.focused, LVIS_FOCUSED, LVIS_FOCUSED);
    if (c.selected >= 0) ListView_SetItemState(BuddyList, c.selected, LVIS_SELECTED, LVIS_SELECTED);
    Boxes.clear();
    Click(BuddiesViewWindow, IDC_BUDDY_DELETE);
    const std::string name = c.name;
    EXPECT_EQ(Boxes, (name.empty() ? BoxList{}
                                   : BoxList{{BuddyList, "Are you sure that you wish to delete the data for " + name,
                                              "Delete Warning", MB_YESNO | MB_ICONSTOP}}))
        << c.focused << " " << c.selected;
    std::vector<std::function<void(HWND)>> steps;
    std::string edited = "(nothing)";
    if (!name.empty()) steps.push_back([&](HWND d) { edited = Text(d, IDC_EDIT_BUDDY_NAME); Click(d, IDCANCEL); });
    InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", steps);
    EXPECT_EQ(edited, name.empty() ? "(nothing)" : name) << c.focused << " " << c.selected;
  }
  EXPECT_EQ(FileText(BuddyFilePath), Seeded);
}

// The empty text is drawn whole when the last buddy goes, and is gone whole
// when a buddy comes: what is on the screen then is what a full repaint draws.
TEST_F(BuddyViews, TheEmptyTextComesAndGoesWhole) {
  Create("20100316Abe" + R + E);
  Command(IDM_VIEW_BUDDIES);
  Pump(100);
  auto repainted = [] {
    const std::vector<COLORREF> before = ClientPixels(BuddyList);
    InvalidateRect(BuddyList, nullptr, TRUE);
    UpdateWindow(BuddyList);
    return std::make_pair(before, ClientPixels(BuddyList));
  };
  Focus(0);
  DeleteCurrentBuddy();
  Pump(100);
  const auto [afterDelete, emptyList] = repainted();
  EXPECT_EQ(std::ranges::count(emptyList, GetSysColor(COLOR_GRAYTEXT)) > 20, true) << "the text is there";
  EXPECT_TRUE(afterDelete == emptyList) << "after the last delete";
  AppendBuddyRow(BuddyList, MakeDate(2010, 1, 1), "Ann");
  Pump(100);
  const auto [afterAdd, oneRow] = repainted();
  EXPECT_EQ(std::ranges::count(oneRow, GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_TRUE(afterAdd == oneRow) << "after the first add";
}

// Add appends and saves; Edit renames a buddy's rows in place or replaces
// them for a new date; an Apply that changes nothing rewrites nothing.
TEST_F(BuddyViews, AddAndEditThroughTheDialogs) {
  Create();
  InDialog(IDC_BUDDY_NEW, "Add New Buddy",
           {[](HWND d) {  // nothing but control characters: blank, refused, the dialog stays
              Type(d, IDC_ADD_BUDDY_NAME, "\x01\x1E");
              Click(d, IDOK);
              EXPECT_EQ(Boxes, (BoxList{{d, "The buddy name cannot be blank", "Fumora", MB_OK | MB_ICONERROR}}));
            },
            [](HWND d) {
              Type(d, IDC_ADD_BUDDY_NAME, "D\x1E" "ee\t");
              Pick(d, IDC_ADD_BUDDY_DATE, MakeDate(2010, 3, 15));
              Click(d, IDOK);
            }});
  EXPECT_EQ(BuddyRows()[3], "Dee|1|Quit Date|#5");
  EXPECT_EQ(DaysAheadRows(), (Strings{"0 Cleo 1 Year #0", "0 Dee Quit Date #5", "0 Sam 4 Months #3",
                                      "1 Abe Quit Date #1", "5 Bea 5 Years #4", "7 Dee 7 Days #5", "8 Abe 7 Days #1",
                                      "8 Sam 50 Days #2", "14 Dee 14 Days #5", "15 Abe 14 Days #1",
                                      "17 Sam 2 Months #2"}));
  EXPECT_EQ(FileText(BuddyFilePath), ByName + "20100315Dee" + R + E);

  Focus(0);  // Abe, renamed: his rows follow, in name order within their day
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) {
             EXPECT_EQ(Text(d, IDC_EDIT_BUDDY_NAME), "Abe");
             Type(d, IDC_EDIT_BUDDY_NAME, "Zed");
             Click(d, IDOK);
           }});
  EXPECT_EQ(BuddyRows().back(), "Zed|0||#1");
  Focus(1);  // Cleo, a new date: her rows are replaced
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) {
             Pick(d, IDC_EDIT_BUDDY_DATE, MakeDate(2010, 3, 17));
             Click(d, IDOK);
           }});
  EXPECT_EQ(BuddyRows()[1], "Cleo|0||#0");
  EXPECT_EQ(CellText(BuddyList, 1, 3), "20100317");
  EXPECT_EQ(DaysAheadRows(), (Strings{"0 Dee Quit Date #5", "0 Sam 4 Months #3", "1 Zed Quit Date #1",
                                      "2 Cleo Quit Date #0", "5 Bea 5 Years #4", "7 Dee 7 Days #5", "8 Sam 50 Days #2",
                                      "8 Zed 7 Days #1", "9 Cleo 7 Days #0", "14 Dee 14 Days #5", "15 Zed 14 Days #1",
                                      "16 Cleo 14 Days #0", "17 Sam 2 Months #2"}));
  const std::string edited = FileText(BuddyFilePath);
  EXPECT_EQ(edited, "20050320Bea" + R + "20100317Cleo" + R + "20100315Dee" + R + "20091115Sam" + R + "20100201Sam" +
                        R + "20100316Zed" + R + E);
  NMITEMACTIVATE click{};  // a double-click on a row, then Apply
  click.hdr = {BuddyList, IDC_BUDDY_LIST, static_cast<UINT>(NM_DBLCLK)};
  ListView_GetItemPosition(BuddyList, 2, &click.ptAction);
  Drive("Edit Buddy", {[] { Click(DialogNamed("Edit Buddy"), IDOK); }}, [&] { Notify(BuddiesViewWindow, &click.hdr); });
  EXPECT_EQ(FileText(BuddyFilePath), edited);
}

// Edit's Apply sorts the list by name, then writes anny.dat in that order,
// whatever order the list was in and wherever the change moves the row.
TEST_F(BuddyViews, AnApplyWritesTheFileInNameOrder) {
  const std::string seeded = "20090315Cleo" + R + "20100316Abe" + R + "20091115Sam" + R + "20050320Bea" + R + E;
  const struct {
    int heading;  // clicked first: 1 name, 2 quit date, 4 anniversary
    const char* buddy;
    const char* newName;  // or none
    SysTime newDate;  // or none
    std::string file;
  } cases[] = {
      {1, "Abe", "Zed", {}, "20050320Bea" + R + "20090315Cleo" + R + "20091115Sam" + R + "20100316Zed" + R + E},
      {2, "Cleo", nullptr, MakeDate(2010, 3, 17),
       "20100316Abe" + R + "20050320Bea" + R + "20100317Cleo" + R + "20091115Sam" + R + E},
      {4, "Sam", "Ann", {}, "20100316Abe" + R + "20091115Ann" + R + "20050320Bea" + R + "20090315Cleo" + R + E},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buddy);
    SetUp();
    Create(seeded);
    HWND header = ListView_GetHeader(BuddyList);
    NMHEADERA click{{header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_ITEMCLICKA)},
                    c.heading, 0, nullptr};
    Notify(BuddyList, &click.hdr);
    for (int row = 0; row < RowCount(BuddyList); ++row)
      if (CellText(BuddyList, row, 1) == c.buddy) Focus(row);
    InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[&c](HWND d) {
               if (c.newName) Type(d, IDC_EDIT_BUDDY_NAME, c.newName);
               if (c.newDate.wYear) Pick(d, IDC_EDIT_BUDDY_DATE, c.newDate);
               Click(d, IDOK);
             }});
    EXPECT_EQ(FileText(BuddyFilePath), c.file);
    TearDown();
  }
}

// The Days Ahead rows the user selected stay selected, and the focus stays on
// its row, while other buddies' rows come, move and go around them.
TEST_F(BuddyViews, DaysAheadSelectionStaysOnItsRows) {
  Create();
  auto marked = [] {
    const Strings rows = DaysAheadRows();
    Strings out;
    for (int r = 0; r < RowCount(DaysAheadList); ++r) {
      if (ListView_GetItemState(DaysAheadList, r, LVIS_SELECTED)) out.push_back(rows[r]);
      if (ListView_GetItemState(DaysAheadList, r, LVIS_FOCUSED)) out.push_back("focus " + rows[r]);
    }
    return out;
  };
  ListView_SetItemState(DaysAheadList, 3, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(DaysAheadList, 7, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  const Strings both = {"5 Bea 5 Years #4", "17 Sam 2 Months #2", "focus 17 Sam 2 Months #2"};
  ASSERT_EQ(marked(), both);
  InDialog(IDC_BUDDY_NEW, "Add New Buddy", {[](HWND d) {
             Type(d, IDC_ADD_BUDDY_NAME, "Dee");
             Pick(d, IDC_ADD_BUDDY_DATE, MakeDate(2010, 3, 15));
             Click(d, IDOK);
           }});
  EXPECT_EQ(marked(), both) << "after an add";
  Focus(0);  // Abe, renamed past Sam
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[](HWND d) {
             Type(d, IDC_EDIT_BUDDY_NAME, "Zed");
             Click(d, IDOK);
           }});
  EXPECT_EQ(marked(), both) << "after a rename";
  Focus(FindBuddyRow(BuddyList, 2));  // the Sam of the focused row
  DeleteCurrentBuddy();
  EXPECT_EQ(marked(), Strings{"5 Bea 5 Years #4"}) << "after a delete";
}

// Edit Buddy shows a stored date from 1900 on; an older one is said to lie
// outside the pickers' dates, and a rename keeps it.
TEST_F(BuddyViews, ARenameKeepsADateThePickerCannotShowAndAnEmptyListDeletesNothing) {
  const struct {
    const char* date;
    const char* told;
  } cases[] = {{"19010101", nullptr},
               {"18500101", "The stored date, 01/01/1850, lies outside the dates that can be picked here (01/01/1900 "
                            "to 12/31/2099). It is kept unless you pick another date."}};
  for (const auto& c : cases) {
    SetUp();
    Create(c.date + std::string("Old") + R + E);
    Focus(0);
    InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {[&](HWND d) {
               SYSTEMTIME shown{};
               SendDlgItemMessageA(d, IDC_EDIT_BUDDY_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
               if (!c.told) {
                 EXPECT_EQ(shown.wYear * 10000 + shown.wMonth * 100 + shown.wDay, 19010101);
               }
               EXPECT_EQ(Boxes, (c.told ? BoxList{{d, c.told, "Fumora", MB_OK | MB_ICONINFORMATION}} : BoxList{}));
               Type(d, IDC_EDIT_BUDDY_NAME, "Older");
               Click(d, IDOK);
             }});
    EXPECT_EQ(FileText(BuddyFilePath), c.date + std::string("Older") + R + E);
    TearDown();
  }
  SetUp();
  Create("");
  EXPECT_EQ(RowCount(BuddyList) + RowCount(DaysAheadList), 0);
  InDialog(IDC_BUDDY_CHANGE, "Edit Buddy", {});  // opens nothing
  DeleteCurrentBuddy();
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(GetFileAttributesA(BuddyFilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file that was not read in full (a record skipped, the file locked, its
// attributes unknown) is copied aside before it is replaced: to anny.dat.bak,
// or past the backups already there (a file or a folder), which keep what they
// hold; when no copy can be made, or the file cannot be written, the user is
// told and the file stays as it was. The rows stay in every case.
TEST_F(BuddyViews, SavesNeverLoseTheList) {
  const std::string lossy = "20100316Abe" + R + "2010O316Bad" + R + E, folder = TempFolder("fumora_buddies");
  const std::string file = folder + "anny.dat", unsaved = ". Your change is shown but not saved.";
  const std::string saved = "20100316Abe" + R + "20100101New" + R + E;
  auto notCopied = [&](const std::string& path) {
    return path + " could not be read in full and could not be copied to " + path + ".bak, so it has not been replaced" +
           unsaved;
  };
  auto notice = [&](const std::string& backup) {
    return file + " was not loaded whole: 1 buddy that could not be read has not been loaded. Before a change to the "
                  "buddies is saved, the file is copied to " + file + backup + ".";
  };
  const struct {
    std::string path;
    std::vector<std::string> earlier;  // backups there before: a text, or "/" for a folder
    bool locked;
    std::string after, backup, told;  // the backup's name after the path, and what it holds
  } cases[] = {
      {file, {}, false, saved, ".bak", notice(".bak")},
      {file, {"/"}, false, saved, ".2.bak", notice(".2.bak")},
      {file, {"first", "second"}, false, saved, ".3.bak", notice(".3.bak")},
      {file, {}, true, lossy, "", notCopied(file)},
      {folder + "bad|name\\anny.dat", {}, false, "", "", notCopied(folder + "bad|name\\anny.dat")},
      {folder + "missing\\anny.dat", {}, false, "", "", "The buddies could not be saved to " + folder +
                                                          "missing\\anny.dat" + unsaved},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    SetUp();
    BuddyFilePath = c.path;
    std::vector<std::string> earlier;  // their names
    for (const std::string& held : c.earlier) {
      earlier.push_back(c.path + (earlier.empty() ? "" : "." + std::to_string(earlier.size() + 1)) + ".bak");
      if (held == "/")
        CreateDirectoryA(earlier.back().c_str(), nullptr);
      else
        WriteFileText(earlier.back(), held);
    }
    if (!c.after.empty()) WriteFile(lossy);
    HANDLE lock = c.locked ? CreateFileA(c.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    Create("");  // over the file as it is
    AppendBuddyRow(BuddyList, MakeDate(2010, 1, 1), "New");
    EXPECT_EQ(SaveBuddies(BuddyList, window_), !c.backup.empty() || c.told.empty());
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    EXPECT_EQ(CellText(BuddyList, RowCount(BuddyList) - 1, 1), "New");
    EXPECT_EQ(FileText(c.path), c.after);
    EXPECT_EQ(FileText(c.path + (c.backup.empty() ? ".bak" : c.backup)), c.backup.empty() ? "" : lossy);
    for (size_t i = 0; i < earlier.size(); ++i) {
      EXPECT_EQ(FileText(earlier[i]), c.earlier[i] == "/" ? "" : c.earlier[i]);
      DeleteFileA(earlier[i].c_str());
      RemoveDirectoryA(earlier[i].c_str());
    }
    if (!c.backup.empty()) DeleteFileA((c.path + c.backup).c_str());
    const UINT icon = c.backup.empty() ? MB_ICONERROR : MB_ICONWARNING;
    EXPECT_EQ(Boxes, (c.told.empty() ? BoxList{} : BoxList{{window_, c.told, "Fumora", MB_OK | icon}}));
    TearDown();
  }
}

// A file not read whole is told once, with the backup's name, when a view of
// the buddies is first shown; a file read whole is not.
TEST_F(BuddyViews, AFileNotReadWholeIsToldOnceOnShow) {
  const std::string bad = "2010O316Bad" + R, tail = " Before a change to the buddies is saved, the file is copied to ";
  const struct {
    std::string file;
    bool locked;
    int view;
    std::string told;
  } cases[] = {
      {"20100316Abe" + R + bad + E, false, IDM_VIEW_BUDDIES, " was not loaded whole: 1 buddy that could not be read has "
                                                             "not been loaded."},
      {bad + "20100316" + std::string(300, 'n') + R + bad + E, false, IDM_VIEW_DAYS_AHEAD,
       " was not loaded whole: 2 buddies that could not be read have not been loaded, and 1 name has been cut short."},
      {Seeded, true, IDM_VIEW_BUDDIES, " could not be read, so no buddies have been loaded."},
      {Seeded, false, IDM_VIEW_BUDDIES, ""},
  };
  for (const auto& c : cases) {
    SetUp();
    WriteFile(c.file);
    HANDLE lock = c.locked ? CreateFileA(BuddyFilePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    Create("");
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    EXPECT_TRUE(Boxes.empty()) << "nothing while the statistics are shown";
    for (int view : {c.view, IDM_VIEW_STATISTICS, IDM_VIEW_BUDDIES, IDM_VIEW_DAYS_AHEAD}) {
      Command(view);
      Pump(60);
    }
    HWND owner = c.view == IDM_VIEW_BUDDIES ? BuddiesViewWindow : DaysAheadViewWindow;
    EXPECT_EQ(Boxes, (c.told.empty() ? BoxList{}
                                     : BoxList{{owner, BuddyFilePath + c.told + tail + BuddyFilePath + ".bak.",
                                                "Fumora", MB_OK | MB_ICONWARNING}}));
    TearDown();
  }
}

// The change of date, from the clock's first tick of a new day and from a
// system time change, rebuilds both lists from the date of that moment.
TEST_F(BuddyViews, BothListsFollowTheDate) {
  Create();
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
  // Built once: the next tick finds the lists built for the new date, so a
  // look-ahead changed without telling the list leaves its rows as they are.
  const size_t shown = DaysAheadRows().size();
  GeneralPrefs.LookAheadDays = 2;
  FakeNow.wSecond = 2;  // a new second: the last tick saw 1
  StatisticsClockTick(nullptr, 0, 0, 0);
  EXPECT_EQ(DaysAheadRows().size(), shown);
}
}  // namespace
