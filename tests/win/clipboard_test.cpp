// The stats text on the real clipboard, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/savings.h"
#include "engine/stats_text.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "stats/clipboard.h"

namespace {

class ClipboardWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUpLocale();
    owner = CreateWindowExA(0, "STATIC", "clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    GeneralPrefs = DefaultGeneralPrefs();
    GeneralPrefs.fullDates = 0;
    GeneralPrefs.includeSeconds = 1;
    QuitPending = 0;
    QuitSpan = {0, 0, 1, 2, 3, 4, 5, 0};
    LifeSavedSpan = {};
    DaysQuit = 1234;
    CigarettesNotSmoked = 24680;
    MoneySaved = {12, 34};
  }
  void TearDown() override { DestroyWindow(owner); }

  static void SetTemplate(const std::string& text) {
    std::memset(GeneralPrefs.statsTemplate, 0, sizeof GeneralPrefs.statsTemplate);
    std::memcpy(GeneralPrefs.statsTemplate, text.data(), text.size());
  }

  // The CF_TEXT block as stored: its size and its bytes.
  static bool ReadClipboard(SIZE_T& size, std::string& bytes) {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    bool ok = false;
    if (data) {
      size = GlobalSize(data);
      const char* p = static_cast<const char*>(GlobalLock(data));
      if (p) {
        bytes.assign(p, size);
        GlobalUnlock(data);
        ok = true;
      }
    }
    CloseClipboard();
    return ok;
  }

  static void PutOnClipboard(HWND window, const char* text) {
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SIZE_T n = std::strlen(text) + 1;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(mem), text, n);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
  }

  void ExpectClipboardHolds(const std::string& expected) {
    SIZE_T size = 0;
    std::string bytes;
    ASSERT_TRUE(ReadClipboard(size, bytes));
    ASSERT_GE(size, expected.size() + 1);
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
    EXPECT_EQ(bytes[expected.size()], '\0');
    // Exactly one terminator: nothing but the zero fill after the text.
    EXPECT_EQ(std::strlen(bytes.c_str()), expected.size());
  }

  HWND owner = nullptr;
};

struct HolderArgs {
  HANDLE opened, release;
};

// Opens the clipboard on its own thread and keeps it open until released.
DWORD WINAPI HoldClipboardOpen(LPVOID param) {
  auto* args = static_cast<HolderArgs*>(param);
  BOOL ok = OpenClipboard(nullptr);
  SetEvent(args->opened);
  WaitForSingleObject(args->release, 10000);
  if (ok) CloseClipboard();
  return ok ? 0 : 1;
}

}  // namespace

TEST_F(ClipboardWin32, HoldsExactlyTheExpansion) {
  SetTemplate("Quit %D days, %C cigarettes, saved %M (%Q).");
  CopyStatsToClipboard(owner);
  ExpectClipboardHolds("Quit 1,234 days, 24,680 cigarettes, saved $12.34 (1W 2D 3h 4m 5s).");
  EXPECT_EQ(GetClipboardOwner(), owner);
}

TEST_F(ClipboardWin32, PreQuitTextWhateverTheTemplate) {
  SetTemplate("Quit %D days");
  QuitPending = 1;
  QuitSpan = {0, 0, 0, 0, 0, 1, 30, 0};
  GeneralPrefs.fullDates = 1;
  CopyStatsToClipboard(owner);
  ExpectClipboardHolds("I will quit in 1 minute and 30 seconds.");
}

TEST_F(ClipboardWin32, LongestTemplateIsCopiedInFull) {
  std::string text;
  for (int i = 0; i < 255; ++i) text += "%M";
  text += "%";
  SetTemplate(text);
  std::string expected;
  for (int i = 0; i < 255; ++i) expected += "$12.34";
  CopyStatsToClipboard(owner);
  ExpectClipboardHolds(expected);
}

TEST_F(ClipboardWin32, ReplacesWhatTheClipboardHeld) {
  PutOnClipboard(owner, "something much longer than the stats text that follows it");
  SetTemplate("%D");
  CopyStatsToClipboard(owner);
  ExpectClipboardHolds("1,234");
}

TEST_F(ClipboardWin32, ClipboardHeldOpenElsewhereKeepsItsContent) {
  PutOnClipboard(owner, "kept");
  // Another thread holds the clipboard open: the copy fails silently.
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HolderArgs args{opened, release};
  HANDLE thread = CreateThread(nullptr, 0, HoldClipboardOpen,
      &args, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(opened, 10000);
  SetTemplate("%D");
  CopyStatsToClipboard(owner);
  SetEvent(release);
  WaitForSingleObject(thread, 10000);
  DWORD code = 1;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  CloseHandle(opened);
  CloseHandle(release);
  ASSERT_EQ(code, 0u) << "the helper thread could not open the clipboard";
  ExpectClipboardHolds("kept");
}

// The system refuses the new text after the clipboard was emptied (it is out
// of memory): the text it held is put back.
int Refusals;
HANDLE WINAPI RefuseOnce(UINT format, HANDLE data) {
  return Refusals-- > 0 ? nullptr : SetClipboardData(format, data);
}

TEST_F(ClipboardWin32, RefusedTextLeavesTheClipboardAsItWas) {
  PutOnClipboard(owner, "kept");
  SetTemplate("%D");
  Refusals = 1;
  PutClipboardData = RefuseOnce;
  CopyStatsToClipboard(owner);
  PutClipboardData = SetClipboardData;
  ExpectClipboardHolds("kept");
}
