#include "buddies/buddy_store.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/savings.h"
#include "formats/buddy_file.h"
#include "util/text.h"
#include "win/app_state.h"
#include "win/file_io.h"
#include "win/listview.h"

uint32_t NextBuddyId;
BuddyMessageFunction BuddyMessageBox = MessageBoxA;

namespace {
// Where anny.dat goes before it is replaced when it held something the list
// could not keep (named to the user beforehand); cleared by the backup.
std::string BackupFile;
// What was lost on loading: the file unread, or records dropped, or names cut.
bool FileUnread, NoticeGiven;
std::size_t RecordsSkipped, NamesCut;

std::string Counted(std::size_t count, const char* one, const char* many) {
  return FormatDecimal(static_cast<int32_t>(count)) + (count == 1 ? one : many);
}

bool BackUpIfNeeded(HWND owner) {
  if (BackupFile.empty()) return true;
  if (!CopyAside(BuddyFilePath, BackupFile)) {
    NoticeGiven = true;  // this box says it all
    const std::string text = BuddyFilePath + " could not be read in full and could not be copied to " + BackupFile +
                             ", so it has not been replaced. Your change is shown but not saved.";
    BuddyMessageBox(owner, text.c_str(), "Fumora", MB_OK | MB_ICONERROR);
    return false;
  }
  TellBuddyFileNotice(owner);
  BackupFile.clear();
  return true;
}

std::string Cell(HWND list, int row, int column) { return CellText(list, row, column, BuddyCellCapacity); }

void TellBuddyChange(const BuddyChange& change) {
  if (MainWindow) SendMessageA(MainWindow, BuddyChangedMessage, 0, reinterpret_cast<LPARAM>(&change));
}
}  // namespace

void TellBuddyAdded(const BuddyEntry& buddy) { TellBuddyChange({BuddyChange::Added, buddy.id, &buddy, nullptr}); }
void TellBuddyRemoved(uint32_t id) { TellBuddyChange({BuddyChange::Removed, id, nullptr, nullptr}); }
void TellBuddyRenamed(uint32_t id, const std::string& name) {
  TellBuddyChange({BuddyChange::Renamed, id, nullptr, &name});
}

int UserTextOrder(const char* a, const char* b) { return lstrcmpA(a, b); }

int LoadBuddies(HWND list) {
  std::vector<uint8_t> bytes;
  const FileRead read = ReadDataFile(BuddyFilePath, bytes);
  BackupFile.clear();
  FileUnread = NoticeGiven = false;
  RecordsSkipped = NamesCut = 0;
  if (read == FileRead::Missing) return 0;
  const DecodedBuddyFile file = DecodeBuddyFile(bytes);
  FileUnread = read == FileRead::Unread;
  RecordsSkipped = file.skipped;
  NamesCut = file.namesCut;
  if (FileUnread || file.Lossy()) BackupFile = FreeBackupPath(BuddyFilePath);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (const BuddyRecord& buddy : file.records) AppendBuddyRow(list, buddy.date, buddy.name);
  SortBuddies(list, SortByName);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  return RowCount(list);
}

std::string TakeBuddyFileNotice() {
  if (BackupFile.empty() || NoticeGiven) return {};
  NoticeGiven = true;
  std::string what;
  if (FileUnread) {
    what = " could not be read, so no buddies have been loaded.";
  } else {
    std::string lost;
    if (RecordsSkipped)
      lost = Counted(RecordsSkipped, " buddy that could not be read has", " buddies that could not be read have") +
             " not been loaded";
    if (RecordsSkipped && NamesCut) lost += ", and ";
    if (NamesCut) lost += Counted(NamesCut, " name has", " names have") + " been cut short";
    what = " was not loaded whole: " + lost + ".";
  }
  return BuddyFilePath + what + " Before a change to the buddies is saved, the file is copied to " + BackupFile + ".";
}

void TellBuddyFileNotice(HWND owner) {
  if (const std::string notice = TakeBuddyFileNotice(); !notice.empty())
    BuddyMessageBox(owner, notice.c_str(), "Fumora", MB_OK | MB_ICONWARNING);
}

bool TellBuddyFileOnShow(HWND view, UINT message, WPARAM wParam) {
  constexpr UINT TellBuddyFileMessage = WM_APP + 2;
  if (message == WM_SHOWWINDOW && wParam) PostMessageA(view, TellBuddyFileMessage, 0, 0);
  if (message != TellBuddyFileMessage) return false;
  if (IsWindowVisible(view)) TellBuddyFileNotice(view);  // not for a view hidden again after its creation
  return true;
}

bool SaveBuddies(HWND list, HWND owner) {
  constexpr int columns[] = {BuddyCompactColumn, BuddyNameColumn};
  const std::vector<std::string> cells = RowCells(list, columns, BuddyCellCapacity);
  std::vector<BuddyRecord> records;
  for (std::size_t i = 0; i + 2 <= cells.size(); i += 2)
    records.push_back(BuddyRecord{ParseCompactDate(cells[i]), cells[i + 1]});
  if (!BackUpIfNeeded(owner)) return false;
  if (ReplaceFileAtomically(BuddyFilePath, EncodeBuddyFile(records))) return true;
  const std::string text = "The buddies could not be saved to " + BuddyFilePath + ". Your change is shown but not saved.";
  BuddyMessageBox(owner, text.c_str(), "Fumora", MB_OK | MB_ICONERROR);
  return false;
}

int AppendBuddyRow(HWND list, const SysTime& date, const std::string& name) {
  const int row = AppendRow(list, "0");
  if (row < 0) return row;
  SetCellText(list, row, BuddyNameColumn, name.c_str());
  SetBuddyDate(list, row, date);
  SetCellText(list, row, BuddyIdColumn, FormatDecimal(static_cast<int32_t>(NextBuddyId++)).c_str());
  return row;
}

void SetBuddyDate(HWND list, int row, const SysTime& date) {
  std::string compact;
  AppendCompactDate(date, compact);
  SetCellText(list, row, BuddyDateColumn, FormatDateText(date).c_str());
  SetCellText(list, row, BuddyCompactColumn, compact.c_str());
  SetBuddyAnniversary(list, row, date);
}

void SetBuddyAnniversary(HWND list, int row, const SysTime& quitDate) {
  std::string label;
  const bool anniversary = BuddyAnniversary(quitDate, LocalNow, label);
  SetCellText(list, row, BuddyFlagColumn, anniversary ? "1" : "0");
  SetCellText(list, row, BuddyLabelColumn, label.c_str());
}

BuddyEntry BuddyAt(HWND list, int row) {
  return BuddyEntry{ParseCompactDate(Cell(list, row, BuddyCompactColumn)), Cell(list, row, BuddyNameColumn),
                    static_cast<uint32_t>(ParseDecimal(Cell(list, row, BuddyIdColumn)))};
}

std::vector<BuddyEntry> BuddyEntries(HWND list) {
  constexpr int columns[] = {BuddyCompactColumn, BuddyNameColumn, BuddyIdColumn};
  const std::vector<std::string> cells = RowCells(list, columns, BuddyCellCapacity);
  std::vector<BuddyEntry> entries;
  entries.reserve(cells.size() / 3);
  for (std::size_t i = 0; i + 3 <= cells.size(); i += 3)
    entries.push_back(BuddyEntry{ParseCompactDate(cells[i]), cells[i + 1], static_cast<uint32_t>(ParseDecimal(cells[i + 2]))});
  return entries;
}

int FindBuddyRow(HWND list, uint32_t id) {
  constexpr int columns[] = {BuddyIdColumn};
  const std::vector<std::string> ids = RowCells(list, columns, BuddyCellCapacity);
  const auto found = std::find(ids.begin(), ids.end(), FormatDecimal(static_cast<int32_t>(id)));
  return found == ids.end() ? -1 : static_cast<int>(found - ids.begin());
}

void SortBuddies(HWND list, uint32_t sortState) {
  constexpr int columns[] = {BuddyNameColumn, BuddyCompactColumn, BuddyLabelColumn, BuddyIdColumn};
  const std::vector<std::string> cells = RowCells(list, columns, BuddyCellCapacity);
  std::vector<BuddySortKey> keys;
  for (std::size_t i = 0; i + 4 <= cells.size(); i += 4)
    keys.push_back(BuddySortKey{cells[i], cells[i + 1], cells[i + 2], static_cast<uint32_t>(ParseDecimal(cells[i + 3]))});
  SortRows(list, [&](int a, int b) { return CompareBuddyRows(keys[a], keys[b], sortState, UserTextOrder); });
  if (keys.size() >= 2) SendMessageA(list, LVM_SCROLL, 0, -10000);
}
