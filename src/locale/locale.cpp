#include "locale/locale.h"

namespace {
LocaleSource* current = nullptr;
}

LocaleSource& Locale() { return current ? *current : DefaultLocale(); }

void UseLocale(LocaleSource* source) { current = source; }
