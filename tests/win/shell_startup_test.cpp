// Start-up: the process-wide values, the single-instance gate and the whole
// run (window, message loop, exit code), driven from a timer.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "locale/formats.h"
#include "quitdetails/price_point_file.h"
#include "shell_fixture.h"
#include "util/text.h"
#include "win/app_state.h"

namespace {
using namespace shell_test;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettingsInMemory();
    ClearStoredSettings();
  }
  void TearDown() override {
    ClearStoredSettings();
    ResetSettingsInMemory();
    Pump(20);
  }
};
class StartupRun : public Startup {};

std::string ExecutableDirectory() {
  char path[1024] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  return PathDirectory(path);
}

TEST_F(Startup, FillsTheProcessWideValues) {
  DatePickerRange[0] = DatePickerRange[1] = SYSTEMTIME{9, 9, 9, 9, 9, 9, 9, 9};
  CustomColours[5] = 0;
  InitialiseProcessValues(GetModuleHandleA(nullptr));
  EXPECT_EQ(AppInstance, GetModuleHandleA(nullptr));
  const SYSTEMTIME& first = DatePickerRange[0];
  EXPECT_EQ(first.wYear, 1900);
  EXPECT_EQ(first.wMonth, 1);
  EXPECT_EQ(first.wDay, 1);
  const SYSTEMTIME& last = DatePickerRange[1];
  EXPECT_EQ(last.wYear, 2099);
  EXPECT_EQ(last.wMonth, 12);
  EXPECT_EQ(last.wDay, 31);
  for (const SYSTEMTIME& t : DatePickerRange) {
    EXPECT_EQ(t.wDayOfWeek, 0);
    EXPECT_EQ(t.wHour, 0);
    EXPECT_EQ(t.wMinute, 0);
    EXPECT_EQ(t.wSecond, 0);
    EXPECT_EQ(t.wMilliseconds, 0);
  }
  for (COLORREF colour : CustomColours) EXPECT_EQ(colour, RGB(255, 255, 255));
  EXPECT_EQ(ScrollBarWidth, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_FALSE(DatePicture.empty());
  EXPECT_FALSE(IntegerFormat.thousandSep.empty());
}

TEST_F(Startup, DataFilesLieBesideTheExecutableWhateverTheCurrentDirectory) {
  char previous[1024] = {};
  GetCurrentDirectoryA(sizeof(previous), previous);
  char temp[1024] = {};
  GetTempPathA(sizeof(temp), temp);
  ASSERT_TRUE(SetCurrentDirectoryA(temp));
  InitialiseProcessValues(GetModuleHandleA(nullptr));
  SetCurrentDirectoryA(previous);
  const std::string directory = ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '\\');
  EXPECT_EQ(PricePointFilePath, directory + "pp.dat");
  EXPECT_EQ(BuddyFilePath, directory + "anny.dat");
}

// Where the data files go for an executable: beside it in a folder that can
// be written, else in %APPDATA%\Fumora, also when its path is not known; with
// neither, nowhere: never in the current folder.
TEST_F(Startup, DataFolderIsNeverTheCurrentFolder) {
  char saved[1024] = {}, previous[1024] = {};
  const DWORD savedLength = GetEnvironmentVariableA("APPDATA", saved, sizeof saved);
  GetCurrentDirectoryA(sizeof previous, previous);
  const std::string beside = TempFolder("fumora_beside"), appData = TempFolder("fumora_appdata");
  ASSERT_TRUE(SetCurrentDirectoryA(beside.c_str()));
  const struct {
    std::string executable;
    bool appDataSet;
    std::string folder;
  } cases[] = {
      {beside + "Fumora.exe", true, beside},
      {"", true, appData + "Fumora\\"},
      {"Fumora.exe", true, appData + "Fumora\\"},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    SetEnvironmentVariableA("APPDATA", c.appDataSet ? appData.substr(0, appData.size() - 1).c_str() : nullptr);
    EXPECT_EQ(DataFolderFor(c.executable), c.folder) << c.executable;
  }
  // Without a folder the data files count as missing.
  std::vector<uint8_t> bytes;
  EXPECT_EQ(ReadDataFile("", bytes), FileRead::Missing);
  SetEnvironmentVariableA("APPDATA", savedLength ? saved : nullptr);
  SetCurrentDirectoryA(previous);
  RemoveDirectoryA((appData + "Fumora").c_str());
}

TEST_F(Startup, RegistersTheControlClassesTheWindowsUse) {
  InitialiseProcessValues(GetModuleHandleA(nullptr));
  for (const char* name : {DATETIMEPICK_CLASSA, HOTKEY_CLASSA, WC_LISTVIEWA, WC_HEADERA, WC_TABCONTROLA}) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetClassInfoExA(nullptr, name, &info)) << name;
  }
}

TEST_F(Startup, OnlyOneHolderOfTheInstanceMutex) {
  InstanceMutex.Reset();
  ASSERT_TRUE(TakeSingleInstanceMutex());
  HANDLE held = InstanceMutex.get();
  ASSERT_NE(held, nullptr);
  EXPECT_FALSE(TakeSingleInstanceMutex());
  EXPECT_EQ(InstanceMutex.get(), held);  // the refused attempt keeps nothing
  InstanceMutex.Reset();
  EXPECT_TRUE(TakeSingleInstanceMutex());
  InstanceMutex.Reset();
}

TEST_F(StartupRun, SecondCopyEndsAtOnceWithZeroAndNoWindow) {
  SeedSettings({});
  HANDLE first = CreateMutexA(nullptr, TRUE, InstanceMutexName);
  ASSERT_NE(first, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunFumora(GetModuleHandleA(nullptr)), 0);
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(FindWindowA("#32770", " Fumora v1.05b"), nullptr);
  EXPECT_FALSE(InstanceMutex);
  CloseHandle(first);
}

TEST_F(StartupRun, RunsTheWindowUntilExitAndReturnsZero) {
  SeedSettings({.startupView = 2});
  bool shownNormally = false;
  bool buddiesTakeKeys = false;
  int result = -1;
  ModalDriver::Run(
      {[&] {
         ASSERT_NE(MainWindow, nullptr);
         shownNormally = IsWindowVisible(MainWindow) && !IsIconic(MainWindow);
         buddiesTakeKeys = DialogMessageTarget == ViewWindows[BuddiesViewIndex];
         // Another copy now would be refused.
         HANDLE other = CreateMutexA(nullptr, TRUE, InstanceMutexName);
         EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
         CloseHandle(other);
       },
       [] { PostMessageA(MainWindow, WM_COMMAND, 10002, 0); }},
      [] { DestroyWindow(MainWindow); }, [&] { result = RunFumora(GetModuleHandleA(nullptr)); });
  EXPECT_FALSE(ModalDriver::TimedOut());
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(shownNormally);
  EXPECT_TRUE(buddiesTakeKeys);
  EXPECT_FALSE(InstanceMutex);
  HANDLE again = CreateMutexA(nullptr, TRUE, InstanceMutexName);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(again);
}

TEST_F(StartupRun, StartMinimisedShowsOnlyTheTrayIcon) {
  SeedSettings({.startMinimised = 1});
  bool hidden = false, inTray = false;
  ModalDriver::Run(
      {[&] {
         ASSERT_NE(MainWindow, nullptr);
         hidden = !IsWindowVisible(MainWindow);
         inTray = TrayIconShown;
       },
       [] { PostMessageA(MainWindow, WM_COMMAND, 10107, 0); }},
      [] { DestroyWindow(MainWindow); }, [] { RunFumora(GetModuleHandleA(nullptr)); });
  EXPECT_FALSE(ModalDriver::TimedOut());
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(inTray);
  EXPECT_FALSE(TrayIconShown);
}

// Without a completed setup the wizard comes first; closing it ends the run.
TEST_F(StartupRun, CancelledWizardEndsTheRunWithoutAMainWindow) {
  SeedSettings({});
  ClearStoredSettings();
  bool wizardShown = false;
  int result = -1;
  MainWindow = nullptr;
  ModalDriver::Run(
      {[&] {
         HWND wizard = GetActiveWindow();
         wizardShown = wizard != nullptr && MainWindow == nullptr;
         if (wizard) PostMessageA(wizard, WM_CLOSE, 0, 0);
       },
       [] {}},
      [] { PostMessageA(GetActiveWindow(), WM_CLOSE, 0, 0); },
      [&] { result = RunFumora(GetModuleHandleA(nullptr)); });
  EXPECT_FALSE(ModalDriver::TimedOut());
  EXPECT_TRUE(wizardShown);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(MainWindow, nullptr);
  EXPECT_EQ(FindWindowA("#32770", " Fumora v1.05b"), nullptr);
  InstanceMutex.Reset();
}

}  // namespace
