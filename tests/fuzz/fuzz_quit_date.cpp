// The QuitDate value, and the figures counted from it: any stored bytes.
// Only exactly 16 bytes are taken. A real quit moment (the check that lets
// start-up skip the wizard) together with any clock and any stored counts
// gives figures within their ranges. Moments that fail the check are folded
// into range field by field, so that every input reaches the figures.
#include "engine/calendar.h"
#include "engine/savings.h"
#include "engine/span.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "fuzz_support.h"

namespace {
void CheckSpan(const ElapsedSpan& s) {
  Check(s.months < 12 && s.weeks <= 4 && s.days <= 6 && s.hours < 24 && s.minutes < 60 && s.seconds < 60);
  Check(s.reserved == 0);
  Check(!ShortSpanText(s, true).empty() && !LongSpanText(s, true).empty());
}

SysTime Moment(std::span<const uint8_t> bytes) {
  SysTime t;
  Check(DecodeQuitDate(bytes, t));
  return t;
}

SysTime RealMoment(const SysTime& t) {
  if (IsRealQuitMoment(t)) return t;
  SysTime real = MakeDate(static_cast<uint16_t>(DatePickerFirstYear + t.wYear % 150), 1 + t.wMonth % 12, 1,
                          t.wHour % 24, t.wMinute % 60, t.wSecond % 60);
  real.wDay = static_cast<uint16_t>(1 + t.wDay % DaysInMonth(real.wYear, real.wMonth));
  Check(IsRealQuitMoment(real));
  return real;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> record = input.Take(QuitDateSize);
  const std::vector<uint8_t> clock = input.Take(QuitDateSize);
  const uint32_t perDay = input.U32(), perPack = input.U32(), price = input.U32(), life = input.U32();
  const std::vector<uint8_t> stored = input.Rest();

  CheckTakenOnlyAtSize(stored, QuitDateSize, MakeDate(2001, 2, 3), DecodeQuitDate, EncodeQuitDate);

  const SysTime raw = Moment(record);
  const auto image = EncodeQuitDate(raw);
  Check(std::equal(image.begin(), image.end(), record.begin(), record.end()));
  const SysTime quit = RealMoment(raw);
  const SysTime now = RealMoment(Moment(clock));
  SysTime back{};
  DayNumberToDate(DateToDayNumber(quit), back);
  Check(back.wYear == quit.wYear && back.wMonth == quit.wMonth && back.wDay == quit.wDay);

  UseStandInLocale(perDay & 1);
  SetQuitDetails(quit, perDay, perPack, price);
  GeneralPrefs.lifeMinutesPerCigarette = life;
  PricePoints.count = 0;
  RefreshClockSecond(now);
  RecomputeMinuteFigures();
  CheckSpan(QuitSpan);
  CheckSpan(LifeSavedSpan);
  Check(DaysQuit >= 0 && MoneySaved.hundredths < 100);
  Check(QuitPending == (TodayDayNumber < QuitDayNumber ||
                        (TodayDayNumber == QuitDayNumber && TimeOfDayBefore(quit, now))));
  if (QuitPending) Check(DaysQuit == 0 && CigarettesNotSmoked == 0);
  return 0;
}
