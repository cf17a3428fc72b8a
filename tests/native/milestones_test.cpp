#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/milestones.h"
#include "locale_fixture.h"

namespace {
// 1 + 7 day counts + 36 hundreds + 50 cigarette counts + 120 months.
constexpr std::size_t AllRows = 214;

const MilestoneRow* Find(const std::vector<MilestoneRow>& rows, const std::string& label) {
  for (const MilestoneRow& row : rows)
    if (row.label == label) return &row;
  return nullptr;
}

int IndexOf(const std::vector<MilestoneRow>& rows, const std::string& label) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].label == label) return static_cast<int>(i);
  return -1;
}

// 0 day rows, 1 cigarette rows, 2 month and year rows.
int Kind(const std::string& label) {
  if (label == "Quit Date" || label.ends_with(" Days")) return 0;
  if (label.ends_with(" Cigarettes")) return 1;
  return 2;
}

std::string DateOf(const std::vector<MilestoneRow>& rows, const std::string& label) {
  const MilestoneRow* row = Find(rows, label);
  return row ? row->date : "(no row " + label + ")";
}
}  // namespace

class Milestones : public PeriodLocale {};

TEST_F(Milestones, EveryRowInDateOrderWithItsDateText) {
  SysTime quit = MakeDate(2003, 1, 31, 18, 45);
  std::vector<MilestoneRow> rows = MilestoneRows(quit, 20);
  ASSERT_EQ(rows.size(), AllRows);
  const DayNumber q = DateToDayNumber(2003, 1, 31);
  EXPECT_EQ(rows.front().label, "Quit Date");
  EXPECT_EQ(rows.front().day, q);
  EXPECT_EQ(rows.front().date, "01/31/2003");
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(rows[i - 1].day, rows[i].day) << "row " << i;
  for (const MilestoneRow& row : rows) {
    SysTime date;
    DayNumberToDate(row.day, date);
    EXPECT_EQ(row.date, FormatDateText(date)) << row.label;
  }
}

TEST_F(Milestones, DayRows) {
  SysTime quit = MakeDate(2003, 1, 31);
  std::vector<MilestoneRow> rows = MilestoneRows(quit, 20);
  const DayNumber q = DateToDayNumber(quit);
  for (uint32_t n : DayMilestones) {
    const MilestoneRow* row = Find(rows, std::to_string(n) + " Days");
    ASSERT_NE(row, nullptr) << n;
    EXPECT_EQ(row->day, q + static_cast<DayNumber>(n));
  }
  // Hundreds are grouped by the locale; the seven counts below 1000 are not.
  EXPECT_EQ(Find(rows, "100 Days")->day, q + 100);
  EXPECT_EQ(Find(rows, "1,000 Days")->day, q + 1000);
  EXPECT_EQ(Find(rows, "3,600 Days")->day, q + 3600);
  EXPECT_EQ(Find(rows, "3,700 Days"), nullptr);
  EXPECT_EQ(Find(rows, "1000 Days"), nullptr);
}

TEST_F(Milestones, CigaretteRowsFollowTheDailyCount) {
  SysTime quit = MakeDate(2003, 1, 31);
  const DayNumber q = DateToDayNumber(quit);
  std::vector<MilestoneRow> twenty = MilestoneRows(quit, 20);
  EXPECT_EQ(Find(twenty, "1,000 Cigarettes")->day, q + 50);
  EXPECT_EQ(Find(twenty, "50,000 Cigarettes")->day, q + 2500);
  std::vector<MilestoneRow> three = MilestoneRows(quit, 3);
  EXPECT_EQ(Find(three, "1,000 Cigarettes")->day, q + 333);
  EXPECT_EQ(Find(three, "2,000 Cigarettes")->day, q + 666);
  EXPECT_EQ(Find(three, "50,000 Cigarettes")->day, q + 16666);
  EXPECT_EQ(Find(three, "51,000 Cigarettes"), nullptr);
  std::vector<MilestoneRow> many = MilestoneRows(quit, 500);
  EXPECT_EQ(Find(many, "1,000 Cigarettes")->day, q + 2);
}

TEST_F(Milestones, NoDailyCountGivesNoCigaretteRows) {
  std::vector<MilestoneRow> rows = MilestoneRows(MakeDate(2003, 1, 31), 0);
  EXPECT_EQ(rows.size(), AllRows - 50);
  for (const MilestoneRow& row : rows) EXPECT_NE(Kind(row.label), 1) << row.label;
}

TEST_F(Milestones, MonthRowsOfAQuitOnThe31st) {
  std::vector<MilestoneRow> rows = MilestoneRows(MakeDate(2003, 1, 31), 20);
  EXPECT_EQ(DateOf(rows, "1 Month"), "02/28/2003");
  EXPECT_EQ(DateOf(rows, "2 Months"), "03/31/2003");
  EXPECT_EQ(DateOf(rows, "3 Months"), "04/30/2003");
  EXPECT_EQ(DateOf(rows, "11 Months"), "12/31/2003");
  EXPECT_EQ(DateOf(rows, "1 Year"), "01/31/2004");
  EXPECT_EQ(DateOf(rows, "13 Months"), "02/29/2004");
  EXPECT_EQ(DateOf(rows, "10 Years"), "01/31/2013");
  EXPECT_EQ(Find(rows, "12 Months"), nullptr);
  EXPECT_EQ(Find(rows, "1 Months"), nullptr);
  EXPECT_EQ(Find(rows, "1 Years"), nullptr);
  EXPECT_EQ(Find(rows, "119 Months")->date, "12/31/2012");
  EXPECT_EQ(Find(rows, "121 Months"), nullptr);

  std::vector<MilestoneRow> leap = MilestoneRows(MakeDate(2004, 1, 31), 20);
  EXPECT_EQ(DateOf(leap, "1 Month"), "02/29/2004");
  EXPECT_EQ(DateOf(leap, "13 Months"), "02/28/2005");
}

TEST_F(Milestones, YearRowsOfAQuitOn29February) {
  std::vector<MilestoneRow> rows = MilestoneRows(MakeDate(2004, 2, 29), 20);
  EXPECT_EQ(DateOf(rows, "1 Month"), "03/29/2004");
  EXPECT_EQ(DateOf(rows, "1 Year"), "02/28/2005");
  EXPECT_EQ(DateOf(rows, "2 Years"), "02/28/2006");
  EXPECT_EQ(DateOf(rows, "3 Years"), "02/28/2007");
  EXPECT_EQ(DateOf(rows, "4 Years"), "02/29/2008");
  EXPECT_EQ(DateOf(rows, "8 Years"), "02/29/2012");
  EXPECT_EQ(DateOf(rows, "10 Years"), "02/28/2014");
  EXPECT_EQ(DateOf(rows, "13 Months"), "03/29/2005");
}

TEST_F(Milestones, RowsOnOneDayKeepDayCigaretteMonthOrder) {
  // 20 a day: 1,000 cigarettes fall on day 50 and 2,000 on day 100.
  std::vector<MilestoneRow> rows = MilestoneRows(MakeDate(2003, 1, 1), 20);
  EXPECT_EQ(IndexOf(rows, "1,000 Cigarettes"), IndexOf(rows, "50 Days") + 1);
  EXPECT_EQ(IndexOf(rows, "2,000 Cigarettes"), IndexOf(rows, "100 Days") + 1);
  // 700 days after 1 January 2003 is 1 December 2004: 23 months after, and
  // the 14,000th cigarette: three rows with one date.
  int days = IndexOf(rows, "700 Days");
  ASSERT_GE(days, 0);
  EXPECT_EQ(IndexOf(rows, "14,000 Cigarettes"), days + 1);
  int months = IndexOf(rows, "23 Months");
  EXPECT_EQ(months, days + 2);
  EXPECT_EQ(rows[days].date, "12/01/2004");
  EXPECT_EQ(rows[months].date, "12/01/2004");
  // The 50,000th cigarette falls on day 2,500.
  EXPECT_EQ(IndexOf(rows, "50,000 Cigarettes"), IndexOf(rows, "2,500 Days") + 1);

  // Every tie, for a spread of quit dates and counts, in kind order.
  for (int n = 0; n < 400; n += 7)
    for (uint32_t perDay : {1u, 3u, 10u, 20u, 40u}) {
      SysTime quit;
      DayNumberToDate(DateToDayNumber(2000, 1, 1) + n, quit);
      std::vector<MilestoneRow> r = MilestoneRows(quit, perDay);
      for (std::size_t i = 1; i < r.size(); ++i) {
        if (r[i - 1].day != r[i].day) continue;
        EXPECT_LE(Kind(r[i - 1].label), Kind(r[i].label)) << r[i].date;
      }
    }
}

TEST_F(Milestones, NextMilestoneRightAfterQuitting) {
  SysTime quit = MakeDate(2010, 6, 15, 9, 30);
  const DayNumber q = DateToDayNumber(quit);
  std::vector<MilestoneRow> rows = MilestoneRows(quit, 20);
  int next = NextMilestoneRow(rows, q);
  EXPECT_EQ(next, 0);
  EXPECT_EQ(NextMilestoneLine(rows, next), "Your next milestone is Quit Date");
  next = NextMilestoneRow(rows, q + 1);
  EXPECT_EQ(rows[next].label, "7 Days");
  EXPECT_EQ(NextMilestoneLine(rows, next), "Your next milestone is 7 Days");
  // A milestone falling today is the next one.
  EXPECT_EQ(NextMilestoneLine(rows, NextMilestoneRow(rows, q + 7)), "Your next milestone is 7 Days");
  EXPECT_EQ(NextMilestoneLine(rows, NextMilestoneRow(rows, q + 8)), "Your next milestone is 14 Days");
  // Before the quit date the quit date is next.
  EXPECT_EQ(NextMilestoneRow(rows, q - 30), 0);
}

TEST_F(Milestones, NextMilestoneTenYearsOn) {
  SysTime quit = MakeDate(2000, 1, 1);
  const DayNumber q = DateToDayNumber(quit);
  const DayNumber tenYears = DateToDayNumber(2010, 1, 1);
  ASSERT_EQ(tenYears - q, 3653);
  // 14 a day: the 50,000th cigarette on day 3,571, so 10 Years is the last row.
  std::vector<MilestoneRow> rows = MilestoneRows(quit, 14);
  EXPECT_EQ(rows.back().label, "10 Years");
  int next = NextMilestoneRow(rows, tenYears);
  EXPECT_EQ(next, static_cast<int>(rows.size()) - 1);
  EXPECT_EQ(NextMilestoneLine(rows, next), "Your next milestone is 10 Years");
  EXPECT_EQ(NextMilestoneRow(rows, tenYears + 1), -1);
  EXPECT_EQ(NextMilestoneLine(rows, -1), "Your next milestone is ");
  // 13 a day: the 50,000th cigarette (day 3,846) is still ahead.
  std::vector<MilestoneRow> fewer = MilestoneRows(quit, 13);
  next = NextMilestoneRow(fewer, tenYears + 1);
  ASSERT_GE(next, 0);
  EXPECT_EQ(fewer[next].label, "48,000 Cigarettes");  // 47,000 fell on day 3,615
  EXPECT_EQ(fewer.back().label, "50,000 Cigarettes");
  EXPECT_EQ(fewer.back().day, q + 3846);
}

class MilestonesComma : public CommaLocale {};

TEST_F(MilestonesComma, LabelsAndDatesFollowTheLocale) {
  std::vector<MilestoneRow> rows = MilestoneRows(MakeDate(2003, 1, 31), 20);
  EXPECT_EQ(DateOf(rows, "1.000 Days"), "27.10.2005");
  EXPECT_NE(Find(rows, "50.000 Cigarettes"), nullptr);
  EXPECT_EQ(DateOf(rows, "1 Month"), "28.02.2003");
}
