// Typing a text into the focus window of another application by synthesised
// key presses (SendInput), as the layout of that window's thread needs them.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "engine/hotkey_typing.h"

// Sends `count` events in one SendInput call; virtual keys get their scan
// codes from `layout`.
void SendKeyEvents(const KeyEvent* events, size_t count, HKL layout);

// Types `text` (ANSI, converted from the ANSI code page) into the window that
// has the keyboard focus in the foreground application. Types nothing and
// returns false when there is no foreground or focus window, or when it is
// this program's own. `hotkeyCode` is never typed as keys.
bool TypeIntoForeground(const std::string& text, uint32_t hotkeyCode);
