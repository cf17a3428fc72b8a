#include "formats/settings_records.h"

#include <cstring>

QuitDetailsRecord QuitDetails;
AppColorsRecord AppColors;
GeneralPrefsRecord GeneralPrefs;
uint32_t hotkeyEnabled;
uint32_t hotkeyCode;
uint32_t savePositionOnExit;
int32_t LastPosX;
int32_t LastPosY;

namespace {
constexpr char DefaultPreQuitTemplate[] = "I will quit in %Q.";

void Put16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
uint16_t Get16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
uint32_t Get32(const uint8_t* at) {
  return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

// The seven numbers of the prefs, in stored order.
std::array<uint32_t*, 7> PrefNumbers(GeneralPrefsRecord& p) {
  return {&p.LookAheadDays, &p.lifeMinutesPerCigarette, &p.runAtStartup, &p.startupView,
          &p.startMinimised, &p.includeSeconds,         &p.fullDates};
}
}  // namespace

std::array<uint32_t*, 7> ColourFields(AppColorsRecord& c) {
  return {&c.anniversaryBack, &c.anniversaryText, &c.todayBack,   &c.tomorrowBack,
          &c.rowHighlightBack, &c.todayText,      &c.tomorrowText};
}

AppColorsRecord DefaultAppColors() {
  AppColorsRecord c{};
  c.anniversaryBack = 0x800000;
  c.anniversaryText = 0xFFFFFF;
  c.todayBack = 0xA6F4F2;
  c.tomorrowBack = 0xBB928E;
  c.rowHighlightBack = 0xF4F4F2;
  c.todayText = 0x000000;
  c.tomorrowText = 0x000000;
  return c;
}

bool IsSoundAppColors(const AppColorsRecord& c) {
  return ((c.anniversaryBack | c.anniversaryText | c.todayBack | c.tomorrowBack | c.rowHighlightBack | c.todayText |
           c.tomorrowText) >> 24) == 0;
}

GeneralPrefsRecord DefaultGeneralPrefs() {
  GeneralPrefsRecord p{};
  p.LookAheadDays = 20;
  p.lifeMinutesPerCigarette = 5;
  p.runAtStartup = 0;
  p.startupView = 0;
  p.startMinimised = 0;
  p.includeSeconds = 1;
  p.fullDates = 1;
  std::memcpy(p.statsTemplate, DefaultStatsTemplate, sizeof(DefaultStatsTemplate));
  std::memcpy(p.preQuitTemplate, DefaultPreQuitTemplate, sizeof(DefaultPreQuitTemplate));
  return p;
}

std::array<uint8_t, QuitDateSize> EncodeQuitDate(const SysTime& t) {
  std::array<uint8_t, QuitDateSize> bytes{};
  const uint16_t fields[8] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  for (int i = 0; i < 8; ++i) Put16(&bytes[2 * i], fields[i]);
  return bytes;
}

bool DecodeQuitDate(std::span<const uint8_t> bytes, SysTime& t) {
  if (bytes.size() != QuitDateSize) return false;
  uint16_t* fields[8] = {&t.wYear, &t.wMonth, &t.wDayOfWeek, &t.wDay, &t.wHour, &t.wMinute, &t.wSecond, &t.wMilliseconds};
  for (int i = 0; i < 8; ++i) *fields[i] = Get16(&bytes[2 * i]);
  return true;
}

std::array<uint8_t, AppColorsSize> EncodeAppColors(const AppColorsRecord& colors) {
  std::array<uint8_t, AppColorsSize> bytes{};
  AppColorsRecord copy = colors;
  auto fields = ColourFields(copy);
  for (size_t i = 0; i < fields.size(); ++i) Put32(&bytes[4 * i], *fields[i]);
  return bytes;
}

bool DecodeAppColors(std::span<const uint8_t> bytes, AppColorsRecord& colors) {
  if (bytes.size() != AppColorsSize) return false;
  auto fields = ColourFields(colors);
  for (size_t i = 0; i < fields.size(); ++i) *fields[i] = Get32(&bytes[4 * i]);
  return true;
}

std::array<uint8_t, GeneralPrefsSize> EncodeGeneralPrefs(const GeneralPrefsRecord& prefs) {
  std::array<uint8_t, GeneralPrefsSize> bytes{};
  GeneralPrefsRecord copy = prefs;
  auto numbers = PrefNumbers(copy);
  for (size_t i = 0; i < numbers.size(); ++i) Put32(&bytes[4 * i], *numbers[i]);
  std::memcpy(&bytes[offsetof(GeneralPrefsRecord, statsTemplate)], prefs.statsTemplate, sizeof(prefs.statsTemplate));
  std::memcpy(&bytes[offsetof(GeneralPrefsRecord, preQuitTemplate)], prefs.preQuitTemplate,
              sizeof(prefs.preQuitTemplate));
  return bytes;
}

bool DecodeGeneralPrefs(std::span<const uint8_t> bytes, GeneralPrefsRecord& prefs) {
  if (bytes.size() != GeneralPrefsSize) return false;
  auto numbers = PrefNumbers(prefs);
  for (size_t i = 0; i < numbers.size(); ++i) *numbers[i] = Get32(&bytes[4 * i]);
  std::memcpy(prefs.statsTemplate, &bytes[offsetof(GeneralPrefsRecord, statsTemplate)], sizeof(prefs.statsTemplate));
  std::memcpy(prefs.preQuitTemplate, &bytes[offsetof(GeneralPrefsRecord, preQuitTemplate)],
              sizeof(prefs.preQuitTemplate));
  // A damaged value may lack the terminators; readers of the texts rely on them.
  prefs.statsTemplate[sizeof(prefs.statsTemplate) - 1] = '\0';
  prefs.preQuitTemplate[sizeof(prefs.preQuitTemplate) - 1] = '\0';
  return true;
}

std::string RunCommandText(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  return "\"" + std::string(path) + "\"";
}
