// The platform's date-and-time record, field for field, so that pure code can
// take moments without <windows.h>. The Win32 side converts with ToSysTime /
// ToSYSTEMTIME (util/systime_win32.h).
#pragma once
#include <cstdint>

struct SysTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};
static_assert(sizeof(SysTime) == 16);

inline SysTime MakeDate(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 0, uint16_t minute = 0,
                        uint16_t second = 0) {
  SysTime t;
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  return t;
}
