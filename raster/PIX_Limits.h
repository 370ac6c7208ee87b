// The largest coordinates the raster engines accept, and the narrowing of 64-bit positions to
// the int coordinates the spans and lines take. Inputs past a limit are refused (nothing is
// drawn), so no engine computes with a value it cannot represent.
#pragma once

#include <algorithm>
#include <cstdint>

// Blit and the rotated blit (Transform) step through their source in 16.16 fixed point held in
// 64-bit integers, and multiply those steps by span lengths. Up to 2^28 every 16.16 value and
// every such product stays representable.
inline constexpr int64_t PIX_kMaxFixedCoord = int64_t(1) << 28;

// Circles and curves take float centres, radii and control points and walk them in float
// arithmetic. Up to 2^24 a float holds every whole number, so the whole-pixel positions they
// reach are exact and their walks bounded; past it adding one pixel can leave a float unchanged.
inline constexpr int64_t PIX_kMaxFloatCoord = int64_t(1) << 24;

// A 64-bit position narrowed to int, held at the ends of int's range instead of wrapping.
inline int PIX_Saturate(int64_t v) {
  return (int)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
}
