#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/general_options.h"
#include "formats/quit_name.h"
#include "formats/settings_records.h"

namespace {
uint32_t Dword(const uint8_t* at) {
  return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

const std::string DefaultTemplate =
    "I have been quit for %Q (%D days). I have saved %M by not smoking %C cigarettes. I have saved %L of my "
    "life. My Quit Date: %X";

GeneralPrefsRecord SamplePrefs() {
  GeneralPrefsRecord p{};
  p.LookAheadDays = 100;
  p.lifeMinutesPerCigarette = 0x11223344;
  p.runAtStartup = 1;
  p.startupView = 3;
  p.startMinimised = 1;
  p.includeSeconds = 0;
  p.fullDates = 0xFFFFFFFF;
  std::strcpy(p.statsTemplate, "%D days and %M");
  std::strcpy(p.preQuitTemplate, "soon");
  return p;
}
}  // namespace

TEST(SettingsRecords, GenPrefsDefaultsByteForByte) {
  const auto bytes = EncodeGeneralPrefs(DefaultGeneralPrefs());
  ASSERT_EQ(bytes.size(), 1052u);
  const uint32_t numbers[7] = {20, 5, 0, 0, 0, 1, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Dword(&bytes[4 * i]), numbers[i]) << "double word " << i;
  // Each text, then zeros to the end of its 512 bytes.
  auto expectText = [&](std::size_t offset, const std::string& text) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[offset]), text.size()), text);
    for (std::size_t i = offset + text.size(); i < offset + 512; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
  };
  expectText(28, DefaultTemplate);
  expectText(540, "I will quit in %Q.");
  EXPECT_EQ(bytes[0], 20);  // little-endian: low byte first
  EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
}

TEST(SettingsRecords, AppColorsDefaults) {
  const auto bytes = EncodeAppColors(DefaultAppColors());
  const uint32_t colours[7] = {0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Dword(&bytes[4 * i]), colours[i]) << "colour " << i;
  // 0x00BBGGRR: navy's blue byte is the third.
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[2], 0x80);
}

TEST(SettingsRecords, QuitDateLayout) {
  SysTime t = MakeDate(2004, 4, 9, 13, 45);
  const auto bytes = EncodeQuitDate(t);
  const uint8_t expected[16] = {0xD4, 0x07, 4, 0, 0, 0, 9, 0, 13, 0, 45, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(bytes.data(), expected, 16), 0);
  SysTime back;
  ASSERT_TRUE(DecodeQuitDate(bytes, back));
  EXPECT_EQ(std::memcmp(&back, &t, sizeof(t)), 0);
}

TEST(SettingsRecords, RoundTrips) {
  SysTime t;
  t.wYear = 0xFFFF;
  t.wMonth = 12;
  t.wDayOfWeek = 6;
  t.wDay = 31;
  t.wHour = 23;
  t.wMinute = 59;
  t.wSecond = 58;
  t.wMilliseconds = 999;
  SysTime tBack;
  ASSERT_TRUE(DecodeQuitDate(EncodeQuitDate(t), tBack));
  EXPECT_EQ(std::memcmp(&tBack, &t, sizeof(t)), 0);

  AppColorsRecord c{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0xFF00FF, 0x123456};
  AppColorsRecord cBack{};
  ASSERT_TRUE(DecodeAppColors(EncodeAppColors(c), cBack));
  EXPECT_EQ(std::memcmp(&cBack, &c, sizeof(c)), 0);

  GeneralPrefsRecord p = SamplePrefs();
  GeneralPrefsRecord pBack{};
  ASSERT_TRUE(DecodeGeneralPrefs(EncodeGeneralPrefs(p), pBack));
  EXPECT_EQ(std::memcmp(&pBack, &p, sizeof(p)), 0);

  GeneralPrefsRecord d = DefaultGeneralPrefs();
  ASSERT_TRUE(DecodeGeneralPrefs(EncodeGeneralPrefs(d), pBack));
  EXPECT_EQ(pBack.LookAheadDays, 20u);
  EXPECT_EQ(std::string(pBack.statsTemplate), DefaultTemplate);
  EXPECT_EQ(std::string(pBack.preQuitTemplate), "I will quit in %Q.");
}

TEST(SettingsRecords, WrongSizesLeaveTheRecordAsItWas) {
  const auto date = EncodeQuitDate(MakeDate(2001, 2, 3));
  const auto colours = EncodeAppColors(DefaultAppColors());
  const auto prefs = EncodeGeneralPrefs(DefaultGeneralPrefs());

  SysTime t = MakeDate(1999, 9, 9);
  for (std::size_t size : {0u, 1u, 15u}) EXPECT_FALSE(DecodeQuitDate(std::span(date).first(size), t));
  std::vector<uint8_t> longer(date.begin(), date.end());
  longer.push_back(0);
  EXPECT_FALSE(DecodeQuitDate(longer, t));
  EXPECT_EQ(t.wYear, 1999);
  EXPECT_EQ(t.wDay, 9);

  AppColorsRecord c{1, 2, 3, 4, 5, 6, 7};
  const AppColorsRecord cBefore = c;
  EXPECT_FALSE(DecodeAppColors(std::span(colours).first(27), c));
  std::vector<uint8_t> colours29(colours.begin(), colours.end());
  colours29.push_back(0xAA);
  EXPECT_FALSE(DecodeAppColors(colours29, c));
  EXPECT_EQ(std::memcmp(&c, &cBefore, sizeof(c)), 0);

  GeneralPrefsRecord p = SamplePrefs();
  const GeneralPrefsRecord pBefore = p;
  for (std::size_t size : {0u, 4u, 28u, 540u, 1051u}) EXPECT_FALSE(DecodeGeneralPrefs(std::span(prefs).first(size), p));
  std::vector<uint8_t> prefs1053(prefs.begin(), prefs.end());
  prefs1053.push_back(0);
  EXPECT_FALSE(DecodeGeneralPrefs(prefs1053, p));
  EXPECT_EQ(std::memcmp(&p, &pBefore, sizeof(p)), 0);
}

TEST(SettingsRecords, UnterminatedTemplatesAreCutAtTheirLastByte) {
  std::array<uint8_t, GeneralPrefsSize> bytes;
  bytes.fill('x');
  GeneralPrefsRecord p{};
  ASSERT_TRUE(DecodeGeneralPrefs(bytes, p));
  EXPECT_EQ(std::strlen(p.statsTemplate), 511u);
  EXPECT_EQ(std::strlen(p.preQuitTemplate), 511u);
  EXPECT_EQ(p.LookAheadDays, 0x78787878u);
}

TEST(SettingsRecords, QuitNameIsTextLengthPlusOne) {
  QuitDetailsRecord q{};
  std::strcpy(q.name, "abcdefghijklmnopqrstuvwxyz1234");  // 30 characters
  std::vector<uint8_t> bytes = EncodeQuitName(q.name);
  ASSERT_EQ(bytes.size(), 31u);
  EXPECT_EQ(bytes.back(), 0);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end() - 1), "abcdefghijklmnopqrstuvwxyz1234");

  std::memset(q.name, 0, sizeof(q.name));
  EXPECT_EQ(EncodeQuitName(q.name), std::vector<uint8_t>{0});

  // A field without a terminator never yields more than 127 characters.
  std::memset(q.name, 'n', sizeof(q.name));
  bytes = EncodeQuitName(q.name);
  ASSERT_EQ(bytes.size(), 128u);
  EXPECT_EQ(bytes[126], 'n');
  EXPECT_EQ(bytes[127], 0);
}

TEST(SettingsRecords, QuitNameReadsAtMost128BytesAlwaysTerminated) {
  char name[128];
  std::memset(name, '#', sizeof(name));
  const std::string bob = "Bob";
  std::vector<uint8_t> stored(bob.begin(), bob.end());
  stored.push_back(0);
  ASSERT_TRUE(DecodeQuitName(stored, name));
  EXPECT_STREQ(name, "Bob");
  EXPECT_EQ(name[127], 0);  // the rest is cleared, not left over

  // Stored without its zero.
  std::memset(name, '#', sizeof(name));
  ASSERT_TRUE(DecodeQuitName(std::span(stored).first(3), name));
  EXPECT_STREQ(name, "Bob");

  // 128 bytes without a zero: the last one gives way to the terminator.
  std::vector<uint8_t> full(128, 'z');
  ASSERT_TRUE(DecodeQuitName(full, name));
  EXPECT_EQ(std::strlen(name), 127u);

  std::strcpy(name, "Kept");
  std::vector<uint8_t> tooLong(129, 'z');
  EXPECT_FALSE(DecodeQuitName(tooLong, name));
  EXPECT_FALSE(DecodeQuitName(std::span<const uint8_t>(), name));
  EXPECT_STREQ(name, "Kept");
}

TEST(SettingsRecords, QuitNameRoundTrip) {
  QuitDetailsRecord q{};
  std::strcpy(q.name, "J\xE9r\xF4me Dupont");  // 8-bit characters pass unchanged
  char back[128];
  ASSERT_TRUE(DecodeQuitName(EncodeQuitName(q.name), back));
  EXPECT_EQ(std::memcmp(back, q.name, sizeof(back)), 0);
}

// Where it is used, as on the General page: outside 2..100, the default.
TEST(SettingsRecords, DamagedLookAheadCountsAsTheDefault) {
  const GeneralPrefsRecord saved = GeneralPrefs;
  for (auto [stored, used] : {std::pair<uint32_t, uint32_t>{0, 20}, {1, 20}, {2, 2}, {20, 20}, {100, 100},
                              {101, 20}, {1000, 20}, {0xFFFFFFFFu, 20}}) {
    GeneralPrefs.LookAheadDays = stored;
    EXPECT_EQ(LookAheadDaysInRange(), used) << stored;
    EXPECT_EQ(GeneralPrefs.LookAheadDays, stored);  // the stored value is left alone
  }
  GeneralPrefs = saved;
}

TEST(SettingsRecords, RunValueQuotesPathsWithBlanks) {
  EXPECT_EQ(RunCommandText("C:\\Tools\\Fumora.exe"), "C:\\Tools\\Fumora.exe");
  EXPECT_EQ(RunCommandText("C:\\Program Files\\Fumora\\Fumora.exe"), "\"C:\\Program Files\\Fumora\\Fumora.exe\"");
}
