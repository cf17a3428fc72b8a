#include "settings/registry_store.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/general_options.h"
#include "engine/savings.h"
#include "formats/quit_name.h"
#include "formats/settings_records.h"
#include "util/systime_win32.h"
#include "win/scoped.h"

namespace {
RegistryKey OpenForQuery(const char* path) {
  RegistryKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) *key.out() = nullptr;
  return key;
}

// Creates the key when it is missing, so that a fresh profile keeps what it writes.
RegistryKey OpenForWriting(const char* path) {
  RegistryKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.out(),
                      nullptr) != ERROR_SUCCESS)
    *key.out() = nullptr;
  return key;
}

// The value's bytes when its stored size lies in [minSize, maxSize]; the size is
// asked first so that a damaged value is never read into a field. The stored
// type is not checked.
bool ReadValue(HKEY key, const char* name, DWORD minSize, DWORD maxSize, std::vector<uint8_t>& bytes) {
  if (!key) return false;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  if (size < minSize || size > maxSize) return false;
  bytes.assign(size, 0);
  DWORD got = size;
  if (RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &got) != ERROR_SUCCESS || got != size) return false;
  return true;
}

bool ReadDword(HKEY key, const char* name, uint32_t& value) {
  std::vector<uint8_t> bytes;
  if (!ReadValue(key, name, 4, 4, bytes)) return false;
  value = uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
  return true;
}

void WriteBytes(HKEY key, const char* name, DWORD type, const uint8_t* bytes, std::size_t size) {
  if (key) RegSetValueExA(key, name, 0, type, bytes, static_cast<DWORD>(size));
}

template <std::size_t N>
void WriteBinary(HKEY key, const char* name, const std::array<uint8_t, N>& bytes) {
  WriteBytes(key, name, REG_BINARY, bytes.data(), bytes.size());
}

void WriteDword(HKEY key, const char* name, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  WriteBytes(key, name, REG_DWORD, bytes, sizeof(bytes));
}

void WriteQuitDetails(HKEY key) {
  const std::vector<uint8_t> name = EncodeQuitName(QuitDetails.name);
  WriteBytes(key, "QuitName", REG_SZ, name.data(), name.size());
  WriteDword(key, "NumCigs", QuitDetails.cigsPerDay);
  WriteDword(key, "NumPack", QuitDetails.cigsPerPack);
  WriteDword(key, "Price", QuitDetails.price);
  WriteBinary(key, "QuitDate", EncodeQuitDate(QuitDetails.quitTime));
}

void StoreRunValue() {
  if (GeneralPrefs.runAtStartup == 1) {
    // Room for a deep folder; a truncated path would start nothing, so then
    // the value is left as it is.
    char path[1024] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return;
    const std::string command = RunCommandText(std::string_view(path, length));
    RegistryKey run = OpenForWriting(RunKeyPath);
    WriteBytes(run.get(), RunValueName, REG_SZ, reinterpret_cast<const uint8_t*>(command.c_str()), command.size() + 1);
  } else {
    RegistryKey run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, run.out()) != ERROR_SUCCESS) return;
    RegDeleteValueA(run.get(), RunValueName);
  }
}
}  // namespace

bool IsSetupComplete() {
  RegistryKey key = OpenForQuery(SettingsKeyPath);
  uint32_t firstRun = 0;
  if (!ReadDword(key.get(), "FirstRun", firstRun) || firstRun != 1) return false;
  // Every figure counts from the quit moment: without a real one there is
  // nothing sound to show, and the wizard asks for it again.
  std::vector<uint8_t> bytes;
  SysTime quitTime;
  return ReadValue(key.get(), "QuitDate", QuitDateSize, QuitDateSize, bytes) && DecodeQuitDate(bytes, quitTime) &&
         IsRealQuitMoment(quitTime);
}

void ReadSettings() {
  RegistryKey key = OpenForQuery(SettingsKeyPath);
  if (!key) return;
  std::vector<uint8_t> bytes;
  if (ReadValue(key.get(), "QuitDate", QuitDateSize, QuitDateSize, bytes)) DecodeQuitDate(bytes, QuitDetails.quitTime);
  if (ReadValue(key.get(), "AppColors", AppColorsSize, AppColorsSize, bytes)) DecodeAppColors(bytes, AppColors);
  if (ReadValue(key.get(), "GenPrefs", GeneralPrefsSize, GeneralPrefsSize, bytes))
    DecodeGeneralPrefs(bytes, GeneralPrefs);
  ReadDword(key.get(), "HKEnabled", hotkeyEnabled);
  ReadDword(key.get(), "AppHKey", hotkeyCode);
  ReadDword(key.get(), "NumPack", QuitDetails.cigsPerPack);
  ReadDword(key.get(), "NumCigs", QuitDetails.cigsPerDay);
  ReadDword(key.get(), "Price", QuitDetails.price);
  if (ReadValue(key.get(), "QuitName", 1, QuitNameCapacity, bytes)) DecodeQuitName(bytes, QuitDetails.name);
}

namespace {
// Zero colours paint black text on black rows and a zero GenPrefs copies an
// empty text: a damaged or missing record runs on the defaults instead.
void ReadSettingsOverDefaults() {
  AppColors = DefaultAppColors();
  GeneralPrefs = DefaultGeneralPrefs();
  ReadSettings();
}
}  // namespace

void LoadSettings() {
  ReadSettingsOverDefaults();  // the defaults are not written back
  QuitDayNumber = DateToDayNumber(QuitDetails.quitTime);
  RefreshClockValues(LocalTimeNow());
}

void SaveQuitDetails() {
  RegistryKey key = OpenForWriting(SettingsKeyPath);
  WriteQuitDetails(key.get());
}

void SaveFirstRunSettings() {
  // A damaged quit date brings a user back here: their colours and
  // preferences stay where the stored records are whole and sound. The
  // details just entered are the ones stored.
  const QuitDetailsRecord entered = QuitDetails;
  ReadSettingsOverDefaults();
  QuitDetails = entered;
  if (!IsSoundAppColors(AppColors)) AppColors = DefaultAppColors();
  if (!IsSoundGeneralPrefs(GeneralPrefs)) GeneralPrefs = DefaultGeneralPrefs();
  RegistryKey key = OpenForWriting(SettingsKeyPath);
  WriteQuitDetails(key.get());
  WriteBinary(key.get(), "AppColors", EncodeAppColors(AppColors));
  WriteBinary(key.get(), "GenPrefs", EncodeGeneralPrefs(GeneralPrefs));
  WriteDword(key.get(), "FirstRun", 1);
}

void StorePreferences() {
  {
    RegistryKey key = OpenForWriting(SettingsKeyPath);
    WriteBinary(key.get(), "AppColors", EncodeAppColors(AppColors));
    WriteBinary(key.get(), "GenPrefs", EncodeGeneralPrefs(GeneralPrefs));
    WriteDword(key.get(), "HKEnabled", hotkeyEnabled);
    WriteDword(key.get(), "AppHKey", hotkeyCode);
  }
  StoreRunValue();
}

void StoreWindowPosition(int32_t x, int32_t y) {
  RegistryKey key = OpenForWriting(SettingsKeyPath);
  WriteDword(key.get(), "LastPosX", static_cast<uint32_t>(x));
  WriteDword(key.get(), "LastPosY", static_cast<uint32_t>(y));
}

void ReadWindowPosition() {
  RegistryKey key = OpenForQuery(SettingsKeyPath);
  uint32_t x = 0, y = 0;
  ReadDword(key.get(), "LastPosX", x);
  ReadDword(key.get(), "LastPosY", y);
  LastPosX = static_cast<int32_t>(x);
  LastPosY = static_cast<int32_t>(y);
}
