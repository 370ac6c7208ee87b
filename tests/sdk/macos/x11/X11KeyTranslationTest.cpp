// X keysyms as AppKit key events: the editors tell space and the arrows apart by key code and
// everything else by the characters without modifiers; text entry reads the typed characters.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "x11/X11KeyTranslation.h"

#include <X11/keysym.h>

namespace orvane::x11 {
namespace {

struct KeyCase {
  const char* name;
  unsigned long typed, plain;
  std::uint16_t keyCode;
  const char* characters;
  const char* plainCharacters;
};

const KeyCase kKeys[] = {
    // AppKit's codes for the keys the editors map by code.
    {"space", XK_space, XK_space, 49, " ", " "},
    {"left", XK_Left, XK_Left, 123, "\xEF\x9C\x82", "\xEF\x9C\x82"},
    {"right", XK_Right, XK_Right, 124, "\xEF\x9C\x83", "\xEF\x9C\x83"},
    {"down", XK_Down, XK_Down, 125, "\xEF\x9C\x81", "\xEF\x9C\x81"},
    {"up", XK_Up, XK_Up, 126, "\xEF\x9C\x80", "\xEF\x9C\x80"},
    {"keypad up", XK_KP_Up, XK_KP_Up, 126, "\xEF\x9C\x80", "\xEF\x9C\x80"},
    // Letters: the key's place on the keyboard, typed and plain characters.
    {"a", XK_a, XK_a, 0, "a", "a"},
    {"shift a", XK_A, XK_a, 0, "A", "a"},
    {"z", XK_z, XK_z, 6, "z", "z"},
    {"q", XK_q, XK_q, 12, "q", "q"},
    {"digit 0", XK_0, XK_0, 29, "0", "0"},
    {"digit 5", XK_5, XK_5, 23, "5", "5"},
    {"shift 1", XK_exclam, XK_1, 18, "!", "1"},
    {"keypad 7", XK_KP_7, XK_KP_7, 26, "7", "7"},
    {"minus", XK_minus, XK_minus, 27, "-", "-"},
    {"period", XK_period, XK_period, 47, ".", "."},
    // Editing keys as the text field reads them.
    {"return", XK_Return, XK_Return, 36, "\r", "\r"},
    {"keypad enter", XK_KP_Enter, XK_KP_Enter, 76, "\x03", "\x03"},
    {"backspace", XK_BackSpace, XK_BackSpace, 51, "\x7F", "\x7F"},
    {"escape", XK_Escape, XK_Escape, 53, "\x1B", "\x1B"},
    {"tab", XK_Tab, XK_Tab, 48, "\t", "\t"},
    // Beyond ASCII: Latin-1 and Unicode keysyms type their character.
    {"e acute", XK_eacute, XK_eacute, 0xFFFF, "\xC3\xA9", "\xC3\xA9"},
    {"euro", 0x10020AC, 0x10020AC, 0xFFFF, "\xE2\x82\xAC", "\xE2\x82\xAC"},
    // Modifier keys alone make no key event.
    {"shift alone", XK_Shift_L, XK_Shift_L, 0xFFFF, "", ""},
    {"super alone", XK_Super_L, XK_Super_L, 0xFFFF, "", ""},
    {"alt alone", XK_Alt_L, XK_Alt_L, 0xFFFF, "", ""},
};

class KeyTranslation : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTranslation, GivesAppKitsCodeAndCharacters) {
  const KeyCase& c = GetParam();
  const TranslatedKey key = TranslateKey(c.typed, c.plain);
  EXPECT_EQ(key.keyCode, c.keyCode);
  EXPECT_EQ(key.characters, c.characters);
  EXPECT_EQ(key.charactersIgnoringModifiers, c.plainCharacters);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTranslation, ::testing::ValuesIn(kKeys), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch)))
      ch = '_';
  return name;
});

} // namespace
} // namespace orvane::x11
