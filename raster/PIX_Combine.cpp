#include "raster/PIX_Combine.h"

const PIX_PixelWriter PIX_ClampedWriters[6] = {
    PIX_PixelBlendClamped,    PIX_PixelAdd,     PIX_PixelDodge,
    PIX_PixelMultiplyClamped, PIX_PixelOverlay, PIX_HSVAdjustPixel,
};

PIX_PixelWriter PIX_PlainWriter(int mode) {
  return mode >= 0 && mode <= 5 ? PIX_kPlainWriters[mode] : nullptr;
}

PIX_PixelWriter PIX_SourceAlphaWriter(int mode) {
  return mode >= 0 && mode <= 5 ? PIX_kSourceAlphaWriters[mode] : nullptr;
}
