// The general preferences' drop-down lists: which item shows a stored value
// and which value an item stands for. A damaged stored value counts as the
// list's default, in the run and on the page alike; "no item" stands for no
// value, so it is never stored.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct GeneralPrefsRecord;

struct OptionList {
  uint32_t first;  // the value of item 0; item i stands for first + i
  int count;
  uint32_t defaultValue;
  const char* unit;  // appended to the number in each item's text
  const char* const* names = nullptr;  // count item texts, used instead of numbers
};

inline constexpr const char* StartupViewNames[] = {"Quitting Statistics", "Personal Milestones", "Buddy List",
                                                   "Days Ahead"};

inline constexpr OptionList LifeMinutesOptions{5, 16, 5, " mins"};
inline constexpr OptionList LookAheadOptions{2, 99, 20, " Days"};
inline constexpr OptionList StartupViewOptions{0, 4, 0, "", StartupViewNames};

// Whether one of the list's items stands for the value.
constexpr bool Listed(const OptionList& list, uint32_t value) {
  return value - list.first < static_cast<uint32_t>(list.count);
}
// The stored value itself within the list's range, the list's default outside it.
uint32_t ValueInForce(const OptionList& list, uint32_t stored);
int ItemForValue(const OptionList& list, uint32_t value);
std::optional<uint32_t> ValueForItem(const OptionList& list, int item);
// "5 mins", "20 Days", "Buddy List".
std::string OptionItemText(const OptionList& list, int item);

// GeneralPrefs' look-ahead period as it counts (2..100).
uint32_t LookAheadDaysInRange();

// Whether the record holds only what the preferences store: each list's value
// within its range and each flag 0 or 1.
bool IsSoundGeneralPrefs(const GeneralPrefsRecord& prefs);
