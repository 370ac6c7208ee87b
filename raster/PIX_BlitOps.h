#pragma once
// Pixel operations the blit loops are instantiated over, one type per combine mode, so that each
// loop has its writer fixed at compile time. An operation combines one source sample (r, g, b, a)
// into the destination bytes at d with the weight ia.

#include <cstring>

#include "raster/PIX_Combine.h"

template <auto Writer> struct PIX_WriterOp {
  static void apply(unsigned char* d, int r, int g, int b, int a, int ia) {
    Writer(d, r, g, b, a, ia);
  }
};

// Copy at full weight: the source word replaces the destination.
struct PIX_CopyOp {
  static void apply(unsigned char* d, int r, int g, int b, int a, int) {
    const PIX_Pixel p = PIX_MakePixel(r, g, b, a);
    std::memcpy(d, &p, 4);
  }
};

// Calls run(op) with the operation of mode m (mode & 0x100FF) at weight ia: the fourteen
// instances of plain modes 0-5, source-alpha modes 0x10000-0x10005 and their full-weight copies.
// Returns false, having run nothing, for modes that draw nothing.
template <class Run> bool PIX_WithModeOp(int m, int ia, Run&& run) {
  if (ia == 0)
    return false;
  switch (m) {
  case 0:
    if (ia == 256)
      run(PIX_CopyOp{});
    else if (ia >= 1)
      run(PIX_WriterOp<PIX_PixelBlend>{});
    else
      return false;
    return true;
  case 1:
    run(PIX_WriterOp<PIX_PixelAdd>{});
    return true;
  case 2:
    run(PIX_WriterOp<PIX_PixelDodge>{});
    return true;
  case 3:
    run(PIX_WriterOp<PIX_PixelMultiply>{});
    return true;
  case 4:
    run(PIX_WriterOp<PIX_PixelOverlay>{});
    return true;
  case 5:
    run(PIX_WriterOp<PIX_HSVAdjustPixel>{});
    return true;
  case 0x10000:
    if (ia == 256)
      run(PIX_WriterOp<PIX_PixelCopySourceAlpha>{});
    else
      run(PIX_WriterOp<PIX_PixelBlendSourceAlpha>{});
    return true;
  case 0x10001:
    run(PIX_WriterOp<PIX_PixelAddSourceAlpha>{});
    return true;
  case 0x10002:
    run(PIX_WriterOp<PIX_PixelDodgeSourceAlpha>{});
    return true;
  case 0x10003:
    run(PIX_WriterOp<PIX_PixelMultiplySourceAlpha>{});
    return true;
  case 0x10004:
    run(PIX_WriterOp<PIX_PixelOverlaySourceAlpha>{});
    return true;
  case 0x10005:
    run(PIX_WriterOp<PIX_PixelHSVAdjustSourceAlpha>{});
    return true;
  default:
    return false;
  }
}
