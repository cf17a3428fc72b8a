// The preferences dialog from its templates over seeded settings, inside the
// real main window: opening state, each option applied and read back from
// the registry, the blank-format question, the editor's rules in the real
// rich edit, the colours.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include "daysahead/days_ahead_view.h"
#include "engine/calendar.h"
#include "engine/stats_view_texts.h"
#include "engine/template_editor.h"
#include "hotkey/hotkey.h"
#include "prefs/preferences_dialog.h"
#include "resource.h"
#include "shell_fixture.h"
#include "win/listview.h"
#include "win/scoped.h"

namespace {
using namespace shell_test;

uint32_t StoredDword(const char* name, size_t offset = 0) {
  const std::vector<uint8_t> bytes = StoredBytes(name);
  uint32_t result = 0xDEADBEEF;
  if (bytes.size() >= offset + 4) std::memcpy(&result, bytes.data() + offset, 4);
  return result;
}
uint32_t GenPrefsAt(size_t offset) { return StoredDword("GenPrefs", offset); }

// The colour chooser as the user plays it: what each opening was handed, then
// the colour it ends on (a cancelled chooser may have moved its own), and OK
// or Cancel; a custom colour is defined in it when asked.
struct ChooserVisit {
  COLORREF initial;
  std::array<COLORREF, 16> custom;
  HWND owner;
  DWORD flags;
};
std::vector<ChooserVisit> ChooserVisits;
COLORREF Picked = RGB(10, 200, 30);
BOOL ChooserConfirms = TRUE;
std::optional<std::pair<int, COLORREF>> CustomToDefine;
BOOL WINAPI PlayChooser(LPCHOOSECOLORA chooser) {
  ChooserVisit visit{chooser->rgbResult, {}, chooser->hwndOwner, chooser->Flags};
  std::copy_n(chooser->lpCustColors, visit.custom.size(), visit.custom.begin());
  ChooserVisits.push_back(visit);
  if (CustomToDefine) chooser->lpCustColors[CustomToDefine->first] = CustomToDefine->second;
  chooser->rgbResult = Picked;
  return ChooserConfirms;
}

// On Windows SetWindowSubclass makes the editor a Unicode window; Wine's
// keeps it ANSI. A Unicode procedure put on each rich edit as it is made
// gives the editor here the characters it gets there.
WNDPROC RichEditProc = nullptr;
LRESULT CALLBACK UnicodeRichEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(RichEditProc, window, message, wParam, lParam);
}
LRESULT CALLBACK MakeRichEditsUnicode(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  char type[32] = {};
  if (code == HCBT_CREATEWND && GetClassNameA(window, type, sizeof type) && std::strcmp(type, "RichEdit20A") == 0)
    RichEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UnicodeRichEdit)));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The page of `dialog` that holds control `id`.
HWND PageWith(HWND dialog, int id) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgItem(child, id)) return child;
  return nullptr;
}

class Preferences : public MainWindowFixture {
 protected:
  void TearDown() override {
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
    PrefsMessageBox = MessageBoxA;
    PrefsChooseColour = SystemChooseColour;
    ChooserVisits.clear();
    Picked = RGB(10, 200, 30);
    ChooserConfirms = TRUE;
    CustomToDefine.reset();
    for (COLORREF& colour : CustomColours) colour = RGB(255, 255, 255);  // as start-up leaves them
    MainWindowFixture::TearDown();
  }
  // The dialog made from its template, modeless, over the main window.
  void OpenDialog(const Seed& seed = {}) {
    Open(seed);
    MakeDialog();
  }
  // Closed and opened again, the main window staying.
  void MakeDialog() {
    if (dialog) DestroyWindow(dialog);
    dialog = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREFERENCES), window_, PreferencesDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    for (int tab : {2, 1, 0}) SelectTab(tab);  // each page is made when first chosen
    general = PageWith(dialog, IDC_GEN_LOOK_AHEAD);
    format = PageWith(dialog, IDC_FMT_EDITOR);
    colours = PageWith(dialog, IDC_COL_GROUP);
    ASSERT_TRUE(general && format && colours);
    editor = GetDlgItem(format, IDC_FMT_EDITOR);
  }
  void SelectTab(int index) {
    HWND tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
    TabCtrl_SetCurSel(tabs, index);
    NMHDR change{tabs, IDC_PREFS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, IDC_PREFS_TABS, reinterpret_cast<LPARAM>(&change));
  }
  bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(dialog, IDC_PREFS_APPLY)); }
  void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
  void Apply() { Click(dialog, IDC_PREFS_APPLY); }
  void Choose(int id, int item) {
    SendDlgItemMessageA(general, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(general, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(general, id)));
  }
  int Selected(int id) const { return static_cast<int>(SendDlgItemMessageA(general, id, CB_GETCURSEL, 0, 0)); }

  // The editor, as the user would act on it.
  std::string EditorText() const {
    char text[1024] = {};
    GetWindowTextA(editor, text, sizeof text);
    return text;
  }
  void SetCaret(int start, int end = -1) {
    CHARRANGE r{start, end < 0 ? start : end};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  }
  CHARRANGE Selection() const {
    CHARRANGE r{};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void Key(UINT vk, char typed = 0) {
    SendMessageA(editor, WM_KEYDOWN, vk, 1);
    if (typed) SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(typed), 1);
    SendMessageA(editor, WM_KEYUP, vk, 0xC0000001);
  }
  void Type(const char* text) {
    for (; *text; ++text) Key(VkKeyScanA(*text) & 0xFF, *text);
  }
  // True when the characters [start, end) are bold red.
  bool BoldRed(int start, int end) {
    SetCaret(start, end);
    CHARFORMATA f{};
    f.cbSize = sizeof f;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    return (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD) && (f.dwMask & CFM_COLOR) &&
           !(f.dwEffects & CFE_AUTOCOLOR) && f.crTextColor == RGB(255, 0, 0);
  }

  // The colour in the middle of a control, as drawn.
  static COLORREF Middle(HWND control) {
    UpdateWindow(control);
    HDC dc = GetDC(control);
    RECT r{};
    GetClientRect(control, &r);
    const COLORREF colour = GetPixel(dc, r.right / 2, r.bottom / 2);
    ReleaseDC(control, dc);
    return colour;
  }

  HWND dialog = nullptr, general = nullptr, format = nullptr, colours = nullptr, editor = nullptr;
};

// Opened from the menu on the general page showing the stored values; the
// other pages (and RichEd20) wait until chosen; OK without changes writes nothing.
TEST_F(Preferences, OpensFromTheMenuAndOkWithoutChangesWritesNothing) {
  Open({.lookAheadDays = 30, .lifeMinutes = 12});
  EXPECT_EQ(GetModuleHandleA("riched20.dll"), nullptr) << "loaded at start-up";
  HKEY key = OpenSettingsForWriting();
  RegDeleteValueA(key, "AppColors");
  RegCloseKey(key);
  Drive("Fumora Preferences",
        {[this] {
           dialog = DialogNamed("Fumora Preferences");
           EXPECT_EQ(GetWindow(dialog, GW_OWNER), window_);
           HWND tabs = GetDlgItem(dialog, IDC_PREFS_TABS);
           std::vector<std::string> names;
           for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
             char text[64] = {};
             TCITEMA item{TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
             SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
             names.push_back(text);
           }
           EXPECT_EQ(names, (std::vector<std::string>{"General Options", "Statistics Format", "Application Colours"}));
           EXPECT_FALSE(ApplyEnabled());
           general = PageWith(dialog, IDC_GEN_LOOK_AHEAD);
           EXPECT_TRUE(GetWindowLongA(general, GWL_STYLE) & WS_VISIBLE);
           EXPECT_EQ(PageWith(dialog, IDC_FMT_EDITOR), nullptr);
           EXPECT_EQ(GetModuleHandleA("riched20.dll"), nullptr);
           EXPECT_EQ(Text(general, IDC_GEN_LOOK_AHEAD), "30 Days");
           EXPECT_EQ(Text(general, IDC_GEN_LIFE_MINUTES), "12 mins");
           EXPECT_EQ(Text(general, IDC_GEN_STARTUP_VIEW), "Quitting Statistics");
         },
         [this] { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }},
        [this] { Command(IDM_PREFERENCES); });
  EXPECT_TRUE(StoredBytes("AppColors").empty()) << "OK without changes wrote AppColors";
  dialog = nullptr;
}

// Damaged stored values show the default items, which are what the run uses,
// and are stored repaired; each
// option is applied on its own and stored at its place; Run is written
// (its key made again if missing) and deleted.
TEST_F(Preferences, EachGeneralOptionIsAppliedAndStoredAtItsPlace) {
  OpenDialog({.startupView = 7, .lookAheadDays = 101, .lifeMinutes = 99});
  EXPECT_EQ(Selected(IDC_GEN_LOOK_AHEAD), 18);
  EXPECT_EQ(Selected(IDC_GEN_LIFE_MINUTES), 0);
  EXPECT_EQ(Selected(IDC_GEN_STARTUP_VIEW), 0);
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_EQ(LifeMinutesPerCigarette(), 5u);
  Command(IDM_VIEW_DAYS_AHEAD);
  EXPECT_EQ(Title(), "Next 20 Days");
  RegDeleteKeyA(HKEY_CURRENT_USER, RunKeyPath);
  char path[1024] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string runCommand = RunCommandText(path);
  auto runValue = [] {
    const std::vector<uint8_t> bytes = StoredBytes(RunValueName, RunKeyPath);
    return bytes.empty() ? std::string("(none)") : std::string(reinterpret_cast<const char*>(bytes.data()));
  };
  const struct {
    const char* name;
    std::function<void()> change;
    std::function<uint32_t()> stored;
    uint32_t expected;
  } cases[] = {
      {"start minimised", [this] { Click(general, IDC_GEN_START_MINIMISED); }, [] { return GenPrefsAt(16); }, 1},
      {"look-ahead repaired", nullptr, [] { return GenPrefsAt(0); }, 20},
      {"life minutes repaired", nullptr, [] { return GenPrefsAt(4); }, 5},
      {"start-up view repaired", nullptr, [] { return GenPrefsAt(12); }, 0},
      {"look-ahead", [this] { Choose(IDC_GEN_LOOK_AHEAD, 0); }, [] { return GenPrefsAt(0); }, 2},
      {"life minutes", [this] { Choose(IDC_GEN_LIFE_MINUTES, 15); }, [] { return GenPrefsAt(4); }, 20},
      {"start-up view", [this] { Choose(IDC_GEN_STARTUP_VIEW, 3); }, [] { return GenPrefsAt(12); }, 3},
      {"run at start-up", [this] { Click(general, IDC_GEN_RUN_AT_STARTUP); }, [] { return GenPrefsAt(8); }, 1},
      {"Run value", nullptr, [&] { return uint32_t{runValue() == runCommand}; }, 1},
      {"run no more", [this] { Click(general, IDC_GEN_RUN_AT_STARTUP); }, [] { return GenPrefsAt(8); }, 0},
      {"Run value gone", nullptr, [&] { return uint32_t{runValue() == "(none)"}; }, 1},
      {"save position", [this] { Click(general, IDC_GEN_SAVE_POSITION); }, [] { return savePositionOnExit; }, 1},
  };
  for (const auto& c : cases) {
    if (c.change) {  // otherwise a further look at the last apply
      c.change();
      EXPECT_TRUE(ApplyEnabled()) << c.name;
      Apply();
      EXPECT_FALSE(ApplyEnabled()) << c.name;
    }
    EXPECT_EQ(c.stored(), c.expected) << c.name;
  }
  EXPECT_EQ(GeneralPrefs.LookAheadDays, 2u);
  EXPECT_EQ(StatsMinuteMarker, ForceStatsRecompute);
}

// The hotkey control opens enabled whatever its check box says, and then
// follows the box; a key alone, or with Shift alone, becomes Ctrl + Shift +
// the key; only an enabled key is registered, and the label shows what is.
TEST_F(Preferences, HotkeyControlFollowsItsCheckBoxAndOnlyAnEnabledKeyIsRegistered) {
  OpenDialog();
  HWND hotkey = GetDlgItem(general, IDC_GEN_HOTKEY);
  HWND label = GetDlgItem(ViewWindows[StatisticsViewIndex], IDC_STATS_HOTKEY_NAME);
  const uint32_t code = MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
  for (bool enable : {true, false}) {
    EXPECT_TRUE(IsWindowEnabled(hotkey)) << "before the box is " << (enable ? "checked" : "cleared");
    Click(general, IDC_GEN_HOTKEY_ENABLED);
    EXPECT_EQ(IsWindowEnabled(hotkey) != FALSE, enable);
    if (enable) {
      EXPECT_EQ(GetFocus(), hotkey);
      SendMessageA(hotkey, WM_KEYDOWN, 'Q', 1);
    }
    EXPECT_EQ(SendMessageA(hotkey, HKM_GETHOTKEY, 0, 0), static_cast<LRESULT>(enable ? code : 0));
    Apply();
    EXPECT_EQ(RegisteredHotkeyCode(), enable ? code : 0u);
    EXPECT_EQ(WindowText(label), enable ? "Control + Shift + Q" : "None");
    EXPECT_EQ(StoredDword("HKEnabled"), enable ? 1u : 0u);
    EXPECT_EQ(StoredDword("AppHKey"), enable ? code : 0u);
  }
}

TEST_F(Preferences, BlankFormatAsksAndCancelAppliesNothingOkTheDefault) {
  OpenDialog();
  PrefsMessageBox = RecordBox;
  Boxes.clear();
  const std::vector<uint8_t> seeded = StoredBytes("GenPrefs");
  Choose(IDC_GEN_LOOK_AHEAD, 0);
  for (const char* blank : {" \r\n  ", ""}) {  // white space alone is no template either
    Boxes.clear();
    SetWindowTextA(editor, blank);
    Answer = IDCANCEL;
    Apply();
    EXPECT_EQ(Boxes, (BoxList{{GetDlgItem(dialog, IDC_PREFS_TABS),
                               "The clipboard format can't be left blank\n\r Hit OK to apply the default format "
                               "or hit the cancel button to re-enter the format",
                               "Fumora", MB_OKCANCEL | MB_ICONERROR}}))
        << '"' << blank << '"';
    EXPECT_EQ(StoredBytes("GenPrefs"), seeded);
    EXPECT_EQ(GeneralPrefs.LookAheadDays, 20u);
    EXPECT_TRUE(ApplyEnabled());
  }

  Answer = IDOK;
  Apply();
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_EQ(EditorText(), DefaultStatsTemplate);
  EXPECT_TRUE(BoldRed(21, 23));  // "I have been quit for %Q"
  EXPECT_FALSE(BoldRed(20, 21));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(StoredBytes("GenPrefs").data()) + 28), DefaultStatsTemplate);
  EXPECT_EQ(GenPrefsAt(0), 2u);
}

// A damaged flag shows as it counts in the texts (seconds are left out only
// at 0, the long form needs 1), and any apply stores it as 0 or 1.
TEST_F(Preferences, DamagedSpanFlagsShowAsTheyCountAndAreStoredAsZeroOrOne) {
  // Seven seconds past the minute of the quit: a span leaves out a zero figure.
  HoldClockAt(MakeDate(2024, 3, 5, 10, 20, 7));
  OpenDialog({.includeSeconds = 3, .fullDates = 3});
  EXPECT_EQ(IsDlgButtonChecked(format, IDC_FMT_SECONDS), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(format, IDC_FMT_FULL_DATES), static_cast<UINT>(BST_UNCHECKED));
  SetWindowTextA(editor, "%Q");
  Pump(100);
  const std::string preview = Text(format, IDC_FMT_PREVIEW);
  EXPECT_TRUE(!preview.empty() && preview.back() == 's' && preview.find("Year") == std::string::npos) << preview;
  Choose(IDC_GEN_LOOK_AHEAD, 0);
  Apply();
  EXPECT_EQ(GenPrefsAt(20), 1u);
  EXPECT_EQ(GenPrefsAt(24), 0u);
}

// The rules on "x%Qy", then after a line break (one position in the rich
// edit, two in its text), then at the stored record's 511 characters.
TEST_F(Preferences, EditorKeepsPlaceholdersWholeAndTakesExactlyWhatIsStored) {
  OpenDialog();
  SetWindowTextA(editor, "x%Qy");
  EXPECT_TRUE(BoldRed(1, 3));
  EXPECT_FALSE(BoldRed(3, 4));
  SetCaret(3);
  SetCaret(2);
  EXPECT_EQ(Selection().cpMin, 1) << "moving left into a placeholder";
  SetCaret(2);
  EXPECT_EQ(Selection().cpMin, 3) << "moving right into a placeholder";
  Type("%");
  EXPECT_EQ(EditorText(), "x%Qy");
  SetCaret(0, 2);
  Key(VK_SHIFT);
  EXPECT_EQ(Selection().cpMin, 0);
  EXPECT_EQ(Selection().cpMax, 3);
  SetCaret(3);
  Key(VK_BACK, '\b');
  EXPECT_EQ(EditorText(), "xy");
  SetCaret(1);
  Click(format, IDC_FMT_QUIT_DAYS);
  EXPECT_EQ(EditorText(), "x%Dy");
  EXPECT_TRUE(ApplyEnabled());
  Type("z");
  EXPECT_EQ(EditorText(), "x%Dzy");
  EXPECT_FALSE(BoldRed(3, 4)) << "typed after a placeholder";
  SetCaret(1);
  Key(VK_DELETE);
  EXPECT_EQ(EditorText(), "xzy");

  SetWindowTextA(editor, "ab\r\n%Qc%D");
  EXPECT_TRUE(BoldRed(3, 5));
  EXPECT_TRUE(BoldRed(6, 8));
  EXPECT_FALSE(BoldRed(5, 6));
  SetCaret(5);
  SetCaret(4);
  EXPECT_EQ(Selection().cpMin, 3);
  SetCaret(5);
  Key(VK_BACK, '\b');
  EXPECT_EQ(EditorText(), "ab\r\nc%D");
  Pump(100);  // the preview follows once typing pauses
  EXPECT_NE(Text(format, IDC_FMT_PREVIEW).find("ab\r\nc"), std::string::npos);

  const std::string nearlyFull(TemplateCapacity - 2, 'a');
  SetWindowTextA(editor, nearlyFull.c_str());
  SetCaret(static_cast<int>(nearlyFull.size()));
  Type("b");
  Key(VK_RETURN, '\r');  // two characters when stored: one too many
  EXPECT_EQ(EditorText(), nearlyFull + "b");
  Key(VK_BACK, '\b');
  SetCaret(0);
  Key(VK_RETURN, '\r');
  Type("cd");
  EXPECT_EQ(EditorText(), "\r\n" + nearlyFull);
  Apply();
  EXPECT_EQ(std::strlen(GeneralPrefs.statsTemplate), TemplateCapacity);
}

// The views follow an apply: a picked colour (shown on its swatch at once,
// applied only by Apply) repaints the legend; the look-ahead rebuilds and
// retitles Days Ahead, at once or when next shown. One buddy's quit date lies
// ten days ahead: it and her 7 Days fall within 20 days, neither within 7.
TEST_F(Preferences, TheViewsFollowTheColoursAndTheLookAhead) {
  const std::string saved = BuddyFilePath;
  BuddyFilePath = TempFolder("fumora_prefs") + "anny.dat";
  SysTime day;
  DayNumberToDate(DateToDayNumber(LocalTimeNow()) + 10, day);
  char record[32];
  wsprintfA(record, "%04u%02u%02uAda\x1E\x1C", day.wYear, day.wMonth, day.wDay);
  ASSERT_TRUE(WriteFileText(BuddyFilePath, record));
  OpenDialog();
  BuddyFilePath = saved;
  Command(IDM_VIEW_DAYS_AHEAD);
  EXPECT_EQ(Title(), "Next 20 Days");
  EXPECT_EQ(RowCount(DaysAheadList), 2);
  auto legendBrush = [] {
    HDC dc = GetDC(DaysAheadViewWindow);
    const LRESULT brush = SendMessageA(DaysAheadViewWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetDlgItem(DaysAheadViewWindow, IDC_LEGEND_TODAY_SWATCH)));
    ReleaseDC(DaysAheadViewWindow, dc);
    return reinterpret_cast<HGDIOBJ>(brush);
  };
  HGDIOBJ oldBrush = legendBrush();
  ASSERT_EQ(GetObjectType(oldBrush), static_cast<DWORD>(OBJ_BRUSH));
  SetWindowPos(dialog, nullptr, 520, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the legend
  PrefsChooseColour = PlayChooser;
  SelectTab(2);
  EXPECT_FALSE(IsWindowVisible(general));
  Click(colours, IDC_COL_PICK_TODAY_BACK);
  EXPECT_TRUE(ApplyEnabled());
  EXPECT_NE(AppColors.todayBack, Picked) << "applied before Apply";
  EXPECT_EQ(Middle(GetDlgItem(colours, IDC_COL_TODAY_BACK)), Picked);
  Choose(IDC_GEN_LOOK_AHEAD, 5);
  Apply();
  EXPECT_EQ(AppColors.todayBack, Picked);
  EXPECT_EQ(StoredDword("AppColors", 8), Picked);
  Pump(50);
  EXPECT_EQ(Middle(GetDlgItem(DaysAheadViewWindow, IDC_LEGEND_TODAY_SWATCH)), Picked);
  EXPECT_EQ(GetObjectType(oldBrush), 0u) << "the replaced legend brush is deleted";
  EXPECT_EQ(GetObjectType(legendBrush()), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(Title(), "Next 7 Days");
  EXPECT_EQ(RowCount(DaysAheadList), 0);
  Command(IDM_VIEW_STATISTICS);
  Choose(IDC_GEN_LOOK_AHEAD, 0);
  Apply();
  EXPECT_EQ(Title(), "Quitting Statistics");
  Command(IDM_VIEW_DAYS_AHEAD);
  EXPECT_EQ(Title(), "Next 2 Days");
}

// comdlg32 is loaded when a pick button is first used: the system's chooser
// opens, owned by the dialog, and its OK keeps the colour it started with.
TEST_F(Preferences, PickButtonOpensTheSystemColourChooser) {
  OpenDialog();
  SelectTab(2);
  HWND chooser = nullptr, owner = nullptr;
  Drive("Color", {[&] {
          chooser = DialogNamed("Color");
          owner = GetWindow(chooser, GW_OWNER);
          if (chooser) PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        }},
        [&] { Click(colours, IDC_COL_PICK_TODAY_BACK); });
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  EXPECT_EQ(owner, dialog);
}

// Leaving: Cancel and the close box drop what was not applied, on every
// page; OK whose apply is refused (a blank format, then Cancel in the
// question) stays open; OK after a colour alone writes all four values.
TEST_F(Preferences, LeavingDropsWhatWasNotAppliedAndOkAppliesAllFourValues) {
  Open();
  PrefsChooseColour = PlayChooser;
  PrefsMessageBox = RecordBox;
  Answer = IDCANCEL;
  enum Leave { ByCancel, ByCloseBox, ByOk };
  const struct {
    const char* name;
    int tab;
    std::function<void()> change;
    Leave leave;
    bool closes, stores;
  } cases[] = {
      {"general, Cancel", 0, [this] { Choose(IDC_GEN_LOOK_AHEAD, 0); }, ByCancel, true, false},
      {"general, close box", 0, [this] { Click(general, IDC_GEN_START_MINIMISED); }, ByCloseBox, true, false},
      {"format, Cancel", 1, [this] { Click(format, IDC_FMT_SECONDS); }, ByCancel, true, false},
      {"format, close box", 1, [this] { Type("x"); }, ByCloseBox, true, false},
      {"colours, Cancel", 2, [this] { Click(colours, IDC_COL_PICK_TODAY_BACK); }, ByCancel, true, false},
      {"colours, close box", 2, [this] { Click(colours, IDC_COL_PICK_ANNIVERSARY_TEXT); }, ByCloseBox, true, false},
      {"blank format, OK", 1, [this] { SetWindowTextA(editor, ""); }, ByOk, false, false},
      {"a colour alone, OK", 2, [this] { Click(colours, IDC_COL_PICK_TODAY_BACK); }, ByOk, true, true},
  };
  const std::pair<const char*, size_t> written[] = {{"AppColors", 28}, {"GenPrefs", 1052}, {"HKEnabled", 4}, {"AppHKey", 4}};
  for (const auto& c : cases) {
    HKEY key = OpenSettingsForWriting();
    for (const auto& value : written) RegDeleteValueA(key, value.first);
    RegCloseKey(key);
    const AppColorsRecord coloursBefore = AppColors;
    const GeneralPrefsRecord prefsBefore = GeneralPrefs;
    std::vector<ModalDriver::Step> steps = {
        [&] {
          dialog = DialogNamed("Fumora Preferences");
          SelectTab(c.tab);
          general = PageWith(dialog, IDC_GEN_LOOK_AHEAD);
          format = PageWith(dialog, IDC_FMT_EDITOR);
          colours = PageWith(dialog, IDC_COL_GROUP);
          editor = GetDlgItem(format, IDC_FMT_EDITOR);
          c.change();
          EXPECT_TRUE(ApplyEnabled()) << c.name;
        },
        [&] {
          if (c.leave == ByCloseBox) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
          else shell_test::Click(dialog, c.leave == ByOk ? IDOK : IDCANCEL, true);
        }};
    if (!c.closes) {
      steps.push_back([&] {
        EXPECT_TRUE(IsWindowVisible(dialog)) << c.name;
        EXPECT_TRUE(ApplyEnabled()) << c.name;
        shell_test::Click(dialog, IDCANCEL, true);
      });
    }
    Drive(c.name, steps, [this] { Command(IDM_PREFERENCES); });
    for (const auto& [name, size] : written)
      EXPECT_EQ(StoredBytes(name).size(), c.stores ? size : 0u) << c.name << ": " << name;
    EXPECT_EQ(std::memcmp(&GeneralPrefs, &prefsBefore, sizeof prefsBefore), 0) << c.name;
    EXPECT_EQ(AppColors.todayBack, c.stores ? Picked : coloursBefore.todayBack) << c.name;
    EXPECT_EQ(AppColors.anniversaryText, coloursBefore.anniversaryText) << c.name;
  }
  dialog = nullptr;
}

// Each "..." button opens the chooser, owned by its page, on its own slot's
// colour (the stored defaults) with the run's custom colours; a pick shows on
// its own swatch alone, and Apply stores it in its own slot. A custom colour
// defined in one chooser is offered in the next, and after reopening.
TEST_F(Preferences, EachColourButtonPicksForItsOwnSlot) {
  const struct {
    int button, swatch;
    COLORREF stored;
  } slots[] = {// AppColors order
               {8210, 8201, 0x800000}, {8211, 8202, 0xFFFFFF}, {8212, 8203, 0xA6F4F2}, {8213, 8204, 0xBB928E},
               {8214, 8205, 0xF4F4F2}, {8209, 8207, 0x000000}, {8215, 8208, 0x000000}};
  auto custom = [](int i) { return RGB(i + 1, 2 * i, 3 * i); };
  OpenDialog();
  SelectTab(2);
  PrefsChooseColour = PlayChooser;
  COLORREF expected[7];
  for (int i = 0; i < 7; ++i) expected[i] = slots[i].stored;
  for (int i = 0; i < 7; ++i) {
    ChooserVisits.clear();
    Picked = RGB(20 * i + 5, 100, 200 - i);
    CustomToDefine = {i, custom(i)};
    Click(colours, slots[i].button);
    ASSERT_EQ(ChooserVisits.size(), 1u) << i;
    const ChooserVisit& visit = ChooserVisits[0];
    EXPECT_EQ(visit.initial, slots[i].stored) << i;
    EXPECT_EQ(visit.owner, colours) << i;
    EXPECT_EQ(visit.flags & (CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR), static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    for (int k = 0; k < i; ++k) EXPECT_EQ(visit.custom[k], custom(k)) << i << ", custom colour " << k;
    expected[i] = Picked;
    for (int k = 0; k < 7; ++k) EXPECT_EQ(Middle(GetDlgItem(colours, slots[k].swatch)), expected[k]) << i << ", swatch " << k;
    EXPECT_EQ(StoredDword("AppColors", 4 * i), slots[i].stored) << i << ": stored before Apply";
    Apply();
    for (int k = 0; k < 7; ++k) EXPECT_EQ(StoredDword("AppColors", 4 * k), expected[k]) << i << ", slot " << k;
  }
  MakeDialog();
  SelectTab(2);
  ChooserVisits.clear();
  CustomToDefine.reset();
  Click(colours, slots[4].button);
  ASSERT_EQ(ChooserVisits.size(), 1u);
  EXPECT_EQ(ChooserVisits[0].initial, expected[4]);
  for (int k = 0; k < 7; ++k) EXPECT_EQ(ChooserVisits[0].custom[k], custom(k)) << "after reopening, custom colour " << k;
}

// The chooser's OK is a change even on the colour already set; its Cancel
// changes nothing, whatever colour it ended on.
TEST_F(Preferences, ChooserOkIsAChangeAndCancelIsNone) {
  OpenDialog();
  SelectTab(2);
  PrefsChooseColour = PlayChooser;
  HWND swatch = GetDlgItem(colours, IDC_COL_TODAY_BACK);
  constexpr COLORREF Stored = 0xA6F4F2, Other = RGB(1, 2, 3);
  const struct {
    const char* name;
    BOOL confirms;
    COLORREF endsOn;
    bool changes;
    COLORREF shown;
  } cases[] = {
      {"Cancel on another colour", FALSE, Other, false, Stored},
      {"OK on the colour set", TRUE, Stored, true, Stored},
      {"OK on another colour", TRUE, Other, true, Other},
      {"Cancel on the colour stored before", FALSE, Stored, false, Other},
  };
  for (const auto& c : cases) {
    ChooserConfirms = c.confirms;
    Picked = c.endsOn;
    Click(colours, IDC_COL_PICK_TODAY_BACK);
    EXPECT_EQ(ApplyEnabled(), c.changes) << c.name;
    EXPECT_EQ(Middle(swatch), c.shown) << c.name;
    if (ApplyEnabled()) Apply();
    EXPECT_EQ(StoredDword("AppColors", 8), c.shown) << c.name;
  }
}

// "Include Seconds?" and "Use Full Dates?" change the preview at once and
// GenPrefs only at Apply. At HeldClock the quit span is 1 Month, 3 Weeks,
// 4 Days, 6 hours, 42 minutes and 9 seconds.
TEST_F(Preferences, SpanFlagsChangeThePreviewAtOnceAndTheSettingsAtApply) {
  HoldClockAt(HeldClock());
  OpenDialog();  // seconds and full dates on
  const std::vector<uint8_t> stored = StoredBytes("GenPrefs");
  SetWindowTextA(editor, "%Q");
  Pump(100);
  EXPECT_EQ(Text(format, IDC_FMT_PREVIEW), "1 Month, 3 Weeks, 4 Days, 6 hours, 42 minutes and 9 seconds");
  const struct {
    int box;
    const char* preview;
  } clicks[] = {
      {IDC_FMT_SECONDS, "1 Month, 3 Weeks, 4 Days, 6 hours and 42 minutes"},
      {IDC_FMT_FULL_DATES, "1M 3W 4D 6h 42m"},
      {IDC_FMT_SECONDS, "1M 3W 4D 6h 42m 9s"},
      {IDC_FMT_FULL_DATES, "1 Month, 3 Weeks, 4 Days, 6 hours, 42 minutes and 9 seconds"},
      {IDC_FMT_SECONDS, "1 Month, 3 Weeks, 4 Days, 6 hours and 42 minutes"},
  };
  for (const auto& c : clicks) {
    Click(format, c.box);
    EXPECT_EQ(Text(format, IDC_FMT_PREVIEW), c.preview);
    EXPECT_EQ(GeneralPrefs.includeSeconds, 1u) << c.preview;
    EXPECT_EQ(GeneralPrefs.fullDates, 1u) << c.preview;
    EXPECT_EQ(StoredBytes("GenPrefs"), stored) << c.preview;
  }
  Apply();
  EXPECT_EQ(GenPrefsAt(20), 0u);
  EXPECT_EQ(GenPrefsAt(24), 1u);
}

// Each button puts its own placeholder, bold red, in place of the selection,
// the caret after it; the first Left arrow then goes before the "%".
TEST_F(Preferences, EachPlaceholderButtonInsertsItsOwnPlaceholder) {
  OpenDialog();
  SelectTab(1);
  const std::pair<int, const char*> buttons[] = {{6002, "a%Qc"}, {6003, "a%Dc"}, {6004, "a%Cc"},
                                                 {6005, "a%Mc"}, {6006, "a%Lc"}, {6007, "a%Xc"}};
  for (const auto& [button, text] : buttons) {
    SetWindowTextA(editor, "abc");
    SetCaret(1, 2);
    Click(format, button);
    EXPECT_EQ(EditorText(), text);
    EXPECT_EQ(Selection().cpMin, 3) << text;
    Key(VK_LEFT);
    EXPECT_EQ(Selection().cpMin, 1) << text << ": one Left arrow";
    EXPECT_EQ(Selection().cpMax, 1) << text << ": one Left arrow";
    EXPECT_TRUE(BoldRed(1, 3)) << text;
  }
}

// A click between a "%" and its letter puts the caret after the letter, from
// whichever side the caret came: a click is no move left. Each click lands on
// another character, so that none makes a double click.
TEST_F(Preferences, AClickInsideAPlaceholderPutsTheCaretAfterIt) {
  OpenDialog();
  SelectTab(1);
  SetWindowTextA(editor, "ab%Qcd");
  const struct {
    int from, at, caret;
  } clicks[] = {{0, 3, 4}, {6, 2, 2}, {6, 3, 4}, {0, 4, 4}, {0, 3, 4}};
  for (const auto& c : clicks) {
    SetCaret(c.from);
    POINTL at{};
    SendMessageA(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), c.at);
    const LPARAM point = MAKELPARAM(at.x + 1, at.y + 4);  // the character's left edge
    SendMessageA(editor, WM_MOUSEMOVE, 0, point);
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(editor, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(Selection().cpMin, c.caret) << "from " << c.from << " at " << c.at;
    EXPECT_EQ(Selection().cpMax, c.caret) << "from " << c.from << " at " << c.at;
  }
}

// The hotkey box: a key alone, or with Shift alone, becomes Ctrl + Shift +
// the key; other combinations stay as pressed.
TEST_F(Preferences, HotkeyBoxMakesCtrlShiftOfAKeyAloneOrWithShift) {
  OpenDialog({.hotkeyEnabled = 1});
  HWND hotkey = GetDlgItem(general, IDC_GEN_HOTKEY);
  const struct {
    UINT held;  // 0: none
    WORD code;
  } presses[] = {
      {0, MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_SHIFT)},
      {VK_SHIFT, MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_SHIFT)},
      {VK_CONTROL, MAKEWORD('Q', HOTKEYF_CONTROL)},
      {VK_MENU, MAKEWORD('Q', HOTKEYF_ALT)},
  };
  for (const auto& p : presses) {
    const UINT down = p.held == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN, up = down + 1;
    if (p.held) SendMessageA(hotkey, down, p.held, 1);
    SendMessageA(hotkey, down, 'Q', 1);
    SendMessageA(hotkey, up, 'Q', 0xC0000001);
    if (p.held) SendMessageA(hotkey, up, p.held, 0xC0000001);
    EXPECT_EQ(SendMessageA(hotkey, HKM_GETHOTKEY, 0, 0), p.code) << p.held;
    EXPECT_TRUE(ApplyEnabled()) << p.held;
  }
}

// A character the code page lacks is refused (the template could hold only a
// "?" for it), however much room is left; one it has goes in while it fits.
// The line break is one position in the editor and two in the template.
TEST_F(Preferences, EditorRefusesACharacterTheCodePageLacks) {
  {
    ScopedHook unicode(SetWindowsHookExA(WH_CBT, MakeRichEditsUnicode, nullptr, GetCurrentThreadId()));
    OpenDialog();
  }
  ASSERT_TRUE(IsWindowUnicode(editor));
  const std::string full = "\r\n" + std::string(TemplateCapacity - 2, 'a');
  const std::string room = "\r\n" + std::string(TemplateCapacity - 4, 'a');
  const struct {
    const std::string& text;
    wchar_t typed;
    std::string shown;
  } cases[] = {
      {full, L'\x4E2D', full},
      {room, L'\x4E2D', room},
      {room, L'\xE9', "\xE9" + room},
      {full, L'\xE9', full},
  };
  for (const auto& c : cases) {
    SetWindowTextA(editor, c.text.c_str());
    SetCaret(0);
    SendMessageW(editor, WM_CHAR, c.typed, 1);
    EXPECT_EQ(EditorText(), c.shown) << std::hex << int{c.typed};
    Apply();
    EXPECT_EQ(std::string(GeneralPrefs.statsTemplate), c.shown) << std::hex << int{c.typed} << ": stored whole";
  }
}

}  // namespace
