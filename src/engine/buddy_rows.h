// Buddies' anniversaries: today's label of one buddy, the rows of the Days
// Ahead list, and the orders of the buddy list and the Days Ahead list.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "util/systime.h"

struct BuddyEntry {
  SysTime date;  // the quit date: year, month, day
  std::string name;
  uint32_t id = 0;  // the BuddyId, never reused within a run
};

// How names and labels compare: the user locale's collation on Windows
// (lstrcmpA), any strcmp-like order elsewhere.
using TextOrder = int (*)(const char*, const char*);

// Whether `today` is an anniversary of `quitDate`, with its label.
bool BuddyAnniversary(const SysTime& quitDate, const SysTime& today, std::string& label);

// The look-ahead period within 2..100, whatever was stored.
uint32_t LookAheadPeriod(uint32_t lookAheadDays);

struct DaysAheadRow {
  DayNumber day = 0;
  std::string dateText;  // FormatDateText of the day
  std::string name;
  std::string label;
  uint32_t id = 0;
};

// Every anniversary of the buddies from `today` to today + period - 1,
// ordered as DaysAheadRowBefore says.
std::vector<DaysAheadRow> DaysAheadRows(std::span<const BuddyEntry> buddies, const SysTime& today,
                                        uint32_t lookAheadDays, TextOrder order);
// By day, then name, then BuddyId: a strict order.
bool DaysAheadRowBefore(const DaysAheadRow& a, const DaysAheadRow& b, TextOrder order);

// Where the rows of an ordered Days Ahead list went on a change of one buddy:
// the old positions of the rows taken out, then the new positions of the rows
// put in, each ascending.
struct RowMoves {
  std::vector<int> removed;
  std::vector<int> inserted;
};
// Takes buddy `id`'s rows out of ordered rows and returns them, in order.
std::vector<DaysAheadRow> TakeBuddyRows(std::vector<DaysAheadRow>& rows, uint32_t id, RowMoves& moves);
// Puts rows of buddies not yet in ordered rows into their places; `added`
// comes in order, as DaysAheadRows and TakeBuddyRows give it.
void InsertDaysAheadRows(std::vector<DaysAheadRow>& rows, std::vector<DaysAheadRow> added, TextOrder order,
                         RowMoves& moves);
// The position after the moves of the row that was at `old`; -1 when it went.
int MovedRow(int old, const RowMoves& moves);

// The buddy list's sort states: 1/2 name ascending/descending, 3/4 quit
// date, 5/6 anniversary label.
inline constexpr uint32_t SortByName = 1;
// A click on heading `column` (1 name, 2 quit date, 4 anniversary): the
// column's ascending state, or its descending one when already ascending.
// Other columns leave the state as it is.
uint32_t NextBuddySortState(uint32_t state, int column);

struct BuddySortKey {
  std::string name;
  std::string compactDate;  // YYYYMMDD
  std::string label;
  uint32_t id = 0;
};
// < 0, 0 or > 0 by the state's column, ties broken by quit date, then
// BuddyId; descending states reverse the whole order. 0 only for one BuddyId.
int CompareBuddyRows(const BuddySortKey& a, const BuddySortKey& b, uint32_t sortState, TextOrder order);
