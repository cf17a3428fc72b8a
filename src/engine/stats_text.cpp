#include "engine/stats_text.h"

#include "formats/settings_records.h"
#include "locale/formats.h"
#include "locale/locale.h"
#include "util/text.h"

namespace {

std::string SpanText(const ElapsedSpan& span, uint32_t fullDates, bool includeSeconds) {
  return UsesFullDates(fullDates) ? LongSpanText(span, includeSeconds) : ShortSpanText(span, includeSeconds);
}

// Days are never negative (the engine keeps them at 0 and up).
std::string CountText(int64_t count) { return FormatCount(static_cast<uint32_t>(count < 0 ? 0 : count), 128); }

std::string Placeholder(char letter, const StatsSnapshot& s) {
  switch (letter) {
    case 'Q': return SpanText(s.quitSpan, s.fullDates, IncludesSeconds(s.includeSeconds));
    case 'D': return CountText(s.days);
    case 'C': return CountText(s.cigarettes);
    case 'M': return FormatMoneyText(s.money);
    case 'L': return SpanText(s.lifeSavedSpan, s.fullDates, true);
    case 'X': return Locale().FormatDate(s.quitDate, {}, 256);
    default: return {};
  }
}

}  // namespace

StatsSnapshot TakeStatsSnapshot() {
  StatsSnapshot s{};
  s.quitSpan = QuitSpan;
  s.lifeSavedSpan = LifeSavedSpan;
  s.money = MoneySaved;
  s.cigarettes = CigarettesNotSmoked;
  s.days = DaysQuit;
  s.fullDates = UsesFullDates(GeneralPrefs.fullDates) ? 1 : 0;
  s.includeSeconds = IncludesSeconds(GeneralPrefs.includeSeconds) ? 1 : 0;
  s.quitDate = QuitDetails.quitTime;
  return s;
}

std::string ExpandTemplate(std::string_view templateText, const StatsSnapshot& snapshot) {
  templateText = templateText.substr(0, TextLength(templateText));
  std::string out;
  out.reserve(templateText.size() * 2);
  for (std::size_t i = 0; i < templateText.size(); ++i) {
    if (templateText[i] != '%') {
      out.push_back(templateText[i]);
      continue;
    }
    if (++i == templateText.size()) break;
    out += Placeholder(templateText[i], snapshot);
  }
  return out;
}

std::string BuildStatsText() {
  const StatsSnapshot snapshot = TakeStatsSnapshot();
  if (QuitPending == 1) return ExpandTemplate(PreQuitTemplate, snapshot);
  // The stored template may lack its terminator: never read past the field.
  std::string_view stored(GeneralPrefs.statsTemplate, sizeof GeneralPrefs.statsTemplate);
  return ExpandTemplate(stored, snapshot);
}
