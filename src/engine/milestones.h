// The personal milestones: day counts, cigarettes not smoked, and the monthly
// and yearly anniversaries of the quit date, in date order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "util/systime.h"

struct MilestoneRow {
  DayNumber day;
  std::string date;  // FormatDateText
  std::string label;  // "Quit Date", "1,000 Days", "2,000 Cigarettes", "3 Months", "1 Year"
};

// Every milestone of a quit on `quitDate` (year, month and day are read),
// sorted by day. Rows on the same day keep the order in which they are made:
// day rows, then cigarette rows, then month and year rows. With no daily
// count (0) there are no cigarette rows.
std::vector<MilestoneRow> MilestoneRows(const SysTime& quitDate, uint32_t cigsPerDay);

// The first row falling on or after `today` (a milestone today is the next
// one), or -1 when every milestone has passed.
int NextMilestoneRow(const std::vector<MilestoneRow>& rows, DayNumber today);

// "Your next milestone is " and the label of row `next` (nothing after it
// when `next` is -1).
std::string NextMilestoneLine(const std::vector<MilestoneRow>& rows, int next);
