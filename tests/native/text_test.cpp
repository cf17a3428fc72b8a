#include <gtest/gtest.h>

#include "util/text.h"

TEST(ParseDecimal, ContractIncludingWrapAndNonDigits) {
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("-"), 0);
  EXPECT_EQ(ParseDecimal("007"), 7);
  EXPECT_EQ(ParseDecimal("-12"), -12);
  EXPECT_EQ(ParseDecimal("4294967297"), 1);  // wraps modulo 2^32
  EXPECT_EQ(ParseDecimal("1a"), 59);  // 'a' - '0' = 49
  EXPECT_EQ(ParseDecimal("2147483648"), INT32_MIN);
  EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseDecimal(" "), static_cast<int32_t>(uint8_t(' ' - '0')));  // 240
}

TEST(ParseDecimal, StopsAtTheTerminator) {
  EXPECT_EQ(ParseDecimal(std::string_view("12\0" "99", 5)), 12);
}

TEST(FormatDecimal, SignsAndExtremes) {
  EXPECT_EQ(FormatDecimal(0), "0");
  EXPECT_EQ(FormatDecimal(-5), "-5");
  EXPECT_EQ(FormatDecimal(INT32_MAX), "2147483647");
  EXPECT_EQ(FormatDecimal(1073741829), "1073741829");
  EXPECT_EQ(FormatDecimal(INT32_MIN), "-2147483648");
  for (int32_t v : {1, 9, 10, 99, 100, 1000000, -1000000}) EXPECT_EQ(ParseDecimal(FormatDecimal(v)), v);
}

TEST(TextPieces, SplitsACompactDate) {
  EXPECT_EQ(RightText("20021231", 2), "31");
  EXPECT_EQ(MidText("20021231", 4, 2), "12");
  EXPECT_EQ(LeftText("20021231", 4), "2002");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(MidText("abc", 1, 0), "");
}

TEST(TextPieces, NeverReadPastTheSource) {
  EXPECT_EQ(MidText("abc", 2, 10), "c");
  EXPECT_EQ(MidText("abc", 3, 2), "");
  EXPECT_EQ(MidText("abc", 100, 2), "");
  EXPECT_EQ(LeftText("ab", 4), "ab");
  EXPECT_EQ(RightText("ab", 5), "ab");
  EXPECT_EQ(RightText("", 2), "");
}

TEST(TextLength, CountsToTheTerminator) {
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("hello"), 5u);
  EXPECT_EQ(TextLength(std::string_view("ab\0cd", 5)), 2u);
}

TEST(AppendText, AppendsOntoAnyDestination) {
  std::string empty;
  EXPECT_EQ(AppendText(empty, "Ctrl + "), "Ctrl + ");
  EXPECT_EQ(AppendText(empty, "F5"), "Ctrl + F5");
  EXPECT_EQ(AppendText(empty, std::string_view("x\0y", 3)), "Ctrl + F5x");
}

TEST(PathDirectory, KeepsTheLastBackslash) {
  EXPECT_EQ(PathDirectory("C:\\a\\b\\prog.exe"), "C:\\a\\b\\");
  EXPECT_EQ(PathDirectory("C:\\prog.exe"), "C:\\");
  EXPECT_EQ(PathDirectory("prog.exe"), "");
  EXPECT_EQ(PathDirectory(""), "");
  EXPECT_EQ(PathDirectory("C:\\dir\\") + "pp.dat", "C:\\dir\\pp.dat");
}

TEST(ZeroPadded, PadsLikePercent02u) {
  EXPECT_EQ(ZeroPadded(0, 2), "00");
  EXPECT_EQ(ZeroPadded(5, 2), "05");
  EXPECT_EQ(ZeroPadded(99, 2), "99");
  EXPECT_EQ(ZeroPadded(123, 2), "123");
  EXPECT_EQ(ZeroPadded(2004, 2), "2004");
  EXPECT_EQ(ZeroPadded(4294967295u, 2), "4294967295");
}
