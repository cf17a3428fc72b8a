#include "engine/hotkey_typing.h"

namespace {

constexpr uint8_t ShiftState = 1;  // VkKeyScanEx: Shift; Ctrl 2, Alt 4, more above

// Keys that only exist as extended keys: Page Up/Down, End, Home, the arrows,
// Insert and Delete of the navigation block, keypad divide, right Ctrl/Alt,
// Win and Menu. Their scan codes are shared with keypad keys.
bool AlwaysExtended(uint8_t key) {
  return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == keys::RightControl ||
         key == keys::RightMenu || key == keys::LeftWin || key == keys::RightWin || key == 0x5D;
}

void AddPressAndRelease(Keystroke& stroke, uint8_t key) {
  stroke.Add({key, 0, false, false});
  stroke.Add({key, 0, true, false});
}

Keystroke UnicodeStroke(char16_t unit) {
  Keystroke stroke;
  stroke.Add({0, unit, false, false});
  stroke.Add({0, unit, true, false});
  return stroke;
}

// A key press with this shift state would be the hotkey (typing never adds
// Ctrl or Alt, so only a hotkey without them can be hit).
bool IsHotkey(uint8_t key, bool shift, uint32_t hotkeyCode) {
  if (HotkeyKey(hotkeyCode) == 0 || HotkeyKey(hotkeyCode) != key) return false;
  if (hotkeyCode & (HotkeyControlFlag | HotkeyAltFlag)) return false;
  return ((hotkeyCode & HotkeyShiftFlag) != 0) == shift;
}

Keystroke EnterStroke(const TypingConditions& conditions) {
  if (IsHotkey(keys::Return, false, conditions.hotkeyCode)) return UnicodeStroke(u'\r');
  Keystroke stroke;
  AddPressAndRelease(stroke, keys::Return);
  return stroke;
}

Keystroke CharacterStroke(char16_t unit, LayoutKey layout, const TypingConditions& conditions) {
  const uint8_t key = static_cast<uint8_t>(layout.scan & 0xFF);
  const uint8_t state = static_cast<uint8_t>((layout.scan >> 8) & 0xFF);
  if (layout.scan == -1 || key == 0 || key == 0xFF || (state & ~ShiftState) != 0 || layout.dead)
    return UnicodeStroke(unit);
  bool shift = (state & ShiftState) != 0;
  if (conditions.capsLock) {
    // Caps Lock turns the case of the letter keys; which other keys it
    // touches depends on the layout, so those characters go as Unicode.
    if (key >= 'A' && key <= 'Z')
      shift = !shift;
    else if (unit >= 0x80)
      return UnicodeStroke(unit);
  }
  if (IsHotkey(key, shift, conditions.hotkeyCode)) return UnicodeStroke(unit);
  Keystroke stroke;
  if (shift) stroke.Add({keys::Shift, 0, false, false});
  AddPressAndRelease(stroke, key);
  if (shift) stroke.Add({keys::Shift, 0, true, false});
  return stroke;
}

bool OpensMenuAlone(uint8_t key) {
  return key == keys::LeftMenu || key == keys::RightMenu || key == keys::Menu || key == keys::LeftWin ||
         key == keys::RightWin;
}

}  // namespace

uint32_t HotkeyRegistrationModifiers(uint32_t code) {
  uint32_t modifiers = 0;
  if (code & HotkeyAltFlag) modifiers |= 1;
  if (code & HotkeyControlFlag) modifiers |= 2;
  if (code & HotkeyShiftFlag) modifiers |= 4;
  return modifiers;
}

bool HotkeyNameIsExtended(uint32_t code) { return (code & HotkeyExtendedFlag) != 0 || AlwaysExtended(HotkeyKey(code)); }

std::vector<Keystroke> PlanTyping(std::u16string_view text, const std::vector<LayoutKey>& keys,
                                  const TypingConditions& conditions) {
  std::vector<Keystroke> strokes;
  strokes.reserve(text.size() + 1);
  if (conditions.inMenu) {
    strokes.emplace_back();
    AddPressAndRelease(strokes.back(), keys::Escape);
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r' || unit == u'\n') {
      if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      strokes.push_back(EnterStroke(conditions));
    } else if (unit >= 0x20 || unit == u'\t') {
      strokes.push_back(CharacterStroke(unit, i < keys.size() ? keys[i] : LayoutKey{}, conditions));
    }
  }
  return strokes;
}

bool NeedsMenuMask(const std::vector<HeldKey>& held) {
  for (const HeldKey& key : held)
    if (OpensMenuAlone(key.key)) return true;
  return false;
}

std::array<KeyEvent, 2> MenuMaskEvents() {
  return {KeyEvent{keys::MenuMask, 0, false, false}, KeyEvent{keys::MenuMask, 0, true, false}};
}

std::vector<KeyEvent> ReleaseEvents(const std::vector<HeldKey>& held) {
  std::vector<KeyEvent> events;
  if (NeedsMenuMask(held)) {
    const auto mask = MenuMaskEvents();
    events.assign(mask.begin(), mask.end());
  }
  for (const HeldKey& key : held) events.push_back({key.key, 0, true, key.extended});
  return events;
}
