// The engine's costs: the calendar conversions, the clock's per-second and
// per-minute work, and the longest stats template.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "engine/stats_text.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "locale/formats.h"
#include "locale/locale_standin.h"

namespace {

// The deterministic period locale of the tests, installed explicitly (which
// also links the stand-in back end in).
struct UseStandIn {
  UseStandIn() { UseLocale(&locale); }
  StandInLocale locale{StandInLocale::Kind::Period};
} standIn;

// A quitter of 2004 with a full price list, on a clock in 2026.
void SetUpQuitter() {
  SetUpLocale();
  QuitDetails = QuitDetailsRecord{};
  QuitDetails.cigsPerDay = 25;
  QuitDetails.cigsPerPack = 20;
  QuitDetails.price = 450;
  QuitDetails.quitTime = MakeDate(2004, 4, 9, 21, 15);
  QuitDayNumber = DateToDayNumber(QuitDetails.quitTime);
  GeneralPrefs = DefaultGeneralPrefs();
  PricePoints = PricePointList{};
  for (uint32_t i = 0; i < PricePointCapacity; ++i)
    PricePoints.points[PricePoints.count++] = {static_cast<uint32_t>(QuitDayNumber) + 1 + 75 * i, 450 + 10 * i};
}

void BM_DateToDayNumber(benchmark::State& state) {
  uint16_t day = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DateToDayNumber(2004, 2, day));
    day = static_cast<uint16_t>(day % 28 + 1);
  }
}
BENCHMARK(BM_DateToDayNumber);

void BM_DayNumberToDate(benchmark::State& state) {
  DayNumber day = 2451545;
  SysTime out;
  for (auto _ : state) {
    DayNumberToDate(day++, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_DayNumberToDate);

void BM_AnniversaryLabel(benchmark::State& state) {
  SetUpLocale();
  SysTime start = MakeDate(2004, 1, 31);
  DayNumber startDN = DateToDayNumber(start);
  std::string label;
  DayNumber offset = 0;
  for (auto _ : state) {
    DayNumber dn = startDN + offset;
    SysTime day;
    DayNumberToDate(dn, day);
    benchmark::DoNotOptimize(AnniversaryLabel(startDN, dn, start, day, label));
    offset = (offset + 1) % 3650;
  }
}
BENCHMARK(BM_AnniversaryLabel);

// What the clock does on every new second.
void BM_PerSecond(benchmark::State& state) {
  SetUpQuitter();
  SysTime now = MakeDate(2026, 6, 11, 14, 22, 0);
  for (auto _ : state) {
    now.wSecond = static_cast<uint16_t>((now.wSecond + 1) % 60);
    RefreshClockSecond(now);
    std::string text = ShortSpanText(QuitSpan, true);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_PerSecond);

// What the clock does on every new minute: 100 price points, four texts.
void BM_PerMinute(benchmark::State& state) {
  SetUpQuitter();
  SysTime now = MakeDate(2026, 6, 11, 14, 0, 0);
  RefreshClockSecond(now);
  for (auto _ : state) {
    now.wMinute = static_cast<uint16_t>((now.wMinute + 1) % 60);
    LocalNow = now;
    RecomputeMinuteFigures();
    std::string days = FormatCount(static_cast<uint32_t>(DaysQuit)) + (DaysQuit == 1 ? " Day" : " Days");
    std::string cigarettes = FormatCount(CigarettesNotSmoked);
    std::string money = FormatMoneyText(MoneySaved);
    std::string life = ShortSpanText(LifeSavedSpan, false);
    benchmark::DoNotOptimize(days);
    benchmark::DoNotOptimize(cigarettes);
    benchmark::DoNotOptimize(money);
    benchmark::DoNotOptimize(life);
  }
}
BENCHMARK(BM_PerMinute);

// The longest template: 511 characters, every one a placeholder's.
void BM_Expand511(benchmark::State& state) {
  SetUpQuitter();
  RefreshClockSecond(MakeDate(2026, 6, 11, 14, 22, 33));
  RecomputeMinuteFigures();
  std::string text;
  const char letters[] = "QDCMLX";
  for (int i = 0; i < 255; ++i) {
    text += '%';
    text += letters[i % 6];
  }
  text += '%';
  GeneralPrefs.fullDates = 1;
  StatsSnapshot snapshot = TakeStatsSnapshot();
  std::size_t length = 0;
  for (auto _ : state) {
    std::string out = ExpandTemplate(text, snapshot);
    length = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.counters["chars"] = static_cast<double>(length);
}
BENCHMARK(BM_Expand511);

}  // namespace
