// pp.dat: DecodePricePoints on any file content. The list holds the file's
// first records (at most 100, a partial last one padded with zeros) ordered by
// day, the same records as the file's head, and the money walk over it stays
// sound.
#include <algorithm>

#include "engine/savings.h"
#include "formats/price_points.h"
#include "formats/settings_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> file = input.Rest();

  PricePointList list{};
  list.count = 12345;
  const uint32_t inFile = DecodePricePoints(file, list);
  const std::size_t records = file.size() < 4 ? 0 : std::min<std::size_t>((file.size() + 7) / 8, PricePointCapacity);
  Check(list.count == records && inFile == (file.size() < 4 ? 0 : (file.size() + 7) / 8));
  for (uint32_t i = 1; i < list.count; ++i) Check(list.points[i - 1].Day <= list.points[i].Day);
  // The same records as the file's head, perhaps in another order.
  const std::vector<uint8_t> image = Fitted(file, records * 8);
  const std::vector<uint8_t> decoded = EncodePricePoints(std::span(list.points.data(), list.count));
  auto recordSet = [](const std::vector<uint8_t>& bytes) {
    std::vector<std::vector<uint8_t>> out;
    for (std::size_t at = 0; at < bytes.size(); at += 8) out.emplace_back(bytes.begin() + at, bytes.begin() + at + 8);
    std::sort(out.begin(), out.end());
    return out;
  };
  Check(recordSet(decoded) == recordSet(image));

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
