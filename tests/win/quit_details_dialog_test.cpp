// The Edit Quit Details and price point dialogs made from their templates over
// seeded settings and pp.dat, driven by messages while their modal loops run;
// and the dialog opened from the real main window's menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "engine/first_run_checks.h"
#include "engine/milestones.h"
#include "engine/price_rows.h"
#include "engine/savings.h"
#include "engine/stats_view_texts.h"
#include "locale/formats.h"
#include "milestones/milestones_view.h"
#include "quitdetails/price_list.h"
#include "quitdetails/price_point_file.h"
#include "quitdetails/quit_details_dialog.h"
#include "resource.h"
#include "shell_fixture.h"
#include "win/listview.h"

// Found by argument-dependent lookup from inside std::vector's comparison.
static bool operator==(const PricePoint& a, const PricePoint& b) { return a.Day == b.Day && a.Price == b.Price; }

namespace {
using namespace shell_test;
using Rows = std::vector<PricePoint>;
using Bytes = std::vector<uint8_t>;

const uint32_t D = static_cast<uint32_t>(DateToDayNumber(2021, 3, 1));
SysTime Date(uint32_t day) {
  SysTime date;
  DayNumberToDate(static_cast<DayNumber>(day), date);
  return date;
}
const char* const QuitTitle = "Edit Quit Details";
HWND Quit() { return DialogNamed(QuitTitle); }
HWND Point(bool edit = false) { return DialogNamed(edit ? "Edit Price Point" : "Add Price Point"); }
HWND List() { return GetDlgItem(Quit(), IDC_QD_PRICE_LIST); }
void Focus(int row) {
  ListView_SetItemState(List(), -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(List(), row, LVIS_FOCUSED, LVIS_FOCUSED);
}
std::vector<Bytes> StoredQuitValues() {
  std::vector<Bytes> values;
  for (const char* name : {"QuitName", "NumCigs", "NumPack", "Price", "QuitDate"}) values.push_back(StoredBytes(name));
  return values;
}
Rows InMemory() { return {PricePoints.points.begin(), PricePoints.points.begin() + PricePoints.count}; }
std::string Local(std::string price) {
  std::replace(price.begin(), price.end(), '.', DecimalSeparatorChar());
  return price;
}
// Sets a price point dialog's day and price, and presses its button.
void EnterPoint(HWND point, uint32_t day, const char* price) {
  Pick(point, IDC_PP_DATE, Date(day));
  SetText(point, IDC_PP_PRICE, Local(price));
  Click(point, IDOK);
}

// pp.dat in a folder of its own; message boxes recorded instead of shown.
class EditQuitDetails : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseProcessValues(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    PricePointFilePath = TempFolder("fumora_qd") + "pp.dat";
    QuitDetailsMessageBox = RecordBox;
    Boxes.clear();
    Answer = IDYES;
  }
  void TearDown() override {
    QuitDetailsMessageBox = MessageBoxA;
    DeleteFileA(PricePointFilePath.c_str());
    PricePoints = {};
    ClearStoredSettings();
    ResetSettingsInMemory();
  }
  // The stored settings and pp.dat as the dialog finds them.
  void Open(const Rows& rows = {}, uint32_t price = 500, const SysTime& quit = MakeDate(2024, 1, 15, 10)) {
    ResetSettingsInMemory();
    SeedSettings({.price = price, .quitTime = quit});
    LoadSettings();
    ASSERT_TRUE(ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(rows)));
    LoadPricePoints();
    StatsMinuteMarker = 0;
  }
  // Runs the dialog with one step a tick; true when Change stored.
  bool Run(std::vector<ModalDriver::Step> steps) {
    bool stored = false;
    Drive(QuitTitle, std::move(steps), [&] { stored = RunEditQuitDetails(nullptr); });
    return stored;
  }
  void ChecksThenChange();
  void UntouchedChangeKeepsWhatIsStored();
};

// The same with "," as the decimal separator: ctest runs this suite under de_DE.
class EditQuitDetailsUnderComma : public EditQuitDetails {
  void SetUp() override {
    const char* locale = std::getenv("FUMORA_TEST_LOCALE");
    if (!locale || std::string(locale) != "de_DE") GTEST_SKIP() << "runs under de_DE (ctest)";
    ASSERT_EQ(DecimalSeparator, ",");
    EditQuitDetails::SetUp();
  }
};

// Rows read in file order shown by day; a row added; each check in order with
// its message, a refused entry storing nothing; then Change stores the five
// values with their sizes and pp.dat in row order.
void EditQuitDetails::ChecksThenChange() {
  Open({{D + 30, 700}, {D + 10, 600}, {D + 30, 650}});
  const auto seeded = StoredQuitValues();
  const struct {
    const char *name, *perPack, *perDay, *price;
    QuitEntryFault fault;
  } entries[] = {
      {"", "20", "20", "5.00", QuitEntryFault::Name},
      {"   ", "0", "x", "", QuitEntryFault::PerPack},  // blanks are a name; the pack comes first
      {"A", "601", "20", "5.00", QuitEntryFault::PerPack}, {"A", "4294967297", "20", "5.00", QuitEntryFault::PerPack},
      {"A", "600", "1a", "5.00", QuitEntryFault::PerDay},  {"A", "600", "501", "5.00", QuitEntryFault::PerDay},
      {"A", "600", "500", "", QuitEntryFault::Price},      {"A", "600", "500", ".", QuitEntryFault::Price},
      {"A", "600", "500", "1.2.3", QuitEntryFault::Price}, {"A", "600", "500", "1000.01", QuitEntryFault::Price},
      {"A", "600", "500", "0", QuitEntryFault::Price},     {"Ann Other", "25", "15", "1000.00", QuitEntryFault::None},
  };
  EXPECT_TRUE(Run({[] {
                     EXPECT_EQ(PriceRows(List()), (Rows{{D + 10, 600}, {D + 30, 700}, {D + 30, 650}}));
                     EXPECT_EQ(Text(Quit(), IDC_QD_PRICE), Local("5.00"));
                     EXPECT_EQ(Text(Quit(), IDC_QD_CURRENCY), CurrencySymbol);
                     EXPECT_EQ(CellText(List(), 0, 2), FormatMoneyText({6, 0}));
                     Click(Quit(), IDC_QD_ADD, true);
                   },
                   [] {
                     ASSERT_NE(Point(), nullptr);
                     EXPECT_EQ(Text(Point(), IDOK), "Add");
                     EXPECT_EQ(Text(Point(), IDC_PP_PRICE), "");
                     EnterPoint(Point(), D + 20, "0.01");
                   },
                   [&] {
                     HWND dialog = Quit();
                     Pick(dialog, IDC_QD_DATE, MakeDate(2020, 2, 29));
                     Pick(dialog, IDC_QD_TIME, MakeDate(2020, 2, 29, 7, 45, 33));
                     for (const auto& e : entries) {
                       SCOPED_TRACE(std::string(e.name) + "|" + e.perPack + "|" + e.perDay + "|" + e.price);
                       SetText(dialog, IDC_QD_NAME, e.name);
                       SetText(dialog, IDC_QD_PER_PACK, e.perPack);
                       SetText(dialog, IDC_QD_PER_DAY, e.perDay);
                       SetText(dialog, IDC_QD_PRICE, Local(e.price));
                       Boxes.clear();
                       Click(dialog, IDOK);
                       if (e.fault == QuitEntryFault::None) break;
                       EXPECT_EQ(Boxes, (BoxList{{dialog, QuitEntryMessage(e.fault), "Fumora",
                                                           MB_OK | MB_ICONINFORMATION}}));
                       EXPECT_EQ(StoredQuitValues(), seeded);
                       EXPECT_STREQ(QuitDetails.name, "Tester");
                     }
                     EXPECT_TRUE(Boxes.empty());
                   }}));
  const auto quit = EncodeQuitDate(MakeDate(2020, 2, 29, 7, 45));
  EXPECT_EQ(StoredQuitValues(), (std::vector<Bytes>{{'A', 'n', 'n', ' ', 'O', 't', 'h', 'e', 'r', 0},
                                                    {15, 0, 0, 0},
                                                    {25, 0, 0, 0},
                                                    {0xA0, 0x86, 0x01, 0},  // 100000 hundredths
                                                    {quit.begin(), quit.end()}}));
  const Rows rows = {{D + 10, 600}, {D + 20, 1}, {D + 30, 700}, {D + 30, 650}};
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(rows));
  EXPECT_EQ(InMemory(), rows);
  EXPECT_EQ(QuitDayNumber, DateToDayNumber(2020, 2, 29));
  EXPECT_EQ(StatsMinuteMarker, ForceStatsRecompute);
}

void EditQuitDetails::UntouchedChangeKeepsWhatIsStored() {
  const struct {
    const char* what;
    Rows rows;
    uint32_t price;
    SysTime quit;
  } cases[] = {
      {"1000.00", {{D, 100000}}, 100000, MakeDate(2024, 1, 15, 10)},
      {"two points on one day", {{D - 5, 300}, {D, 450}, {D, 600}, {D + 1, 1}}, 500, MakeDate(2024, 1, 15, 10)},
      {"dates no picker shows", {{0, 5}, {D, 450}, {0xFFFFFFF0u, 7}}, 450, MakeDate(1890, 6, 1, 23, 59)},
      {"a file out of day order", {{D + 30, 700}, {D + 10, 600}, {D + 30, 650}}, 500, MakeDate(2024, 1, 15, 10)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.rows, c.price, c.quit);
    const auto values = StoredQuitValues();
    EXPECT_TRUE(Run({[] { Click(Quit(), IDOK); }}));
    EXPECT_EQ(StoredQuitValues(), values);
    EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(c.rows));
  }
}

TEST_F(EditQuitDetails, ChecksThenChange) { ChecksThenChange(); }
TEST_F(EditQuitDetails, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }
TEST_F(EditQuitDetailsUnderComma, ChecksThenChange) { ChecksThenChange(); }
TEST_F(EditQuitDetailsUnderComma, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }

// A pp.dat that cannot be written is told; the new prices count for the run.
TEST_F(EditQuitDetails, AnUnwritablePpDatIsToldAndTheNewPricesStillCount) {
  Open({{D, 100}});
  const std::string stored = PricePointFilePath;
  PricePointFilePath = TempFolder("fumora_qd") + "gone\\pp.dat";
  HWND dialog = nullptr;
  EXPECT_TRUE(Run({[&] {
    dialog = Quit();
    Focus(0);
    Click(dialog, IDC_QD_DELETE);
    Boxes.clear();
    Click(dialog, IDOK);
  }}));
  EXPECT_EQ(Boxes, (BoxList{{dialog, "The price changes could not be saved to " + PricePointFilePath +
                                         ". Your change is shown but not saved.", "Fumora", MB_OK | MB_ICONERROR}}));
  PricePointFilePath = stored;
  EXPECT_EQ(InMemory(), Rows{});
  EXPECT_EQ(ReadWholeFile(stored), EncodePricePoints(Rows{{D, 100}}));
}

// A pp.dat of more changes than the list keeps is told once, over the dialog,
// and an untouched Change leaves it whole; a changed row replaces it only after
// it has been copied to pp.dat.bak.
TEST_F(EditQuitDetails, AFileOfMoreThanAHundredIsToldOnceAndKeptUntilARowChanges) {
  Open();
  Rows rows;
  for (uint32_t i = 0; i < 150; ++i) rows.push_back({D + i, 100 + i});
  Bytes file = EncodePricePoints(rows);
  const Bytes more = EncodePricePoints(Rows(rows.begin() + 100, rows.end()));
  file.insert(file.end(), more.begin(), more.end());
  ASSERT_TRUE(ReplaceFileAtomically(PricePointFilePath, file));
  LoadPricePoints();
  const std::string notice = PricePointFilePath + " holds 150 price changes; only the first 100 have been loaded." +
                             " Before a change to the price changes is saved, the file is copied to " +
                             PricePointFilePath + ".bak.";
  EXPECT_TRUE(Run({[&] {
    EXPECT_EQ(Boxes, (BoxList{{Quit(), notice, "Fumora", MB_OK | MB_ICONWARNING}}));
    Boxes.clear();
    Click(Quit(), IDOK);
  }}));
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), file);
  EXPECT_TRUE(Run({[] {
    EXPECT_TRUE(Boxes.empty()) << "told once";
    Focus(0);
    Click(Quit(), IDC_QD_DELETE);
    Click(Quit(), IDOK);
  }}));
  EXPECT_EQ(ReadWholeFile(PricePointFilePath + ".bak"), file);
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(Rows(rows.begin() + 1, rows.begin() + 100)));
  DeleteFileA((PricePointFilePath + ".bak").c_str());
}

TEST_F(EditQuitDetails, TheHundredAndFirstRowIsRefused) {
  Rows full;
  for (uint32_t i = 0; i < PricePointCapacity; ++i) full.push_back({D + i, 100 + i});
  Open(full);
  auto refused = [] {
    EXPECT_EQ(Boxes, (BoxList{{Quit(), PriceRowsFullMessage, "Fumora", MB_OK | MB_ICONINFORMATION}}));
    EXPECT_EQ(Point(), nullptr);
    Boxes.clear();
  };
  EXPECT_TRUE(Run({[] { Click(Quit(), IDC_QD_ADD, true); },
                   [&] {  // a row deleted makes room for one
                     refused();
                     Focus(0);
                     Click(Quit(), IDC_QD_DELETE);
                     Boxes.clear();
                     Click(Quit(), IDC_QD_ADD, true);
                   },
                   [] {
                     EnterPoint(Point(), D, "2");
                     Click(Quit(), IDC_QD_ADD, true);
                   },
                   [&] {
                     refused();
                     Click(Quit(), IDOK);
                   }}));
  EXPECT_EQ(ReadWholeFile(PricePointFilePath).size(), 800u);
}

// The banner's font lives as long as the dialog: made on opening, deleted
// when it closes.
TEST_F(EditQuitDetails, TheBannerFontGoesWithTheDialog) {
  Open();
  HFONT font = nullptr;
  Run({[&] {
    font = reinterpret_cast<HFONT>(SendDlgItemMessageA(Quit(), IDC_QD_BANNER, WM_GETFONT, 0, 0));
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    Click(Quit(), IDCANCEL);
  }});
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetObjectType(font), 0u);
}

// Edit and Delete act on the focused row (with none, nothing happens); then
// Cancel, and the close box, store nothing.
TEST_F(EditQuitDetails, EditAndDeleteActOnTheFocusedRowAndCancelStoresNothing) {
  const Rows file = {{D, 100}, {D + 1, 200}, {D + 2, 300}};
  Open(file);
  const auto values = StoredQuitValues();
  EXPECT_FALSE(Run({
      [] {
        // One row selected at a time: the one Edit and Delete act on.
        const LONG selection = LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        EXPECT_EQ(GetWindowLongA(List(), GWL_STYLE) & selection, selection);
        SetText(Quit(), IDC_QD_NAME, "Changed");
        Focus(-1);
        Click(Quit(), IDC_QD_DELETE);
        Click(Quit(), IDC_QD_EDIT, true);
      },
      [] {
        EXPECT_EQ(Point(true), nullptr);
        EXPECT_TRUE(Boxes.empty());
        Focus(0);
        Click(Quit(), IDC_QD_EDIT, true);
      },
      [] {  // the row's own values; a later day moves it after the others
        HWND point = Point(true);
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(Text(point, IDOK), "Change");
        EXPECT_EQ(Text(point, IDC_PP_PRICE), Local("1.00"));
        SYSTEMTIME shown{};
        SendDlgItemMessageA(point, IDC_PP_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(DateToDayNumber(ToSysTime(shown)), static_cast<DayNumber>(D));
        EnterPoint(point, D + 5, "2.5");
        EXPECT_EQ(PriceRows(List()), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 5, 250}}));
        Focus(1);
        Click(Quit(), IDC_QD_ADD, true);
      },
      [] {  // a new row on a day that has one goes after it
        EnterPoint(Point(), D + 2, "9");
        EXPECT_EQ(PriceRows(List()), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 2, 900}, {D + 5, 250}}));
        EXPECT_EQ(CurrentRow(List()), 2);
        Answer = IDNO;
        Click(Quit(), IDC_QD_DELETE);
        const std::string question = "Are you sure that you wish to delete the data for " + CellText(List(), 2, 1);
        EXPECT_EQ(Boxes, (BoxList{{List(), question, "Delete Warning", MB_YESNO | MB_ICONERROR}}));
        EXPECT_EQ(RowCount(List()), 4);
        Answer = IDYES;
        SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(PriceRows(List()), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 5, 250}}));
        Click(Quit(), IDCANCEL, true);
      },
  }));
  EXPECT_FALSE(Run({[] {
    Focus(0);
    Click(Quit(), IDC_QD_DELETE);
    PostMessageA(Quit(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }}));
  EXPECT_EQ(StoredQuitValues(), values);
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(file));
  EXPECT_EQ(InMemory(), file);
}

// Edit Price Point shows a stored day from 1900 on; an older one is said to
// lie outside the pickers' dates and is kept.
TEST_F(EditQuitDetails, APriceDayThePickerCannotShowIsSaidAndKept) {
  const Rows file = {{2396759, 100}, {2433069, 200}};  // 1 January 1850, 1 June 1949
  Open(file);
  auto edit = [](int row, const char* told) {
    return std::vector<ModalDriver::Step>{
        [row] {
          Focus(row);
          Click(Quit(), IDC_QD_EDIT, true);
        },
        [told] {
          HWND point = Point(true);
          SYSTEMTIME shown{};
          SendDlgItemMessageA(point, IDC_PP_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
          if (!told) {
            EXPECT_EQ(shown.wYear * 10000 + shown.wMonth * 100 + shown.wDay, 19490601);
          }
          EXPECT_EQ(Boxes, (told ? BoxList{{point, told, "Fumora", MB_OK | MB_ICONINFORMATION}} : BoxList{}));
          Boxes.clear();
          SetText(point, IDC_PP_PRICE, Local("3"));
          Click(point, IDOK);
        }};
  };
  auto steps = edit(1, nullptr);
  for (auto& step : edit(0,
                         "The stored date, 01/01/1850, lies outside the dates that can be picked here (01/01/1900 "
                         "to 12/31/2099). It is kept unless you pick another date."))
    steps.push_back(step);
  steps.push_back([] { Click(Quit(), IDOK); });
  EXPECT_TRUE(Run(steps));
  EXPECT_EQ(InMemory(), (Rows{{2396759, 300}, {2433069, 300}}));
}

// From the real main window's menu: the milestones, the figures on show and
// the stats text follow at once; dialog keys go to the view then on show.
class QuitDetailsFromMenu : public MainWindowFixture {};

TEST_F(QuitDetailsFromMenu, ChangeShowsTheNewFiguresAtOnce) {
  PricePointFilePath = TempFolder("fumora_qd") + "pp.dat";
  DeleteFileA(PricePointFilePath.c_str());
  Open({.startupView = BuddiesViewIndex});
  const uint64_t before = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  Drive(QuitTitle, {[this] {
          EXPECT_FALSE(IsWindowEnabled(window_));
          EXPECT_EQ(DialogMessageTarget, Quit());
          SetText(Quit(), IDC_QD_PER_DAY, "40");
          SelectView(MilestonesViewIndex);  // as Ctrl+M does while the dialog is open
          Click(Quit(), IDOK);
        }},
        [this] { Command(IDM_EDIT_QUIT_DETAILS); });
  EXPECT_EQ(DialogMessageTarget, window_);
  // Twice the cigarettes a day, twice the money (give or take a minute).
  const uint64_t after = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  EXPECT_GE(after + 2, 2 * before);
  EXPECT_LE(after, 2 * before + 4);
  EXPECT_EQ(WindowText(GetDlgItem(ViewWindows[StatisticsViewIndex], IDC_STATS_MONEY)), FormatMoneyText(MoneySaved));
  std::vector<std::string> shown, wanted;
  for (int r = 0; r < RowCount(MilestonesList); ++r) shown.push_back(CellText(MilestonesList, r, 2));
  for (const MilestoneRow& row : MilestoneRows(QuitDetails.quitTime, 40)) wanted.push_back(row.label);
  EXPECT_EQ(shown, wanted);
}
}  // namespace
