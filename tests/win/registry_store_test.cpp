// The registry store against the private Wine prefix's HKCU. Every case starts
// without HKCU\Software\Fumora.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/savings.h"
#include "formats/settings_records.h"
#include "settings/registry_store.h"
#include "win/scoped.h"

namespace {
void DeleteTree(HKEY parent, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char child[256];
  for (;;) {
    DWORD size = sizeof(child);
    if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteTree(key, child);
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, path);
}

bool KeyExists(const char* path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct Stored {
  bool present = false;
  DWORD type = 0;
  std::vector<uint8_t> bytes;
};

Stored Query(const char* path, const char* name) {
  Stored s;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return s;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.bytes.resize(size);
    s.present = RegQueryValueExA(key, name, nullptr, &s.type, s.bytes.data(), &size) == ERROR_SUCCESS;
    s.bytes.resize(size);
  }
  RegCloseKey(key);
  return s;
}

Stored Setting(const char* name) { return Query(SettingsKeyPath, name); }

void Put(const char* name, DWORD type, const void* bytes, DWORD size) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(bytes), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

void PutDword(const char* name, DWORD value) { Put(name, REG_DWORD, &value, sizeof(value)); }

uint32_t AsDword(const Stored& s) {
  uint32_t v = 0;
  if (s.bytes.size() == 4) std::memcpy(&v, s.bytes.data(), 4);
  return v;
}

void ClearGlobals() {
  QuitDetails = {};
  AppColors = {};
  GeneralPrefs = {};
  hotkeyEnabled = hotkeyCode = 0;
  LastPosX = LastPosY = 0;
}

void SampleQuitDetails() {
  std::strcpy(QuitDetails.name, "Sam");
  QuitDetails.cigsPerDay = 20;
  QuitDetails.cigsPerPack = 25;
  QuitDetails.price = 1234;
  QuitDetails.quitTime = MakeDate(2004, 4, 9, 13, 45);
}

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Fumora");
    ASSERT_FALSE(KeyExists("Software\\Fumora"));
    ClearGlobals();
  }
  void TearDown() override {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Fumora");
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
      RegDeleteValueA(run, RunValueName);
      RegCloseKey(run);
    }
    ClearGlobals();
  }
};
}  // namespace

TEST_F(RegistryStore, FreshProfileWithoutTheKey) {
  EXPECT_FALSE(IsSetupComplete());
  ReadSettings();  // nothing to read: the records stay zero
  EXPECT_EQ(GeneralPrefs.LookAheadDays, 0u);
  EXPECT_EQ(QuitDetails.name[0], 0);
  ReadWindowPosition();
  EXPECT_EQ(LastPosX, 0);
  EXPECT_EQ(LastPosY, 0);
  EXPECT_FALSE(KeyExists(SettingsKeyPath));  // reading creates nothing
}

TEST_F(RegistryStore, FirstRunCreatesTheKeyAndTheEightValues) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  ASSERT_TRUE(KeyExists(SettingsKeyPath));
  EXPECT_TRUE(IsSetupComplete());

  struct Expected {
    const char* name;
    DWORD type;
    size_t size;
  };
  const Expected values[] = {{"QuitName", REG_SZ, 4},      {"NumCigs", REG_DWORD, 4},   {"NumPack", REG_DWORD, 4},
                             {"Price", REG_DWORD, 4},      {"QuitDate", REG_BINARY, 16}, {"AppColors", REG_BINARY, 28},
                             {"GenPrefs", REG_BINARY, 1052}, {"FirstRun", REG_DWORD, 4}};
  for (const Expected& e : values) {
    Stored s = Setting(e.name);
    ASSERT_TRUE(s.present) << e.name;
    EXPECT_EQ(s.type, e.type) << e.name;
    EXPECT_EQ(s.bytes.size(), e.size) << e.name;
  }
  for (const char* absent : {"HKEnabled", "AppHKey", "LastPosX", "LastPosY"})
    EXPECT_FALSE(Setting(absent).present) << absent;

  const std::vector<uint8_t> name = Setting("QuitName").bytes;
  EXPECT_EQ(std::string(name.begin(), name.end()), std::string("Sam", 4));
  EXPECT_EQ(AsDword(Setting("NumCigs")), 20u);
  EXPECT_EQ(AsDword(Setting("NumPack")), 25u);
  EXPECT_EQ(AsDword(Setting("Price")), 1234u);
  EXPECT_EQ(AsDword(Setting("FirstRun")), 1u);
  const uint8_t date[16] = {0xD4, 0x07, 4, 0, 0, 0, 9, 0, 13, 0, 45, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(Setting("QuitDate").bytes.data(), date, 16), 0);

  // Memory got the defaults too, and the stored GenPrefs is them.
  EXPECT_EQ(GeneralPrefs.LookAheadDays, 20u);
  EXPECT_EQ(AppColors.anniversaryBack, 0x800000u);
  std::vector<uint8_t> prefs = Setting("GenPrefs").bytes;
  const uint32_t numbers[7] = {20, 5, 0, 0, 0, 1, 1};
  EXPECT_EQ(std::memcmp(prefs.data(), numbers, sizeof(numbers)), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&prefs[540]), "I will quit in %Q.");
}

TEST_F(RegistryStore, KeyPresentWithoutValues) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_FALSE(IsSetupComplete());
  SampleQuitDetails();
  SaveFirstRunSettings();
  EXPECT_TRUE(IsSetupComplete());
  EXPECT_FALSE(Setting("HKEnabled").present);
}

TEST_F(RegistryStore, FirstRunOtherThanOneIsNotComplete) {
  const auto date = EncodeQuitDate(MakeDate(2004, 4, 9, 13, 45));
  Put("QuitDate", REG_BINARY, date.data(), DWORD(date.size()));
  for (DWORD v : {0u, 2u, 0x101u}) {
    PutDword("FirstRun", v);
    EXPECT_FALSE(IsSetupComplete()) << v;
  }
  PutDword("FirstRun", 1);
  EXPECT_TRUE(IsSetupComplete());
  // The right number in the wrong size is not trusted.
  const uint8_t eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  Put("FirstRun", REG_BINARY, eight, sizeof(eight));
  EXPECT_FALSE(IsSetupComplete());
  Put("FirstRun", REG_BINARY, eight, 4);  // the type is not checked
  EXPECT_TRUE(IsSetupComplete());
}

// Setup is complete only with a quit date that is a real moment.
TEST_F(RegistryStore, DamagedQuitDateIsNotComplete) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  ASSERT_TRUE(IsSetupComplete());
  auto withField = [](int field, uint16_t value) {
    auto bytes = EncodeQuitDate(MakeDate(2004, 4, 9, 13, 45));
    bytes[2 * field] = static_cast<uint8_t>(value);
    bytes[2 * field + 1] = static_cast<uint8_t>(value >> 8);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  };
  const std::vector<uint8_t> damaged[] = {
      std::vector<uint8_t>(15, 1), std::vector<uint8_t>(17, 1), std::vector<uint8_t>(4, 0),
      withField(0, 1899), withField(0, 2100), withField(1, 0), withField(1, 13), withField(3, 31),  // 31 April
      withField(4, 24), withField(5, 60), withField(6, 60), withField(7, 1000)};
  for (const auto& bytes : damaged) {
    Put("QuitDate", REG_BINARY, bytes.data(), DWORD(bytes.size()));
    EXPECT_FALSE(IsSetupComplete()) << ::testing::PrintToString(bytes);
  }
  const uint32_t dword = 20;
  Put("QuitDate", REG_DWORD, &dword, sizeof(dword));
  EXPECT_FALSE(IsSetupComplete());
  RegistryKey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_SET_VALUE, key.out()), ERROR_SUCCESS);
  RegDeleteValueA(key.get(), "QuitDate");
  EXPECT_FALSE(IsSetupComplete());
  const auto sound = withField(2, 6);  // the day of the week is not read
  Put("QuitDate", REG_BINARY, sound.data(), DWORD(sound.size()));
  EXPECT_TRUE(IsSetupComplete());
}

TEST_F(RegistryStore, ThirtyCharacterNameIsStoredAs31Bytes) {
  SampleQuitDetails();
  std::strcpy(QuitDetails.name, "abcdefghijklmnopqrstuvwxyz1234");
  SaveQuitDetails();
  Stored name = Setting("QuitName");
  ASSERT_TRUE(name.present);
  EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(name.bytes.size(), 31u);
  EXPECT_EQ(name.bytes.back(), 0);
  // SaveQuitDetails writes only the five quit values.
  EXPECT_FALSE(Setting("FirstRun").present);
  EXPECT_FALSE(Setting("GenPrefs").present);
  EXPECT_FALSE(Setting("AppColors").present);

  std::memset(QuitDetails.name, 'x', sizeof(QuitDetails.name));
  ReadSettings();
  EXPECT_STREQ(QuitDetails.name, "abcdefghijklmnopqrstuvwxyz1234");
}

TEST_F(RegistryStore, ReadSettingsRoundTrip) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  AppColors.todayBack = 0x123456;
  GeneralPrefs.LookAheadDays = 77;
  GeneralPrefs.startupView = 3;
  std::strcpy(GeneralPrefs.statsTemplate, "%D days");
  hotkeyEnabled = 1;
  hotkeyCode = 0x0341;
  StorePreferences();
  const QuitDetailsRecord quit = QuitDetails;
  const AppColorsRecord colours = AppColors;
  const GeneralPrefsRecord prefs = GeneralPrefs;

  ClearGlobals();
  ReadSettings();
  EXPECT_EQ(std::memcmp(&QuitDetails, &quit, sizeof(quit)), 0);
  EXPECT_EQ(std::memcmp(&AppColors, &colours, sizeof(colours)), 0);
  EXPECT_EQ(std::memcmp(&GeneralPrefs, &prefs, sizeof(prefs)), 0);
  EXPECT_EQ(hotkeyEnabled, 1u);
  EXPECT_EQ(hotkeyCode, 0x0341u);
}

TEST_F(RegistryStore, LoadSettingsFixesTheDayNumbers) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  ClearGlobals();
  SYSTEMTIME before;
  GetLocalTime(&before);
  LoadSettings();
  SYSTEMTIME after;
  GetLocalTime(&after);
  EXPECT_EQ(QuitDayNumber, DateToDayNumber(2004, 4, 9));
  EXPECT_EQ(LocalNow.wYear, before.wYear);
  EXPECT_GE(TodayDayNumber, DateToDayNumber(before.wYear, before.wMonth, before.wDay));
  EXPECT_LE(TodayDayNumber, DateToDayNumber(after.wYear, after.wMonth, after.wDay));
  EXPECT_EQ(TodayDayNumber, DateToDayNumber(LocalNow));
}

TEST_F(RegistryStore, LoadSettingsRunsOnDefaultsForUnreadableRecords) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  std::vector<uint8_t> colours(27, 0);
  Put("AppColors", REG_BINARY, colours.data(), DWORD(colours.size()));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegDeleteValueA(key, "GenPrefs");
  RegCloseKey(key);
  ClearGlobals();
  LoadSettings();
  const AppColorsRecord colourDefaults = DefaultAppColors();
  const GeneralPrefsRecord prefDefaults = DefaultGeneralPrefs();
  EXPECT_EQ(std::memcmp(&AppColors, &colourDefaults, sizeof(AppColors)), 0);
  EXPECT_EQ(std::memcmp(&GeneralPrefs, &prefDefaults, sizeof(GeneralPrefs)), 0);
  EXPECT_EQ(QuitDetails.cigsPerPack, 25u);
  EXPECT_FALSE(Setting("GenPrefs").present);  // nothing written back
}

TEST_F(RegistryStore, DamagedValuesAreIgnored) {
  SampleQuitDetails();
  SaveFirstRunSettings();
  // Wrong sizes everywhere.
  std::vector<uint8_t> prefs(1051, 0x41), colours(29, 0x42), date(15, 0x43), name(129, 'z');
  Put("GenPrefs", REG_BINARY, prefs.data(), DWORD(prefs.size()));
  Put("AppColors", REG_BINARY, colours.data(), DWORD(colours.size()));
  Put("QuitDate", REG_BINARY, date.data(), DWORD(date.size()));
  Put("QuitName", REG_SZ, name.data(), DWORD(name.size()));
  const uint8_t two[2] = {9, 9};
  Put("NumCigs", REG_DWORD, two, 2);
  const uint8_t eight[8] = {7, 7, 7, 7, 7, 7, 7, 7};
  Put("Price", REG_BINARY, eight, 8);
  Put("HKEnabled", REG_BINARY, eight, 0);

  const QuitDetailsRecord quit = QuitDetails;
  const AppColorsRecord colourRecord = AppColors;
  const GeneralPrefsRecord prefsRecord = GeneralPrefs;
  hotkeyEnabled = 5;
  ReadSettings();
  EXPECT_EQ(std::memcmp(&QuitDetails, &quit, sizeof(quit)), 0);
  EXPECT_EQ(std::memcmp(&AppColors, &colourRecord, sizeof(colourRecord)), 0);
  EXPECT_EQ(std::memcmp(&GeneralPrefs, &prefsRecord, sizeof(prefsRecord)), 0);
  EXPECT_EQ(hotkeyEnabled, 5u);

  // From a fresh start a damaged GenPrefs leaves the zero record.
  ClearGlobals();
  ReadSettings();
  EXPECT_EQ(GeneralPrefs.LookAheadDays, 0u);
  EXPECT_EQ(GeneralPrefs.statsTemplate[0], 0);
  EXPECT_EQ(QuitDetails.cigsPerPack, 25u);  // the sound values still read
}

TEST_F(RegistryStore, QuitNameOfExactly128BytesIsTerminated) {
  std::vector<uint8_t> name(128, 'q');
  Put("QuitName", REG_BINARY, name.data(), 128);
  ReadSettings();
  EXPECT_EQ(std::strlen(QuitDetails.name), 127u);
}

TEST_F(RegistryStore, StorePreferencesWritesTheFourValuesAndTheRunValue) {
  char path[512] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, sizeof(path));

  DeleteTree(HKEY_CURRENT_USER, RunKeyPath);  // made when missing
  AppColors = DefaultAppColors();
  GeneralPrefs = DefaultGeneralPrefs();
  GeneralPrefs.runAtStartup = 1;
  hotkeyEnabled = 1;
  hotkeyCode = 0x0254;
  StorePreferences();
  EXPECT_EQ(Setting("AppColors").bytes.size(), 28u);
  EXPECT_EQ(Setting("GenPrefs").bytes.size(), 1052u);
  EXPECT_EQ(AsDword(Setting("HKEnabled")), 1u);
  EXPECT_EQ(AsDword(Setting("AppHKey")), 0x0254u);
  EXPECT_EQ(Setting("HKEnabled").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_FALSE(Setting("FirstRun").present);

  Stored run = Query(RunKeyPath, RunValueName);
  ASSERT_TRUE(run.present);
  EXPECT_EQ(run.type, static_cast<DWORD>(REG_SZ));
  const std::string command = RunCommandText(path);
  EXPECT_EQ(std::string(run.bytes.begin(), run.bytes.end()), std::string(command.c_str(), command.size() + 1));

  GeneralPrefs.runAtStartup = 0;
  StorePreferences();
  EXPECT_FALSE(Query(RunKeyPath, RunValueName).present);
  StorePreferences();  // deleting again is harmless
  EXPECT_FALSE(Query(RunKeyPath, RunValueName).present);
  EXPECT_TRUE(KeyExists(RunKeyPath));

  GeneralPrefs.runAtStartup = 1;
  StorePreferences();
  EXPECT_TRUE(Query(RunKeyPath, RunValueName).present);
}

TEST_F(RegistryStore, WindowPosition) {
  StoreWindowPosition(-20, 345);
  EXPECT_TRUE(KeyExists(SettingsKeyPath));
  EXPECT_EQ(Setting("LastPosX").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(AsDword(Setting("LastPosX")), 0xFFFFFFECu);
  ReadWindowPosition();
  EXPECT_EQ(LastPosX, -20);
  EXPECT_EQ(LastPosY, 345);

  PutDword("LastPosX", static_cast<DWORD>(-103));
  ReadWindowPosition();
  EXPECT_EQ(LastPosX, -103);

  // Missing or damaged reads as 0.
  const uint8_t two[2] = {1, 1};
  Put("LastPosY", REG_BINARY, two, 2);
  ReadWindowPosition();
  EXPECT_EQ(LastPosY, 0);
  DeleteTree(HKEY_CURRENT_USER, "Software\\Fumora");
  ReadWindowPosition();
  EXPECT_EQ(LastPosX, 0);
}
