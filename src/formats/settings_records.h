// The settings records and their stored byte layouts (little-endian), and
// the process-wide copies that every part of the program reads.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "util/systime.h"

struct QuitDetailsRecord {
  char name[128];  // zero-terminated; the dialogs accept 1..30 characters
  uint32_t cigsPerDay;  // 1..500
  uint32_t cigsPerPack;  // 1..600
  uint32_t price;  // hundredths of the currency unit, 1..100000
  SysTime quitTime;  // local; wSecond, wMilliseconds and wDayOfWeek are 0
};

// Seven COLORREFs (0x00BBGGRR), stored whole as the 28-byte AppColors value.
struct AppColorsRecord {
  uint32_t anniversaryBack;
  uint32_t anniversaryText;
  uint32_t todayBack;
  uint32_t tomorrowBack;
  uint32_t rowHighlightBack;
  uint32_t todayText;
  uint32_t tomorrowText;
};
static_assert(sizeof(AppColorsRecord) == 28);

// Stored whole as the 1052-byte GenPrefs value.
struct GeneralPrefsRecord {
  uint32_t LookAheadDays;  // 2..100
  uint32_t lifeMinutesPerCigarette;  // 5..20
  uint32_t runAtStartup;
  uint32_t startupView;  // 0 statistics, 1 milestones, 2 buddies, 3 days ahead
  uint32_t startMinimised;
  uint32_t includeSeconds;
  uint32_t fullDates;
  char statsTemplate[512];  // the StatsTemplate
  char preQuitTemplate[512];  // stored, never read
};
static_assert(sizeof(GeneralPrefsRecord) == 1052);
static_assert(offsetof(GeneralPrefsRecord, statsTemplate) == 28);
static_assert(offsetof(GeneralPrefsRecord, preQuitTemplate) == 540);

inline constexpr char DefaultStatsTemplate[] =
    "I have been quit for %Q (%D days). I have saved %M by not smoking %C cigarettes. "
    "I have saved %L of my life. My Quit Date: %X";
static_assert(sizeof(DefaultStatsTemplate) <= sizeof(GeneralPrefsRecord::statsTemplate));

inline constexpr std::size_t QuitDateSize = 16;
inline constexpr std::size_t AppColorsSize = 28;
inline constexpr std::size_t GeneralPrefsSize = 1052;

// Process-wide settings, zero at start.
extern QuitDetailsRecord QuitDetails;
extern AppColorsRecord AppColors;
extern GeneralPrefsRecord GeneralPrefs;
extern uint32_t hotkeyEnabled;
extern uint32_t hotkeyCode;  // virtual key in bits 0..7, HOTKEYF_* flags in bits 8..15
extern uint32_t savePositionOnExit;  // not stored: 0 at every start
extern int32_t LastPosX;  // -103: no stored position is applied
extern int32_t LastPosY;

// The seven colours in stored order (the AppColors entries 0..6).
std::array<uint32_t*, 7> ColourFields(AppColorsRecord& colors);

AppColorsRecord DefaultAppColors();
// Whether every colour is a plain 0x00BBGGRR value, as the colour chooser
// gives it: the high byte of a damaged one is not 0.
bool IsSoundAppColors(const AppColorsRecord& colors);
GeneralPrefsRecord DefaultGeneralPrefs();

// Byte images of the stored values. Decoders take exactly the stored size and
// return false (leaving the record as it was) for any other size.
std::array<uint8_t, QuitDateSize> EncodeQuitDate(const SysTime& quitTime);
bool DecodeQuitDate(std::span<const uint8_t> bytes, SysTime& quitTime);
std::array<uint8_t, AppColorsSize> EncodeAppColors(const AppColorsRecord& colors);
bool DecodeAppColors(std::span<const uint8_t> bytes, AppColorsRecord& colors);
std::array<uint8_t, GeneralPrefsSize> EncodeGeneralPrefs(const GeneralPrefsRecord& prefs);
bool DecodeGeneralPrefs(std::span<const uint8_t> bytes, GeneralPrefsRecord& prefs);

// The Run value's text for the executable at `path`: quoted when the path
// holds a blank, which the system would otherwise take for the end of the
// program's name ("C:\Program" instead of "C:\Program Files\...").
std::string RunCommandText(std::string_view path);
