// A dialog's own state, kept in its DWLP_USER slot: made when the dialog is
// initialised and deleted when it is destroyed, so that every way out of the
// dialog releases what the state owns.
#pragma once
#include <windows.h>

// The state, or null before WM_INITDIALOG and after WM_NCDESTROY.
template <typename State>
State* DialogStateOf(HWND dialog) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// For WM_INITDIALOG.
template <typename State>
State& AttachDialogState(HWND dialog) {
  auto* state = new State;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  return *state;
}

// For WM_NCDESTROY.
template <typename State>
void DeleteDialogState(HWND dialog) {
  delete DialogStateOf<State>(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}
