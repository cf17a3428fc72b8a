#include "win/number_edit.h"

#include <cstring>
#include <string>

#include "engine/first_run_checks.h"
#include "locale/formats.h"

BOOL(WINAPI* NumberEditBeep)(UINT type) = MessageBeep;

namespace {
constexpr char SavedProcProperty[] = "FumoraEditProc";

WNDPROC SavedProc(HWND edit) { return reinterpret_cast<WNDPROC>(GetPropA(edit, SavedProcProperty)); }

LRESULT PassOn(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC saved = SavedProc(edit);
  if (!saved) return DefWindowProcA(edit, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    RemovePropA(edit, SavedProcProperty);
  }
  return CallWindowProcA(saved, edit, message, wParam, lParam);
}

unsigned char TypedCharacter(WPARAM wParam) { return static_cast<unsigned char>(wParam & 0xFF); }
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

LRESULT CALLBACK DigitsOnlyEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && TypedCharacter(wParam) == CtrlV) return PasteFiltered(edit, '\0');
  if (message == WM_CHAR && !DigitsOnlyAccepts(TypedCharacter(wParam))) return 0;
  return PassOn(edit, message, wParam, lParam);
}

LRESULT CALLBACK PriceEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && TypedCharacter(wParam) == CtrlV) return PasteFiltered(edit, DecimalSeparatorChar());
  if (message == WM_CHAR && !PriceAccepts(TypedCharacter(wParam), DecimalSeparatorChar())) return 0;
  return PassOn(edit, message, wParam, lParam);
}

void Replace(HWND edit, WNDPROC behaviour) {
  if (!edit || SavedProc(edit)) return;
  LONG_PTR previous = SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(behaviour));
  SetPropA(edit, SavedProcProperty, reinterpret_cast<HANDLE>(previous));
}
}  // namespace

void MakeDigitsOnlyEdit(HWND edit) { Replace(edit, DigitsOnlyEdit); }
void MakePriceEdit(HWND edit) { Replace(edit, PriceEdit); }
