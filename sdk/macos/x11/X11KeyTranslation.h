// X11 keys as AppKit key events: the virtual key code of the platform's keyboard, the typed
// characters and the characters without modifiers. X delivers a key code and the keysyms of
// its levels; AppKit's editors look at the virtual key code for space and the arrows and at
// the characters for everything else.
#pragma once

#include <cstdint>
#include <string>

namespace orvane::x11 {

struct TranslatedKey {
  std::uint16_t keyCode = 0xFFFF; // AppKit virtual key code; 0xFFFF for a key it has none for
  std::string characters;         // as typed (UTF-8); empty for a key that types nothing
  std::string charactersIgnoringModifiers;
};

// `typed`: the keysym with the event's modifiers applied; `plain`: the keysym of the key's
// first level (no Shift). A modifier key on its own gives an empty result (no key event).
TranslatedKey TranslateKey(unsigned long typed, unsigned long plain);

// The character a keysym types (Latin-1 keysyms, Unicode keysyms, the few control keys that
// type a character in AppKit), UTF-8; empty when none.
std::string KeysymText(unsigned long keysym);

// True for Shift, Control, Alt, Super, Caps Lock and the like.
bool IsModifierKeysym(unsigned long keysym);

} // namespace orvane::x11
