// SysTime (pure code's moment) and SYSTEMTIME: the same fields in the same order.
#pragma once
#include <windows.h>

#include "util/systime.h"

static_assert(sizeof(SYSTEMTIME) == sizeof(SysTime));

inline SysTime ToSysTime(const SYSTEMTIME& st) {
  SysTime t;
  t.wYear = st.wYear;
  t.wMonth = st.wMonth;
  t.wDayOfWeek = st.wDayOfWeek;
  t.wDay = st.wDay;
  t.wHour = st.wHour;
  t.wMinute = st.wMinute;
  t.wSecond = st.wSecond;
  t.wMilliseconds = st.wMilliseconds;
  return t;
}

inline SYSTEMTIME ToSYSTEMTIME(const SysTime& t) {
  SYSTEMTIME st{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  return st;
}

inline SysTime LocalTimeNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return ToSysTime(st);
}
