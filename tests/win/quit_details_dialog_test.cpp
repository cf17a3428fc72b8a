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

#include "engine/calendar.h"
#include "engine/first_run_checks.h"
#include "engine/milestones.h"
#include "engine/price_rows.h"
#include "engine/savings.h"
#include "engine/stats_text.h"
#include "engine/stats_view_texts.h"
#include "formats/price_points.h"
#include "locale/formats.h"
#include "milestones/milestones_view.h"
#include "quitdetails/price_list.h"
#include "quitdetails/price_point_file.h"
#include "quitdetails/quit_details_dialog.h"
#include "resource.h"
#include "shell_fixture.h"
#include "stats/statistics_view.h"
#include "util/systime_win32.h"
#include "win/file_io.h"
#include "win/listview.h"

// Found by argument-dependent lookup from inside std::vector's comparison.
static bool operator==(const PricePoint& a, const PricePoint& b) { return a.Day == b.Day && a.Price == b.Price; }

namespace {
using namespace shell_test;

struct Box {
  HWND owner;
  std::string text, caption;
  UINT type;
};
std::vector<Box> Boxes;
int Answer = IDYES;
int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Boxes.push_back({owner, text, caption, type});
  return Answer;
}

const uint32_t D = static_cast<uint32_t>(DateToDayNumber(2021, 3, 1));

HWND QuitDialog() { return FindWindowA("#32770", "Edit Quit Details"); }
HWND PointDialog() {
  HWND add = FindWindowA("#32770", "Add Price Point");
  return add ? add : FindWindowA("#32770", "Edit Price Point");
}
HWND List() { return GetDlgItem(QuitDialog(), IDC_QD_PRICE_LIST); }

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
// For a click that opens a modal window: the step must not wait inside it.
void PostClick(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

// As the user sets a picker: a new value, then the change notification.
void Pick(HWND dialog, int id, const SysTime& moment) {
  HWND picker = GetDlgItem(dialog, id);
  NMDATETIMECHANGE change{};
  change.nmhdr = {picker, static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)};
  change.dwFlags = GDT_VALID;
  change.st = ToSYSTEMTIME(moment);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
  SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}
SysTime Date(uint32_t day) {
  SysTime date;
  DayNumberToDate(static_cast<DayNumber>(day), date);
  return date;
}

void Focus(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(list, row, LVIS_FOCUSED, LVIS_FOCUSED);
}

// The rows as the list shows them, read from the item parameter and the
// hidden plain price column.
std::vector<PricePoint> ShownRows() {
  std::vector<PricePoint> rows;
  for (int row = 0; row < RowCount(List()); ++row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const std::string plain = CellText(List(), row, 3);
    const std::size_t point = plain.find('.');
    rows.push_back({static_cast<uint32_t>(item.lParam),
                    static_cast<uint32_t>(std::stoul(plain.substr(0, point)) * 100 + std::stoul(plain.substr(point + 1)))});
  }
  return rows;
}

std::vector<uint8_t> StoredBytes(const char* name) {
  HKEY key = nullptr;
  std::vector<uint8_t> bytes(256);
  DWORD size = static_cast<DWORD>(bytes.size()), type = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size);
  RegCloseKey(key);
  bytes.resize(result == ERROR_SUCCESS ? size : 0);
  return bytes;
}
std::vector<uint8_t> Dword(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}
constexpr const char* QuitValues[] = {"QuitName", "NumCigs", "NumPack", "Price", "QuitDate"};
std::vector<std::vector<uint8_t>> StoredQuitValues() {
  std::vector<std::vector<uint8_t>> values;
  for (const char* name : QuitValues) values.push_back(StoredBytes(name));
  return values;
}

std::vector<PricePoint> InMemory() { return {PricePoints.points.begin(), PricePoints.points.begin() + PricePoints.count}; }

// pp.dat in a folder of its own, the message boxes recorded.
void PrepareFiles(std::string& directory) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof(temp), temp);
  directory = std::string(temp) + "fumora_qd_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  PricePointFilePath = directory + "pp.dat";
  DeleteFileA(PricePointFilePath.c_str());
  PricePoints = {};
  QuitDetailsMessageBox = RecordBox;
  Boxes.clear();
  Answer = IDYES;
}
void RemoveFiles(const std::string& directory) {
  QuitDetailsMessageBox = MessageBoxA;
  DeleteFileA(PricePointFilePath.c_str());
  RemoveDirectoryA(directory.c_str());
  PricePoints = {};
}
}  // namespace

class EditQuitDetails : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseProcessValues(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    PrepareFiles(directory_);
    Open({});
  }
  void TearDown() override {
    RemoveFiles(directory_);
    ClearStoredSettings();
    ResetSettingsInMemory();
  }
  // The stored settings and pp.dat as the dialog finds them.
  void Open(const Seed& seed, const std::vector<PricePoint>& rows = {}, uint32_t price = 500) {
    ResetSettingsInMemory();
    SeedSettings(seed);
    WriteDword("Price", price);
    LoadSettings();
    ASSERT_TRUE(ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(rows)));
    LoadPricePoints();
    StatsMinuteMarker = 0;
  }
  // Runs the dialog with `steps`, one a tick; true when Change stored.
  bool Run(std::vector<ModalDriver::Step> steps) {
    bool stored = false;
    ModalDriver::Run(
        std::move(steps),
        [] {
          if (HWND point = PointDialog()) EndDialog(point, 0);
          if (HWND dialog = QuitDialog()) EndDialog(dialog, 0);
        },
        [&] { stored = RunEditQuitDetails(nullptr); });
    EXPECT_FALSE(ModalDriver::TimedOut()) << "the dialog did not close";
    EXPECT_TRUE(ModalDriver::AllStepsRan()) << "the dialog closed too early";
    EXPECT_EQ(QuitDialog(), nullptr);
    return stored;
  }
  static std::string Local(std::string price) {
    std::replace(price.begin(), price.end(), '.', DecimalSeparatorChar());
    return price;
  }

  void ChecksRunInOrderWithTheirMessages();
  void ChangeStoresTheFiveValuesAndTheRowsInOrder();
  void UntouchedChangeKeepsWhatIsStored();

  std::string directory_;
};

// The same checks with "," as the decimal separator (ctest runs this suite
// under de_DE).
class EditQuitDetailsUnderComma : public EditQuitDetails {
 protected:
  void SetUp() override {
    const char* locale = std::getenv("FUMORA_TEST_LOCALE");
    if (!locale || std::string(locale) != "de_DE") GTEST_SKIP() << "runs under de_DE (ctest)";
    ASSERT_EQ(DecimalSeparator, ",");
    EditQuitDetails::SetUp();
  }
};

TEST_F(EditQuitDetails, OpensWithTheStoredDetailsAndRowsAndEveryWayOutStoresNothing) {
  // File order; the list shows them by day, same-day rows as in the file.
  const std::vector<PricePoint> file = {{D + 2, 300}, {D, 100}, {D + 1, 200}, {D, 150}};
  Open({}, file);
  const std::vector<PricePoint> inOrder = {{D, 100}, {D, 150}, {D + 1, 200}, {D + 2, 300}};
  const auto bytes = ReadWholeFile(PricePointFilePath);
  const auto values = StoredQuitValues();
  HWND sentinel = GetDesktopWindow();

  const std::vector<std::pair<const char*, ModalDriver::Step>> ways = {
      {"Cancel", [] { PostClick(QuitDialog(), IDCANCEL); }},
      {"Escape", [] { PostMessageA(GetDlgItem(QuitDialog(), IDC_QD_NAME), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"close box", [] { PostMessageA(QuitDialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }}};
  for (const auto& [way, close] : ways) {
    SCOPED_TRACE(way);
    DialogMessageTarget = sentinel;
    const bool stored = Run({[&] {
                               HWND dialog = QuitDialog();
                               ASSERT_NE(dialog, nullptr);
                               EXPECT_EQ(DialogMessageTarget, dialog);
                               EXPECT_EQ(Text(dialog, IDC_QD_BANNER), "Edit Quit Details");
                               EXPECT_EQ(Text(dialog, IDC_QD_CURRENCY), CurrencySymbol);
                               EXPECT_EQ(Text(dialog, IDC_QD_NAME), "Tester");
                               EXPECT_EQ(Text(dialog, IDC_QD_PER_DAY), "20");
                               EXPECT_EQ(Text(dialog, IDC_QD_PER_PACK), "20");
                               EXPECT_EQ(Text(dialog, IDC_QD_PRICE), Local("5.00"));
                               SYSTEMTIME date{}, time{};
                               SendDlgItemMessageA(dialog, IDC_QD_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
                               SendDlgItemMessageA(dialog, IDC_QD_TIME, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
                               EXPECT_EQ(date.wYear * 10000 + date.wMonth * 100 + date.wDay, 20240115);
                               EXPECT_EQ(time.wHour * 100 + time.wMinute, 1000);
                               EXPECT_EQ(ShownRows(), inOrder);
                               const int widths[] = {0, 100, 105, 0};
                               for (int c = 0; c < 4; ++c) EXPECT_EQ(ListView_GetColumnWidth(List(), c), widths[c]) << c;
                               EXPECT_EQ(CellText(List(), 2, 0), std::to_string(D + 1));
                               EXPECT_EQ(CellText(List(), 2, 1), FormatDateText(Date(D + 1)));
                               EXPECT_EQ(CellText(List(), 2, 2), FormatMoneyText({2, 0}));
                               EXPECT_EQ(CellText(List(), 2, 3), "2.00");
                               // Edits that must not survive: the name, a row deleted.
                               SetText(dialog, IDC_QD_NAME, "Changed");
                               Focus(List(), 0);
                               Click(dialog, IDC_QD_DELETE);
                               EXPECT_EQ(RowCount(List()), 3);
                             },
                             close});
    EXPECT_FALSE(stored);
    EXPECT_EQ(DialogMessageTarget, sentinel);
    EXPECT_EQ(ReadWholeFile(PricePointFilePath), bytes);
    EXPECT_EQ(InMemory(), file);
    EXPECT_EQ(StoredQuitValues(), values);
    EXPECT_STREQ(QuitDetails.name, "Tester");
  }
}

void EditQuitDetails::ChecksRunInOrderWithTheirMessages() {
  struct Entry {
    const char *name, *perPack, *perDay, *price;
    QuitEntryFault fault;
  } entries[] = {
      {"", "20", "20", "5.00", QuitEntryFault::Name},
      {"   ", "0", "x", "", QuitEntryFault::PerPack},  // blanks are a name; the pack is checked first
      {"A", "601", "20", "5.00", QuitEntryFault::PerPack},
      {"A", "4294967297", "20", "5.00", QuitEntryFault::PerPack},
      {"A", "600", "1a", "5.00", QuitEntryFault::PerDay},
      {"A", "600", "501", "5.00", QuitEntryFault::PerDay},
      {"A", "600", "500", "", QuitEntryFault::Price},
      {"A", "600", "500", ".", QuitEntryFault::Price},
      {"A", "600", "500", "1.2.3", QuitEntryFault::Price},
      {"A", "600", "500", "1000.01", QuitEntryFault::Price},
      {"A", "600", "500", "0", QuitEntryFault::Price},
  };
  const auto values = StoredQuitValues();
  const bool stored = Run({[&] {
    HWND dialog = QuitDialog();
    ASSERT_NE(dialog, nullptr);
    for (const Entry& e : entries) {
      SCOPED_TRACE(std::string(e.name) + "|" + e.perPack + "|" + e.perDay + "|" + e.price);
      SetText(dialog, IDC_QD_NAME, e.name);
      SetText(dialog, IDC_QD_PER_PACK, e.perPack);
      SetText(dialog, IDC_QD_PER_DAY, e.perDay);
      SetText(dialog, IDC_QD_PRICE, Local(e.price));
      Boxes.clear();
      Click(dialog, IDOK);
      ASSERT_EQ(Boxes.size(), 1u);
      EXPECT_EQ(Boxes[0].text, QuitEntryMessage(e.fault));
      EXPECT_EQ(Boxes[0].caption, "Fumora");
      EXPECT_EQ(Boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
      EXPECT_EQ(Boxes[0].owner, dialog);
      ASSERT_TRUE(IsWindowVisible(dialog));
      EXPECT_EQ(StoredQuitValues(), values);
      EXPECT_STREQ(QuitDetails.name, "Tester");
      EXPECT_EQ(QuitDetails.cigsPerPack, 20u);
    }
    SetText(dialog, IDC_QD_PRICE, Local("1000.00"));
    Boxes.clear();
    Click(dialog, IDOK);
    EXPECT_TRUE(Boxes.empty());
  }});
  EXPECT_TRUE(stored);
  EXPECT_EQ(StoredBytes("NumPack"), Dword(600));
  EXPECT_EQ(StoredBytes("NumCigs"), Dword(500));
  EXPECT_EQ(StoredBytes("Price"), Dword(100000));
  EXPECT_EQ(StoredBytes("QuitName"), (std::vector<uint8_t>{'A', 0}));
}

void EditQuitDetails::ChangeStoresTheFiveValuesAndTheRowsInOrder() {
  Open({}, {{D + 30, 700}, {D + 10, 600}});
  const bool stored = Run({[] {
                             HWND dialog = QuitDialog();
                             ASSERT_NE(dialog, nullptr);
                             SetText(dialog, IDC_QD_NAME, "Ann Other");
                             SetText(dialog, IDC_QD_PER_DAY, "15");
                             SetText(dialog, IDC_QD_PER_PACK, "25");
                             SetText(dialog, IDC_QD_PRICE, Local("6.75"));
                             Pick(dialog, IDC_QD_DATE, MakeDate(2020, 2, 29));
                             Pick(dialog, IDC_QD_TIME, MakeDate(2020, 2, 29, 7, 45, 33));
                             PostClick(dialog, IDC_QD_ADD);
                           },
                           [] {
                             HWND point = FindWindowA("#32770", "Add Price Point");
                             ASSERT_NE(point, nullptr);
                             EXPECT_EQ(GetWindow(point, GW_OWNER), QuitDialog());
                             EXPECT_EQ(Text(point, IDOK), "Add");
                             EXPECT_EQ(Text(point, IDC_PP_CURRENCY), CurrencySymbol);
                             EXPECT_EQ(Text(point, IDC_PP_PRICE), "");
                             Pick(point, IDC_PP_DATE, Date(D + 20));
                             SetText(point, IDC_PP_PRICE, Local("0.01"));
                             Click(point, IDOK);
                           },
                           [] {
                             EXPECT_EQ(PointDialog(), nullptr);
                             Click(QuitDialog(), IDOK);
                           }});
  EXPECT_TRUE(stored);
  const std::vector<uint8_t> name = {'A', 'n', 'n', ' ', 'O', 't', 'h', 'e', 'r', 0};
  EXPECT_EQ(StoredBytes("QuitName"), name);
  EXPECT_EQ(StoredBytes("NumCigs"), Dword(15));
  EXPECT_EQ(StoredBytes("NumPack"), Dword(25));
  EXPECT_EQ(StoredBytes("Price"), Dword(675));
  const auto quit = EncodeQuitDate(MakeDate(2020, 2, 29, 7, 45));
  EXPECT_EQ(StoredBytes("QuitDate"), std::vector<uint8_t>(quit.begin(), quit.end()));
  const std::vector<PricePoint> rows = {{D + 10, 600}, {D + 20, 1}, {D + 30, 700}};
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(rows));
  EXPECT_EQ(InMemory(), rows);
  EXPECT_EQ(QuitDayNumber, DateToDayNumber(2020, 2, 29));
  EXPECT_EQ(StatsMinuteMarker, ForceStatsRecompute);
}

void EditQuitDetails::UntouchedChangeKeepsWhatIsStored() {
  struct Case {
    const char* what;
    SysTime quit;
    uint32_t price;
    std::vector<PricePoint> rows;
  } cases[] = {
      {"1000.00", MakeDate(2024, 1, 15, 10), 100000, {{D, 100000}}},
      {"two points on one day", MakeDate(2024, 1, 15, 10), 500, {{D - 5, 300}, {D, 450}, {D, 600}, {D + 1, 1}}},
      {"dates the pickers cannot show", MakeDate(1940, 6, 1, 23, 59), 450, {{0, 5}, {D, 450}, {0xFFFFFFF0u, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Seed seed;
    seed.quitTime = c.quit;
    Open(seed, c.rows, c.price);
    const auto values = StoredQuitValues();
    EXPECT_TRUE(Run({[] { Click(QuitDialog(), IDOK); }}));
    EXPECT_EQ(StoredQuitValues(), values);
    EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(c.rows));
  }
}

TEST_F(EditQuitDetails, ChecksRunInOrderWithTheirMessages) { ChecksRunInOrderWithTheirMessages(); }
TEST_F(EditQuitDetails, ChangeStoresTheFiveValuesAndTheRowsInOrder) { ChangeStoresTheFiveValuesAndTheRowsInOrder(); }
TEST_F(EditQuitDetails, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }
TEST_F(EditQuitDetailsUnderComma, ChecksRunInOrderWithTheirMessages) { ChecksRunInOrderWithTheirMessages(); }
TEST_F(EditQuitDetailsUnderComma, ChangeStoresTheFiveValuesAndTheRowsInOrder) {
  ChangeStoresTheFiveValuesAndTheRowsInOrder();
}
TEST_F(EditQuitDetailsUnderComma, UntouchedChangeKeepsWhatIsStored) { UntouchedChangeKeepsWhatIsStored(); }

TEST_F(EditQuitDetails, TheHundredAndFirstRowIsRefused) {
  std::vector<PricePoint> full;
  for (uint32_t i = 0; i < PricePointCapacity; ++i) full.push_back({D + i, 100 + i});
  Open({}, full);
  auto refused = [] {
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes.back().text, PriceRowsFullMessage);
    EXPECT_EQ(Boxes.back().caption, "Fumora");
    EXPECT_EQ(PointDialog(), nullptr);
    EXPECT_NE(QuitDialog(), nullptr);
  };
  const bool stored = Run({[] { PostClick(QuitDialog(), IDC_QD_ADD); },
                           [&] {
                             refused();
                             Focus(List(), 0);
                             Click(QuitDialog(), IDC_QD_DELETE);
                             ASSERT_EQ(RowCount(List()), 99);
                             PostClick(QuitDialog(), IDC_QD_ADD);
                           },
                           [] {
                             HWND point = PointDialog();
                             ASSERT_NE(point, nullptr);
                             SetText(point, IDC_PP_PRICE, "2");
                             Click(point, IDOK);
                           },
                           [] {
                             EXPECT_EQ(RowCount(List()), 100);
                             Boxes.clear();
                             PostClick(QuitDialog(), IDC_QD_ADD);
                           },
                           [&] {
                             refused();
                             Click(QuitDialog(), IDOK);
                           }});
  EXPECT_TRUE(stored);
  EXPECT_EQ(ReadWholeFile(PricePointFilePath).size(), 800u);
  EXPECT_EQ(PricePoints.count, 100u);
}

TEST_F(EditQuitDetails, EditAndDeleteActOnTheFocusedRow) {
  Open({}, {{D, 100}, {D + 1, 200}, {D + 2, 300}});
  const bool stored = Run({
      [] {  // no focused row: nothing happens
        Focus(List(), -1);
        Click(QuitDialog(), IDC_QD_DELETE);
        PostClick(QuitDialog(), IDC_QD_EDIT);
      },
      [] {
        EXPECT_EQ(PointDialog(), nullptr);
        EXPECT_TRUE(Boxes.empty());
        Focus(List(), 1);
        PostClick(QuitDialog(), IDC_QD_EDIT);
      },
      [] {  // the focused row's own values, changed in price
        HWND point = FindWindowA("#32770", "Edit Price Point");
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(Text(point, IDOK), "Change");
        EXPECT_EQ(Text(point, IDC_PP_PRICE), Local("2.00"));
        SYSTEMTIME date{};
        SendDlgItemMessageA(point, IDC_PP_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
        EXPECT_EQ(static_cast<uint32_t>(DateToDayNumber(ToSysTime(date))), D + 1);
        SetText(point, IDC_PP_PRICE, Local("2.5"));
        Click(point, IDOK);
      },
      [] {
        EXPECT_EQ(ShownRows(), (std::vector<PricePoint>{{D, 100}, {D + 1, 250}, {D + 2, 300}}));
        EXPECT_EQ(CurrentRow(List()), 1);
        // A double-click on the first row, then its date moved past the others.
        Focus(List(), 0);
        RECT cell{};
        ListView_GetSubItemRect(List(), 0, 1, LVIR_BOUNDS, &cell);
        PostMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.left + 20, (cell.top + cell.bottom) / 2));
      },
      [] {
        HWND point = FindWindowA("#32770", "Edit Price Point");
        ASSERT_NE(point, nullptr);
        Pick(point, IDC_PP_DATE, Date(D + 5));
        Click(point, IDOK);
      },
      [] {
        EXPECT_EQ(ShownRows(), (std::vector<PricePoint>{{D + 1, 250}, {D + 2, 300}, {D + 5, 100}}));
        EXPECT_EQ(CurrentRow(List()), 2);
        PostClick(QuitDialog(), IDC_QD_ADD);
      },
      [] {  // a new row on a day that has one goes after it
        HWND point = PointDialog();
        ASSERT_NE(point, nullptr);
        Pick(point, IDC_PP_DATE, Date(D + 1));
        SetText(point, IDC_PP_PRICE, Local("9.99"));
        Click(point, IDOK);
      },
      [] {
        EXPECT_EQ(ShownRows(), (std::vector<PricePoint>{{D + 1, 250}, {D + 1, 999}, {D + 2, 300}, {D + 5, 100}}));
        EXPECT_EQ(CurrentRow(List()), 1);
        PostClick(QuitDialog(), IDC_QD_EDIT);
      },
      [] {  // Cancel leaves the row as it was
        HWND point = PointDialog();
        ASSERT_NE(point, nullptr);
        Pick(point, IDC_PP_DATE, Date(D + 9));
        SetText(point, IDC_PP_PRICE, "1");
        Click(point, IDCANCEL);
      },
      [] {
        EXPECT_EQ(ShownRows().size(), 4u);
        EXPECT_EQ(ShownRows()[1], (PricePoint{D + 1, 999}));
        Focus(List(), 2);
        const std::string date = CellText(List(), 2, 1);
        Answer = IDNO;
        Click(QuitDialog(), IDC_QD_DELETE);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].text, "Are you sure that you wish to delete the data for " + date);
        EXPECT_EQ(Boxes[0].caption, "Delete Warning");
        EXPECT_EQ(Boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONERROR));
        EXPECT_EQ(Boxes[0].owner, List());
        EXPECT_EQ(RowCount(List()), 4);
        Answer = IDYES;
        SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(RowCount(List()), 3);
        Click(QuitDialog(), IDOK);
      },
  });
  EXPECT_TRUE(stored);
  EXPECT_EQ(ReadWholeFile(PricePointFilePath), EncodePricePoints(std::vector<PricePoint>{{D + 1, 250}, {D + 1, 999}, {D + 5, 100}}));
}

// Opened from the menu of the real main window: the milestones, the figures
// on show and the stats text follow at once, and dialog keys go to the view
// on show afterwards.
class QuitDetailsFromMenu : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    PrepareFiles(directory_);
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    RemoveFiles(directory_);
  }
  std::string directory_;
};

TEST_F(QuitDetailsFromMenu, ChangeShowsTheNewFiguresAtOnce) {
  Seed seed;
  seed.startupView = BuddiesViewIndex;
  Open(seed);
  ASSERT_EQ(DialogMessageTarget, ViewWindows[BuddiesViewIndex]);
  const uint64_t before = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  ASSERT_GT(before, 0u);
  ModalDriver::Run({[this] {
                     HWND dialog = QuitDialog();
                     ASSERT_NE(dialog, nullptr);
                     EXPECT_EQ(GetWindow(dialog, GW_OWNER), window_);
                     EXPECT_FALSE(IsWindowEnabled(window_));
                     SetText(dialog, IDC_QD_PER_DAY, "40");
                     SelectView(MilestonesViewIndex);  // as Ctrl+M does while the dialog is open
                     Click(dialog, IDOK);
                   }},
                   [] { EndDialog(QuitDialog(), 0); }, [this] { Command(IDM_EDIT_QUIT_DETAILS); });
  ASSERT_FALSE(ModalDriver::TimedOut());
  EXPECT_EQ(QuitDetails.cigsPerDay, 40u);
  EXPECT_EQ(DialogMessageTarget, window_);

  // Twice the cigarettes a day, twice the money (a minute may have passed).
  const uint64_t after = uint64_t{MoneySaved.units} * 100 + MoneySaved.hundredths;
  EXPECT_GE(after + 2, 2 * before);
  EXPECT_LE(after, 2 * before + 4);
  const std::string money = FormatMoneyText(MoneySaved);
  EXPECT_EQ(WindowText(GetDlgItem(StatisticsView, IDC_STATS_MONEY)), money);
  EXPECT_NE(BuildStatsText().find(money), std::string::npos);

  const auto rows = MilestoneRows(QuitDetails.quitTime, 40);
  ASSERT_EQ(RowCount(MilestonesList), static_cast<int>(rows.size()));
  for (int i = 0; i < RowCount(MilestonesList); ++i) EXPECT_EQ(CellText(MilestonesList, i, 2), rows[i].label) << i;
}
