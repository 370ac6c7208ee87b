#include "raster/PIX_Combine.h"

const PIX_PixelWriter PIX_ClampedWriters[6] = {
    PIX_PixelBlendClamped,    PIX_PixelAdd,     PIX_PixelDodge,
    PIX_PixelMultiplyClamped, PIX_PixelOverlay, PIX_HSVAdjustPixel,
};

PIX_PixelWriter PIX_PlainWriter(int mode) {
  static const PIX_PixelWriter writers[6] = {
      PIX_PixelBlend,    PIX_PixelAdd,     PIX_PixelDodge,
      PIX_PixelMultiply, PIX_PixelOverlay, PIX_HSVAdjustPixel,
  };
  return mode >= 0 && mode <= 5 ? writers[mode] : nullptr;
}

PIX_PixelWriter PIX_SourceAlphaWriter(int mode) {
  static const PIX_PixelWriter writers[6] = {
      PIX_PixelBlendSourceAlpha,    PIX_PixelAddSourceAlpha,     PIX_PixelDodgeSourceAlpha,
      PIX_PixelMultiplySourceAlpha, PIX_PixelOverlaySourceAlpha, PIX_PixelHSVAdjustSourceAlpha,
  };
  return mode >= 0 && mode <= 5 ? writers[mode] : nullptr;
}
