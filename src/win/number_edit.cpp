#include "win/number_edit.h"

#include <cstring>
#include <string>

#include "engine/first_run_checks.h"
#include "locale/formats.h"
#include "win/subclass.h"

BOOL(WINAPI* NumberEditBeep)(UINT type) = MessageBeep;

namespace {
constexpr unsigned char CtrlV = 0x16;  // the character TranslateMessage makes of Ctrl+V

std::string ClipboardText(HWND edit) {
  std::string text;
  if (!OpenClipboard(edit)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
      text.assign(locked, strnlen(locked, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Ctrl+V: the clipboard's text when it passes the field's filter, else a beep.
LRESULT PasteFiltered(HWND edit, char decimalSeparator) {
  const std::string text = FilteredPaste(ClipboardText(edit), decimalSeparator);
  if (text.empty())
    NumberEditBeep(MB_OK);
  else
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  return 0;
}

LRESULT DigitsOnlyEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && TypedAnsiCharacter(edit, wParam) == CtrlV) return PasteFiltered(edit, '\0');
  if (message == WM_CHAR && !DigitsOnlyAccepts(TypedAnsiCharacter(edit, wParam))) return 0;
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT PriceEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && TypedAnsiCharacter(edit, wParam) == CtrlV) return PasteFiltered(edit, DecimalSeparatorChar());
  if (message == WM_CHAR && !PriceAccepts(TypedAnsiCharacter(edit, wParam), DecimalSeparatorChar())) return 0;
  return DefSubclassProc(edit, message, wParam, lParam);
}

// An edit keeps the first of the two behaviours it is given.
bool HasNumberBehaviour(HWND edit) { return HasBehaviour<DigitsOnlyEdit>(edit) || HasBehaviour<PriceEdit>(edit); }
}  // namespace

void MakeDigitsOnlyEdit(HWND edit) {
  if (!HasNumberBehaviour(edit)) SubclassControl<DigitsOnlyEdit>(edit);
}
void MakePriceEdit(HWND edit) {
  if (!HasNumberBehaviour(edit)) SubclassControl<PriceEdit>(edit);
}
