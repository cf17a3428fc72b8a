#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/first_run_checks.h"
#include "locale_fixture.h"

namespace {
constexpr const char* NameMessage = "You cannot leave the name field blank - please fill it in before continuing";
constexpr const char* PackMessage =
    "Please enter a valid number between 1 and 600 for the number of cigarettes in a pack/carton";
constexpr const char* DayMessage =
    "Please enter a valid number between 1 and 500 for the number of cigarettes smoked per day";
constexpr const char* PriceMessage = "Please enter a valid number between 1 and 1000 for the price of cigarettes";

QuitEntryTexts Valid() { return {"Sam", "20", "15", "4.50"}; }

QuitDetailsRecord Blank() { return QuitDetailsRecord{}; }

uint32_t PriceOf(std::string_view text) {
  uint32_t hundredths = 0xDEAD;
  return ReadPrice(text, hundredths) ? hundredths : 0xFFFFFFFFu;
}
}  // namespace

class FirstRunChecks : public PeriodLocale {};
class FirstRunChecksComma : public CommaLocale {};

TEST_F(FirstRunChecks, MessagesWordForWord) {
  EXPECT_STREQ(QuitEntryMessage(QuitEntryFault::Name), NameMessage);
  EXPECT_STREQ(QuitEntryMessage(QuitEntryFault::PerPack), PackMessage);
  EXPECT_STREQ(QuitEntryMessage(QuitEntryFault::PerDay), DayMessage);
  EXPECT_STREQ(QuitEntryMessage(QuitEntryFault::Price), PriceMessage);
  EXPECT_STREQ(QuitEntryMessage(QuitEntryFault::None), "");
}

TEST_F(FirstRunChecks, ValidEntriesAreStored) {
  QuitDetailsRecord r = Blank();
  EXPECT_EQ(CheckQuitEntries(Valid(), r), QuitEntryFault::None);
  EXPECT_STREQ(r.name, "Sam");
  EXPECT_EQ(r.cigsPerPack, 20u);
  EXPECT_EQ(r.cigsPerDay, 15u);
  EXPECT_EQ(r.price, 450u);
}

TEST_F(FirstRunChecks, ChecksRunInTheirOrder) {
  QuitDetailsRecord r = Blank();
  // An empty name is reported even when everything else is empty too.
  EXPECT_EQ(CheckQuitEntries({"", "", "", ""}, r), QuitEntryFault::Name);
  // The pack size is checked before the daily count, whatever the screen order.
  EXPECT_EQ(CheckQuitEntries({"Sam", "601", "999", ""}, r), QuitEntryFault::PerPack);
  EXPECT_EQ(CheckQuitEntries({"Sam", "600", "999", ""}, r), QuitEntryFault::PerDay);
  EXPECT_EQ(CheckQuitEntries({"Sam", "600", "500", ""}, r), QuitEntryFault::Price);
  EXPECT_EQ(CheckQuitEntries({"Sam", "600", "500", "1000"}, r), QuitEntryFault::None);
}

TEST_F(FirstRunChecks, ValuesBeforeTheFailureStay) {
  QuitDetailsRecord r = Blank();
  r.cigsPerDay = 77;
  r.price = 88;
  EXPECT_EQ(CheckQuitEntries({"Alex", "25", "0", "5"}, r), QuitEntryFault::PerDay);
  EXPECT_STREQ(r.name, "Alex");
  EXPECT_EQ(r.cigsPerPack, 25u);
  EXPECT_EQ(r.cigsPerDay, 77u);  // the failing value is not taken
  EXPECT_EQ(r.price, 88u);
  // The next attempt overwrites them.
  EXPECT_EQ(CheckQuitEntries({"Bo", "30", "10", "6"}, r), QuitEntryFault::None);
  EXPECT_STREQ(r.name, "Bo");
  EXPECT_EQ(r.cigsPerDay, 10u);
  EXPECT_EQ(r.price, 600u);
}

TEST_F(FirstRunChecks, NameIsCutTo127Bytes) {
  QuitDetailsRecord r = Blank();
  std::memset(r.name, 'x', sizeof r.name);
  std::string longName(300, 'N');
  EXPECT_EQ(CheckQuitEntries({longName, "20", "20", "5"}, r), QuitEntryFault::None);
  EXPECT_EQ(std::strlen(r.name), 127u);
  EXPECT_EQ(CheckQuitEntries({std::string_view("Jo\0ignored", 10), "20", "20", "5"}, r), QuitEntryFault::None);
  EXPECT_STREQ(r.name, "Jo");
  EXPECT_EQ(CheckQuitEntries({std::string_view("\0x", 2), "20", "20", "5"}, r), QuitEntryFault::Name);
  EXPECT_STREQ(r.name, "");
}

TEST_F(FirstRunChecks, DailyCount) {
  QuitDetailsRecord r = Blank();
  for (const char* bad : {"0", "501", "999", "", "-5", "1a", "a", " 5", "5 ", "+5", "4294967297"})
    EXPECT_EQ(CheckQuitEntries({"Sam", "20", bad, "5"}, r), QuitEntryFault::PerDay) << '"' << bad << '"';
  for (auto [text, value] : {std::pair{"1", 1u}, {"500", 500u}, {"020", 20u}, {"0000000000000007", 7u}}) {
    EXPECT_EQ(CheckQuitEntries({"Sam", "20", text, "5"}, r), QuitEntryFault::None) << text;
    EXPECT_EQ(r.cigsPerDay, value);
  }
}

TEST_F(FirstRunChecks, PackSizeMustBeANumber) {
  QuitDetailsRecord r = Blank();
  EXPECT_EQ(CheckQuitEntries({"Sam", "600", "20", "5"}, r), QuitEntryFault::None);
  EXPECT_EQ(r.cigsPerPack, 600u);
  EXPECT_EQ(CheckQuitEntries({"Sam", "1", "20", "5"}, r), QuitEntryFault::None);
  EXPECT_EQ(r.cigsPerPack, 1u);
  // "1a" would read as 59 and "abc" as garbage: not numbers, so refused.
  for (const char* bad : {"601", "0", "", "1a", "abc", "20.5", "-20", "4294967316", "99999999999"})
    EXPECT_EQ(CheckQuitEntries({"Sam", bad, "20", "5"}, r), QuitEntryFault::PerPack) << '"' << bad << '"';
  EXPECT_EQ(r.cigsPerPack, 1u);
}

TEST_F(FirstRunChecks, PricesWithAPeriod) {
  EXPECT_EQ(PriceOf("0"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("0.00"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("0.01"), 1u);
  EXPECT_EQ(PriceOf("1000"), 100000u);
  EXPECT_EQ(PriceOf("1000.00"), 100000u);
  EXPECT_EQ(PriceOf("1000.01"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("4.5"), 450u);
  EXPECT_EQ(PriceOf("4."), 400u);
  EXPECT_EQ(PriceOf(".5"), 50u);
  EXPECT_EQ(PriceOf("4.999"), 499u);  // extra decimals dropped, not rounded
  EXPECT_EQ(PriceOf("0.009"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("."), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf(""), 0xFFFFFFFFu);
}

TEST_F(FirstRunChecks, PricesThatAreNotNumbersAreRefused) {
  for (const char* bad : {"4.5.0", "4..5", "4,5", "$5", "5a", "abc", "-5", " 5", "42949673", "42949673.00"})
    EXPECT_EQ(PriceOf(bad), 0xFFFFFFFFu) << '"' << bad << '"';
  QuitDetailsRecord r = Blank();
  EXPECT_EQ(CheckQuitEntries({"Sam", "20", "20", "4,5"}, r), QuitEntryFault::Price);
  EXPECT_EQ(CheckQuitEntries({"Sam", "20", "20", ""}, r), QuitEntryFault::Price);
  EXPECT_EQ(r.price, 0u);
}

TEST_F(FirstRunChecksComma, PricesWithAComma) {
  EXPECT_EQ(PriceOf("4,5"), 450u);
  EXPECT_EQ(PriceOf("0,01"), 1u);
  EXPECT_EQ(PriceOf("1000,01"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("4.5"), 0xFFFFFFFFu);
  EXPECT_EQ(PriceOf("4,5,0"), 0xFFFFFFFFu);
  EXPECT_FALSE(PriceAccepts('.', ','));
  EXPECT_TRUE(PriceAccepts(',', ','));
}

TEST_F(FirstRunChecks, WhatCtrlVPastes) {
  const struct {
    const char *text, *digits, *price;
  } cases[] = {{"42", "42", "42"},         {" 4.50\r\n", "", "4.50"}, {"\t12 ", "12", "12"}, {"1 2", "", ""},
               {"$4.50", "", ""},          {"4,50", "", ""},         {"", "", ""},          {" \r\n", "", ""},
               {"7\b", "", ""},            {"-3", "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(FilteredPaste(c.text, '\0'), c.digits) << c.text;
    EXPECT_EQ(FilteredPaste(c.text, '.'), c.price) << c.text;
  }
  EXPECT_EQ(FilteredPaste("4,50", ','), "4,50");
}

TEST_F(FirstRunChecks, TypedCharacters) {
  for (unsigned c = 0; c < 256; ++c) {
    bool digitOrBackspace = (c >= '0' && c <= '9') || c == 8;
    EXPECT_EQ(DigitsOnlyAccepts(static_cast<unsigned char>(c)), digitOrBackspace) << c;
    EXPECT_EQ(PriceAccepts(static_cast<unsigned char>(c), '.'), digitOrBackspace || c == '.') << c;
  }
  EXPECT_FALSE(PriceAccepts(0, '\0'));
  EXPECT_FALSE(PriceAccepts('.', '\0'));
}
