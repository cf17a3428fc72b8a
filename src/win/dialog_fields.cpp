#include "win/dialog_fields.h"

#include <commctrl.h>

#include "engine/calendar.h"
#include "locale/formats.h"
#include "util/dpi_scale.h"
#include "util/systime_win32.h"
#include "win/app_state.h"

std::string DialogItemText(HWND dialog, int id, int capacity) {
  if (capacity < 1) return {};
  std::string text(static_cast<std::size_t>(capacity), '\0');
  const int length = GetDlgItemTextA(dialog, id, text.data(), capacity);
  text.resize(length > 0 && length < capacity ? static_cast<std::size_t>(length) : 0);
  return text;
}

SYSTEMTIME PickerTime(HWND dialog, int id) {
  SYSTEMTIME time{};
  SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return time;
}

void SetUpDatePicker(HWND picker) {
  SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(DatePicture.c_str()));
  SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(DatePickerRange));
}

bool ShowInPicker(HWND picker, const SysTime& moment) {
  // Checked here: some pickers take a date outside their range and show another.
  const DayNumber day = DateToDayNumber(moment);
  if (day < DateToDayNumber(ToSysTime(DatePickerRange[0])) || day > DateToDayNumber(ToSysTime(DatePickerRange[1])))
    return false;
  SYSTEMTIME time = ToSYSTEMTIME(moment);
  return SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}

std::string DateOutsidePickerText(const SysTime& date) {
  const std::string shown = FormatDateText(date);
  return "The stored date" + (shown.empty() ? std::string() : ", " + shown + ",") +
         " lies outside the dates that can be picked here (" + FormatDateText(ToSysTime(DatePickerRange[0])) + " to " +
         FormatDateText(ToSysTime(DatePickerRange[1])) + "). It is kept unless you pick another date.";
}

ScopedFont MakeBannerFont(int dpi) {
  return ScopedFont(CreateFontA(ScaleToDpi(24, dpi), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Arial"));
}

HBRUSH PaintBanner(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  return GetSysColorBrush(COLOR_BTNSHADOW);
}
