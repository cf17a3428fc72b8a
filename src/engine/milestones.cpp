#include "engine/milestones.h"

#include <algorithm>

#include "locale/formats.h"
#include "util/stable_sort.h"
#include "util/text.h"

namespace {
constexpr int HundredDayRows = 36;
constexpr uint32_t CigaretteStep = 1000;
constexpr int CigaretteRows = 50;
constexpr int MonthRows = 120;

void AddRow(std::vector<MilestoneRow>& rows, DayNumber day, std::string label) {
  SysTime date;
  DayNumberToDate(day, date);
  rows.push_back({day, FormatDateText(date), std::move(label)});
}
}  // namespace

std::vector<MilestoneRow> MilestoneRows(const SysTime& quitDate, uint32_t cigsPerDay) {
  std::vector<MilestoneRow> rows;
  rows.reserve(1 + DayMilestones.size() + HundredDayRows + CigaretteRows + MonthRows);
  const DayNumber quit = DateToDayNumber(quitDate);

  AddRow(rows, quit, "Quit Date");
  for (uint32_t n : DayMilestones) AddRow(rows, quit + static_cast<DayNumber>(n), FormatDecimal(static_cast<int32_t>(n)) + " Days");
  for (int k = 1; k <= HundredDayRows; ++k) AddRow(rows, quit + 100 * k, FormatCount(100 * k) + " Days");

  // A daily count of 0 (settings never stored) would divide by zero.
  if (cigsPerDay != 0)
    for (int k = 1; k <= CigaretteRows; ++k) {
      uint32_t n = CigaretteStep * k;
      AddRow(rows, quit + static_cast<DayNumber>(n / cigsPerDay), FormatCount(n) + " Cigarettes");
    }

  uint16_t year = quitDate.wYear;
  uint16_t month = quitDate.wMonth;
  for (uint32_t i = 1; i <= MonthRows; ++i) {
    if (++month > 12) {
      month = 1;
      ++year;
    }
    uint16_t day = std::min<uint16_t>(quitDate.wDay, static_cast<uint16_t>(DaysInMonth(year, month)));
    std::string label = month == quitDate.wMonth ? CountedWord(static_cast<uint16_t>(year - quitDate.wYear), " Year")
                                                 : CountedWord(static_cast<int32_t>(i), " Month");
    AddRow(rows, DateToDayNumber(year, month, day), std::move(label));
  }

  StableSortBy(rows.begin(), rows.end(), [](const MilestoneRow& r) { return r.day; });
  return rows;
}

int NextMilestoneRow(const std::vector<MilestoneRow>& rows, DayNumber today) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].day >= today) return static_cast<int>(i);
  return -1;
}

std::string NextMilestoneLine(const std::vector<MilestoneRow>& rows, int next) {
  std::string line = "Your next milestone is ";
  if (next >= 0 && static_cast<std::size_t>(next) < rows.size()) line += rows[next].label;
  return line;
}
