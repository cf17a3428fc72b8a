// pp.dat: DecodePricePoints on any file content. The list holds the file's
// records as they are (at most 100, a partial last one padded with zeros),
// encodes back to the same bytes, and the money walk over it stays sound.
#include "engine/savings.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> file = input.Rest();

  PricePointList list{};
  list.count = 12345;
  DecodePricePoints(file, list);
  const std::size_t records = file.size() < 4 ? 0 : std::min<std::size_t>((file.size() + 7) / 8, PricePointCapacity);
  Check(list.count == records);
  const std::vector<uint8_t> image = Fitted(file, records * 8);
  Check(EncodePricePoints(std::span(list.points.data(), list.count)) == image);

  // Money saved over the list, however damaged: a quit on 1 January 2020
  // at 08:00, looked at on 15 June 2024 at 12:34.
  UseStandInLocale(false);
  PricePoints = list;
  SetQuitDetails(MakeDate(2020, 1, 1, 8, 0), 20, 20, 500);
  RefreshClockSecond(MakeDate(2024, 6, 15, 12, 34));
  RecomputeMinuteFigures();
  Check(MoneySaved.hundredths < 100);
  Check(!FormatMoneyText(MoneySaved).empty());
  return 0;
}
