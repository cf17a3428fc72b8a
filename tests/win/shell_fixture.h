// Shared by the shell's Windows tests: seeded settings in the test prefix's
// registry, the real main window made from its template, a message pump, and
// a driver that acts on a modal dialog from a timer while it runs.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "formats/settings_records.h"
#include "settings/registry_store.h"
#include "stats/statistics_view.h"
#include "util/systime.h"
#include "util/systime_win32.h"
#include "win/app_state.h"
#include "win/file_io.h"

namespace shell_test {

inline const char* const SeededValueNames[] = {"FirstRun", "QuitName", "NumCigs", "NumPack",  "Price",    "QuitDate",
                                               "AppColors", "GenPrefs", "HKEnabled", "AppHKey", "LastPosX", "LastPosY"};

inline HKEY OpenSettingsForWriting() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                  nullptr);
  return key;
}

inline void ClearStoredSettings() {
  HKEY key = OpenSettingsForWriting();
  if (!key) return;
  for (const char* name : SeededValueNames) RegDeleteValueA(key, name);
  RegCloseKey(key);
}

inline void WriteDword(const char* name, uint32_t value) {
  HKEY key = OpenSettingsForWriting();
  ASSERT_NE(key, nullptr);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

inline void WriteBinary(const char* name, const uint8_t* bytes, size_t size) {
  HKEY key = OpenSettingsForWriting();
  ASSERT_NE(key, nullptr);
  RegSetValueExA(key, name, 0, REG_BINARY, bytes, static_cast<DWORD>(size));
  RegCloseKey(key);
}

inline std::optional<int32_t> ReadStoredDword(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  DWORD value = 0, size = sizeof(value), type = 0;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return {};
  return static_cast<int32_t>(value);
}

// The bytes of a stored value (of the settings key unless `path` says
// otherwise); empty when there is none.
inline std::vector<uint8_t> StoredBytes(const char* name, const char* path = SettingsKeyPath) {
  std::vector<uint8_t> bytes;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return bytes;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) bytes.clear();
  }
  RegCloseKey(key);
  return bytes;
}

struct Seed {
  uint32_t startupView = 0;
  uint32_t lookAheadDays = 20;
  uint32_t lifeMinutes = 5;
  uint32_t startMinimised = 0;
  uint32_t includeSeconds = 1, fullDates = 1;
  uint32_t price = 500;  // hundredths
  SysTime quitTime{2024, 1, 0, 15, 10, 0, 0, 0};
  std::optional<int32_t> lastPosX{}, lastPosY{};
  std::optional<uint32_t> hotkeyEnabled{}, hotkeyCode{};  // HKEnabled, AppHKey
};

// A completed setup as the wizard leaves it, with the given preferences.
inline void SeedSettings(const Seed& seed) {
  ClearStoredSettings();
  WriteDword("FirstRun", 1);
  {
    HKEY key = OpenSettingsForWriting();
    ASSERT_NE(key, nullptr);
    RegSetValueExA(key, "QuitName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Tester"), 7);
    RegCloseKey(key);
  }
  WriteDword("NumCigs", 20);
  WriteDword("NumPack", 20);
  WriteDword("Price", seed.price);
  const auto quit = EncodeQuitDate(seed.quitTime);
  WriteBinary("QuitDate", quit.data(), quit.size());
  const auto colours = EncodeAppColors(DefaultAppColors());
  WriteBinary("AppColors", colours.data(), colours.size());
  GeneralPrefsRecord prefs = DefaultGeneralPrefs();
  prefs.startupView = seed.startupView;
  prefs.LookAheadDays = seed.lookAheadDays;
  prefs.lifeMinutesPerCigarette = seed.lifeMinutes;
  prefs.startMinimised = seed.startMinimised;
  prefs.includeSeconds = seed.includeSeconds;
  prefs.fullDates = seed.fullDates;
  const auto prefBytes = EncodeGeneralPrefs(prefs);
  WriteBinary("GenPrefs", prefBytes.data(), prefBytes.size());
  if (seed.lastPosX) WriteDword("LastPosX", static_cast<uint32_t>(*seed.lastPosX));
  if (seed.lastPosY) WriteDword("LastPosY", static_cast<uint32_t>(*seed.lastPosY));
  if (seed.hotkeyEnabled) WriteDword("HKEnabled", *seed.hotkeyEnabled);
  if (seed.hotkeyCode) WriteDword("AppHKey", *seed.hotkeyCode);
}

// The in-memory settings as at process start, so that no test sees another's.
inline void ResetSettingsInMemory() {
  QuitDetails = QuitDetailsRecord{};
  AppColors = AppColorsRecord{};
  GeneralPrefs = GeneralPrefsRecord{};
  hotkeyEnabled = 0;
  hotkeyCode = 0;
  savePositionOnExit = 0;
  LastPosX = 0;
  LastPosY = 0;
}

// Message boxes answered in place of the user: what each asked, and the
// answer every one of them gets.
struct Box {
  HWND owner;
  std::string text, caption;
  UINT type;
  bool operator==(const Box&) const = default;
  friend void PrintTo(const Box& b, std::ostream* out) {
    *out << "{" << b.owner << ", \"" << b.text << "\", \"" << b.caption << "\", 0x" << std::hex << b.type << "}";
  }
};
using BoxList = std::vector<Box>;
inline BoxList Boxes;
inline int Answer = IDOK;
inline int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Boxes.push_back({owner, text, caption, type});
  return Answer;
}

// Dispatches what has arrived for `milliseconds`; a WM_QUIT is remembered.
inline std::optional<WPARAM> Pump(DWORD milliseconds = 50) {
  std::optional<WPARAM> quit;
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = message.wParam;
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
  return quit;
}

inline std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

inline HWND DialogNamed(const char* caption) { return FindWindowA("#32770", caption); }
inline std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
inline void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

inline std::string FileText(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return {bytes.begin(), bytes.end()};
}
inline bool WriteFileText(const std::string& path, const std::string& text) {
  return ReplaceFileAtomically(path, {text.begin(), text.end()});
}

// A folder of its own under the temporary folder, ending in a backslash.
inline std::string TempFolder(const char* name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

inline RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// The window's client area as it is on the screen, pixel by pixel, row by row.
inline std::vector<COLORREF> ClientPixels(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<size_t>(r.right) * r.bottom);
  HDC screen = GetDC(window), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, r.bottom, pixels.data(), &info, DIB_RGB_COLORS);
  for (COLORREF& p : pixels) p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));  // BGRX to COLORREF
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

// The pointer moved to a screen point as a mouse moves it: the system finds
// the window under it (hit-testing as it does for a user) and sends it the
// move when the thread next reads its messages.
inline void MovePointerTo(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

// A click on a dialog's button. Posted when the click opens a modal window:
// the step must not wait in it.
inline void Click(HWND dialog, int id, bool post = false) {
  const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
  const LPARAM button = reinterpret_cast<LPARAM>(GetDlgItem(dialog, id));
  post ? PostMessageA(dialog, WM_COMMAND, command, button) : SendMessageA(dialog, WM_COMMAND, command, button);
}

// As the user sets a picker: a new value, then the change notification.
inline void Pick(HWND dialog, int id, const SysTime& moment) {
  NMDATETIMECHANGE change{{GetDlgItem(dialog, id), static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)},
                          GDT_VALID, ToSYSTEMTIME(moment)};
  SendMessageA(change.nmhdr.hwndFrom, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
  SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

// Steps run one per timer tick while a modal loop (dialog box, message loop)
// runs; if the loop is still running after the steps and a grace period, the
// driver ends it with the fallback so a failing test cannot hang.
class ModalDriver {
 public:
  using Step = std::function<void()>;
  static void Run(std::vector<Step> steps, std::function<void()> fallback, std::function<void()> modal) {
    steps_ = std::move(steps);
    fallback_ = std::move(fallback);
    next_ = 0;
    graceTicks_ = 40;
    waitTicks_ = 150;
    timedOut_ = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, Tick);
    modal();
    KillTimer(nullptr, timer);
  }
  static bool TimedOut() { return timedOut_; }
  static bool AllStepsRan() { return next_ >= steps_.size(); }

 private:
  // A modal box is shown only once its loop finds the queue empty: a tick
  // that comes first (a slow machine made it in more than a tick) waits for
  // it, for nine seconds at most. Until it shows, the window it disabled, or
  // none, is the active one.
  static bool BoxShown() {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) && IsWindowEnabled(active);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (next_ < steps_.size()) {
      if (!BoxShown() && --waitTicks_ > 0) return;
      const size_t current = next_++;
      steps_[current]();
      return;
    }
    if (--graceTicks_ == 0) {
      timedOut_ = true;
      if (fallback_) fallback_();
    }
  }
  static inline std::vector<Step> steps_;
  static inline std::function<void()> fallback_;
  static inline size_t next_ = 0;
  static inline int graceTicks_ = 0;
  static inline int waitTicks_ = 0;
  static inline bool timedOut_ = false;
};

// Ends every dialog box of this thread, a nested one left open included.
inline BOOL CALLBACK EndDialogBox(HWND window, LPARAM) {
  char type[16] = {};
  GetClassNameA(window, type, sizeof type);
  if (std::strcmp(type, "#32770") == 0) EndDialog(window, 0);
  return TRUE;
}
inline void EndDialogs() { EnumThreadWindows(GetCurrentThreadId(), EndDialogBox, 0); }

// Runs `open`, which enters a modal loop, with `steps` one per tick; a dialog
// (titled `caption`) left open is ended, and the test fails.
inline void Drive(const char* caption, std::vector<ModalDriver::Step> steps, std::function<void()> open) {
  ModalDriver::Run(std::move(steps), EndDialogs, std::move(open));
  EXPECT_FALSE(ModalDriver::TimedOut()) << caption << " did not close";
  EXPECT_TRUE(ModalDriver::AllStepsRan()) << caption << " closed too early";
}

// The main window made from its template with seeded settings, shown.
class MainWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseProcessValues(GetModuleHandleA(nullptr)); }

  void SetUp() override {
    ResetSettingsInMemory();
    ClearStoredSettings();
  }

  void TearDown() override {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    Pump(20);
    window_ = nullptr;
    ClearStoredSettings();
    ResetSettingsInMemory();
    MainWindow = nullptr;
    DialogMessageTarget = nullptr;
    StatsClockSource = LocalTimeNow;
  }

  // The program's clock stands at `now` for the rest of the test, so that
  // what it shows can be worked out beforehand.
  static void HoldClockAt(const SysTime& now) {
    HeldNow = now;
    StatsClockSource = [] { return HeldNow; };
  }

  HWND Open(const Seed& seed = {}) {
    OpenHidden(seed);
    if (window_) ShowWindow(window_, SW_SHOW);
    Pump(100);
    return window_;
  }

  // As start-up leaves it before showing it: where the program put the
  // window, before a window manager has had its say.
  HWND OpenHidden(const Seed& seed = {}) {
    SeedSettings(seed);
    window_ = CreateMainWindow();
    EXPECT_NE(window_, nullptr);
    return window_;
  }

  void Command(int id) { SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  // The one view on show, or -1 when none or several are.
  int VisibleView() const {
    int shown = -1;
    for (int i = 0; i < ViewCount; ++i) {
      if (ViewWindows[i] && IsWindowVisible(ViewWindows[i])) {
        if (shown != -1) return -1;
        shown = i;
      }
    }
    return shown;
  }

  std::string Title() const { return WindowText(GetDlgItem(window_, 1001)); }

  HWND window_ = nullptr;
  static inline SysTime HeldNow{};
};

// The stats text of the default seed (20 a day, 5.00 a pack of 20, quit
// 15 January 2024 10:00, full dates with seconds) with the clock held at
// HeldClock, worked out by tests/stress/quitmath.py (Quitter's stats_text)
// and by hand: 56 days, 1,125 cigarettes (20 for each day, 5 for the 402
// minutes since 10:00), 5,625 minutes of life.
inline SysTime HeldClock() { return MakeDate(2024, 3, 11, 16, 42, 9); }
constexpr char HeldClockStatsText[] =
    "I have been quit for 1 Month, 3 Weeks, 4 Days, 6 hours, 42 minutes and 9 seconds (56 days). I have saved "
    "$281.38 by not smoking 1,125 cigarettes. I have saved 3 Days, 21 hours and 45 minutes of my life. My Quit "
    "Date: 1/15/2024";

}  // namespace shell_test
