#include "win/number_edit.h"

#include "engine/first_run_checks.h"
#include "locale/formats.h"
#include "win/subclass.h"

namespace {
LRESULT DigitsOnlyEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && !DigitsOnlyAccepts(TypedAnsiCharacter(edit, wParam))) return 0;
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT PriceEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
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
