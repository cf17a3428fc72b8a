// The settings' registry store: HKEY_CURRENT_USER\Software\Fumora\Details
// (and the "Fumora" value of the Run key). Failures are silent: a value that
// is missing, unreadable or of the wrong size leaves its field as it was.
#pragma once
#include <cstdint>

inline constexpr char SettingsKeyPath[] = "Software\\Fumora\\Details";
inline constexpr char RunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char RunValueName[] = "Fumora";

// True only when FirstRun reads as 1 and QuitDate as a real quit moment
// (IsRealQuitMoment): a damaged quit date sends the user through the wizard.
bool IsSetupComplete();

// QuitDate, AppColors, GenPrefs, HKEnabled, AppHKey, NumPack, NumCigs, Price,
// QuitName into their fields.
void ReadSettings();

// ReadSettings over the default AppColors and GenPrefs (a record that cannot
// be read keeps its defaults), then QuitDayNumber, LocalNow and TodayDayNumber.
void LoadSettings();

// QuitName, NumCigs, NumPack, Price, QuitDate from QuitDetails.
void SaveQuitDetails();

// The quit details written; AppColors and GeneralPrefs read back where the
// stored records are whole and sound (IsSoundAppColors, IsSoundGeneralPrefs),
// else set to their defaults, and written; then FirstRun = 1.
void SaveFirstRunSettings();

// The stores of the preferences' apply: AppColors, GenPrefs, HKEnabled,
// AppHKey, then the Run value (the executable's path when runAtStartup is 1,
// deleted when it is 0).
void StorePreferences();

// LastPosX / LastPosY.
void StoreWindowPosition(int32_t x, int32_t y);
// Sets LastPosX / LastPosY; a missing (or damaged) value reads as 0.
void ReadWindowPosition();
