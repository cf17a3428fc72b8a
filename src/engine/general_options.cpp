#include "engine/general_options.h"

#include "util/text.h"

int ItemForValue(const OptionList& list, uint32_t value) {
  const uint32_t shown = value >= list.first && value - list.first < static_cast<uint32_t>(list.count)
                             ? value
                             : list.defaultValue;
  return static_cast<int>(shown - list.first);
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
