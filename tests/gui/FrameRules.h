#pragma once
// Which frame of a strip a control shows for its value, written out again from the editor's
// description (not taken from the toolkit), for the editor tests in process and in the hosts.

#include <cmath>

namespace editortest {

// A strip of n frames at value v (frames counted from 1).
inline int StripFrame(int n, double v) {
  if (n < 2)
    return 1;
  const int i = (int)std::trunc((n - 1) * v + 0.5);
  return i < 0 ? 1 : (i >= n ? n : i + 1);
}

// A control limited to frames first + 1 .. last of its strip.
inline int BandFrame(int first, int last, double v) {
  int frame = first + (int)std::trunc((last - 1 - first) * v + 0.5) + 1;
  return frame < first ? first : (frame > last ? last : frame);
}

} // namespace editortest
