#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/buddy_rows.h"
#include "locale_fixture.h"

namespace {
int ByteOrder(const char* a, const char* b) { return std::strcmp(a, b); }

// "day-offset name label #id" per row, day offsets from `today`.
std::vector<std::string> Describe(const std::vector<DaysAheadRow>& rows, const SysTime& today) {
  std::vector<std::string> out;
  for (const DaysAheadRow& r : rows)
    out.push_back(std::to_string(r.day - DateToDayNumber(today)) + " " + r.name + " " + r.label + " #" +
                  std::to_string(r.id));
  return out;
}

SysTime DaysAfter(const SysTime& date, int days) {
  SysTime out;
  DayNumberToDate(DateToDayNumber(date) + days, out);
  return out;
}
}  // namespace

class BuddyRows : public PeriodLocale {};

TEST_F(BuddyRows, DaysAheadWindows) {
  const SysTime monthEnd = MakeDate(2003, 1, 30);
  const SysTime leapWeek = MakeDate(2008, 2, 26);
  const SysTime thousand = MakeDate(2005, 6, 1);
  const struct {
    const char* what;
    SysTime today;
    uint32_t period;
    std::vector<BuddyEntry> buddies;
    std::vector<std::string> expected;
  } cases[] = {
      {"across a month end", monthEnd, 5,
       {{MakeDate(2002, 12, 31), "Cy", 4}, {MakeDate(2003, 1, 31), "Al", 1}, {MakeDate(2003, 2, 2), "Bo", 2},
        {MakeDate(2003, 1, 5), "Di", 6}},
       {"0 Di 25 Days #6", "1 Al Quit Date #1", "1 Cy 1 Month #4", "3 Bo Quit Date #2"}},
      {"29 February, same-day rows by name then id", leapWeek, 5,
       {{MakeDate(2004, 2, 29), "Zed", 7}, {MakeDate(2007, 2, 28), "Ann", 9}, {MakeDate(2007, 2, 28), "Ann", 3},
        {MakeDate(2008, 1, 29), "Bea", 5}},
       {"2 Ann 1 Year #3", "2 Ann 1 Year #9", "3 Bea 1 Month #5", "3 Zed 4 Years #7"}},
      {"a 1,000-day mark, a future quit date", thousand, 3,
       {{DaysAfter(thousand, -999), "Kim", 0}, {DaysAfter(thousand, 2), "Lee", 1}},
       {"1 Kim 1,000 Days #0", "2 Lee Quit Date #1"}},
      {"the period is brought into 2..100", monthEnd, 0, {{MakeDate(2003, 1, 31), "Al", 1}},
       {"1 Al Quit Date #1"}},
      {"at most 100 days", monthEnd, 5000, {{DaysAfter(monthEnd, 99), "In", 1}, {DaysAfter(monthEnd, 100), "Out", 2}},
       {"99 In Quit Date #1"}},
      {"a buddy quit today: 7 and 14 days on", monthEnd, 20, {{monthEnd, "Now", 3}},
       {"0 Now Quit Date #3", "7 Now 7 Days #3", "14 Now 14 Days #3"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Describe(DaysAheadRows(c.buddies, c.today, c.period, ByteOrder), c.today), c.expected) << c.what;
}

TEST(BuddySort, HeadingClicksToggle) {
  const struct {
    uint32_t state;
    int column;
    uint32_t next;
  } cases[] = {{1, 1, 2}, {2, 1, 1}, {5, 1, 1}, {1, 2, 3}, {3, 2, 4}, {4, 2, 3},
               {1, 4, 5}, {5, 4, 6}, {6, 4, 5}, {3, 0, 3}, {3, 3, 3}, {3, 5, 3}};
  for (const auto& c : cases) EXPECT_EQ(NextBuddySortState(c.state, c.column), c.next) << c.state << " " << c.column;
}

TEST(BuddySort, EveryStateIsAStrictOrder) {
  const std::vector<BuddySortKey> keys = {
      {"Ann", "20020305", "", 4},         {"Ann", "20020305", "", 1},       {"Ann", "19991231", "1 Year", 2},
      {"Bob", "19991231", "1 Year", 0},  {"bob", "20100101", "7 Days", 3}, {"", "20100101", "Quit Date", 5}};
  const struct {
    uint32_t state;
    std::vector<uint32_t> ids;  // the order the sort gives, by BuddyId
  } cases[] = {{1, {5, 2, 1, 4, 0, 3}}, {2, {3, 0, 4, 1, 2, 5}}, {3, {0, 2, 1, 4, 3, 5}},
               {4, {5, 3, 4, 1, 2, 0}}, {5, {1, 4, 0, 2, 3, 5}}, {6, {5, 3, 2, 0, 4, 1}}};
  for (const auto& c : cases) {
    auto less = [&](const BuddySortKey& a, const BuddySortKey& b) {
      return CompareBuddyRows(a, b, c.state, ByteOrder) < 0;
    };
    std::vector<BuddySortKey> sorted = keys;
    std::sort(sorted.begin(), sorted.end(), less);
    std::vector<uint32_t> ids;
    for (const auto& k : sorted) ids.push_back(k.id);
    EXPECT_EQ(ids, c.ids) << "state " << c.state;
    for (const auto& a : keys)
      for (const auto& b : keys) {
        EXPECT_EQ(CompareBuddyRows(a, b, c.state, ByteOrder), -CompareBuddyRows(b, a, c.state, ByteOrder));
        EXPECT_EQ(CompareBuddyRows(a, b, c.state, ByteOrder) == 0, a.id == b.id);
      }
  }
}

// A change of one buddy, row by row, ends where a rebuild of the whole list
// ends, and every row that stays is found where MovedRow says.
TEST_F(BuddyRows, OneBuddysChangeMatchesARebuild) {
  const SysTime today = MakeDate(2010, 3, 15);
  std::vector<BuddyEntry> buddies;
  for (uint32_t i = 0; i < 40; ++i)
    buddies.push_back({DaysAfter(today, -static_cast<int>(i * 37 % 400)), std::string(1, "BDAC"[i % 4]), i + 1});
  const BuddyEntry added{DaysAfter(today, -7), "C", 99};
  const struct {
    const char* what;
    uint32_t removed;  // 0: none
    std::vector<BuddyEntry> inserted;
  } cases[] = {{"an add", 0, {added}}, {"a delete", 7, {}}, {"a rename", 7, {{buddies[6].date, "A", 7}}},
               {"a rename to the end", 2, {{buddies[1].date, "Z", 2}}}};
  const std::vector<DaysAheadRow> before = DaysAheadRows(buddies, today, 30, ByteOrder);
  for (const auto& c : cases) {
    std::vector<BuddyEntry> after = buddies;
    std::erase_if(after, [&](const BuddyEntry& b) { return c.removed && b.id == c.removed; });
    after.insert(after.end(), c.inserted.begin(), c.inserted.end());
    std::vector<DaysAheadRow> rows = before;
    RowMoves moves;
    if (c.removed) TakeBuddyRows(rows, c.removed, moves);
    InsertDaysAheadRows(rows, DaysAheadRows(c.inserted, today, 30, ByteOrder), ByteOrder, moves);
    const std::vector<DaysAheadRow> rebuilt = DaysAheadRows(after, today, 30, ByteOrder);
    EXPECT_EQ(Describe(rows, today), Describe(rebuilt, today)) << c.what;
    ASSERT_GT(moves.removed.size() + moves.inserted.size(), 0u) << c.what;
    for (std::size_t old = 0; old < before.size(); ++old) {
      const auto same = [&](const DaysAheadRow& r) { return r.day == before[old].day && r.id == before[old].id; };
      const bool gone = c.removed && before[old].id == c.removed;
      const auto found = std::find_if(rebuilt.begin(), rebuilt.end(), same);
      EXPECT_EQ(MovedRow(static_cast<int>(old), moves), gone ? -1 : static_cast<int>(found - rebuilt.begin()))
          << c.what << " row " << old;
    }
  }
}
