#include "app/startup.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "app/keyboard_hook.h"
#include "app/main_window.h"
#include "engine/calendar.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "quitdetails/price_point_file.h"
#include "settings/first_run_wizard.h"
#include "settings/registry_store.h"
#include "util/systime_win32.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/file_io.h"
#include "win/scoped.h"
#include "win/system_library.h"

namespace {
// The current folder leaves the DLL search (where the system has the call:
// XP SP1 and later); system DLLs are loaded by full path anyway.
void NarrowDllSearch() {
  using SetDllDirectoryFunction = BOOL WINAPI(LPCSTR);
  if (auto* narrow = SystemFunction<SetDllDirectoryFunction>(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA"))
    narrow("");
}

void RegisterControlClasses() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&classes);
  // The list views, their headers and the preferences' tab control.
  INITCOMMONCONTROLSEX more{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&more);
}

void FillDatePickerRange() {
  DatePickerRange[0] = ToSYSTEMTIME(MakeDate(DatePickerFirstYear, 1, 1));
  DatePickerRange[1] = ToSYSTEMTIME(MakeDate(DatePickerLastYear, 12, 31));
  for (COLORREF& colour : CustomColours) colour = RGB(255, 255, 255);
}
}  // namespace

// The data files lie beside the executable, wherever the current directory
// is: kept there whenever they are there or the folder can be written
// (portable use). A program folder the user cannot write to (Program Files)
// that holds neither file puts them in the user's application data folder, as
// does an executable whose path is not known.
std::string DataFolderFor(std::string_view executable) {
  const std::string beside = PathDirectory(executable);
  if (!beside.empty() && (FileIsThere(beside + "pp.dat") || FileIsThere(beside + "anny.dat") || FolderIsWritable(beside)))
    return beside;
  char appData[1024] = {};
  const DWORD appLength = GetEnvironmentVariableA("APPDATA", appData, sizeof(appData));
  if (appLength == 0 || appLength >= sizeof(appData)) return beside;
  const std::string own = std::string(appData, appLength) + "\\Fumora";
  CreateDirectoryA(own.c_str(), nullptr);  // there already, most starts
  return own + "\\";
}

namespace {
void FormDataFilePaths() {
  // Longer than MAX_PATH so that a deep folder is not cut short; a path that
  // is cut short, or none, is not known.
  char path[1024] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  const std::string folder = DataFolderFor(std::string_view(path, length < sizeof(path) ? length : 0));
  if (folder.empty()) return;  // no data files then: never in the current folder
  PricePointFilePath = folder + "pp.dat";
  BuddyFilePath = folder + "anny.dat";
}

// The captions of templates 1000 and 7000.
constexpr char MainWindowTitle[] = " Fumora v1.05b";
constexpr char FirstRunWizardTitle[] = " Fumora - First Run";

// A second start brings the running copy forward instead of doing nothing
// the user can see: its main window (from the notification area too), or its
// first-run wizard.
void ShowRunningCopy() {
  if (HWND wizard = FindWindowA(DialogClassName, FirstRunWizardTitle)) {
    SetForegroundWindow(wizard);
    return;
  }
  HWND running = FindWindowA(DialogClassName, MainWindowTitle);
  if (!running) return;
  // Only the program the user has just started may take the foreground: it
  // passes that right on.
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(running, RegisterWindowMessageA(ShowRunningMessageName), 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
}

void RunMessageLoop(MSG& message) {
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchLoopMessage(message);
}

// Whether the dialog's search for a mnemonic, which walks its visible and
// enabled windows round from the one the key is for, comes back to it.
bool ReachedByMnemonicSearch(HWND dialog, HWND control) {
  for (HWND w = GetParent(control); w && w != dialog; w = GetParent(w)) {
    if ((GetWindowLongA(w, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE) return false;
  }
  return true;
}
}  // namespace

void DispatchLoopMessage(MSG& message) {
  // A key for a window inside a hidden or disabled one would send that search
  // round for ever: such a key is handled as outside a dialog.
  const bool charKey = message.message == WM_CHAR || message.message == WM_SYSCHAR;
  if (!charKey || ReachedByMnemonicSearch(DialogMessageTarget, message.hwnd)) {
    if (IsDialogMessageA(DialogMessageTarget, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void InitialiseProcessValues(HINSTANCE instance) {
  AppInstance = instance;
  NarrowDllSearch();
  RegisterControlClasses();
  FillDatePickerRange();
  SetUpLocale();
  FormDataFilePaths();
  ScrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  BuildDatePicture();
}

bool TakeSingleInstanceMutex() {
  ScopedKernelHandle mutex(CreateMutexA(nullptr, TRUE, InstanceMutexName));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return false;
  InstanceMutex = std::move(mutex);
  return true;
}

int RunFumora(HINSTANCE instance) {
  InitialiseProcessValues(instance);
  // A second copy shows the first and ends.
  if (!TakeSingleInstanceMutex()) {
    ShowRunningCopy();
    return 0;
  }
  if (!IsSetupComplete() && RunFirstRunWizard(nullptr) == 1) {
    InstanceMutex.Reset();
    return 0;
  }

  InstallKeyboardHook();
  HWND window = CreateMainWindow();
  // Without its window the program could only wait, unseen, for ever.
  if (!window) {
    InstanceMutex.Reset();
    return 0;
  }
  MainWindow = window;
  // The start-up view may have made the Buddies view the target already.
  if (!DialogMessageTarget) DialogMessageTarget = window;
  ShowWindow(window, GeneralPrefs.startMinimised == 1 ? SW_MINIMIZE : SW_SHOW);

  MSG message{};
  RunMessageLoop(message);
  return static_cast<int>(message.wParam);
}
