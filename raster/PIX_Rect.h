#pragma once
// A rectangle of pixels: left and top inclusive, right and bottom exclusive.

struct RECT {
  int left;
  int top;
  int right;
  int bottom;
};
