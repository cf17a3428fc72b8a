// A dialog's own state, kept in its DWLP_USER slot: made when the dialog is
// initialised and deleted when it is destroyed, so that every way out of the
// dialog releases what the state owns, and a second dialog of the same kind
// has its own. Every dialog, view and page with a state of its own keeps it
// here.
//
// Every dialog procedure (views, pages and dialogs alike) decodes its
// messages with the windowsx crackers, one small handler per message, and
// answers the same way. WM_INITDIALOG returns whether the default focus is
// wanted. WM_COMMAND always returns TRUE: every command that reaches a dialog
// is its own, and the default course has nothing to add. A result the sender
// reads (WM_NOTIFY's, a registered message's) goes back with SetDlgMsgResult,
// never through DWLP_MSGRESULT by hand; a WM_CTLCOLOR* brush is returned as it
// is (SetDlgMsgResult would cut it to 32 bits).
#pragma once
#include <windows.h>

#include <utility>

// The state, or null before WM_INITDIALOG and after WM_NCDESTROY.
template <typename State>
State* DialogStateOf(HWND dialog) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// For WM_INITDIALOG: a new State made from `args`.
template <typename State, typename... Args>
State& AttachDialogState(HWND dialog, Args&&... args) {
  auto* state = new State{std::forward<Args>(args)...};
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  return *state;
}

// For WM_NCDESTROY.
template <typename State>
void DeleteDialogState(HWND dialog) {
  delete DialogStateOf<State>(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}
