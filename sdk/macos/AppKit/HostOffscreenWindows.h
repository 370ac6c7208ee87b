// Off-screen windows chosen by the host process.
//
// A plug-in binary carries its own copy of this stand-in, with its own registry of window back
// ends, so a host that dlopens a bundle cannot register a back end in it. A test host that wants
// the bundle's windows kept in memory instead publishes the function named
// kOrvaneHostOffscreenWindowSymbol (exported from its executable). Every window a bundle then
// makes for a host parent, of any kind, is an off-screen window: the bundle announces it to the
// host on creation (the host answers its backing scale factor) and again when it goes. The host
// reads pixels and injects input only through the table of calls the bundle hands over, so it
// never runs its own copy of the stand-in on the bundle's objects.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

enum OrvaneOffscreenMouse { kOrvaneMouseDown, kOrvaneMouseDrag, kOrvaneMouseUp };

// Calls into the bundle for one off-screen window; `window` is the handle announced with them.
// Points are window points (origin bottom left, y up); flags are NSEventModifierFlags.
struct OrvaneOffscreenWindowCalls {
  // Copies the window's pixels as RGBA rows into out when capacity allows; the size in device
  // pixels goes to width and height. Answers the bytes the whole image needs.
  std::size_t (*readRgba)(void* window, std::uint8_t* out, std::size_t capacity, int* width,
                          int* height);
  void (*mouse)(void* window, int what, double x, double y, std::uint64_t flags);
  void (*scroll)(void* window, double x, double y, double deltaY, std::uint64_t flags);
};

// opened = 1: a window was made; the answer is its backing scale factor. opened = 0: it went
// (the answer is ignored, the handle is dead).
typedef double (*OrvaneHostOffscreenWindow)(const OrvaneOffscreenWindowCalls* calls, void* window,
                                            int opened);
}

inline constexpr const char* kOrvaneHostOffscreenWindowSymbol = "orvaneHostOffscreenWindow";
