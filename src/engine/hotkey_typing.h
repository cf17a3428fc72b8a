// The hotkey code, and the keystrokes that type a text into another program.
// Decisions only: the Win32 side asks the keyboard layout for its answers,
// passes them in, and sends the events decided here.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// The hotkey code (AppHKey): the virtual key in bits 0..7, then the hotkey
// control's flags: Shift, Ctrl, Alt, and the extended-key bit it reports for
// keys such as Home or the arrows of the navigation block.
inline constexpr uint32_t HotkeyShiftFlag = 0x100;
inline constexpr uint32_t HotkeyControlFlag = 0x200;
inline constexpr uint32_t HotkeyAltFlag = 0x400;
inline constexpr uint32_t HotkeyExtendedFlag = 0x800;
constexpr uint8_t HotkeyKey(uint32_t code) { return static_cast<uint8_t>(code & 0xFF); }

// RegisterHotKey's modifier flags for a code (MOD_ALT 1, MOD_CONTROL 2,
// MOD_SHIFT 4: Shift and Alt sit the other way round from the code's flags).
uint32_t HotkeyRegistrationModifiers(uint32_t code);
// Whether the key's name is looked up as an extended key: the code says so,
// or the virtual key only exists as one (Home is "Home", not "Num 7").
bool HotkeyNameIsExtended(uint32_t code);

// Virtual keys used here (the values of winuser.h).
namespace keys {
inline constexpr uint8_t Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Escape = 0x1B;
inline constexpr uint8_t LeftWin = 0x5B, RightWin = 0x5C;
inline constexpr uint8_t LeftShift = 0xA0, RightShift = 0xA1, LeftControl = 0xA2, RightControl = 0xA3;
inline constexpr uint8_t LeftMenu = 0xA4, RightMenu = 0xA5;
// Unassigned: pressed while Alt or Win is down, so that their release is no
// lone tap (which would open the target's menu or the Start menu).
inline constexpr uint8_t MenuMask = 0xE8;
}  // namespace keys

struct KeyEvent {
  uint8_t key = 0;  // virtual key; 0 for Unicode input of `unit`
  char16_t unit = 0;
  bool release = false;
  bool extended = false;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// The events of one character, sent in one go: at most Shift, key, key, Shift.
struct Keystroke {
  std::array<KeyEvent, 4> events{};
  uint8_t count = 0;
  void Add(const KeyEvent& event) { events[count++] = event; }
  friend bool operator==(const Keystroke&, const Keystroke&) = default;
};

// The layout's answer for one UTF-16 unit: VkKeyScanEx's result (virtual key
// in the low byte, shift state in the high byte, -1 for no key) and whether
// that key is a dead key (it would wait for the next character).
struct LayoutKey {
  int16_t scan = -1;
  bool dead = false;
};

struct TypingConditions {
  bool capsLock = false;  // toggled on in the target's input state
  uint32_t hotkeyCode = 0;  // never typed as keys: it would fire again
  bool inMenu = false;  // the target's menu bar has the keyboard (an Alt tap)
};

// The keystrokes that type `text`; keys[i] is the layout's answer for
// text[i] (missing answers count as no key). Plain keys go as virtual keys,
// wrapped in Shift where the layout needs it (and Caps Lock does not already
// give it); characters that have no key, need AltGr, Ctrl or Alt, sit on a
// dead key, or would press the hotkey go as Unicode input. CR LF, a lone CR
// and a lone LF are each one Enter. Other control characters than tab are
// editing commands, not text: they are left out. A target in menu mode gets
// an Escape first, so that the text goes to its focus window, not the menu.
std::vector<Keystroke> PlanTyping(std::u16string_view text, const std::vector<LayoutKey>& keys,
                                  const TypingConditions& conditions);

// A key held down when typing is due.
struct HeldKey {
  uint8_t key = 0;
  bool extended = false;
};
// The modifier keys whose state is watched before typing, left and right.
inline constexpr HeldKey ModifierKeys[] = {
    {keys::LeftShift, false}, {keys::RightShift, false}, {keys::LeftControl, false}, {keys::RightControl, true},
    {keys::LeftMenu, false},  {keys::RightMenu, true},   {keys::LeftWin, true},      {keys::RightWin, true}};
// True when a release of one of `held` alone would open a menu (Alt, Win).
bool NeedsMenuMask(const std::vector<HeldKey>& held);
// A press and release of the unassigned mask key.
std::array<KeyEvent, 2> MenuMaskEvents();
// Releases of `held`, after the mask key when one of them needs it.
std::vector<KeyEvent> ReleaseEvents(const std::vector<HeldKey>& held);
