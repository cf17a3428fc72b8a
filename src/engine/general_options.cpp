#include "engine/general_options.h"

#include "formats/settings_records.h"
#include "util/text.h"

uint32_t ValueInForce(const OptionList& list, uint32_t stored) { return Listed(list, stored) ? stored : list.defaultValue; }

int ItemForValue(const OptionList& list, uint32_t value) {
  return static_cast<int>(ValueInForce(list, value) - list.first);
}

std::optional<uint32_t> ValueForItem(const OptionList& list, int item) {
  if (item < 0 || item >= list.count) return std::nullopt;
  return list.first + static_cast<uint32_t>(item);
}

std::string OptionItemText(const OptionList& list, int item) {
  const std::optional<uint32_t> value = ValueForItem(list, item);
  if (!value) return {};
  if (list.names) return list.names[item];
  return FormatDecimal(static_cast<int32_t>(*value)) + list.unit;
}

uint32_t LookAheadDaysInRange() { return ValueInForce(LookAheadOptions, GeneralPrefs.LookAheadDays); }

bool IsSoundGeneralPrefs(const GeneralPrefsRecord& p) {
  return Listed(LookAheadOptions, p.LookAheadDays) && Listed(LifeMinutesOptions, p.lifeMinutesPerCigarette) &&
         Listed(StartupViewOptions, p.startupView) &&
         (p.runAtStartup | p.startMinimised | p.includeSeconds | p.fullDates) <= 1;
}
