// Readers and looks shared by the modal dialogs that take the quit details.
#pragma once
#include <windows.h>

#include <string>

#include "util/systime.h"
#include "win/scoped.h"

// At most `capacity` - 1 characters of a dialog item's text.
std::string DialogItemText(HWND dialog, int id, int capacity);
// What a date or time picker shows (DTM_GETSYSTEMTIME); zeros on failure.
SYSTEMTIME PickerTime(HWND dialog, int id);

// A date picker in DatePicture, limited to DatePickerRange.
void SetUpDatePicker(HWND picker);
// Sets a picker to `moment`; false when the picker refused it (out of its range).
bool ShowInPicker(HWND picker, const SysTime& moment);
// What a dialog says of a stored date that its picker cannot show.
std::string DateOutsidePickerText(const SysTime& date);
// Posted by such a dialog to itself, so that it says so once it is shown.
inline constexpr UINT TellDateOutsidePicker = WM_APP + 4;

// The title banner's font: Arial, 24 high, bold.
ScopedFont MakeBannerFont(int dpi);
// The banner's colours for WM_CTLCOLORSTATIC: button-highlight text with a
// transparent background on the button-shadow brush, which is returned.
HBRUSH PaintBanner(HDC dc);
