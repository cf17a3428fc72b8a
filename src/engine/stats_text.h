// The stats text: the user's template with its placeholders (%Q quit length,
// %D days, %C cigarettes, %M money, %L life saved, %X quit date) expanded from
// one consistent copy of the statistics.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/savings.h"
#include "engine/span.h"
#include "util/systime.h"

struct StatsSnapshot {
  ElapsedSpan quitSpan;
  ElapsedSpan lifeSavedSpan;
  SavingsTotal money;
  uint32_t cigarettes;
  int32_t days;
  uint32_t fullDates;  // long span texts ("1 Year and 2 Days")
  uint32_t includeSeconds;  // seconds in the quit span
  SysTime quitDate;  // for %X
};

// The placeholder letters in the order of the template editor's buttons.
inline constexpr char PlaceholderLetters[] = "QDCMLX";
// Used instead of the user's template until the quit moment is reached.
inline constexpr char PreQuitTemplate[] = "I will quit in %Q.";

// What the two stored flags mean, whatever a damaged GenPrefs holds: seconds
// are left out only at 0, the long form is used only at 1.
inline bool IncludesSeconds(uint32_t includeSeconds) { return includeSeconds != 0; }
inline bool UsesFullDates(uint32_t fullDates) { return fullDates == 1; }

// The live figures and the preferences' two flags (0 or 1, as they count), as
// the clock last left them.
StatsSnapshot TakeStatsSnapshot();
// The template (up to its first zero byte) expanded from the snapshot. A '%'
// and the character after it become that placeholder's text, or nothing when
// it is no placeholder; a trailing '%' is dropped. No length limit.
std::string ExpandTemplate(std::string_view templateText, const StatsSnapshot& snapshot);
// The pre-quit template while QuitPending is 1, otherwise StatsTemplate,
// expanded from a fresh snapshot.
std::string BuildStatsText();
