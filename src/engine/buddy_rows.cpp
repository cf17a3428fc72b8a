#include "engine/buddy_rows.h"

#include <algorithm>

bool BuddyAnniversary(const SysTime& quitDate, const SysTime& today, std::string& label) {
  return AnniversaryLabel(DateToDayNumber(quitDate), DateToDayNumber(today), quitDate, today, label) != 0;
}

uint32_t LookAheadPeriod(uint32_t lookAheadDays) { return std::clamp<uint32_t>(lookAheadDays, 2, 100); }

std::vector<DaysAheadRow> DaysAheadRows(std::span<const BuddyEntry> buddies, const SysTime& today,
                                        uint32_t lookAheadDays, TextOrder order) {
  const DayNumber first = DateToDayNumber(today);
  const uint32_t period = LookAheadPeriod(lookAheadDays);
  // Day by day, and within a day in name order, the rows come out in their
  // order: the buddies are sorted (usually found sorted), never the many rows.
  std::vector<const BuddyEntry*> byName;
  byName.reserve(buddies.size());
  for (const BuddyEntry& buddy : buddies) byName.push_back(&buddy);
  const auto nameBefore = [order](const BuddyEntry* a, const BuddyEntry* b) {
    const int byText = order(a->name.c_str(), b->name.c_str());
    return byText != 0 ? byText < 0 : a->id < b->id;
  };
  if (!std::is_sorted(byName.begin(), byName.end(), nameBefore)) std::sort(byName.begin(), byName.end(), nameBefore);
  struct Start {
    DayNumber day;
    SysTime date;
  };
  std::vector<Start> starts(byName.size());
  for (std::size_t b = 0; b < byName.size(); ++b) {
    starts[b].day = DateToDayNumber(byName[b]->date);
    DayNumberToDate(starts[b].day, starts[b].date);
  }

  std::vector<DaysAheadRow> rows;
  std::string label;
  for (uint32_t i = 0; i < period; ++i) {
    const DayNumber day = first + static_cast<DayNumber>(i);
    SysTime date;
    DayNumberToDate(day, date);
    std::string dateText;
    for (std::size_t b = 0; b < starts.size(); ++b) {
      if (!AnniversaryLabel(starts[b].day, day, starts[b].date, date, label)) continue;
      if (dateText.empty()) dateText = FormatDateText(date);
      rows.push_back(DaysAheadRow{day, dateText, byName[b]->name, label, byName[b]->id});
    }
  }
  return rows;
}

bool DaysAheadRowBefore(const DaysAheadRow& a, const DaysAheadRow& b, TextOrder order) {
  if (a.day != b.day) return a.day < b.day;
  const int byName = order(a.name.c_str(), b.name.c_str());
  if (byName != 0) return byName < 0;
  return a.id < b.id;
}

std::vector<DaysAheadRow> TakeBuddyRows(std::vector<DaysAheadRow>& rows, uint32_t id, RowMoves& moves) {
  std::vector<DaysAheadRow> taken;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].id == id) {
      moves.removed.push_back(static_cast<int>(i));
      taken.push_back(std::move(rows[i]));
    } else {
      if (kept != i) rows[kept] = std::move(rows[i]);
      ++kept;
    }
  }
  rows.resize(kept);
  return taken;
}

void InsertDaysAheadRows(std::vector<DaysAheadRow>& rows, std::vector<DaysAheadRow> added, TextOrder order,
                         RowMoves& moves) {
  const auto before = [order](const DaysAheadRow& a, const DaysAheadRow& b) { return DaysAheadRowBefore(a, b, order); };
  // Each place found by halving from the last one: the rows come in order,
  // so a place once given never moves.
  auto from = rows.begin();
  for (DaysAheadRow& r : added) {
    from = rows.insert(std::lower_bound(from, rows.end(), r, before), std::move(r));
    moves.inserted.push_back(static_cast<int>(from - rows.begin()));
    ++from;
  }
}

int MovedRow(int old, const RowMoves& moves) {
  const auto gone = std::lower_bound(moves.removed.begin(), moves.removed.end(), old);
  if (gone != moves.removed.end() && *gone == old) return -1;
  int row = old - static_cast<int>(gone - moves.removed.begin());
  for (int place : moves.inserted)
    if (place <= row) ++row;
  return row;
}

uint32_t NextBuddySortState(uint32_t state, int column) {
  switch (column) {
    case 1: return state == 1 ? 2 : 1;
    case 2: return state == 3 ? 4 : 3;
    case 4: return state == 5 ? 6 : 5;
    default: return state;
  }
}

namespace {
int Sign(int value) { return (value > 0) - (value < 0); }
}  // namespace

int CompareBuddyRows(const BuddySortKey& a, const BuddySortKey& b, uint32_t sortState, TextOrder order) {
  int result = 0;
  if (sortState == 1 || sortState == 2) result = Sign(order(a.name.c_str(), b.name.c_str()));
  if (sortState == 5 || sortState == 6) result = Sign(order(a.label.c_str(), b.label.c_str()));
  if (result == 0) result = Sign(a.compactDate.compare(b.compactDate));
  if (result == 0) result = (a.id > b.id) - (a.id < b.id);
  return sortState % 2 == 0 ? -result : result;
}
