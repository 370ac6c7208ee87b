#pragma once
// A rectangle of the editor's draw bitmap in integer pixels, origin top left, y downwards.

#include <algorithm>

struct IRECT {
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  // All four fields 0: the rectangle that stands for "nothing".
  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }

  // The smallest rectangle holding both; an empty operand contributes nothing.
  IRECT Union(const IRECT& b) const {
    if (Empty())
      return b;
    if (b.Empty())
      return *this;
    return IRECT(std::min(L, b.L), std::min(T, b.T), std::max(R, b.R), std::max(B, b.B));
  }

  // The redraw test: this rectangle's right and bottom edges count as inside, b's do not.
  bool Intersects(const IRECT& b) const {
    return !Empty() && !b.Empty() && R >= b.L && L < b.R && B >= b.T && T < b.B;
  }

  // The area of this rectangle that lies inside b (the blit clip); empty when they do not meet.
  IRECT Intersect(const IRECT& b) const {
    if (!Intersects(b))
      return IRECT();
    return IRECT(std::max(L, b.L), std::max(T, b.T), std::min(R, b.R), std::min(B, b.B));
  }

  // Hit test: left and top inclusive, right and bottom exclusive.
  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }

  bool operator==(const IRECT& o) const = default;
};
