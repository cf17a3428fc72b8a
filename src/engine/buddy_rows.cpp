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
  std::vector<SysTime> days(period);
  std::vector<std::string> dateTexts(period);
  for (uint32_t i = 0; i < period; ++i) DayNumberToDate(first + static_cast<DayNumber>(i), days[i]);

  std::vector<DaysAheadRow> rows;
  std::string label;
  for (const BuddyEntry& buddy : buddies) {
    const DayNumber start = DateToDayNumber(buddy.date);
    SysTime startDate;
    DayNumberToDate(start, startDate);
    for (uint32_t i = 0; i < period; ++i) {
      const DayNumber day = first + static_cast<DayNumber>(i);
      if (!AnniversaryLabel(start, day, startDate, days[i], label)) continue;
      if (dateTexts[i].empty()) dateTexts[i] = FormatDateText(days[i]);
      rows.push_back(DaysAheadRow{day, dateTexts[i], buddy.name, label, buddy.id});
    }
  }
  std::sort(rows.begin(), rows.end(),
            [order](const DaysAheadRow& a, const DaysAheadRow& b) { return DaysAheadRowBefore(a, b, order); });
  return rows;
}

bool DaysAheadRowBefore(const DaysAheadRow& a, const DaysAheadRow& b, TextOrder order) {
  if (a.day != b.day) return a.day < b.day;
  const int byName = order(a.name.c_str(), b.name.c_str());
  if (byName != 0) return byName < 0;
  return a.id < b.id;
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
