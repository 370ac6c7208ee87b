#include "x11/X11KeyTranslation.h"

#include <X11/keysym.h>

#include <array>
#include <cctype>

namespace orvane::x11 {

namespace {

// AppKit's private-use characters for keys that type none.
enum : char32_t {
  kUpArrowCharacter = 0xF700,
  kDownArrowCharacter = 0xF701,
  kLeftArrowCharacter = 0xF702,
  kRightArrowCharacter = 0xF703,
  kF1Character = 0xF704,
  kForwardDeleteCharacter = 0xF728,
  kHomeCharacter = 0xF729,
  kEndCharacter = 0xF72B,
  kPageUpCharacter = 0xF72C,
  kPageDownCharacter = 0xF72D,
};

struct SpecialKey {
  unsigned long keysym;
  std::uint16_t keyCode;
  char32_t character;
};

// Keys with a fixed AppKit key code and character.
constexpr std::array kSpecialKeys{
    SpecialKey{XK_space, 49, U' '},
    SpecialKey{XK_Return, 36, U'\r'},
    SpecialKey{XK_KP_Enter, 76, 0x03},
    SpecialKey{XK_Tab, 48, U'\t'},
    SpecialKey{XK_ISO_Left_Tab, 48, 0x19},
    SpecialKey{XK_BackSpace, 51, 0x7F},
    SpecialKey{XK_Escape, 53, 0x1B},
    SpecialKey{XK_Delete, 117, kForwardDeleteCharacter},
    SpecialKey{XK_KP_Delete, 117, kForwardDeleteCharacter},
    SpecialKey{XK_Left, 123, kLeftArrowCharacter},
    SpecialKey{XK_Right, 124, kRightArrowCharacter},
    SpecialKey{XK_Down, 125, kDownArrowCharacter},
    SpecialKey{XK_Up, 126, kUpArrowCharacter},
    SpecialKey{XK_KP_Left, 123, kLeftArrowCharacter},
    SpecialKey{XK_KP_Right, 124, kRightArrowCharacter},
    SpecialKey{XK_KP_Down, 125, kDownArrowCharacter},
    SpecialKey{XK_KP_Up, 126, kUpArrowCharacter},
    SpecialKey{XK_Home, 115, kHomeCharacter},
    SpecialKey{XK_End, 119, kEndCharacter},
    SpecialKey{XK_Prior, 116, kPageUpCharacter},
    SpecialKey{XK_Next, 121, kPageDownCharacter},
    SpecialKey{XK_F1, 122, kF1Character},
    SpecialKey{XK_F2, 120, kF1Character + 1},
    SpecialKey{XK_F3, 99, kF1Character + 2},
    SpecialKey{XK_F4, 118, kF1Character + 3},
    SpecialKey{XK_F5, 96, kF1Character + 4},
    SpecialKey{XK_F6, 97, kF1Character + 5},
    SpecialKey{XK_F7, 98, kF1Character + 6},
    SpecialKey{XK_F8, 100, kF1Character + 7},
    SpecialKey{XK_F9, 101, kF1Character + 8},
    SpecialKey{XK_F10, 109, kF1Character + 9},
    SpecialKey{XK_F11, 103, kF1Character + 10},
    SpecialKey{XK_F12, 111, kF1Character + 11},
};

// The ANSI keyboard's key codes of the letters a-z and digits 0-9 (AppKit numbers keys by
// their place on the keyboard, not by what they type).
constexpr std::array<std::uint16_t, 26> kLetterCodes{
    0, 11, 8, 2, 14, 3, 5, 4, 34, 38, 40, 37, 46, 45, 31, 35, 12, 15, 1, 17, 32, 9, 13, 7, 16, 6};
constexpr std::array<std::uint16_t, 10> kDigitCodes{29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

struct PunctuationKey {
  char character;
  std::uint16_t keyCode;
};
constexpr std::array kPunctuationCodes{
    PunctuationKey{'-', 27},  PunctuationKey{'=', 24},  PunctuationKey{'[', 33},
    PunctuationKey{']', 30},  PunctuationKey{'\\', 42}, PunctuationKey{';', 41},
    PunctuationKey{'\'', 39}, PunctuationKey{',', 43},  PunctuationKey{'.', 47},
    PunctuationKey{'/', 44},  PunctuationKey{'`', 50},
};

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x110000) {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

const SpecialKey* FindSpecial(unsigned long keysym) {
  for (const SpecialKey& key : kSpecialKeys)
    if (key.keysym == keysym)
      return &key;
  return nullptr;
}

// The key code of the key that types `plain` on its first level.
std::uint16_t PositionalCode(unsigned long plain) {
  if (plain >= XK_a && plain <= XK_z)
    return kLetterCodes[plain - XK_a];
  if (plain >= XK_A && plain <= XK_Z)
    return kLetterCodes[plain - XK_A];
  if (plain >= XK_0 && plain <= XK_9)
    return kDigitCodes[plain - XK_0];
  if (plain >= XK_KP_0 && plain <= XK_KP_9)
    return kDigitCodes[plain - XK_KP_0];
  for (const PunctuationKey& key : kPunctuationCodes)
    if (plain == static_cast<unsigned char>(key.character))
      return key.keyCode;
  return 0xFFFF;
}

} // namespace

std::string KeysymText(unsigned long keysym) {
  if (const SpecialKey* special = FindSpecial(keysym))
    return Utf8(special->character);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
    return Utf8(U'0' + (keysym - XK_KP_0));
  switch (keysym) {
  case XK_KP_Decimal:
    return ".";
  case XK_KP_Add:
    return "+";
  case XK_KP_Subtract:
    return "-";
  case XK_KP_Multiply:
    return "*";
  case XK_KP_Divide:
    return "/";
  default:
    break;
  }
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
    return Utf8(char32_t(keysym));
  // Unicode keysyms: 0x01000000 + the code point.
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF)
    return Utf8(char32_t(keysym - 0x01000000));
  return {};
}

bool IsModifierKeysym(unsigned long keysym) {
  return (keysym >= XK_Shift_L && keysym <= XK_Hyper_R) || keysym == XK_Mode_switch ||
         keysym == XK_Num_Lock || (keysym >= 0xFE01 && keysym <= 0xFE0F); // ISO level shifts
}

TranslatedKey TranslateKey(unsigned long typed, unsigned long plain) {
  TranslatedKey key;
  if (IsModifierKeysym(typed) || IsModifierKeysym(plain))
    return key;
  if (const SpecialKey* special = FindSpecial(plain))
    key.keyCode = special->keyCode;
  else
    key.keyCode = PositionalCode(plain);
  key.characters = KeysymText(typed);
  key.charactersIgnoringModifiers = KeysymText(plain);
  // A plain letter keysym is its lower case (X lists the upper case on the second level).
  if (key.charactersIgnoringModifiers.size() == 1)
    key.charactersIgnoringModifiers[0] =
        char(std::tolower(static_cast<unsigned char>(key.charactersIgnoringModifiers[0])));
  return key;
}

} // namespace orvane::x11
