// Copying a terminated UTF-16 text into a fixed 128-unit name field, as buses, units and
// parameters hold their titles.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

// Copies at most 127 units of from (null gives "") and fills the rest of to with zeros, so
// the field is always terminated and holds nothing stale.
inline void copyString128(String128 to, const TChar* from) {
  int32 n = 0;
  for (; from && n < 127 && from[n] != 0; ++n)
    to[n] = from[n];
  std::fill(to + n, to + 128, TChar(0));
}

} // namespace Vst
} // namespace Steinberg
