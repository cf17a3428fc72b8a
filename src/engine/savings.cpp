#include "engine/savings.h"

#include <algorithm>
#include <limits>

#include "engine/general_options.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "locale/locale.h"
#include "util/text.h"

SysTime LocalNow;
DayNumber TodayDayNumber;
DayNumber QuitDayNumber;
int QuitPending;
int32_t DaysQuit;
uint32_t CigarettesNotSmoked;
SavingsTotal MoneySaved;
SysTime LifeSavedMoment;
ElapsedSpan QuitSpan;
ElapsedSpan LifeSavedSpan;

namespace {

constexpr uint32_t MaxUnits = std::numeric_limits<uint32_t>::max();
constexpr SavingsTotal Saturated{MaxUnits, 99};
constexpr uint64_t MaxAmount = uint64_t{MaxUnits} * 100 + 99;  // in hundredths

// floor(a * b / d) over the full 128-bit product, UINT64_MAX when the quotient
// does not fit. The money arithmetic goes through here so that no setting,
// however damaged, can wrap a product. (No __int128: the 32-bit target lacks it.)
uint64_t MulDivFloor(uint64_t a, uint64_t b, uint64_t d) {
  if (d == 0) return 0;
  constexpr uint64_t low32 = 0xFFFFFFFFu;
  uint64_t a0 = a & low32, a1 = a >> 32, b0 = b & low32, b1 = b >> 32;
  uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  uint64_t mid = (p00 >> 32) + (p01 & low32) + (p10 & low32);
  uint64_t lo = (p00 & low32) | (mid << 32);
  uint64_t hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
  if (hi == 0) return lo / d;
  if (hi >= d) return std::numeric_limits<uint64_t>::max();
  uint64_t remainder = hi, quotient = 0;
  for (int bit = 63; bit >= 0; --bit) {
    uint64_t carry = remainder >> 63;
    remainder = (remainder << 1) | ((lo >> bit) & 1);
    quotient <<= 1;
    if (carry || remainder >= d) {
      remainder -= d;
      quotient |= 1;
    }
  }
  return quotient;
}

SavingsTotal FromHundredths(uint64_t amount) {
  if (amount > MaxAmount) return Saturated;
  return {static_cast<uint32_t>(amount / 100), static_cast<uint32_t>(amount % 100)};
}

// Each part's hundredths are below 100, so one carry suffices.
void Add(SavingsTotal& total, const SavingsTotal& part) {
  uint64_t units = uint64_t{total.units} + part.units;
  uint32_t hundredths = total.hundredths + part.hundredths;
  if (hundredths >= 100) {
    ++units;
    hundredths -= 100;
  }
  total = units > MaxUnits ? Saturated : SavingsTotal{static_cast<uint32_t>(units), hundredths};
}

uint32_t MinuteOfDay(const SysTime& t) { return 60u * t.wHour + t.wMinute; }

uint32_t NonNegative(int64_t value) {
  return value <= 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(value, MaxUnits));
}

}  // namespace

uint32_t LifeMinutesPerCigarette() { return ValueInForce(LifeMinutesOptions, GeneralPrefs.lifeMinutesPerCigarette); }

int ComputeQuitPending() {
  if (TodayDayNumber > QuitDayNumber)
    QuitPending = 0;
  else if (TodayDayNumber < QuitDayNumber)
    QuitPending = 1;
  else
    QuitPending = TimeOfDayBefore(QuitDetails.quitTime, LocalNow);
  return QuitPending;
}

int32_t MinutesToTimeOfDay(const SysTime& a, const SysTime& b) {
  uint32_t end = MinuteOfDay(b);
  if (end == 0) end = 1440;
  return static_cast<int32_t>(end) - static_cast<int32_t>(MinuteOfDay(a));
}

uint32_t DayFraction(const SysTime& moment) {
  const SysTime& quit = QuitDetails.quitTime;
  // Reduced modulo a day (then 0 read as a whole day) rather than by one
  // subtraction, so that a damaged hour field cannot give more than 1000.
  uint32_t x = (60u * MinuteOfDay(moment) + 86400u - (60u * MinuteOfDay(quit)) % 86400u) % 86400u;
  if (x == 0) x = 86400;
  return 1000u * x / 86400u;
}

int32_t ComputeDaysQuit() {
  DaysQuit = std::max<int32_t>(0, WholeDaysBetween(QuitDetails.quitTime, LocalNow));
  return DaysQuit;
}

uint32_t ComputeCigarettes(int32_t days, const SysTime& moment) {
  if (QuitPending == 1) {
    CigarettesNotSmoked = 0;
    return 0;
  }
  uint32_t fraction = DayFraction(moment);
  if (fraction == 1000) fraction = 0;  // the whole day is already among the days
  uint64_t perDay = QuitDetails.cigsPerDay;
  uint64_t count = perDay * fraction / 1000 + perDay * static_cast<uint64_t>(std::max<int32_t>(days, 0));
  CigarettesNotSmoked = static_cast<uint32_t>(std::min<uint64_t>(count, MaxUnits));
  return CigarettesNotSmoked;
}

// Widened so that nothing wraps: 1000.00 a pack of 1 at 500 a day is
// 50,000,000 hundredths a day, which would pass 32 bits of hundredths after
// 85 days. Here the product is taken in 128 bits and the amount may reach
// UINT32_MAX whole units (23.5 years of that extreme, millennia of any
// realistic setting); beyond that a period saturates at UINT32_MAX units and
// 99 hundredths instead of wrapping. A pack size of 0 (damaged settings)
// saves nothing rather than dividing by zero.
SavingsTotal MoneyForPeriod(uint32_t days, uint32_t minutes, uint32_t price) {
  const uint64_t pack = QuitDetails.cigsPerPack;
  if (pack == 0) return {0, 0};
  const uint64_t perDay = uint64_t{price} * QuitDetails.cigsPerDay;
  if (days != 0) return FromHundredths(MulDivFloor(perDay, days, pack));
  if (minutes != 0) return FromHundredths(MulDivFloor(perDay, minutes, 1440 * pack));
  return {0, 0};
}

SavingsTotal ComputeMoneySaved() {
  SavingsTotal total{0, 0};
  const SysTime& quit = QuitDetails.quitTime;
  const uint32_t basePrice = QuitDetails.price;
  if (QuitPending == 1 || TodayDayNumber < QuitDayNumber) {
    // nothing saved yet
  } else if (TodayDayNumber == QuitDayNumber) {
    int64_t minutes = int64_t{MinuteOfDay(LocalNow)} - MinuteOfDay(quit);
    total = MoneyForPeriod(0, NonNegative(minutes), basePrice);
  } else {
    // The rest of the quit day, to its end at midnight.
    const SysTime midnight{};
    Add(total, MoneyForPeriod(0, NonNegative(MinutesToTimeOfDay(quit, midnight)), basePrice));

    // The whole days in between, in segments of one price each. A point at
    // or before the quit day is superseded by the quit details' own price;
    // one after today is not in force yet. A point out of order (a damaged
    // file) only changes the price from the current segment on, so no day is
    // ever counted twice.
    int64_t start = int64_t{QuitDayNumber} + 1;
    uint32_t price = basePrice;
    const uint32_t count = std::min(PricePoints.count, PricePointCapacity);
    for (uint32_t i = 0; i < count; ++i) {
      const PricePoint& point = PricePoints.points[i];
      const int64_t day = point.Day;
      if (day <= QuitDayNumber) continue;
      if (day > TodayDayNumber) break;
      Add(total, MoneyForPeriod(NonNegative(day - start), 0, price));
      start = std::max(start, day);
      price = point.Price;
    }
    Add(total, MoneyForPeriod(NonNegative(TodayDayNumber - start), 0, price));

    // Today so far, at the price in force today.
    uint32_t minutes = MinuteOfDay(LocalNow);
    if (minutes != 0) Add(total, MoneyForPeriod(0, minutes, price));
  }
  MoneySaved = total;
  return total;
}

SysTime ComputeLifeSavedMoment() {
  const SysTime& quit = QuitDetails.quitTime;
  const uint64_t lifeMinutes = uint64_t{LifeMinutesPerCigarette()} * CigarettesNotSmoked;
  int64_t day = int64_t{QuitDayNumber} + static_cast<int64_t>(lifeMinutes / 1440);
  const uint32_t rest = static_cast<uint32_t>(lifeMinutes % 1440);
  uint32_t minute = rest % 60 + quit.wMinute;
  uint32_t hour = rest / 60 + minute / 60 + quit.wHour;
  minute %= 60;
  day += hour / 24;
  hour %= 24;
  // Beyond 31 December 9999 the calendar has no dates.
  day = std::min<int64_t>(day, DateToDayNumber(9999, 12, 31));
  SysTime moment{};
  DayNumberToDate(static_cast<DayNumber>(day), moment);
  moment.wHour = static_cast<uint16_t>(hour);
  moment.wMinute = static_cast<uint16_t>(minute);
  LifeSavedMoment = moment;
  return moment;
}

std::string FormatMoneyText(const SavingsTotal& total) {
  return Locale().FormatCurrency(std::to_string(total.units) + "." + ZeroPadded(total.hundredths, 2), 256);
}

void RefreshClockValues(const SysTime& now) {
  LocalNow = now;
  TodayDayNumber = DateToDayNumber(now);
}

void RefreshClockSecond(const SysTime& now) {
  RefreshClockValues(now);
  ComputeQuitPending();
  ComputeElapsedSpan(QuitDetails.quitTime, LocalNow, QuitSpan, QuitPending);
}

void RecomputeMinuteFigures() {
  ComputeDaysQuit();
  ComputeCigarettes(DaysQuit, LocalNow);
  ComputeMoneySaved();
  ComputeLifeSavedMoment();
  ComputeElapsedSpan(QuitDetails.quitTime, LifeSavedMoment, LifeSavedSpan, 0);
}
