// The BuddyList: the rows of the Buddies view's list control (no other copy
// exists; the list is its own count) and their file, anny.dat.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/buddy_rows.h"

// The six columns of a buddy row.
enum BuddyColumn {
  BuddyFlagColumn,  // "1" when today is an anniversary, else "0"
  BuddyNameColumn,
  BuddyDateColumn,  // the quit date in DatePicture
  BuddyCompactColumn,  // the quit date as YYYYMMDD: the one every computation reads
  BuddyLabelColumn,  // today's anniversary label, or empty
  BuddyIdColumn,  // the BuddyId in decimal
};
// Room for a name of the longest kind and its terminator.
inline constexpr int BuddyCellCapacity = 256;

// The next BuddyId; 0 when the Buddies view is created.
extern uint32_t NextBuddyId;

// Message boxes of the buddy views and dialogs: MessageBoxA unless a test
// puts its own here.
using BuddyMessageFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
extern BuddyMessageFunction BuddyMessageBox;

// A change of the BuddyList, which the Days Ahead list follows: sent to the
// main window (lParam: the change), which hands it on to that view.
struct BuddyChange {
  enum Kind { Added, Removed, Renamed } kind;
  uint32_t id;
  const BuddyEntry* buddy;  // Added: the new row's buddy
  const std::string* name;  // Renamed: the new name
};
inline constexpr UINT BuddyChangedMessage = WM_APP + 7;
void TellBuddyAdded(const BuddyEntry& buddy);
void TellBuddyRemoved(uint32_t id);
void TellBuddyRenamed(uint32_t id, const std::string& name);

// lstrcmpA: the user locale's order of names and labels.
int UserTextOrder(const char* a, const char* b);

// Reads anny.dat (BuddyFilePath) into the empty list in name order and
// returns the number of rows. A file that exists but could not be read in
// full is remembered, so that the first save backs it up before replacing it.
int LoadBuddies(HWND list);
// What the user is told, once, about an anny.dat that was not read whole
// (with the backup's name); empty when there is nothing (more) to tell.
std::string TakeBuddyFileNotice();
// Tells it in a box owned by `owner`: when a list of buddies is first shown,
// and before the first save.
void TellBuddyFileNotice(HWND owner);
// For the procedures of the views of the buddies: the box comes once such a
// view is on the screen (a message posted on its showing). True when the
// message was that one.
bool TellBuddyFileOnShow(HWND view, UINT message, WPARAM wParam);
// Rewrites anny.dat from the rows, in their order. A failure (or a backup
// that could not be made) is told in a box owned by `owner`; the rows stay.
bool SaveBuddies(HWND list, HWND owner);

// Appends a row with the next BuddyId and its date cells (see SetBuddyDate);
// returns its position, or -1.
int AppendBuddyRow(HWND list, const SysTime& date, const std::string& name);
// Sets the shown and compact date of `row`, and its anniversary.
void SetBuddyDate(HWND list, int row, const SysTime& date);
// Sets the flag and label of `row` for LocalNow's date.
void SetBuddyAnniversary(HWND list, int row, const SysTime& quitDate);
BuddyEntry BuddyAt(HWND list, int row);
std::vector<BuddyEntry> BuddyEntries(HWND list);
// The row of a BuddyId, or -1.
int FindBuddyRow(HWND list, uint32_t id);
// Sorts the rows in a sort state (1..6) and, with two rows or more, scrolls
// the list to its top.
void SortBuddies(HWND list, uint32_t sortState);
