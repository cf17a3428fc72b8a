// The GenPrefs value: any stored bytes. Only exactly 1052 bytes are taken;
// both texts are then terminated within their fields, everything else comes
// back unchanged, the numbers that the program uses are brought into range,
// and the stats text made from the stored template reads nothing beyond it.
#include <cstring>
#include <string>

#include "engine/general_options.h"
#include "engine/savings.h"
#include "engine/stats_text.h"
#include "formats/settings_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const bool comma = input.Byte() & 1;
  const std::vector<uint8_t> stored = input.Rest();
  CheckTakenOnlyAtSize(stored, GeneralPrefsSize, DefaultGeneralPrefs(), DecodeGeneralPrefs, EncodeGeneralPrefs);
  GeneralPrefsRecord prefs{};

  // The fitted value is always taken.
  std::vector<uint8_t> fitted = Fitted(stored, GeneralPrefsSize);
  Check(DecodeGeneralPrefs(fitted, prefs));
  Check(strnlen(prefs.statsTemplate, sizeof(prefs.statsTemplate)) < sizeof(prefs.statsTemplate));
  Check(strnlen(prefs.preQuitTemplate, sizeof(prefs.preQuitTemplate)) < sizeof(prefs.preQuitTemplate));
  fitted[offsetof(GeneralPrefsRecord, preQuitTemplate) - 1] = 0;
  fitted[GeneralPrefsSize - 1] = 0;
  const auto image = EncodeGeneralPrefs(prefs);
  Check(std::equal(image.begin(), image.end(), fitted.begin(), fitted.end()));

  GeneralPrefs = prefs;
  Check(LookAheadDaysInRange() >= 2 && LookAheadDaysInRange() <= 100);
  Check(LifeMinutesPerCigarette() >= 5 && LifeMinutesPerCigarette() <= 20);
  UseStandInLocale(comma);
  QuitPending = 0;
  const std::string text = BuildStatsText();
  Check(text.find('\0') == std::string::npos);
  return 0;
}
