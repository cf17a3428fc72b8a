// ParseCompactDate and PriceTextToHundredths on arbitrary bytes: no reads
// past the input, and the documented bounds of their results.
#include <string>
#include <string_view>

#include "engine/calendar.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Both separators matter to the price parser: the first byte chooses.
  UseStandInLocale(data[0] & 1);
  // The rest in a buffer of its own exact size, so that the sanitizer sees
  // any read past it.
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view text(bytes);
  const std::size_t length = text.find('\0') == std::string_view::npos ? text.size() : text.find('\0');

  SysTime date = ParseCompactDate(text);
  Check(date.wHour == 0 && date.wMinute == 0 && date.wSecond == 0 && date.wMilliseconds == 0);
  std::string compact;
  AppendCompactDate(date, compact);
  Check(compact.size() >= 6);

  std::string hundredths = PriceTextToHundredths(text.substr(0, length));
  Check(hundredths.size() <= length + 2);
  Check(hundredths.size() >= 2);
  // The whole units are copied as they are; without a separator "00" follows.
  const char sep = DecimalSeparator.empty() ? '\0' : DecimalSeparator[0];
  std::string_view source = text.substr(0, length);
  std::size_t at = sep ? source.find(sep) : std::string_view::npos;
  std::string_view units = source.substr(0, at);
  Check(std::string_view(hundredths).substr(0, units.size()) == units);
  if (at == std::string_view::npos) Check(hundredths == std::string(source) + "00");
  Check(hundredths.size() == units.size() + 2);
  std::string again = PriceTextToHundredths(std::string(text.substr(0, length)) + std::string(1, '\0') + "99");
  Check(again == hundredths);  // nothing after the terminator counts
  return 0;
}
