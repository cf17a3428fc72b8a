// The program's own save and load routines for the kill-while-saving stress
// (tests/stress/kill_while_saving.sh), on the data files in DIR.
//
//   save_stress init FILE DIR    writes the first list (FILE: pp.dat or anny.dat)
//   save_stress save FILE DIR    saves the two lists in turn until killed;
//                                DIR/FILE.saving appears once saving has begun
//   save_stress check FILE DIR   loads the file with the program's loader and
//                                prints which list it holds: exit 0 for the
//                                first, 1 for the second, 2 for anything else
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/startup.h"
#include "buddies/buddy_store.h"
#include "quitdetails/price_point_file.h"
#include "win/app_state.h"
#include "win/listview.h"

namespace {

// Two lists that differ in every record and in length: a file holding
// anything but one of them whole cannot pass for either.
std::vector<PricePoint> PriceList(int which) {
  std::vector<PricePoint> rows;
  const uint32_t count = which == 0 ? PricePointCapacity : 37;
  for (uint32_t i = 0; i < count; ++i)
    rows.push_back(which == 0 ? PricePoint{2450000 + 7 * i, 100 + i} : PricePoint{2460000 + 3 * i, 99000 - i});
  return rows;
}

void SavePrices(int which) { SavePricePoints(PriceList(which)); }

int LoadedPrices() {
  LoadPricePoints();
  for (int which : {0, 1}) {
    const std::vector<PricePoint> rows = PriceList(which);
    if (PricePoints.count == rows.size() &&
        std::memcmp(PricePoints.points.data(), rows.data(), rows.size() * sizeof(PricePoint)) == 0)
      return which;
  }
  return 2;
}

// The buddies live in the rows of a list control: one hidden list per buddy
// list, filled once, saved by the program's own routine.
HWND Host;

HWND MakeBuddyRows() {
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, Host, nullptr,
                              AppInstance, nullptr);
  for (int column = BuddyFlagColumn; column <= BuddyIdColumn; ++column) AddColumn(list, column, "", 60, 1);
  return list;
}

std::vector<BuddyEntry> BuddyListOf(int which) {
  std::vector<BuddyEntry> buddies;
  const int count = which == 0 ? 60 : 25;
  for (int i = 0; i < count; ++i) {
    char name[40];
    std::snprintf(name, sizeof(name), which == 0 ? "First buddy %02d" : "Second list, buddy %02d", i);
    buddies.push_back(BuddyEntry{MakeDate(static_cast<uint16_t>(1960 + i), static_cast<uint16_t>(1 + i % 12),
                                          static_cast<uint16_t>(1 + (i * 7 + which) % 28)),
                                 name});
  }
  return buddies;
}

// The rows as the loader leaves them, in name order: names and dates only.
std::vector<std::string> BuddyKeys(const std::vector<BuddyEntry>& buddies) {
  std::vector<std::string> keys;
  for (const BuddyEntry& buddy : buddies) {
    std::string key = buddy.name + "|";
    AppendCompactDate(buddy.date, key);
    keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

int WINAPI NoMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
  std::fprintf(stderr, "%s\n", text);
  return IDOK;
}

void SaveBuddyList(int which) {
  static HWND lists[2] = {};
  if (!lists[which]) {
    lists[which] = MakeBuddyRows();
    for (const BuddyEntry& buddy : BuddyListOf(which)) AppendBuddyRow(lists[which], buddy.date, buddy.name);
  }
  SaveBuddies(lists[which], nullptr);
}

int LoadedBuddies() {
  HWND list = MakeBuddyRows();
  LoadBuddies(list);
  const std::vector<std::string> loaded = BuddyKeys(BuddyEntries(list));
  DestroyWindow(list);
  for (int which : {0, 1})
    if (loaded == BuddyKeys(BuddyListOf(which))) return which;
  return 2;
}

struct DataFile {
  const char* name;
  std::string* path;
  void (*save)(int which);
  int (*loaded)();
};

const DataFile Files[] = {
    {"pp.dat", &PricePointFilePath, SavePrices, LoadedPrices},
    {"anny.dat", &BuddyFilePath, SaveBuddyList, LoadedBuddies},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: save_stress init|save|check FILE DIR\n");
    return 3;
  }
  const std::string mode = argv[1], name = argv[2], directory = std::string(argv[3]) + "\\";
  InitialiseProcessValues(GetModuleHandleA(nullptr));
  Host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, AppInstance, nullptr);
  BuddyMessageBox = NoMessageBox;
  for (const DataFile& file : Files) {
    if (name != file.name) continue;
    *file.path = directory + file.name;
    if (mode == "init") {
      file.save(0);
      return file.loaded() == 0 ? 0 : 2;
    }
    if (mode == "check") {
      const int which = file.loaded();
      std::printf("%s\n", which == 0 ? "first" : which == 1 ? "second" : "damaged");
      return which;
    }
    if (mode == "save") {
      const std::string marker = *file.path + ".saving";
      CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      for (int which = 1;; which ^= 1) file.save(which);
    }
  }
  std::fprintf(stderr, "unknown mode or file\n");
  return 3;
}
