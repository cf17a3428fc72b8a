// ExpandTemplate with any template text and any snapshot: the text up to its
// first zero, each '%' and the letter after it replaced by that placeholder's
// own expansion, a trailing '%' dropped, and nothing else changed.
#include <string>
#include <string_view>

#include "engine/stats_text.h"
#include "fuzz_support.h"

namespace {
ElapsedSpan Span(FuzzInput& in) {
  ElapsedSpan s{};
  for (uint16_t* field : {&s.years, &s.months, &s.weeks, &s.days, &s.hours, &s.minutes, &s.seconds})
    *field = in.U16();
  return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  UseStandInLocale(in.Byte() & 1);
  StatsSnapshot snapshot{};
  snapshot.quitSpan = Span(in);
  snapshot.lifeSavedSpan = Span(in);
  snapshot.money.units = in.U32();
  snapshot.money.hundredths = in.U32() % 100;  // the engine keeps them below 100
  snapshot.cigarettes = in.U32();
  snapshot.days = static_cast<int32_t>(in.U32());
  snapshot.fullDates = in.Byte() % 3;
  snapshot.includeSeconds = in.Byte() % 3;
  for (uint16_t* field : {&snapshot.quitDate.wYear, &snapshot.quitDate.wMonth, &snapshot.quitDate.wDay})
    *field = in.U16();
  const std::vector<uint8_t> bytes = in.Rest();
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

  const std::string out = ExpandTemplate(text, snapshot);
  std::string expected;
  const std::string_view used = text.substr(0, text.find('\0'));
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (used[i] != '%') {
      expected.push_back(used[i]);
    } else if (i + 1 < used.size()) {
      const char placeholder[2] = {'%', used[++i]};
      const std::string alone = ExpandTemplate(std::string_view(placeholder, 2), snapshot);
      Check(alone.find('\0') == std::string::npos);
      if (std::string_view(PlaceholderLetters).find(placeholder[1]) == std::string_view::npos) Check(alone.empty());
      expected += alone;
    }
  }
  Check(out == expected);
  return 0;
}
