#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/hotkey_typing.h"

namespace {

// "+10 +41 -41 -10": presses and releases of virtual keys in hex (10 Shift,
// 0D Enter, 1B Escape, E8 the mask key), "u00A3" Unicode, "*" extended.
std::string Text(const KeyEvent* events, size_t count) {
  std::string text;
  char item[16];
  for (size_t i = 0; i < count; ++i) {
    const KeyEvent& e = events[i];
    std::snprintf(item, sizeof(item), e.key ? "%s%c%02X%s" : "%s%cu%04X%s", i ? " " : "", e.release ? '-' : '+',
                  e.key ? e.key : static_cast<unsigned>(e.unit), e.extended ? "*" : "");
    text += item;
  }
  return text;
}

std::string Text(const std::vector<Keystroke>& strokes) {
  std::string text;
  for (const Keystroke& s : strokes) text += (text.empty() ? "" : " | ") + Text(s.events.data(), s.count);
  return text;
}

constexpr LayoutKey Key(int scan, bool dead = false) { return {static_cast<int16_t>(scan), dead}; }
constexpr LayoutKey NoKey = Key(-1);

TEST(PlanTyping, DecidesEachCharacter) {
  const struct {
    std::u16string text;
    std::vector<LayoutKey> layout;
    TypingConditions conditions;
    const char* expected;
  } cases[] = {
      {u"Ab", {Key(0x141), Key(0x42)}, {}, "+10 +41 -41 -10 | +42 -42"},
      // Wine answers 0x0D and 0xE4 for CR and LF: line breaks never ask the layout.
      {u"a\r\nb\rc\n", {Key(0x41), Key(0x0D), Key(0xE4), Key(0x42), Key(0x0D), Key(0x43), Key(0xE4)}, {},
       "+41 -41 | +0D -0D | +42 -42 | +0D -0D | +43 -43 | +0D -0D"},
      {u"(\u00A3", {NoKey, NoKey}, {}, "+u0028 -u0028 | +u00A3 -u00A3"},  // no key
      {u"@\u20AC", {Key(0x651), Key(0x000)}, {}, "+u0040 -u0040 | +u20AC -u20AC"},  // AltGr; key 0
      {u"^e", {Key(0xDC, true), Key(0x45)}, {}, "+u005E -u005E | +45 -45"},  // a dead key waits for the next
      {u"\x01\t\x1B", {Key(0x241), Key(0x09), Key(0xDB)}, {}, "+09 -09"},  // control characters but tab left out
      {u"aA1\u00E9", {Key(0x41), Key(0x141), Key(0x31), Key(0xDE)}, {true, 0},  // Caps Lock
       "+10 +41 -41 -10 | +41 -41 | +31 -31 | +u00E9 -u00E9"},
      {u"Qq", {Key(0x151), Key(0x51)}, {false, 0x151}, "+u0051 -u0051 | +51 -51"},  // never the Shift+Q hotkey
      {u"q", {Key(0x51)}, {true, 0x151}, "+u0071 -u0071"},  // which Caps Lock would make of q
      {u"b", {Key(0x42)}, {false, 0, true}, "+1B -1B | +42 -42"},  // a menu bar opened by a lone Alt is left
  };
  for (const auto& c : cases) EXPECT_EQ(Text(PlanTyping(c.text, c.layout, c.conditions)), c.expected);
}

TEST(HotkeyCode, RegistrationModifiersAndExtendedNames) {
  const struct {
    uint32_t code, modifiers;
    bool extended;
  } cases[] = {
      {0x151, 4, false},  // Shift: MOD_SHIFT, not MOD_ALT
      {0x651, 3, false},
      {0x824, 0, true},   // Home as the hotkey control reports it
      {0x024, 0, true},   // and without the flag
      {0x067, 0, false},  // keypad 7
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HotkeyRegistrationModifiers(c.code), c.modifiers) << std::hex << c.code;
    EXPECT_EQ(HotkeyNameIsExtended(c.code), c.extended) << std::hex << c.code;
  }
}

TEST(HeldKeys, ReleasedAfterAMaskWhenAltOrWinIsAmongThem) {
  const struct {
    std::vector<HeldKey> held;
    const char* expected;
  } cases[] = {
      {{{keys::LeftShift, false}, {'Q', false}, {keys::RightControl, true}}, "-A0 -51 -A3*"},
      {{{keys::LeftMenu, false}}, "+E8 -E8 -A4"},
      {{{keys::LeftWin, true}}, "+E8 -E8 -5B*"},
  };
  for (const auto& c : cases) {
    const std::vector<KeyEvent> events = ReleaseEvents(c.held);
    EXPECT_EQ(Text(events.data(), events.size()), c.expected);
  }
}

}  // namespace
