// The Edit Quit Details and price point dialogs made from their templates over
// seeded settings and pp.dat, driven by messages while their modal loops run;
// and the dialog opened from the real main window's menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

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
#include "util/systime_win32.h"
#include "win/file_io.h"
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

HWND QuitDialog() { return FindWindowA("#32770", "Edit Quit Details"); }
HWND PointDialog(const char* caption) { return FindWindowA("#32770", caption); }
HWND List() { return GetDlgItem(QuitDialog(), IDC_QD_PRICE_LIST); }
std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
uint32_t PickedDay(HWND dialog, int id) {
  SYSTEMTIME shown{};
  SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  return static_cast<uint32_t>(DateToDayNumber(ToSysTime(shown)));
}
void Focus(int row) {
  ListView_SetItemState(List(), -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(List(), row, LVIS_FOCUSED, LVIS_FOCUSED);
}

Bytes StoredBytes(const char* name) {
  HKEY key = nullptr;
  Bytes bytes(256);
  DWORD size = static_cast<DWORD>(bytes.size());
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &size);
  RegCloseKey(key);
  bytes.resize(result == ERROR_SUCCESS ? size : 0);
  return bytes;
}
std::vector<Bytes> StoredQuitValues() {
  std::vector<Bytes> values;
  for (const char* name : {"QuitName", "NumCigs", "NumPack", "Price", "QuitDate"}) values.push_back(StoredBytes(name));
  return values;
}
Rows InMemory() { return {PricePoints.points.begin(), PricePoints.points.begin() + PricePoints.count}; }

// pp.dat in a folder of its own, message boxes recorded instead of shown.
struct Files {
  std::string directory;
  Files() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    directory = std::string(temp) + "fumora_qd_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(directory.c_str(), nullptr);
    PricePointFilePath = directory + "pp.dat";
    QuitDetailsMessageBox = RecordBox;
    Boxes.clear();
    Answer = IDYES;
  }
  ~Files() {
    QuitDetailsMessageBox = MessageBoxA;
    DeleteFileA(PricePointFilePath.c_str());
    RemoveDirectoryA(directory.c_str());
    PricePoints = {};
  }
};
}  // namespace

class EditQuitDetails : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseProcessValues(GetModuleHandleA(nullptr)); }
  void TearDown() override {
    ClearStoredSettings();
    ResetSettingsInMemory();
  }
  // The stored settings and pp.dat as the dialog finds them.
  void Open(const Rows& rows = {}, uint32_t price = 500, const SysTime& quit = MakeDate(2024, 1, 15, 10)) {
    ResetSettingsInMemory();
    Seed seed;
    seed.quitTime = quit;
    SeedSettings(seed);
    WriteDword("Price", price);
    LoadSettings();
    ASSERT_TRUE(ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(rows)));
    LoadPricePoints();
    StatsMinuteMarker = 0;
  }
  // Runs the dialog with one step a tick; true when Change stored.
  bool Run(std::vector<ModalDriver::Step> steps) {
    bool stored = false;
    ModalDriver::Run(std::move(steps), [] { EndDialog(QuitDialog(), 0); },
                     [&] { stored = RunEditQuitDetails(nullptr); });
    EXPECT_FALSE(ModalDriver::TimedOut()) << "the dialog did not close";
    EXPECT_TRUE(ModalDriver::AllStepsRan()) << "the dialog closed too early";
    return stored;
  }
  static std::string Local(std::string price) {
    std::replace(price.begin(), price.end(), '.', DecimalSeparatorChar());
    return price;
  }
  void ChecksRunInOrder();
  void ChangeStoresEverything();
  void UntouchedChangeKeepsWhatIsStored();
  Files files_;
};

// The same with "," as the decimal separator: ctest runs this suite under de_DE.
class EditQuitDetailsUnderComma : public EditQuitDetails {
  void SetUp() override {
    const char* locale = std::getenv("FUMORA_TEST_LOCALE");
    if (!locale || std::string(locale) != "de_DE") GTEST_SKIP() << "runs under de_DE (ctest)";
    ASSERT_EQ(DecimalSeparator, ",");
  }
};

void EditQuitDetails::ChecksRunInOrder() {
  Open();
  struct Entry {
    const char *name, *perPack, *perDay, *price;
    QuitEntryFault fault;
  } entries[] = {
      {"", "20", "20", "5.00", QuitEntryFault::Name},
      {"   ", "0", "x", "", QuitEntryFault::PerPack},  // blanks are a name; the pack comes first
      {"A", "601", "20", "5.00", QuitEntryFault::PerPack},      {"A", "4294967297", "20", "5.00", QuitEntryFault::PerPack},
      {"A", "600", "1a", "5.00", QuitEntryFault::PerDay},       {"A", "600", "501", "5.00", QuitEntryFault::PerDay},
      {"A", "600", "500", "", QuitEntryFault::Price},           {"A", "600", "500", ".", QuitEntryFault::Price},
      {"A", "600", "500", "1.2.3", QuitEntryFault::Price},      {"A", "600", "500", "1000.01", QuitEntryFault::Price},
      {"A", "600", "500", "0", QuitEntryFault::Price},          {"A", "600", "500", "1000.00", QuitEntryFault::None},
  };
  const auto values = StoredQuitValues();
  EXPECT_TRUE(Run({[&] {
    HWND dialog = QuitDialog();
    for (const Entry& e : entries) {
      SCOPED_TRACE(std::string(e.name) + "|" + e.perPack + "|" + e.perDay + "|" + e.price);
      EXPECT_EQ(StoredQuitValues(), values);
      EXPECT_STREQ(QuitDetails.name, "Tester");  // a refused entry changes nothing
      SetText(dialog, IDC_QD_NAME, e.name);
      SetText(dialog, IDC_QD_PER_PACK, e.perPack);
      SetText(dialog, IDC_QD_PER_DAY, e.perDay);
      SetText(dialog, IDC_QD_PRICE, Local(e.price));
      Boxes.clear();
      Click(dialog, IDOK);
      if (e.fault == QuitEntryFault::None) break;
      ASSERT_EQ(Boxes.size(), 1u);
      EXPECT_EQ(Boxes[0].text, QuitEntryMessage(e.fault));
      EXPECT_EQ(Boxes[0].caption, "Fumora");
      EXPECT_EQ(Boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
      EXPECT_EQ(Boxes[0].owner, dialog);
    }
    EXPECT_TRUE(Boxes.empty());
  }}));
  EXPECT_EQ(StoredQuitValues()[3], (Bytes{0xA0, 0x86, 0x01, 0}));  // 100000 hundredths
}

// Rows read in file order are shown by day; every value typed, a row added,
// Change: the five values with their sizes, pp.dat in row order.
void EditQuitDetails::ChangeStoresEverything() {
  Open({{D + 30, 700}, {D + 10, 600}, {D + 30, 650}});
  EXPECT_TRUE(Run({[] {
                     HWND dialog = QuitDialog();
                     EXPECT_EQ(PriceRows(List()), (Rows{{D + 10, 600}, {D + 30, 700}, {D + 30, 650}}));
                     EXPECT_EQ(Text(dialog, IDC_QD_PRICE), Local("5.00"));
                     EXPECT_EQ(Text(dialog, IDC_QD_CURRENCY), CurrencySymbol);
                     EXPECT_EQ(CellText(List(), 0, 2), FormatMoneyText({6, 0}));
                     SetText(dialog, IDC_QD_NAME, "Ann Other");
                     SetText(dialog, IDC_QD_PER_DAY, "15");
                     SetText(dialog, IDC_QD_PER_PACK, "25");
                     SetText(dialog, IDC_QD_PRICE, Local("6.75"));
                     Pick(dialog, IDC_QD_DATE, MakeDate(2020, 2, 29));
                     Pick(dialog, IDC_QD_TIME, MakeDate(2020, 2, 29, 7, 45, 33));
                     Click(dialog, IDC_QD_ADD, true);
                   },
                   [] {
                     HWND point = PointDialog("Add Price Point");
                     ASSERT_NE(point, nullptr);
                     EXPECT_EQ(Text(point, IDOK), "Add");
                     EXPECT_EQ(Text(point, IDC_PP_PRICE), "");
                     Pick(point, IDC_PP_DATE, Date(D + 20));
                     SetText(point, IDC_PP_PRICE, Local("0.01"));
                     Click(point, IDOK);
                   },
                   [] { Click(QuitDialog(), IDOK); }}));
  const auto quit = EncodeQuitDate(MakeDate(2020, 2, 29, 7, 45));
  const std::vector<Bytes> values = {
      {'A', 'n', 'n', ' ', 'O', 't', 'h', 'e', 'r', 0}, {15, 0, 0, 0}, {25, 0, 0, 0}, {0xA3, 2, 0, 0}, {quit.begin(), quit.end()}};
  EXPECT_EQ(StoredQuitValues(), values);
  const Rows rows = {{D + 10, 600}, {D + 20, 1}, {D + 30, 700}, {D + 30, 650}};
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(rows));
  EXPECT_EQ(InMemory(), rows);
  EXPECT_EQ(QuitDayNumber, DateToDayNumber(2020, 2, 29));
  EXPECT_EQ(StatsMinuteMarker, ForceStatsRecompute);
}

void EditQuitDetails::UntouchedChangeKeepsWhatIsStored() {
  struct Case {
    const char* what;
    Rows rows;
    uint32_t price;
    SysTime quit;
  } cases[] = {
      {"1000.00", {{D, 100000}}, 100000, MakeDate(2024, 1, 15, 10)},
      {"two points on one day", {{D - 5, 300}, {D, 450}, {D, 600}, {D + 1, 1}}, 500, MakeDate(2024, 1, 15, 10)},
      {"dates no picker shows", {{0, 5}, {D, 450}, {0xFFFFFFF0u, 7}}, 450, MakeDate(1940, 6, 1, 23, 59)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.rows, c.price, c.quit);
    const auto values = StoredQuitValues();
    EXPECT_TRUE(Run({[] { Click(QuitDialog(), IDOK); }}));
    EXPECT_EQ(StoredQuitValues(), values);
    EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(c.rows));
  }
}

TEST_F(EditQuitDetails, ChecksRunInOrder) { ChecksRunInOrder(); }
TEST_F(EditQuitDetails, ChangeStoresEverything) { ChangeStoresEverything(); }
TEST_F(EditQuitDetails, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }
TEST_F(EditQuitDetailsUnderComma, ChecksRunInOrder) { ChecksRunInOrder(); }
TEST_F(EditQuitDetailsUnderComma, ChangeStoresEverything) { ChangeStoresEverything(); }
TEST_F(EditQuitDetailsUnderComma, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }

TEST_F(EditQuitDetails, CancelAndTheCloseBoxStoreNothing) {
  const Rows file = {{D + 2, 300}, {D, 100}};
  for (ModalDriver::Step close : {ModalDriver::Step([] { Click(QuitDialog(), IDCANCEL, true); }),
                                  ModalDriver::Step([] { PostMessageA(QuitDialog(), WM_SYSCOMMAND, SC_CLOSE, 0); })}) {
    Open(file);
    const auto values = StoredQuitValues();
    DialogMessageTarget = GetDesktopWindow();
    EXPECT_FALSE(Run({[] {
                        EXPECT_EQ(DialogMessageTarget, QuitDialog());
                        SetText(QuitDialog(), IDC_QD_NAME, "Changed");
                        Focus(0);
                        Click(QuitDialog(), IDC_QD_DELETE);
                        EXPECT_EQ(RowCount(List()), 1);
                      },
                      close}));
    EXPECT_EQ(DialogMessageTarget, GetDesktopWindow());
    EXPECT_EQ(StoredQuitValues(), values);
    EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(file));
    EXPECT_EQ(InMemory(), file);
  }
}

TEST_F(EditQuitDetails, AnUnwritablePpDatIsToldAndTheNewPricesStillCount) {
  Open({{D, 100}});
  const std::string stored = PricePointFilePath;
  PricePointFilePath = files_.directory + "gone\\pp.dat";
  EXPECT_TRUE(Run({[] {
    Focus(0);
    Click(QuitDialog(), IDC_QD_DELETE);
    Click(QuitDialog(), IDOK);
  }}));
  PricePointFilePath = stored;
  ASSERT_EQ(Boxes.size(), 2u);  // the delete question, then the failed save
  EXPECT_EQ(Boxes[1].caption, "Fumora");
  EXPECT_NE(Boxes[1].text.find("could not be saved"), std::string::npos);
  EXPECT_EQ(InMemory(), Rows{});
  EXPECT_EQ(ReadWholeFile(stored), EncodePricePoints(Rows{{D, 100}}));
}

TEST_F(EditQuitDetails, TheHundredAndFirstRowIsRefused) {
  Rows full;
  for (uint32_t i = 0; i < PricePointCapacity; ++i) full.push_back({D + i, 100 + i});
  Open(full);
  auto refused = [] {
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes.back().text, PriceRowsFullMessage);
    EXPECT_EQ(PointDialog("Add Price Point"), nullptr);
    Boxes.clear();
  };
  EXPECT_TRUE(Run({[] { Click(QuitDialog(), IDC_QD_ADD, true); },
                   [&] {
                     refused();
                     Focus(0);
                     Click(QuitDialog(), IDC_QD_DELETE);
                     Boxes.clear();
                     Click(QuitDialog(), IDC_QD_ADD, true);
                   },
                   [] {
                     SetText(PointDialog("Add Price Point"), IDC_PP_PRICE, "2");
                     Click(PointDialog("Add Price Point"), IDOK);
                     Click(QuitDialog(), IDC_QD_ADD, true);
                   },
                   [&] {
                     refused();
                     Click(QuitDialog(), IDOK);
                   }}));
  EXPECT_EQ(ReadWholeFile(PricePointFilePath).size(), 800u);
}

TEST_F(EditQuitDetails, EditAndDeleteActOnTheFocusedRow) {
  Open({{D, 100}, {D + 1, 200}, {D + 2, 300}});
  EXPECT_TRUE(Run({
      [] {  // no focused row: nothing happens
        Focus(-1);
        Click(QuitDialog(), IDC_QD_DELETE);
        Click(QuitDialog(), IDC_QD_EDIT, true);
      },
      [] {
        EXPECT_EQ(PointDialog("Edit Price Point"), nullptr);
        EXPECT_TRUE(Boxes.empty());
        Focus(0);
        Click(QuitDialog(), IDC_QD_EDIT, true);
      },
      [] {  // the row's own values; a later day moves it after the others
        HWND point = PointDialog("Edit Price Point");
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(Text(point, IDOK), "Change");
        EXPECT_EQ(Text(point, IDC_PP_PRICE), Local("1.00"));
        EXPECT_EQ(PickedDay(point, IDC_PP_DATE), D);
        Pick(point, IDC_PP_DATE, Date(D + 5));
        SetText(point, IDC_PP_PRICE, Local("2.5"));
        Click(point, IDOK);
        EXPECT_EQ(PriceRows(List()), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 5, 250}}));
        Focus(1);
        Click(QuitDialog(), IDC_QD_ADD, true);
      },
      [] {  // a new row on a day that has one goes after it
        Pick(PointDialog("Add Price Point"), IDC_PP_DATE, Date(D + 2));
        SetText(PointDialog("Add Price Point"), IDC_PP_PRICE, "9");
        Click(PointDialog("Add Price Point"), IDOK);
        EXPECT_EQ(PriceRows(List()), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 2, 900}, {D + 5, 250}}));
        EXPECT_EQ(CurrentRow(List()), 2);
        const std::string date = CellText(List(), 2, 1);
        Answer = IDNO;
        Click(QuitDialog(), IDC_QD_DELETE);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].text, "Are you sure that you wish to delete the data for " + date);
        EXPECT_EQ(Boxes[0].caption, "Delete Warning");
        EXPECT_EQ(Boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONERROR));
        EXPECT_EQ(RowCount(List()), 4);
        Answer = IDYES;
        SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 0);
        Click(QuitDialog(), IDOK);
      },
  }));
  EXPECT_EQ(InMemory(), (Rows{{D + 1, 200}, {D + 2, 300}, {D + 5, 250}}));
}

// From the real main window's menu: the milestones, the figures on show and
// the stats text follow at once; dialog keys go to the view then on show.
class QuitDetailsFromMenu : public MainWindowFixture {
 protected:
  Files files_;
};

TEST_F(QuitDetailsFromMenu, ChangeShowsTheNewFiguresAtOnce) {
  Seed seed;
  seed.startupView = BuddiesViewIndex;
  Open(seed);
  const uint64_t before = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  ModalDriver::Run({[this] {
                     EXPECT_FALSE(IsWindowEnabled(window_));
                     SetText(QuitDialog(), IDC_QD_PER_DAY, "40");
                     SelectView(MilestonesViewIndex);  // as Ctrl+M does while the dialog is open
                     Click(QuitDialog(), IDOK);
                   }},
                   [] { EndDialog(QuitDialog(), 0); }, [this] { Command(IDM_EDIT_QUIT_DETAILS); });
  EXPECT_EQ(DialogMessageTarget, window_);
  // Twice the cigarettes a day, twice the money (give or take a minute).
  const uint64_t after = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  EXPECT_GE(after + 2, 2 * before);
  EXPECT_LE(after, 2 * before + 4);
  EXPECT_EQ(WindowText(GetDlgItem(ViewWindows[StatisticsViewIndex], IDC_STATS_MONEY)), FormatMoneyText(MoneySaved));
  const auto rows = MilestoneRows(QuitDetails.quitTime, 40);
  ASSERT_EQ(RowCount(MilestonesList), static_cast<int>(rows.size()));
  EXPECT_EQ(CellText(MilestonesList, 1, 2), rows[1].label);
}
