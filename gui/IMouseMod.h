#pragma once
// Mouse buttons and modifier keys of one mouse event, as the platform back end reports them.

struct IMouseMod {
  bool L = false; // left button
  bool R = false; // right button, or a left click with Command
  bool S = false; // Shift
  bool C = false; // Control
  bool A = false; // Option / Alt
};
