#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/savings.h"
#include "engine/stats_text.h"
#include "formats/settings_records.h"
#include "locale_fixture.h"

namespace {

class StatsText : public PeriodLocale {
 protected:
  void SetUp() override {
    PeriodLocale::SetUp();
    snapshot = StatsSnapshot{};
    snapshot.quitSpan = {0, 2, 0, 3, 4, 5, 6, 0};
    snapshot.lifeSavedSpan = {0, 0, 0, 4, 10, 40, 0, 0};
    snapshot.money = {123, 45};
    snapshot.cigarettes = 1280;
    snapshot.days = 64;
    snapshot.fullDates = 0;
    snapshot.includeSeconds = 1;
    snapshot.quitDate = MakeDate(2004, 3, 5, 9, 30);
  }
  std::string Expand(const std::string& text) { return ExpandTemplate(text, snapshot); }
  StatsSnapshot snapshot;
};

const char DefaultTemplate[] =
    "I have been quit for %Q (%D days). I have saved %M by not smoking %C cigarettes. I have saved %L of my "
    "life. My Quit Date: %X";

void SetTemplate(const std::string& text) {
  std::memset(GeneralPrefs.statsTemplate, 0, sizeof GeneralPrefs.statsTemplate);
  std::memcpy(GeneralPrefs.statsTemplate, text.data(), std::min(text.size(), sizeof GeneralPrefs.statsTemplate));
}

}  // namespace

TEST_F(StatsText, DefaultTemplateExpandsEveryPlaceholder) {
  EXPECT_EQ(Expand(DefaultTemplate),
            "I have been quit for 2M 3D 4h 5m 6s (64 days). I have saved $123.45 by not smoking 1,280 cigarettes. "
            "I have saved 4D 10h 40m of my life. My Quit Date: 3/5/2004");
  snapshot.fullDates = 1;
  snapshot.includeSeconds = 0;
  EXPECT_EQ(Expand("%Q | %L"), "2 Months, 3 Days, 4 hours and 5 minutes | 4 Days, 10 hours and 40 minutes");
}

TEST_F(StatsText, LifeSavedAlwaysShowsSeconds) {
  snapshot.lifeSavedSpan = {0, 0, 0, 0, 0, 1, 5, 0};
  snapshot.includeSeconds = 0;
  EXPECT_EQ(Expand("%L"), "1m 5s");
  EXPECT_EQ(Expand("%Q"), "2M 3D 4h 5m");
  snapshot.fullDates = 1;
  EXPECT_EQ(Expand("%L"), "1 minute and 5 seconds");
}

TEST_F(StatsText, PercentSignsAndUnknownLetters) {
  EXPECT_EQ(Expand("No placeholders here."), "No placeholders here.");
  EXPECT_EQ(Expand("Ends in %"), "Ends in ");
  EXPECT_EQ(Expand("%"), "");
  EXPECT_EQ(Expand("a%xb"), "ab");
  EXPECT_EQ(Expand("100%% sure"), "100 sure");  // "%%" vanishes, then " sure"
  EXPECT_EQ(Expand("%q%1% |"), "|");
  EXPECT_EQ(Expand("[%Q%Q]"), "[2M 3D 4h 5m 6s2M 3D 4h 5m 6s]");
  EXPECT_EQ(Expand(""), "");
  EXPECT_EQ(Expand(std::string("ab\0%Q", 5)), "ab");  // stops at the terminator
}

TEST_F(StatsText, ExactQuitMomentReadsZero) {
  snapshot.quitSpan = {};
  EXPECT_EQ(Expand("%Q"), "0m");
  snapshot.fullDates = 1;
  EXPECT_EQ(Expand("%Q"), "0 minutes");
}

TEST_F(StatsText, CountsAndMoneyFollowTheLocale) {
  snapshot.days = 1234567;
  snapshot.cigarettes = 4000000000u;
  StandInLocale comma(StandInLocale::Kind::Comma);
  UseLocale(&comma);
  SetUpLocale();
  EXPECT_EQ(Expand("%D/%C/%M/%X"), "1.234.567/4.000.000.000/123,45 EUR/5.3.2004");
  UseLocale(&locale);
  SetUpLocale();
  EXPECT_EQ(Expand("%D/%C"), "1,234,567/4,000,000,000");
}

TEST_F(StatsText, LongestTemplateOfPlaceholdersIsNotCut) {
  // 255 placeholders and a trailing '%': 511 characters, the template's most.
  std::string text;
  for (int i = 0; i < 255; ++i) text += "%M";
  text += "%";
  ASSERT_EQ(text.size(), 511u);
  std::string expected;
  for (int i = 0; i < 255; ++i) expected += "$123.45";
  EXPECT_EQ(Expand(text), expected);
  EXPECT_GT(expected.size(), 256u);

  std::string mixed;
  std::string mixedExpected;
  const char letters[] = "QDCMLX";
  for (int i = 0; i < 255; ++i) {
    mixed += '%';
    mixed += letters[i % 6];
    mixedExpected += Expand(std::string("%") + letters[i % 6]);
  }
  mixed += "Q";
  mixedExpected += "Q";
  ASSERT_EQ(mixed.size(), 511u);
  EXPECT_EQ(Expand(mixed), mixedExpected);
  EXPECT_GT(mixedExpected.size(), 1500u);
}

TEST_F(StatsText, SnapshotCopiesTheLiveFigures) {
  QuitSpan = {1, 2, 3, 4, 5, 6, 7, 0};
  LifeSavedSpan = {0, 0, 1, 2, 3, 4, 0, 0};
  MoneySaved = {77, 7};
  CigarettesNotSmoked = 4242;
  DaysQuit = 99;
  GeneralPrefs.fullDates = 1;
  GeneralPrefs.includeSeconds = 0;
  QuitDetails.quitTime = MakeDate(2003, 11, 20, 7, 15);
  StatsSnapshot s = TakeStatsSnapshot();
  EXPECT_EQ(s.quitSpan.years, 1);
  EXPECT_EQ(s.quitSpan.seconds, 7);
  EXPECT_EQ(s.lifeSavedSpan.weeks, 1);
  EXPECT_EQ(s.money.units, 77u);
  EXPECT_EQ(s.money.hundredths, 7u);
  EXPECT_EQ(s.cigarettes, 4242u);
  EXPECT_EQ(s.days, 99);
  EXPECT_EQ(s.fullDates, 1u);
  EXPECT_EQ(s.includeSeconds, 0u);
  EXPECT_EQ(s.quitDate.wDay, 20);
}

TEST_F(StatsText, BuildUsesThePreQuitTemplateWhilePending) {
  GeneralPrefs = DefaultGeneralPrefs();
  SetTemplate("Quit %D days, saved %M");
  GeneralPrefs.fullDates = 0;
  GeneralPrefs.includeSeconds = 1;
  QuitSpan = {0, 0, 0, 0, 0, 1, 30, 0};
  DaysQuit = 0;
  MoneySaved = {0, 0};
  QuitPending = 1;
  EXPECT_EQ(BuildStatsText(), "I will quit in 1m 30s.");
  GeneralPrefs.fullDates = 1;
  EXPECT_EQ(BuildStatsText(), "I will quit in 1 minute and 30 seconds.");
  QuitPending = 0;
  DaysQuit = 3;
  MoneySaved = {12, 5};
  EXPECT_EQ(BuildStatsText(), "Quit 3 days, saved $12.05");
}

TEST_F(StatsText, BuildExpandsTheStoredTemplateInFull) {
  QuitPending = 0;
  MoneySaved = {1, 50};
  std::string text;
  for (int i = 0; i < 255; ++i) text += "%M";
  text += "%";
  SetTemplate(text);
  std::string built = BuildStatsText();
  EXPECT_EQ(built.size(), 255u * 5);
  EXPECT_EQ(built.substr(0, 10), "$1.50$1.50");
  // A stored template without a terminator is read to the end of its field only.
  std::memset(GeneralPrefs.statsTemplate, 'a', sizeof GeneralPrefs.statsTemplate);
  EXPECT_EQ(BuildStatsText(), std::string(512, 'a'));
}
