#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/hotkey_typing.h"

namespace {

// "+Shift +A -A -Shift": presses and releases; "U+00A3" a Unicode unit;
// "*" marks an extended key.
std::string EventText(const KeyEvent& e) {
  char text[16];
  if (e.key == 0) {
    std::snprintf(text, sizeof(text), "%cU+%04X", e.release ? '-' : '+', static_cast<unsigned>(e.unit));
    return text;
  }
  std::string name;
  if (e.key == keys::Shift) name = "Shift";
  else if (e.key == keys::Return) name = "Enter";
  else if ((e.key >= 'A' && e.key <= 'Z') || (e.key >= '0' && e.key <= '9')) name = std::string(1, static_cast<char>(e.key));
  else {
    std::snprintf(text, sizeof(text), "x%02X", e.key);
    name = text;
  }
  return (e.release ? "-" : "+") + name + (e.extended ? "*" : "");
}

std::string EventsText(const KeyEvent* events, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += (i ? " " : "") + EventText(events[i]);
  return text;
}

std::string PlanText(const std::vector<Keystroke>& strokes) {
  std::string text;
  for (const Keystroke& s : strokes) text += (text.empty() ? "" : " | ") + EventsText(s.events.data(), s.count);
  return text;
}

constexpr LayoutKey NoKey{-1, false};
constexpr LayoutKey Key(int scan) { return {static_cast<int16_t>(scan), false}; }

struct TypingCase {
  const char* what;
  std::u16string text;
  std::vector<LayoutKey> layout;
  TypingConditions conditions;
  const char* expected;
};

TEST(PlanTyping, DecidesEachCharacter) {
  const TypingCase cases[] = {
      {"Shift where the layout says", u"Ab", {Key(0x141), Key(0x42)}, {}, "+Shift +A -A -Shift | +B -B"},
      // Wine answers 0x0D and 0xE4 for CR and LF: line breaks never ask the layout.
      {"CR LF, CR and LF are one Enter each", u"a\r\nb\rc\n", {Key(0x41), Key(0x0D), Key(0xE4), Key(0x42), Key(0x0D), Key(0x43), Key(0xE4)}, {},
       "+A -A | +Enter -Enter | +B -B | +Enter -Enter | +C -C | +Enter -Enter"},
      {"no key: Unicode", u"(\u00A3)", {NoKey, NoKey, NoKey}, {}, "+U+0028 -U+0028 | +U+00A3 -U+00A3 | +U+0029 -U+0029"},
      {"AltGr, Ctrl or Alt needed: Unicode", u"@\u20AC~", {Key(0x651), Key(0x645), Key(0x2C0)}, {},
       "+U+0040 -U+0040 | +U+20AC -U+20AC | +U+007E -U+007E"},
      {"virtual key 0 or 255: Unicode", u"\u20ACx", {Key(0x000), Key(0x1FF)}, {}, "+U+20AC -U+20AC | +U+0078 -U+0078"},
      {"a dead key would wait for the next one", u"^e", {{0xDC, true}, Key(0x45)}, {}, "+U+005E -U+005E | +E -E"},
      {"missing answers count as no key", u"ab", {Key(0x41)}, {}, "+A -A | +U+0062 -U+0062"},
      {"surrogates go unit by unit", u"\U0001F600", {NoKey, NoKey}, {}, "+U+D83D -U+D83D | +U+DE00 -U+DE00"},
      {"control characters but tab are left out", u"\x01\tX\x1B", {Key(0x241), Key(0x09), Key(0x158), Key(0xDB)}, {},
       "+x09 -x09 | +Shift +X -X -Shift"},
      {"Caps Lock: letters swap Shift, other keys keep it", u"aA1!", {Key(0x41), Key(0x141), Key(0x31), Key(0x131)}, {true, 0},
       "+Shift +A -A -Shift | +A -A | +1 -1 | +Shift +1 -1 -Shift"},
      {"Caps Lock: letters beyond ASCII as Unicode", u"\u00E9", {Key(0xDE)}, {true, 0}, "+U+00E9 -U+00E9"},
      {"no Caps Lock: letters beyond ASCII on their key", u"\u00E9", {Key(0xDE)}, {}, "+xDE -xDE"},
      {"never the hotkey: Shift+Q", u"Qq", {Key(0x151), Key(0x51)}, {false, 0x151}, "+U+0051 -U+0051 | +Q -Q"},
      {"Caps Lock turns q into the Shift+Q hotkey", u"q", {Key(0x51)}, {true, 0x151}, "+U+0071 -U+0071"},
      {"a hotkey with Ctrl is never pressed by typing", u"Q", {Key(0x151)}, {false, 0x351}, "+Shift +Q -Q -Shift"},
      {"never the hotkey: a bare Enter", u"\r\n", {}, {false, 0x0D}, "+U+000D -U+000D"},
      {"a menu opened by an Alt tap is left first", u"b", {Key(0x42)}, {false, 0, true}, "+x1B -x1B | +B -B"},
  };
  for (const TypingCase& c : cases) EXPECT_EQ(PlanText(PlanTyping(c.text, c.layout, c.conditions)), c.expected) << c.what;
}

TEST(HotkeyCode, RegistrationModifiersAndExtendedNames) {
  const struct {
    uint32_t code, modifiers;
    bool extended;
  } cases[] = {
      {0x151, 4, false},  // Shift: MOD_SHIFT, not MOD_ALT
      {0x251, 2, false},
      {0x451, 1, false},
      {0x774, 7, false},
      {0x824, 0, true},   // Home as the hotkey control reports it
      {0x024, 0, true},   // Home without the flag is still Home
      {0x067, 0, false},  // keypad 7
      {0x06F, 0, true},   // keypad divide
      {0x851, 0, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HotkeyRegistrationModifiers(c.code), c.modifiers) << std::hex << c.code;
    EXPECT_EQ(HotkeyNameIsExtended(c.code), c.extended) << std::hex << c.code;
  }
}

TEST(HeldKeys, ReleasesMaskAltAndWin) {
  const struct {
    std::vector<HeldKey> held;
    const char* expected;
  } cases[] = {
      {{}, ""},
      {{{keys::LeftShift, false}, {'Q', false}}, "-xA0 -Q"},
      {{{keys::RightControl, true}}, "-xA3*"},
      {{{keys::LeftControl, false}, {keys::LeftMenu, false}}, "+xE8 -xE8 -xA2 -xA4"},
      {{{keys::LeftWin, true}}, "+xE8 -xE8 -x5B*"},
  };
  for (const auto& c : cases) {
    const std::vector<KeyEvent> events = ReleaseEvents(c.held);
    EXPECT_EQ(EventsText(events.data(), events.size()), c.expected);
  }
}

}  // namespace
