// A control's own behaviour: a procedure that sees the control's messages
// first, installed with SetWindowSubclass and removed at WM_NCDESTROY, with
// the control's state (if it has one) as the subclass's reference data.
// Chains of subclasses need not unwind in order, and the procedures keep
// their own types: nothing here casts one.
//
// A behaviour passes what it does not handle on with DefSubclassProc; it
// never sees WM_NCDESTROY, which removes it (and deletes its state).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

using ControlBehaviour = LRESULT (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
template <typename State>
using StatefulBehaviour = LRESULT (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam, State& state);

namespace subclass_detail {
// GetWindowSubclass is missing from some import libraries: a subclass says it
// is there by answering this message for its own tag.
inline UINT QueryMessage() {
  static const UINT message = RegisterWindowMessageA("FumoraSubclassQuery");
  return message;
}
template <typename Procedure, Procedure P>
inline const char Tag = 0;
template <typename Procedure, Procedure P>
WPARAM TagOf() {
  return reinterpret_cast<WPARAM>(&Tag<Procedure, P>);
}

template <ControlBehaviour Behaviour>
LRESULT CALLBACK Plain(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == QueryMessage() && wParam == TagOf<ControlBehaviour, Behaviour>()) return 1;
  if (message != WM_NCDESTROY) return Behaviour(control, message, wParam, lParam);
  RemoveWindowSubclass(control, Plain<Behaviour>, 0);
  return DefSubclassProc(control, message, wParam, lParam);
}

template <typename State, StatefulBehaviour<State> Behaviour>
LRESULT CALLBACK WithState(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  State* state = reinterpret_cast<State*>(data);
  if (message == QueryMessage() && wParam == TagOf<StatefulBehaviour<State>, Behaviour>())
    return reinterpret_cast<LRESULT>(state);
  if (message != WM_NCDESTROY) return Behaviour(control, message, wParam, lParam, *state);
  RemoveWindowSubclass(control, WithState<State, Behaviour>, 0);
  delete state;
  return DefSubclassProc(control, message, wParam, lParam);
}
}  // namespace subclass_detail

// Gives `control` the behaviour; a second call changes nothing. False when
// the subclass could not be set (no control).
template <ControlBehaviour Behaviour>
bool SubclassControl(HWND control) {
  return control && SetWindowSubclass(control, subclass_detail::Plain<Behaviour>, 0, 0);
}

template <ControlBehaviour Behaviour>
bool HasBehaviour(HWND control) {
  return control &&
         SendMessageA(control, subclass_detail::QueryMessage(), subclass_detail::TagOf<ControlBehaviour, Behaviour>(), 0) == 1;
}

// The state of a control that has the behaviour, or null.
template <typename State, StatefulBehaviour<State> Behaviour>
State* ControlStateOf(HWND control) {
  if (!control) return nullptr;
  return reinterpret_cast<State*>(SendMessageA(control, subclass_detail::QueryMessage(),
                                               subclass_detail::TagOf<StatefulBehaviour<State>, Behaviour>(), 0));
}

// Gives `control` the behaviour with a new State made from `args`, which the
// control owns from now on; a control that has the behaviour already keeps
// its state. The state, or null when the subclass could not be set.
template <typename State, StatefulBehaviour<State> Behaviour, typename... Args>
State* SubclassControlWithState(HWND control, Args&&... args) {
  if (State* existing = ControlStateOf<State, Behaviour>(control)) return existing;
  if (!control) return nullptr;
  auto* state = new State{std::forward<Args>(args)...};
  if (SetWindowSubclass(control, subclass_detail::WithState<State, Behaviour>, 0, reinterpret_cast<DWORD_PTR>(state)))
    return state;
  delete state;
  return nullptr;
}

// Runs `work` with the behaviour taken off `control` (its state kept) and
// gives it back afterwards, for a run of plain messages that the behaviour
// passes on anyway: Wine looks a subclass up in its server on every message.
// The behaviour comes back on top of any subclasses set after it.
template <typename State, StatefulBehaviour<State> Behaviour, typename Work>
void WithoutBehaviour(HWND control, Work&& work) {
  State* state = ControlStateOf<State, Behaviour>(control);
  if (!state || !RemoveWindowSubclass(control, subclass_detail::WithState<State, Behaviour>, 0)) {
    work();
    return;
  }
  work();
  if (!SetWindowSubclass(control, subclass_detail::WithState<State, Behaviour>, 0, reinterpret_cast<DWORD_PTR>(state)))
    delete state;
}

// A WM_CHAR's character in the ANSI code page. A subclass sees the messages
// in the control's own character set, UTF-16 for a Unicode control (the
// common controls' classes); 0 for a character the code page lacks.
inline unsigned char TypedAnsiCharacter(HWND control, WPARAM wParam) {
  if (!IsWindowUnicode(control)) return static_cast<unsigned char>(wParam & 0xFF);
  const wchar_t unit = static_cast<wchar_t>(wParam);
  char ansi[2] = {};
  BOOL lossy = FALSE;
  if (WideCharToMultiByte(CP_ACP, 0, &unit, 1, ansi, sizeof ansi, nullptr, &lossy) != 1 || lossy) return 0;
  return static_cast<unsigned char>(ansi[0]);
}
