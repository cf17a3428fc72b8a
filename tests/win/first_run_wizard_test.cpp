// The first-run wizard made from its template and driven with messages: the
// checks and their messages (message boxes caught by a CBT hook), the
// filtered fields, and the registry values that Continue stores.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "formats/settings_records.h"
#include "locale/formats.h"
#include "resource.h"
#include "settings/first_run_wizard.h"
#include "settings/registry_store.h"
#include "stats/statistics_view.h"
#include "win/app_state.h"
#include "win/number_edit.h"

namespace {
constexpr const char* NameMessage = "You cannot leave the name field blank - please fill it in before continuing";
constexpr const char* PackMessage =
    "Please enter a valid number between 1 and 600 for the number of cigarettes in a pack/carton";
constexpr const char* DayMessage =
    "Please enter a valid number between 1 and 500 for the number of cigarettes smoked per day";
constexpr const char* PriceMessage = "Please enter a valid number between 1 and 1000 for the price of cigarettes";
constexpr const char* WizardCaption = " Fumora - First Run";

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Every message box opened on this thread while it lives is recorded and
// answered with OK as soon as its initialisation has filled it in, before it
// is shown (under Wine without a window manager, every window that has been
// on screen takes two seconds to go away).
class MessageBoxCatcher {
 public:
  struct Seen {
    std::string caption;
    std::string text;
    HWND owner;
    bool informationIcon;
  };
  MessageBoxCatcher() {
    seen_.clear();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxCatcher() { UnhookWindowsHookEx(hook_); }
  const std::vector<Seen>& seen() const { return seen_; }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Seen& s : seen_) out.push_back(s.text);
    return out;
  }

 private:
  static BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<Seen*>(param);
    if (ClassOf(child) != "Static") return TRUE;
    std::string text = WindowText(child);
    if (text.size() > s->text.size()) s->text = text;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (icon && icon == LoadIconA(nullptr, IDI_INFORMATION)) s->informationIcon = true;
    return TRUE;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // A message box is a dialog with an OK button (ID 1); the wizard has none.
    if (code == HC_ACTION && call->message == WM_INITDIALOG && ClassOf(call->hwnd) == "#32770" &&
        GetDlgItem(call->hwnd, IDOK)) {
      Seen s{WindowText(call->hwnd), "", GetWindow(call->hwnd, GW_OWNER), false};
      EnumChildWindows(call->hwnd, ReadChild, reinterpret_cast<LPARAM>(&s));
      seen_.push_back(s);
      EndDialog(call->hwnd, IDOK);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::vector<Seen> seen_;
  HHOOK hook_;
};

// The message-box seam: records each report instead of showing it.
struct Report {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<Report> Reports;
int WINAPI RecordReport(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Reports.push_back({owner, text ? text : "", caption ? caption : "", type});
  return IDOK;
}

void DeleteStoredSettings() {
  RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Fumora");
}

struct StoredValue {
  bool exists = false;
  DWORD type = 0;
  DWORD size = 0;
  std::vector<BYTE> bytes;
};

StoredValue ReadStored(const char* name) {
  StoredValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return v;
  if (RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &v.size) == ERROR_SUCCESS) {
    v.exists = true;
    v.bytes.resize(v.size);
    RegQueryValueExA(key, name, nullptr, &v.type, v.bytes.data(), &v.size);
  }
  RegCloseKey(key);
  return v;
}

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  return t;
}

void PrepareProcess() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  AppInstance = GetModuleHandleA(nullptr);
  // As start-up fills it: wide enough for a quit date of today.
  DatePickerRange[0] = Date(1900, 1, 1);
  DatePickerRange[1] = Date(2099, 12, 31);
  SetUpLocale();
  BuildDatePicture();
  DecimalSeparator = ".";
  QuitDetails = QuitDetailsRecord{};
}

void Fill(HWND wizard, const char* name, const char* perDay, const char* perPack, const char* price) {
  SetDlgItemTextA(wizard, IDC_FR_NAME, name);
  SetDlgItemTextA(wizard, IDC_FR_PER_DAY, perDay);
  SetDlgItemTextA(wizard, IDC_FR_PER_PACK, perPack);
  SetDlgItemTextA(wizard, IDC_FR_PRICE, price);
}

void SetPicker(HWND wizard, int id, const SYSTEMTIME& time) {
  SendDlgItemMessageA(wizard, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void Type(HWND edit, const char* characters) {
  for (const char* c = characters; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
}

void Click(HWND wizard, int id) { SendMessageA(GetDlgItem(wizard, id), BM_CLICK, 0, 0); }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
}  // namespace

// ---- the wizard as a modeless window ----

class FirstRunWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareProcess();
    wizard = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_FIRST_RUN), nullptr, FirstRunWizardProc, 1);
    ASSERT_NE(wizard, nullptr);
  }
  void TearDown() override {
    if (IsWindow(wizard)) DestroyWindow(wizard);
    DecimalSeparator = ".";
    FirstRunMessageBox = MessageBoxA;
  }
  // The messages that one validation reported, and its result.
  std::vector<std::string> Validate(int expected) {
    Reports.clear();
    FirstRunMessageBox = RecordReport;
    EXPECT_EQ(ValidateFirstRun(wizard), expected);
    FirstRunMessageBox = MessageBoxA;
    std::vector<std::string> texts;
    for (const Report& r : Reports) {
      EXPECT_EQ(r.caption, "Fumora");
      EXPECT_EQ(r.owner, wizard);
      EXPECT_EQ(r.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
      texts.push_back(r.text);
    }
    return texts;
  }
  using Texts = std::vector<std::string>;
  HWND wizard = nullptr;
};

static RECT PlaceIn(HWND wizard, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(wizard, id), &r);
  MapWindowPoints(HWND_DESKTOP, wizard, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// What the user sees and does: each question beside its field on its line,
// the fields taking what is typed, and Tab going through the fields first,
// then Continue and Cancel, and round again.
TEST_F(FirstRunWizard, QuestionsBesideTheirFieldsInTabOrder) {
  EXPECT_EQ(WindowText(wizard), WizardCaption);
  EXPECT_FALSE(GetWindowLongA(wizard, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) << "a plain frame, with its small icon";
  EXPECT_TRUE(IsWindowVisible(wizard));
  const std::pair<int, const char*> texts[] = {
      {IDC_FR_TITLE, "Welcome to Fumora"},
      {IDC_FR_INTRO, "Please fill in the following details before continuing:"},
      {IDC_FR_NAME_LABEL, "Your Name"},
      {IDC_FR_PER_DAY_LABEL, "How many cigarettes did you smoke per day ?"},
      {IDC_FR_PER_PACK_LABEL, "How many cigarettes in a pack/carton?"},
      {IDC_FR_PRICE_LABEL, "How much does that pack/carton cost?"},
      {IDC_FR_DATE_LABEL, "What date did you quit on ?"},
      {IDC_FR_CURRENCY, CurrencySymbol.c_str()},
      {IDC_FR_CONTINUE, "&Continue >>"},
      {IDC_FR_CANCEL, "Cancel"}};
  for (auto [id, text] : texts) {
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(wizard, id))) << text;
    EXPECT_EQ(WindowText(GetDlgItem(wizard, id)), text);
  }
  EXPECT_FALSE(CurrencySymbol.empty());
  // Each question left of its field, on the field's line; the currency
  // symbol between the price's question and its field.
  const std::pair<int, int> lines[] = {{IDC_FR_NAME_LABEL, IDC_FR_NAME},         {IDC_FR_PER_DAY_LABEL, IDC_FR_PER_DAY},
                                       {IDC_FR_PER_PACK_LABEL, IDC_FR_PER_PACK}, {IDC_FR_PRICE_LABEL, IDC_FR_CURRENCY},
                                       {IDC_FR_CURRENCY, IDC_FR_PRICE},          {IDC_FR_DATE_LABEL, IDC_FR_DATE}};
  for (auto [left, right] : lines) {
    SCOPED_TRACE(WindowText(GetDlgItem(wizard, left)));
    const RECT a = PlaceIn(wizard, left), b = PlaceIn(wizard, right);
    EXPECT_LE(a.right, b.left);
    const int middle = (a.top + a.bottom) / 2;
    EXPECT_TRUE(middle >= b.top && middle < b.bottom) << a.top << " " << b.top;
  }
  for (auto [id, typed] : {std::pair<int, const char*>{IDC_FR_NAME, "Sam"}, {IDC_FR_PER_DAY, "20"},
                           {IDC_FR_PER_PACK, "25"}, {IDC_FR_PRICE, "5"}}) {
    HWND field = GetDlgItem(wizard, id);
    EXPECT_TRUE(IsWindowEnabled(field)) << typed;
    SetFocus(field);
    Type(field, typed);
    EXPECT_EQ(WindowText(field), typed);
  }
  const int order[] = {IDC_FR_NAME, IDC_FR_PER_DAY, IDC_FR_PER_PACK, IDC_FR_PRICE, IDC_FR_DATE,
                       IDC_FR_TIME, IDC_FR_CONTINUE, IDC_FR_CANCEL, IDC_FR_NAME};
  SetFocus(GetDlgItem(wizard, IDC_FR_NAME));
  for (size_t i = 1; i < std::size(order); ++i) {
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 1, GetTickCount(), {}};
    IsDialogMessageA(wizard, &tab);
    Pump();
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[i]) << "Tab " << i;
  }
}

TEST_F(FirstRunWizard, InitialisesFieldsPickerAndTitle) {
  EXPECT_EQ(SendDlgItemMessageA(wizard, IDC_FR_NAME, EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_EQ(SendDlgItemMessageA(wizard, IDC_FR_PER_DAY, EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_GE(SendDlgItemMessageA(wizard, IDC_FR_PER_PACK, EM_GETLIMITTEXT, 0, 0), 30000);
  SYSTEMTIME range[2] = {};
  LRESULT flags = SendDlgItemMessageA(wizard, IDC_FR_DATE, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
  EXPECT_EQ(flags, GDTR_MIN | GDTR_MAX);
  EXPECT_EQ(range[0].wYear, 1900);
  EXPECT_EQ(range[0].wMonth, 1);
  EXPECT_EQ(range[0].wDay, 1);
  EXPECT_EQ(range[1].wYear, 2099);
  EXPECT_EQ(range[1].wMonth, 12);
  EXPECT_EQ(range[1].wDay, 31);
  // The pickers open on today.
  SYSTEMTIME now, shown{};
  GetLocalTime(&now);
  SendDlgItemMessageA(wizard, IDC_FR_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear, now.wYear);
  EXPECT_EQ(shown.wMonth, now.wMonth);

  HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(wizard, IDC_FR_TITLE, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, 24);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfPitchAndFamily, FF_SWISS);

  // White title on a grey band; other statics keep the defaults.
  HDC dc = GetDC(wizard);
  HWND title = GetDlgItem(wizard, IDC_FR_TITLE);
  LRESULT brush = SendMessageA(wizard, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(title));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNSHADOW));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  SetBkMode(dc, OPAQUE);
  HWND label = GetDlgItem(wizard, IDC_FR_NAME_LABEL);
  brush = SendMessageA(wizard, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
  EXPECT_NE(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNSHADOW));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  ReleaseDC(wizard, dc);
}

TEST_F(FirstRunWizard, EmptyNameIsReportedFirst) {
  Fill(wizard, "", "", "", "");
  EXPECT_EQ(Validate(0), Texts{NameMessage});
  Fill(wizard, "", "999", "601", "abc");
  EXPECT_EQ(Validate(0), Texts{NameMessage});
}

TEST_F(FirstRunWizard, ChecksAndMessagesInTheirOrder) {
  // A bad pack size is reported before a bad daily count.
  Fill(wizard, "Sam", "999", "601", "");
  EXPECT_EQ(Validate(0), Texts{PackMessage});
  Fill(wizard, "Sam", "999", "600", "");
  EXPECT_EQ(Validate(0), Texts{DayMessage});
  Fill(wizard, "Sam", "500", "600", "");
  EXPECT_EQ(Validate(0), Texts{PriceMessage});
  Fill(wizard, "Sam", "500", "600", "1000");
  EXPECT_EQ(Validate(1), Texts{});
  EXPECT_STREQ(QuitDetails.name, "Sam");
  EXPECT_EQ(QuitDetails.cigsPerDay, 500u);
  EXPECT_EQ(QuitDetails.cigsPerPack, 600u);
  EXPECT_EQ(QuitDetails.price, 100000u);
}

TEST_F(FirstRunWizard, DailyCounts) {
  for (auto [text, ok] : {std::pair{"0", false}, {"1", true}, {"500", true}, {"999", false}}) {
    Fill(wizard, "Sam", text, "20", "5");
    EXPECT_EQ(Validate(ok ? 1 : 0), ok ? Texts{} : Texts{DayMessage}) << text;
    if (ok) {
      EXPECT_EQ(QuitDetails.cigsPerDay, static_cast<uint32_t>(std::atoi(text)));
    }
  }
}

TEST_F(FirstRunWizard, PackSizes) {
  for (auto [text, ok] : {std::pair{"600", true}, {"601", false}, {"1", true}, {"0", false}, {"1a", false},
                          {"abc", false}, {"", false}}) {
    Fill(wizard, "Sam", "20", text, "5");
    EXPECT_EQ(Validate(ok ? 1 : 0), ok ? Texts{} : Texts{PackMessage}) << text;
  }
}

TEST_F(FirstRunWizard, PricesWithAPeriod) {
  const std::pair<const char*, uint32_t> prices[] = {
      {"0", 0}, {"0.00", 0}, {"0.01", 1}, {"1000", 100000}, {"1000.01", 0}, {"4.50", 450}};
  for (auto [text, hundredths] : prices) {
    Fill(wizard, "Sam", "20", "20", text);
    QuitDetails.price = 12345;
    EXPECT_EQ(Validate(hundredths ? 1 : 0), hundredths ? Texts{} : Texts{PriceMessage}) << text;
    EXPECT_EQ(QuitDetails.price, hundredths ? hundredths : 12345u) << text;
  }
}

TEST_F(FirstRunWizard, PricesWithAComma) {
  DecimalSeparator = ",";
  Fill(wizard, "Sam", "20", "20", "4,5");
  EXPECT_EQ(Validate(1), Texts{});
  EXPECT_EQ(QuitDetails.price, 450u);
  Fill(wizard, "Sam", "20", "20", "4.5");  // pasted: a period is no separator here
  EXPECT_EQ(Validate(0), Texts{PriceMessage});
  HWND price = GetDlgItem(wizard, IDC_FR_PRICE);
  SetWindowTextA(price, "");
  Type(price, "4.,5");
  EXPECT_EQ(WindowText(price), "4,5");
}

TEST_F(FirstRunWizard, FilteredFieldsSwallowLetters) {
  HWND perDay = GetDlgItem(wizard, IDC_FR_PER_DAY);
  HWND price = GetDlgItem(wizard, IDC_FR_PRICE);
  HWND perPack = GetDlgItem(wizard, IDC_FR_PER_PACK);
  Type(perDay, "a1b-2 x");
  EXPECT_EQ(WindowText(perDay), "12");
  Type(perDay, "\b");
  EXPECT_EQ(WindowText(perDay), "1");
  Type(perDay, "9999");  // at most three characters
  EXPECT_EQ(WindowText(perDay), "199");
  Type(price, "$4.5e.0");
  EXPECT_EQ(WindowText(price), "4.5.0");  // the separator may be typed more than once
  Type(perPack, "1a");
  EXPECT_EQ(WindowText(perPack), "1a");  // no filter on the pack field
  HWND name = GetDlgItem(wizard, IDC_FR_NAME);
  Type(name, "Jo 7!");
  EXPECT_EQ(WindowText(name), "Jo 7!");
  // What the filters let in still has to be a number.
  Fill(wizard, "Sam", "20", "20", "4.5.0");
  EXPECT_EQ(Validate(0), Texts{PriceMessage});
}

// Ctrl+V (the character 0x16 that TranslateMessage makes of it) pastes what
// could have been typed, at the caret, and beeps at anything else.
int Beeps;
BOOL WINAPI CountBeep(UINT) { return ++Beeps, TRUE; }
TEST_F(FirstRunWizard, CtrlVPastesWhatTheFilterLetsThroughAndBeepsOtherwise) {
  const struct {
    int id;
    const char* clipboard;
    std::string after;
    int beeps;
  } cases[] = {{IDC_FR_PER_DAY, "25\r\n", "125", 0}, {IDC_FR_PER_DAY, "2x", "1", 1},
               {IDC_FR_PRICE, "4.50", "14.50", 0},   {IDC_FR_PRICE, "$4.50", "1", 1}, {IDC_FR_PER_DAY, "", "1", 1}};
  NumberEditBeep = CountBeep;
  for (const auto& c : cases) {
    HWND edit = GetDlgItem(wizard, c.id);
    ASSERT_TRUE(OpenClipboard(wizard));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::strlen(c.clipboard) + 1);
    std::memcpy(GlobalLock(memory), c.clipboard, std::strlen(c.clipboard) + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    SetWindowTextA(edit, "1");
    SendMessageA(edit, EM_SETSEL, 1, 1);
    Beeps = 0;
    Type(edit, "\x16");
    EXPECT_EQ(WindowText(edit), c.after) << c.clipboard;
    EXPECT_EQ(Beeps, c.beeps) << c.clipboard;
  }
  NumberEditBeep = MessageBeep;
}

TEST_F(FirstRunWizard, PastedTextIsCaughtByTheChecks) {
  HWND perDay = GetDlgItem(wizard, IDC_FR_PER_DAY);
  ASSERT_TRUE(OpenClipboard(wizard));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(memory), "7x", 3);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  SetWindowTextA(perDay, "");
  SendMessageA(perDay, WM_PASTE, 0, 0);
  EXPECT_EQ(WindowText(perDay), "7x");
  SetDlgItemTextA(wizard, IDC_FR_NAME, "Sam");
  SetDlgItemTextA(wizard, IDC_FR_PER_PACK, "20");
  SetDlgItemTextA(wizard, IDC_FR_PRICE, "5");
  EXPECT_EQ(Validate(0), Texts{DayMessage});
}

TEST_F(FirstRunWizard, QuitMomentHasNoSeconds) {
  Fill(wizard, "Sam", "20", "20", "5");
  SetPicker(wizard, IDC_FR_DATE, Date(2024, 2, 29));
  SetPicker(wizard, IDC_FR_TIME, Date(2024, 2, 29, 13, 45, 37));
  QuitDetails.quitTime.wSecond = 9;
  QuitDetails.quitTime.wMilliseconds = 9;
  QuitDetails.quitTime.wDayOfWeek = 9;
  EXPECT_EQ(Validate(1), Texts{});
  const SysTime& q = QuitDetails.quitTime;
  EXPECT_EQ(q.wYear, 2024);
  EXPECT_EQ(q.wMonth, 2);
  EXPECT_EQ(q.wDay, 29);
  EXPECT_EQ(q.wHour, 13);
  EXPECT_EQ(q.wMinute, 45);
  EXPECT_EQ(q.wSecond, 0);
  EXPECT_EQ(q.wMilliseconds, 0);
  EXPECT_EQ(q.wDayOfWeek, 0);
  // Today lies inside the range, so a quit of today can be entered.
  SYSTEMTIME now;
  GetLocalTime(&now);
  SetPicker(wizard, IDC_FR_DATE, now);
  EXPECT_EQ(Validate(1), Texts{});
  EXPECT_EQ(QuitDetails.quitTime.wYear, now.wYear);
  EXPECT_EQ(QuitDetails.quitTime.wDay, now.wDay);
}

TEST_F(FirstRunWizard, EnterEscapeAndNotificationsDoNothing) {
  Fill(wizard, "Sam", "20", "20", "5");
  MessageBoxCatcher catcher;
  SendMessageA(wizard, WM_COMMAND, IDOK, 0);
  SendMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
  // A notification other than a click from a button is ignored too.
  SendMessageA(wizard, WM_COMMAND, MAKEWPARAM(IDC_FR_CANCEL, BN_SETFOCUS),
               reinterpret_cast<LPARAM>(GetDlgItem(wizard, IDC_FR_CANCEL)));
  // The keys themselves, through the dialog keyboard handling.
  HWND name = GetDlgItem(wizard, IDC_FR_NAME);
  SetFocus(name);
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    MSG msg{name, WM_KEYDOWN, key, 1, GetTickCount(), {}};
    IsDialogMessageA(wizard, &msg);
    Pump();
  }
  EXPECT_TRUE(IsWindowVisible(wizard));
  EXPECT_TRUE(catcher.seen().empty());
}

TEST_F(FirstRunWizard, CloseAndCancelEndIt) {
  SendMessageA(wizard, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(wizard));  // EndDialog hides a modeless dialog
  DestroyWindow(wizard);
  wizard = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_FIRST_RUN), nullptr, FirstRunWizardProc, 1);
  SendMessageA(wizard, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ShowWindow(wizard, SW_RESTORE);
  EXPECT_TRUE(IsWindowVisible(wizard));
  SendMessageA(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(wizard));
}

// ---- the wizard run modally, as start-up runs it ----

namespace {
// Runs steps from a thread timer while the modal wizard is open. A step that
// shows a message box is not re-entered by the box's own message loop.
class WizardDriver {
 public:
  explicit WizardDriver(std::vector<std::function<void(HWND)>> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    ticks_ = 0;
    busy_ = false;
    timer_ = SetTimer(nullptr, 0, 40, Tick);
  }
  ~WizardDriver() { KillTimer(nullptr, timer_); }
  static bool Finished() { return next_ == steps_.size(); }

 private:
  static BOOL CALLBACK FindWizard(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && WindowText(window) == WizardCaption) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (busy_) return;
    HWND wizard = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindWizard, reinterpret_cast<LPARAM>(&wizard));
    if (!wizard) return;
    if (++ticks_ > 200) {  // a wizard that will not end fails the test instead of hanging it
      EndDialog(wizard, 99);
      return;
    }
    if (next_ >= steps_.size()) return;
    busy_ = true;
    steps_[next_++](wizard);
    busy_ = false;
  }
  static inline std::vector<std::function<void(HWND)>> steps_;
  static inline std::size_t next_;
  static inline int ticks_;
  static inline bool busy_;
  UINT_PTR timer_;
};
}  // namespace

class FirstRunWizardModal : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareProcess();
    DeleteStoredSettings();
  }
  void TearDown() override { DeleteStoredSettings(); }
};

TEST_F(FirstRunWizardModal, ContinueStoresTheSettingsAndEndsWith0) {
  StatsMinuteMarker = 0;
  MessageBoxCatcher catcher;
  WizardDriver driver({[](HWND w) {
                         Fill(w, "Sam", "999", "20", "4.50");  // first a bad daily count
                         Click(w, IDC_FR_CONTINUE);
                       },
                       [](HWND w) {
                         EXPECT_TRUE(IsWindowVisible(w));
                         Fill(w, "Samantha Q", "25", "20", "4.50");
                         SetPicker(w, IDC_FR_DATE, Date(2009, 3, 14));
                         SetPicker(w, IDC_FR_TIME, Date(2009, 3, 14, 22, 5, 59));
                         Click(w, IDC_FR_CONTINUE);
                       }});
  EXPECT_EQ(RunFirstRunWizard(nullptr), 0);
  EXPECT_TRUE(WizardDriver::Finished());
  // The real message box: titled "Fumora", information icon, owned by the wizard.
  ASSERT_EQ(catcher.texts(), std::vector<std::string>{DayMessage});
  EXPECT_EQ(catcher.seen()[0].caption, "Fumora");
  EXPECT_TRUE(catcher.seen()[0].informationIcon);
  EXPECT_NE(catcher.seen()[0].owner, nullptr);
  EXPECT_EQ(StatsMinuteMarker, 61);

  const std::pair<const char*, DWORD> present[] = {{"QuitName", REG_SZ},      {"NumCigs", REG_DWORD},
                                                   {"NumPack", REG_DWORD},    {"Price", REG_DWORD},
                                                   {"QuitDate", REG_BINARY},  {"AppColors", REG_BINARY},
                                                   {"GenPrefs", REG_BINARY},  {"FirstRun", REG_DWORD}};
  for (auto [name, type] : present) {
    StoredValue v = ReadStored(name);
    EXPECT_TRUE(v.exists) << name;
    EXPECT_EQ(v.type, type) << name;
  }
  EXPECT_EQ(ReadStored("QuitName").size, 11u);
  EXPECT_STREQ(reinterpret_cast<const char*>(ReadStored("QuitName").bytes.data()), "Samantha Q");
  auto dword = [](const char* name) {
    StoredValue v = ReadStored(name);
    EXPECT_EQ(v.size, 4u) << name;
    uint32_t value = 0;
    if (v.bytes.size() == 4) std::memcpy(&value, v.bytes.data(), 4);
    return value;
  };
  EXPECT_EQ(dword("NumCigs"), 25u);
  EXPECT_EQ(dword("NumPack"), 20u);
  EXPECT_EQ(dword("Price"), 450u);
  EXPECT_EQ(dword("FirstRun"), 1u);
  StoredValue quitDate = ReadStored("QuitDate");
  ASSERT_EQ(quitDate.size, 16u);
  const uint16_t expected[8] = {2009, 3, 0, 14, 22, 5, 0, 0};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(quitDate.bytes[2 * i] | (quitDate.bytes[2 * i + 1] << 8), expected[i]) << "field " << i;
  EXPECT_EQ(ReadStored("AppColors").size, 28u);
  EXPECT_EQ(ReadStored("GenPrefs").size, 1052u);
  for (const char* absent : {"HKEnabled", "AppHKey", "LastPosX", "LastPosY"})
    EXPECT_FALSE(ReadStored(absent).exists) << absent;
  EXPECT_TRUE(IsSetupComplete());
  EXPECT_EQ(AppColors.anniversaryBack, 0x800000u);
  EXPECT_EQ(GeneralPrefs.LookAheadDays, 20u);
}

TEST_F(FirstRunWizardModal, CancelStoresNothingAndEndsWith1) {
  MessageBoxCatcher catcher;
  WizardDriver driver({[](HWND w) {
                         Fill(w, "Sam", "20", "20", "");
                         Click(w, IDC_FR_CONTINUE);  // refused: no price
                       },
                       [](HWND w) {
                         Fill(w, "Sam", "20", "20", "5");
                         Click(w, IDC_FR_CANCEL);
                       }});
  EXPECT_EQ(RunFirstRunWizard(nullptr), 1);
  EXPECT_TRUE(WizardDriver::Finished());
  EXPECT_EQ(catcher.texts(), std::vector<std::string>{PriceMessage});
  for (const char* name : {"FirstRun", "QuitName", "NumCigs", "NumPack", "Price", "QuitDate", "AppColors", "GenPrefs"})
    EXPECT_FALSE(ReadStored(name).exists) << name;
  EXPECT_FALSE(IsSetupComplete());
}

TEST_F(FirstRunWizardModal, CloseBoxAndAltF4EndWith1) {
  {
    WizardDriver driver({[](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    EXPECT_EQ(RunFirstRunWizard(nullptr), 1);
  }
  {
    WizardDriver driver({[](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(RunFirstRunWizard(nullptr), 1);
  }
  EXPECT_FALSE(ReadStored("FirstRun").exists);
}

TEST_F(FirstRunWizardModal, EnterAndEscapeLeaveItOpen) {
  MessageBoxCatcher catcher;
  WizardDriver driver({[](HWND w) {
                         Fill(w, "Sam", "20", "20", "5");
                         HWND name = GetDlgItem(w, IDC_FR_NAME);
                         SetFocus(name);
                         // Through the modal loop's dialog keyboard handling.
                         PostMessageA(name, WM_KEYDOWN, VK_RETURN, 1);
                         PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 1);
                       },
                       [](HWND) {},
                       [](HWND w) {
                         EXPECT_TRUE(IsWindowVisible(w));
                         Click(w, IDC_FR_CANCEL);
                       }});
  EXPECT_EQ(RunFirstRunWizard(nullptr), 1);
  EXPECT_TRUE(WizardDriver::Finished());
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_FALSE(ReadStored("FirstRun").exists);
}
