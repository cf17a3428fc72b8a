// The preferences dialog's three pages: child dialogs of the dialog, each made
// when its tab is first chosen. Each page keeps its own working values and tells the dialog
// of every change the user makes (which enables Apply); ApplyPreferences reads
// the values back through the Read... routines.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "formats/settings_records.h"

// Enables the Apply button of the dialog that holds `page`.
void MarkPreferencesChanged(HWND page);

// ---- general options (template 8100) ----
HWND CreateGeneralPage(HWND dialog);
struct GeneralChoices {
  // None while a list has no selection: such a value is never stored.
  std::optional<uint32_t> lookAheadDays, lifeMinutes, startupView;
  uint32_t startMinimised = 0, runAtStartup = 0, savePositionOnExit = 0, hotkeyEnabled = 0;
  uint32_t hotkeyCode = 0;
};
GeneralChoices ReadGeneralPage(HWND page);

// ---- statistics format (template 6000) ----
// Null when the rich edit cannot be had; the template and its flags then stay
// as they are.
HWND CreateFormatPage(HWND dialog);
struct FormatChoices {
  std::string statsTemplate;  // as stored: line breaks "\r\n", at most TemplateCapacity characters
  uint32_t includeSeconds = 0, fullDates = 0;
};
FormatChoices ReadFormatPage(HWND page);
// Puts a template into the editor with its placeholders highlighted and the
// caret at the start, as if the page had just opened with it.
void ShowTemplate(HWND page, const char* text);

// ---- colours (template 8200) ----
HWND CreateColoursPage(HWND dialog);
AppColorsRecord ReadColoursPage(HWND page);
