// What the stress scripts (soak.sh, monkey.py) ask of a running Fumora.exe,
// from a second process in the same Wine prefix: its windows and their texts,
// the rows of its lists, its GDI, USER and kernel handle counts, whether it
// waits for input, and whether its data files and registry values are sound.
//
//   stress_probe serve           answers commands read from stdin, one a line;
//                                each answer ends with a line holding "."
//   stress_probe COMMAND [ARG]   answers one command; exit 1 when it found a fault
//
// Commands (texts are the program's own ANSI bytes, fields tab-separated):
//   clock                 this process's GetLocalTime and GetTickCount
//   timer MS N            real milliseconds (QueryPerformanceCounter) that
//                         N ticks of a MS ms thread timer take
//   pid                   Fumora.exe's Windows process id (0: not running)
//   windows               Fumora's top-level windows: hwnd, visible, enabled,
//                         owner, class, title, screen rectangle; then the
//                         foreground window, "menu 1 OWNER" while Fumora
//                         tracks a menu (a pop-up, or the menu bar without
//                         one), and "crash N" for the windows of Wine's crash
//                         dialog (winedbg's "Program Error")
//   menus                 Fumora's pop-up menus (the tray's, the menu bar's
//                         and the main window's system menu) as this Wine
//                         lays them out, shown here for a moment: "menu NAME
//                         WIDTH,HEIGHT", then "item ENDS LEFT,TOP,WIDTH,HEIGHT
//                         TEXT" for each item but separators, relative to the
//                         menu's window; ENDS is 1 for the items that end
//                         Fumora (Exit, the tray's Exit, Close); "bad" for
//                         a menu that did not show
//   controls HWND         the child windows of HWND: hwnd, id, class,
//                         visible, enabled, screen rectangle, text
//   hit HWND X Y          the hit-test code of screen point X,Y in HWND
//                         (WM_NCHITTEST: 20 the close button, 3 the system menu)
//   stats                 the statistics view's values and the title line
//   list ID               the rows of the list control ID of the main window
//   resources             GDI objects, windows (Wine counts no other USER
//                         objects for another process) and kernel handles
//   idle MS               whether Fumora waits for input within MS ms
//   files DIR             anny.dat and pp.dat in DIR read by the program's
//                         own decoders: "bad" unless every byte is a whole record
//   registry              every value of HKCU\Software\Fumora\Details (and the
//                         Run value): "bad" unless its type and size are as stored
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/buddy_file.h"
#include "formats/price_points.h"
#include "resource.h"

namespace {

// Counts the faults an answer found, for the exit code of a one-off command.
int Faults;

std::string Hex(const void* handle) {
  char text[24];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

HWND ParseWindow(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text.c_str(), nullptr, 16)));
}

// A window of another process answers within this time, or counts as hung.
constexpr UINT AnswerMs = 3000;

std::string WindowText(HWND window) {
  char text[1024] = "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                           AnswerMs, &length))
    return "<no answer>";
  text[sizeof(text) - 1] = '\0';
  // One line per window: line breaks of multi-line controls are shown escaped.
  std::string line;
  for (const char* c = text; *c; ++c) line += *c == '\r' ? std::string("\\r") : *c == '\n' ? std::string("\\n") : std::string(1, *c);
  return line;
}

std::string ClassOf(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string RectText(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  char text[64];
  std::snprintf(text, sizeof(text), "%ld,%ld,%ld,%ld", area.left, area.top, area.right - area.left,
                area.bottom - area.top);
  return text;
}

// ---- processes ----

DWORD ProcessNamed(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  DWORD found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

DWORD FumoraProcess() { return ProcessNamed("Fumora.exe"); }

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

struct WindowSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  if (ProcessOf(window) == search->process) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<WindowSearch*>(data)->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD process) {
  WindowSearch search{process, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  WindowSearch search{0, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND MainWindow(DWORD process) {
  for (HWND window : TopWindowsOf(process)) {
    char title[64] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (std::strcmp(title, " Fumora v1.05b") == 0 && ClassOf(window) == "#32770") return window;
  }
  return nullptr;
}

// The descendant of the main window with control id `id` and class `type`.
HWND MainControl(int id, const char* type) {
  HWND main = MainWindow(FumoraProcess());
  if (!main) return nullptr;
  for (HWND child : ChildrenOf(main))
    if (GetDlgCtrlID(child) == id && lstrcmpiA(ClassOf(child).c_str(), type) == 0) return child;
  return nullptr;
}

// ---- commands ----

void Clock(std::ostream& out) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[80];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u.%03u\t%lu", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetTickCount());
  out << text << "\n";
}

int TimerTicks;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++TimerTicks; }

void Timer(std::ostream& out, const std::string& argument) {
  UINT period = 450, wanted = 10;
  std::sscanf(argument.c_str(), "%u %u", &period, &wanted);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  TimerTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, period, CountTick);
  MSG message;
  while (TimerTicks < static_cast<int>(wanted) && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  KillTimer(nullptr, timer);
  QueryPerformanceCounter(&end);
  out << (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart << " ms for " << wanted << " ticks of " << period
      << " ms\n";
}

// Wine's crash dialog belongs to winedbg; its title is "Program Error".
int CrashDialogs() {
  WindowSearch all{0, {}};
  EnumWindows(CollectChild, reinterpret_cast<LPARAM>(&all));
  int count = 0;
  const DWORD debugger = ProcessNamed("winedbg.exe");
  for (HWND window : all.found) {
    char title[64] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (IsWindowVisible(window) && (std::strstr(title, "Program Error") || (debugger && ProcessOf(window) == debugger)))
      ++count;
  }
  return count;
}

void Windows(std::ostream& out) {
  for (HWND window : TopWindowsOf(FumoraProcess())) {
    char title[256] = "";
    GetWindowTextA(window, title, sizeof(title));
    out << Hex(window) << '\t' << (IsWindowVisible(window) ? 1 : 0) << '\t' << (IsWindowEnabled(window) ? 1 : 0)
        << '\t' << Hex(GetWindow(window, GW_OWNER)) << '\t' << ClassOf(window) << '\t' << title << '\t'
        << RectText(window) << '\n';
  }
  HWND front = GetForegroundWindow();
  out << "foreground\t" << Hex(front) << '\t' << ProcessOf(front) << '\t' << FumoraProcess() << '\n';
  const std::vector<HWND> tops = TopWindowsOf(FumoraProcess());
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  if (!tops.empty() && GetGUIThreadInfo(GetWindowThreadProcessId(tops.front(), nullptr), &thread))
    out << "menu\t" << ((thread.flags & GUI_INMENUMODE) ? 1 : 0) << '\t' << Hex(thread.hwndMenuOwner) << '\n';
  out << "crash\t" << CrashDialogs() << '\n';
}

void Controls(std::ostream& out, HWND parent) {
  for (HWND child : ChildrenOf(parent))
    out << Hex(child) << '\t' << GetDlgCtrlID(child) << '\t' << ClassOf(child) << '\t'
        << (IsWindowVisible(child) ? 1 : 0) << '\t' << (IsWindowEnabled(child) ? 1 : 0) << '\t' << RectText(child)
        << '\t' << WindowText(child) << '\n';
}

void Stats(std::ostream& out) {
  HWND main = MainWindow(FumoraProcess());
  if (!main) {
    out << "no main window\n";
    return;
  }
  HWND days = MainControl(IDC_STATS_DAYS, "Static");
  HWND view = days ? GetParent(days) : nullptr;
  HWND quitTime = nullptr;  // the one value made at run time, without an id
  if (view)
    for (HWND child : ChildrenOf(view))
      if (GetDlgCtrlID(child) == 0 && ClassOf(child) == "Static") quitTime = child;
  const struct {
    const char* name;
    HWND window;
  } values[] = {{"quit", quitTime},
                {"days", days},
                {"cigarettes", MainControl(IDC_STATS_CIGS, "Static")},
                {"money", MainControl(IDC_STATS_MONEY, "Static")},
                {"life", MainControl(IDC_STATS_LIFE, "Static")},
                {"title", GetDlgItem(main, IDC_TITLE_LABEL)}};
  for (const auto& value : values) out << value.name << '\t' << (value.window ? WindowText(value.window) : "<none>") << '\n';
}

// A block of memory in the other process, for messages that take pointers.
class RemoteMemory {
 public:
  RemoteMemory(DWORD process, SIZE_T size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process)) {
    if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  char* at() const { return static_cast<char*>(at_); }
  bool Write(const void* at, const void* data, SIZE_T size) const {
    return WriteProcessMemory(process_, const_cast<void*>(at), data, size, nullptr) != FALSE;
  }
  bool Read(const void* at, void* data, SIZE_T size) const {
    return ReadProcessMemory(process_, at, data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  void* at_ = nullptr;
};

void ListRows(std::ostream& out, int id) {
  HWND list = MainControl(id, WC_LISTVIEWA);
  if (!list) {
    out << "no list " << id << "\n";
    return;
  }
  DWORD_PTR rows = 0, header = 0, columns = 0;
  SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, AnswerMs, &rows);
  SendMessageTimeoutA(list, LVM_GETHEADER, 0, 0, SMTO_ABORTIFHUNG, AnswerMs, &header);
  if (header)
    SendMessageTimeoutA(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, AnswerMs, &columns);
  constexpr int TextRoom = 512;
  RemoteMemory remote(FumoraProcess(), sizeof(LVITEMA) + TextRoom);
  if (!remote.at()) {
    out << "no access to the process\n";
    return;
  }
  out << "rows\t" << rows << '\n';
  for (DWORD_PTR row = 0; row < rows; ++row) {
    std::string line;
    for (DWORD_PTR column = 0; column < columns; ++column) {
      LVITEMA item{};
      item.iSubItem = static_cast<int>(column);
      item.pszText = remote.at() + sizeof(LVITEMA);
      item.cchTextMax = TextRoom;
      char text[TextRoom] = "";
      DWORD_PTR length = 0;
      if (remote.Write(remote.at(), &item, sizeof(item)) &&
          SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.at()), SMTO_ABORTIFHUNG,
                              AnswerMs, &length))
        remote.Read(item.pszText, text, TextRoom);
      text[TextRoom - 1] = '\0';
      line += (column ? "\t" : "") + std::string(text);
    }
    out << line << '\n';
  }
}

// Wine answers GetGuiResources and GetProcessHandleCount with nothing, but
// it keeps the GDI handle table where Windows does (the PEB's
// GdiSharedHandleTable: 65536 entries of 24 bytes, the type byte at 14, 0
// when free, bit 7 for a stock object), and it lists every process's kernel
// handles (SystemHandleInformation).
constexpr size_t GdiEntries = 0x10000, GdiEntrySize = 24, GdiTypeByte = 14;
#ifdef _WIN64
constexpr size_t PebGdiTable = 0xF8;
#else
constexpr size_t PebGdiTable = 0x94;
#endif

long GdiObjects(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0) return -1;
  void* table = nullptr;
  if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + PebGdiTable, &table, sizeof(table),
                         nullptr) ||
      !table)
    return -1;
  std::vector<unsigned char> entries(GdiEntries * GdiEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return -1;
  long count = 0;
  for (size_t i = 0; i < GdiEntries; ++i) {
    const unsigned char type = entries[i * GdiEntrySize + GdiTypeByte];
    if (type != 0 && !(type & 0x80)) ++count;
  }
  return count;
}

long KernelHandles(DWORD process) {
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                            static_cast<ULONG>(buffer.size()), &length)) ==
             static_cast<NTSTATUS>(0xC0000004L) &&
         buffer.size() < (64u << 20))
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* info = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < info->Count; ++i)
    if (info->Handle[i].OwnerPid == process) ++count;
  return count;
}

void Resources(std::ostream& out) {
  const DWORD process = FumoraProcess();
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
  if (!handle) {
    out << "no process\n";
    return;
  }
  const long gdi = GdiObjects(handle);
  CloseHandle(handle);
  size_t windows = 0;
  for (HWND top : TopWindowsOf(process)) windows += 1 + ChildrenOf(top).size();
  out << "gdi\t" << gdi << "\nwindows\t" << windows << "\nhandles\t" << KernelHandles(process) << '\n';
}

void Idle(std::ostream& out, DWORD ms) {
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, FumoraProcess());
  if (!handle) {
    out << "no process\n";
    return;
  }
  const DWORD waited = WaitForInputIdle(handle, ms);
  CloseHandle(handle);
  out << (waited == 0 ? "idle" : waited == WAIT_TIMEOUT ? "busy" : "failed") << '\n';
}

std::vector<uint8_t> FileBytes(const std::string& path, bool& present) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  present = file != nullptr;
  if (!file) return bytes;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return bytes;
}

void Bad(std::ostream& out, const std::string& what) {
  out << "bad\t" << what << '\n';
  ++Faults;
}

// Both files as the program writes them: every byte part of a whole record.
void Files(std::ostream& out, const std::string& directory) {
  bool present = false;
  const std::vector<uint8_t> buddies = FileBytes(directory + "\\anny.dat", present);
  if (present) {
    const DecodedBuddyFile file = DecodeBuddyFile(buddies);
    out << "anny.dat\t" << buddies.size() << " bytes\t" << file.records.size() << " buddies\n";
    if (file.Lossy()) Bad(out, "anny.dat: " + std::to_string(file.skipped) + " records skipped, " +
                                   std::to_string(file.namesCut) + " names cut");
    if (buddies.empty() || buddies.back() != BuddyFileEnd) Bad(out, "anny.dat does not end with 0x1C");
    for (const BuddyRecord& buddy : file.records) {
      char date[16];
      std::snprintf(date, sizeof(date), "%04u%02u%02u", buddy.date.wYear, buddy.date.wMonth, buddy.date.wDay);
      out << "buddy\t" << date << '\t' << buddy.name << '\n';
    }
  }
  const std::vector<uint8_t> prices = FileBytes(directory + "\\pp.dat", present);
  if (present) {
    PricePointList list{};
    DecodePricePoints(prices, list);
    out << "pp.dat\t" << prices.size() << " bytes\t" << list.count << " price points\n";
    if (prices.size() % sizeof(PricePoint) != 0 || prices.size() / sizeof(PricePoint) != list.count)
      Bad(out, "pp.dat holds " + std::to_string(prices.size()) + " bytes, not whole records the reader keeps");
    for (uint32_t i = 0; i < list.count; ++i) {
      out << "price\t" << list.points[i].Day << '\t' << list.points[i].Price << '\n';
      if (i > 0 && list.points[i].Day < list.points[i - 1].Day) Bad(out, "pp.dat out of date order");
    }
  }
}

// The values as the program stores them: name, type, and the size (0 for a
// text, whose size is its length and terminator).
struct StoredValue {
  const char* name;
  DWORD type;
  DWORD size;
};
constexpr StoredValue StoredValues[] = {
    {"FirstRun", REG_DWORD, 4}, {"QuitName", REG_SZ, 0},      {"NumCigs", REG_DWORD, 4},
    {"NumPack", REG_DWORD, 4},  {"Price", REG_DWORD, 4},      {"QuitDate", REG_BINARY, 16},
    {"AppColors", REG_BINARY, 28}, {"GenPrefs", REG_BINARY, 1052}, {"HKEnabled", REG_DWORD, 4},
    {"AppHKey", REG_DWORD, 4},  {"LastPosX", REG_DWORD, 4},   {"LastPosY", REG_DWORD, 4},
};

void CheckValue(std::ostream& out, const char* name, DWORD type, const std::vector<char>& data,
                const StoredValue* rule) {
  out << "value\t" << name << '\t' << type << '\t' << data.size() << '\n';
  if (!rule) return Bad(out, std::string(name) + " is no value the program stores");
  if (type != rule->type) return Bad(out, std::string(name) + " has type " + std::to_string(type));
  const size_t expected = rule->size ? rule->size : std::strlen(data.data()) + 1;
  if (data.size() != expected || (!rule->size && data.size() > 128))
    Bad(out, std::string(name) + " holds " + std::to_string(data.size()) + " bytes, not " + std::to_string(expected));
}

void CheckKey(std::ostream& out, const char* path, bool runKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    if (!runKey) out << "no key\n";
    return;
  }
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameSize = sizeof(name), type = 0, size = 0;
    if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<char> data(size + 1, '\0');  // room for a terminator the text may lack
    DWORD read = size;
    nameSize = sizeof(name);
    if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read) !=
        ERROR_SUCCESS)
      break;
    data.resize(read);
    data.push_back('\0');
    data.pop_back();  // keeps the terminator readable past the end for strlen
    if (runKey) {
      if (std::strcmp(name, "Fumora") != 0) continue;
      const StoredValue rule{"Fumora", REG_SZ, 0};
      CheckValue(out, name, type, data, &rule);
      if (!std::strstr(data.data(), "Fumora.exe")) Bad(out, "the Run value names no Fumora.exe");
      continue;
    }
    const StoredValue* rule = nullptr;
    for (const StoredValue& value : StoredValues)
      if (std::strcmp(value.name, name) == 0) rule = &value;
    CheckValue(out, name, type, data, rule);
  }
  RegCloseKey(key);
}

void Registry(std::ostream& out) {
  CheckKey(out, "Software\\Fumora\\Details", false);
  CheckKey(out, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true);
}

// A pop-up menu of Fumora's is a window of another process whose items no
// call reaches from here (Wine keeps a menu in its own process): the same
// menus, shown here for a moment, are laid out alike. A timer reads the
// layout from inside the menu's own loop, once its window is shown.
struct MenuMeasure {
  HMENU menu;
  std::string layout;
};
MenuMeasure Measured;

BOOL CALLBACK FindShownMenu(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && ClassOf(window) == "#32768") *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

void CALLBACK MeasureShownMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND shown = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownMenu, reinterpret_cast<LPARAM>(&shown));
  RECT frame{};
  if (shown && GetWindowRect(shown, &frame)) {
    std::ostringstream layout;
    layout << frame.right - frame.left << ',' << frame.bottom - frame.top << '\n';
    for (int i = 0; i < GetMenuItemCount(Measured.menu); ++i) {
      if (GetMenuState(Measured.menu, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
      const UINT id = GetMenuItemID(Measured.menu, i);
      RECT item{};
      char text[128] = "";
      GetMenuItemRect(nullptr, Measured.menu, i, &item);
      GetMenuStringA(Measured.menu, i, text, sizeof(text), MF_BYPOSITION);
      layout << "item\t" << (id == IDM_EXIT || id == IDM_TRAY_EXIT || id == SC_CLOSE ? 1 : 0) << '\t'
             << item.left - frame.left << ',' << item.top - frame.top << ',' << item.right - item.left << ','
             << item.bottom - item.top << '\t' << text << '\n';
    }
    Measured.layout = layout.str();
  }
  EndMenu();
}

void MeasureMenu(std::ostream& out, const char* name, HMENU menu, HWND owner) {
  Measured = {menu, {}};
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, MeasureShownMenu);
  TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, owner, nullptr);
  KillTimer(nullptr, timer);  // still there when the menu did not show
  if (Measured.layout.empty())
    Bad(out, std::string("the ") + name + " menu did not show");
  else
    out << "menu\t" << name << '\t' << Measured.layout;
}

void Menus(std::ostream& out) {
  HMODULE fumora = LoadLibraryExA("Fumora.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  // The owner has the main window's frame, so its system menu is the same.
  HWND owner = CreateWindowExA(0, "Static", "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 100,
                               100, nullptr, nullptr, nullptr, nullptr);
  HMENU tray = LoadMenuA(fumora, MAKEINTRESOURCEA(IDR_TRAY_MENU));
  HMENU bar = LoadMenuA(fumora, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  if (!fumora || !owner || !tray || !bar) {
    Bad(out, "no menus of Fumora.exe here");
  } else {
    MeasureMenu(out, "tray", GetSubMenu(tray, 0), owner);
    const char* names[] = {"file", "edit", "view", "help"};
    for (int i = 0; i < 4; ++i) MeasureMenu(out, names[i], GetSubMenu(bar, i), owner);
    MeasureMenu(out, "system", GetSystemMenu(owner, FALSE), owner);
  }
  if (tray) DestroyMenu(tray);
  if (bar) DestroyMenu(bar);
  if (owner) DestroyWindow(owner);
  if (fumora) FreeLibrary(fumora);
}

void HitTest(std::ostream& out, const std::string& argument) {
  std::istringstream words(argument);
  std::string window;
  int x = 0, y = 0;
  words >> window >> x >> y;
  DWORD_PTR code = 0;
  SendMessageTimeoutA(ParseWindow(window), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, AnswerMs, &code);
  out << static_cast<long>(static_cast<LRESULT>(code)) << '\n';
}

// Runs one command line; false for an unknown command.
bool Answer(const std::string& line, std::ostream& out) {
  std::istringstream words(line);
  std::string command, argument;
  words >> command;
  std::getline(words >> std::ws, argument);
  if (command == "clock") Clock(out);
  else if (command == "timer") Timer(out, argument);
  else if (command == "pid") out << FumoraProcess() << '\n';
  else if (command == "windows") Windows(out);
  else if (command == "controls") Controls(out, ParseWindow(argument));
  else if (command == "hit") HitTest(out, argument);
  else if (command == "menus") Menus(out);
  else if (command == "stats") Stats(out);
  else if (command == "list") ListRows(out, std::atoi(argument.c_str()));
  else if (command == "resources") Resources(out);
  else if (command == "idle") Idle(out, static_cast<DWORD>(std::strtoul(argument.c_str(), nullptr, 10)));
  else if (command == "files") Files(out, argument);
  else if (command == "registry") Registry(out);
  else return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "serve") {
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::ostringstream out;
      if (!Answer(line, out)) out << "unknown command\n";
      std::cout << out.str() << ".\n" << std::flush;
    }
    return 0;
  }
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  if (!Answer(line, std::cout)) {
    std::fprintf(stderr, "usage: stress_probe serve | COMMAND [ARGUMENT] (see the file's head)\n");
    return 2;
  }
  return Faults ? 1 : 0;
}
