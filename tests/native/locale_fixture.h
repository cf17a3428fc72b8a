// Fixtures that install the native stand-in locale and run the start-up
// locale set-up against it.
#pragma once
#include <gtest/gtest.h>

#include "locale/formats.h"
#include "locale/locale_standin.h"

class LocaleFixture : public ::testing::Test {
 protected:
  explicit LocaleFixture(StandInLocale::Kind kind) : locale(kind) {}
  void SetUp() override {
    UseLocale(&locale);
    SetUpLocale();
    BuildDatePicture();
    ReadCurrencySymbol();
  }
  void TearDown() override { UseLocale(nullptr); }
  StandInLocale locale;
};

class PeriodLocale : public LocaleFixture {
 protected:
  PeriodLocale() : LocaleFixture(StandInLocale::Kind::Period) {}
};

class CommaLocale : public LocaleFixture {
 protected:
  CommaLocale() : LocaleFixture(StandInLocale::Kind::Comma) {}
};
