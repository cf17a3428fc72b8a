// The AppColors value: any stored bytes. Only exactly 28 bytes are taken,
// and those come back unchanged from the record.
#include "formats/settings_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> stored = input.Rest();
  CheckTakenOnlyAtSize(stored, AppColorsSize, DefaultAppColors(), DecodeAppColors, EncodeAppColors);
  AppColorsRecord colours{};
  const std::vector<uint8_t> fitted = Fitted(stored, AppColorsSize);
  Check(DecodeAppColors(fitted, colours));
  const auto image = EncodeAppColors(colours);
  Check(std::equal(image.begin(), image.end(), fitted.begin(), fitted.end()));
  return 0;
}
