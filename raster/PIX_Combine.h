#pragma once
// The per-pixel writers behind every combine mode, and the whole-word forms that shortcut the
// copy mode at the weights 64, 128 and 192.
//
// A writer updates the four bytes of one destination pixel (A, R, G, B in memory) from the source
// channel values r, g, b, a (0-255; a is combined with the alpha byte) at the integer weight
// alpha (256 = full). Divisions truncate toward zero and ">>" is arithmetic, as the blits, fills
// and shapes all rely on getting the same bits from the same arguments.

#include <array>
#include <cstdint>

#include "raster/PIX_Pixel.h"

using PIX_PixelWriter = void (*)(unsigned char* p, int r, int g, int b, int a, int alpha);

// 256 entries: entry 0 is 0, entry i is floor(65536 / i) - 1. Hue and saturation of the HSV
// adjustment divide through it.
constexpr std::array<uint16_t, 256> PIX_MakeReciprocalTable() {
  std::array<uint16_t, 256> table{};
  for (int i = 1; i < 256; ++i)
    table[i] = (uint16_t)(65536 / i - 1);
  return table;
}
inline constexpr std::array<uint16_t, 256> PIX_ReciprocalTable = PIX_MakeReciprocalTable();

inline int PIX_Clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// ---- Whole-word copy forms --------------------------------------------------------------------
// Each channel is shifted inside the word and masked so that no bit crosses into its neighbour;
// the dropped low bits make these differ slightly from the blend writer, and they are the
// results at those weights.

// Half weight: d/2 + c/2.
inline PIX_Pixel PIX_WordHalf(PIX_Pixel d, PIX_Pixel c) {
  return ((d >> 1) & 0x7F7F7F7F) + ((c >> 1) & 0x7F7F7F7F);
}
// Quarter weight: d/4 + c/4 + d/2.
inline PIX_Pixel PIX_WordQuarter(PIX_Pixel d, PIX_Pixel c) {
  return ((d >> 2) & 0x3F3F3F3F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 1) & 0x7F7F7F7F);
}
// Three-quarter weight: d/4 + c/4 + c/2.
inline PIX_Pixel PIX_WordThreeQuarter(PIX_Pixel d, PIX_Pixel c) {
  return ((d >> 2) & 0x3F3F3F3F) + ((c >> 2) & 0x3F3F3F3F) + ((c >> 1) & 0x7F7F7F7F);
}
// Byte-wise average (d + c) >> 1, carried per byte; the shapes use it at weight 128.
inline PIX_Pixel PIX_ByteAverage(PIX_Pixel d, PIX_Pixel c) {
  return (d & c) + (((d ^ c) >> 1) & 0x7F7F7F7F);
}

// ---- Plain writers ----------------------------------------------------------------------------

// Copy at full weight: all four bytes take the source.
inline void PIX_PixelCopy(unsigned char* p, int r, int g, int b, int a, int /*alpha*/) {
  p[0] = (unsigned char)a;
  p[1] = (unsigned char)r;
  p[2] = (unsigned char)g;
  p[3] = (unsigned char)b;
}

inline int PIX_BlendChannel(int d, int s, int w) {
  return s + ((d - s) * (256 - w)) / 256;
}

// Copy at weight alpha: d = s + (d - s) x (256 - w) / 256.
inline void PIX_PixelBlend(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_BlendChannel(p[0], a, alpha);
  p[1] = (unsigned char)PIX_BlendChannel(p[1], r, alpha);
  p[2] = (unsigned char)PIX_BlendChannel(p[2], g, alpha);
  p[3] = (unsigned char)PIX_BlendChannel(p[3], b, alpha);
}

inline int PIX_AddChannel(int d, int s, int w) {
  return PIX_Clamp255(d + (s * w) / 256);
}

inline void PIX_PixelAdd(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_AddChannel(p[0], a, alpha);
  p[1] = (unsigned char)PIX_AddChannel(p[1], r, alpha);
  p[2] = (unsigned char)PIX_AddChannel(p[2], g, alpha);
  p[3] = (unsigned char)PIX_AddChannel(p[3], b, alpha);
}

// Colour dodge: d / (1 - s x w); with less than 2/256 left to divide by, any non-zero d is 255.
inline int PIX_DodgeChannel(int d, int s, int w) {
  const int q = 256 - (s * w) / 256;
  return q >= 2 ? PIX_Clamp255((d * 256) / q) : PIX_Clamp255(d * 256);
}

inline void PIX_PixelDodge(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_DodgeChannel(p[0], a, alpha);
  p[1] = (unsigned char)PIX_DodgeChannel(p[1], r, alpha);
  p[2] = (unsigned char)PIX_DodgeChannel(p[2], g, alpha);
  p[3] = (unsigned char)PIX_DodgeChannel(p[3], b, alpha);
}

inline int PIX_MultiplyChannel(int d, int s, int w) {
  return ((s * w + (256 - w) * 256) * d) >> 16;
}

inline void PIX_PixelMultiply(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_MultiplyChannel(p[0], a, alpha);
  p[1] = (unsigned char)PIX_MultiplyChannel(p[1], r, alpha);
  p[2] = (unsigned char)PIX_MultiplyChannel(p[2], g, alpha);
  p[3] = (unsigned char)PIX_MultiplyChannel(p[3], b, alpha);
}

inline int PIX_OverlayChannel(int d, int s, int w) {
  const int sw = s * w + (256 - w) * 128;
  return PIX_Clamp255(((((32768 - sw) * d) / 256) + sw) * d >> 15);
}

inline void PIX_PixelOverlay(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_OverlayChannel(p[0], a, alpha);
  p[1] = (unsigned char)PIX_OverlayChannel(p[1], r, alpha);
  p[2] = (unsigned char)PIX_OverlayChannel(p[2], g, alpha);
  p[3] = (unsigned char)PIX_OverlayChannel(p[3], b, alpha);
}

// Clamped twins of blend and multiply, for weights that may run outside 0-256 (the
// alpha-interpolating delta blit).
inline void PIX_PixelBlendClamped(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_Clamp255(PIX_BlendChannel(p[0], a, alpha));
  p[1] = (unsigned char)PIX_Clamp255(PIX_BlendChannel(p[1], r, alpha));
  p[2] = (unsigned char)PIX_Clamp255(PIX_BlendChannel(p[2], g, alpha));
  p[3] = (unsigned char)PIX_Clamp255(PIX_BlendChannel(p[3], b, alpha));
}

inline void PIX_PixelMultiplyClamped(unsigned char* p, int r, int g, int b, int a, int alpha) {
  p[0] = (unsigned char)PIX_Clamp255(PIX_MultiplyChannel(p[0], a, alpha));
  p[1] = (unsigned char)PIX_Clamp255(PIX_MultiplyChannel(p[1], r, alpha));
  p[2] = (unsigned char)PIX_Clamp255(PIX_MultiplyChannel(p[2], g, alpha));
  p[3] = (unsigned char)PIX_Clamp255(PIX_MultiplyChannel(p[3], b, alpha));
}

// ---- HSV adjustment ---------------------------------------------------------------------------
// The destination colour is taken apart into hue (0-383, 64 steps per sixth), saturation and
// value; the source R, G, B move them (R - 128 scaled by 1.5 onto the hue, G and B onto
// saturation and value), and the colour is rebuilt. The alpha byte becomes a.

inline int PIX_HsvRamp(int val, int k, int sat) {
  return (val * (16384 - k * sat)) / 16384;
}

inline void PIX_HSVAdjustPixel(unsigned char* p, int r, int g, int b, int a, int alpha) {
  const int dr = p[1], dg = p[2], db = p[3];
  int max, diff, delta, base;
  if (dr < dg && dg > db) {
    max = dg;
    diff = db - dr;
    delta = dg - (db < dr ? db : dr);
    base = 128;
  } else if (dr >= dg && db < dr) {
    max = dr;
    diff = dg - db;
    delta = dr - (dg < db ? dg : db);
    base = dg < db ? 383 : 0;
  } else {
    max = db;
    diff = dr - dg;
    delta = db - (dr < dg ? dr : dg);
    base = 256;
  }
  int hue = base + ((PIX_ReciprocalTable[delta] + 1) * diff) / 1024;
  int sat = (delta * PIX_ReciprocalTable[max]) / 256;
  int val = max;

  hue += ((r + r / 2 - 192) * alpha) / 256;
  if (hue < 0)
    hue += 384;
  else if (hue > 383)
    hue -= 384;
  sat = PIX_Clamp255(sat + ((g - 128) * alpha) / 128);
  val = PIX_Clamp255(val + ((b - 128) * alpha) / 128);

  const int low = ((256 - sat) * val) / 256;
  int nr, ng, nb;
  if (hue < 64) {
    nr = val, ng = PIX_HsvRamp(val, 64 - hue, sat), nb = low;
  } else if (hue < 128) {
    nr = PIX_HsvRamp(val, hue - 64, sat), ng = val, nb = low;
  } else if (hue < 192) {
    nr = low, ng = val, nb = PIX_HsvRamp(val, 192 - hue, sat);
  } else if (hue < 256) {
    nr = low, ng = PIX_HsvRamp(val, hue - 192, sat), nb = val;
  } else if (hue < 320) {
    nr = PIX_HsvRamp(val, 320 - hue, sat), ng = low, nb = val;
  } else {
    nr = val, ng = low, nb = PIX_HsvRamp(val, hue - 320, sat);
  }
  const PIX_Pixel word = PIX_MakePixel(nr, ng, nb, a);
  p[0] = (unsigned char)(word);
  p[1] = (unsigned char)(word >> 8);
  p[2] = (unsigned char)(word >> 16);
  p[3] = (unsigned char)(word >> 24);
}

// ---- Source-alpha writers ---------------------------------------------------------------------
// a is the source pixel's alpha byte sa; e = (sa + 1) x w / 256 is the weight the colour bytes
// get.

inline int PIX_SourceAlphaWeight(int sa, int alpha) {
  return ((sa + 1) * alpha) / 256;
}

// Full weight: sa 0 leaves the pixel, sa 255 replaces the colour and makes it opaque.
inline void PIX_PixelCopySourceAlpha(unsigned char* p, int r, int g, int b, int a, int /*alpha*/) {
  if (a == 0)
    return;
  if (a == 255) {
    p[1] = (unsigned char)r;
    p[2] = (unsigned char)g;
    p[3] = (unsigned char)b;
    p[0] = 255;
    return;
  }
  const int keep = 255 - a;
  p[1] = (unsigned char)(r + ((p[1] - r) * keep) / 256);
  p[2] = (unsigned char)(g + ((p[2] - g) * keep) / 256);
  p[3] = (unsigned char)(b + ((p[3] - b) * keep) / 256);
  const int na = p[0] + a;
  p[0] = (unsigned char)(na < 255 ? na : 255);
}

inline void PIX_PixelBlendSourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  if (a == 0)
    return;
  const int e = PIX_SourceAlphaWeight(a, alpha);
  p[1] = (unsigned char)PIX_BlendChannel(p[1], r, e);
  p[2] = (unsigned char)PIX_BlendChannel(p[2], g, e);
  p[3] = (unsigned char)PIX_BlendChannel(p[3], b, e);
  const int na = p[0] + e;
  p[0] = (unsigned char)(na < 255 ? na : 255);
}

inline void PIX_PixelAddSourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  if (a == 0)
    return;
  const int e = PIX_SourceAlphaWeight(a, alpha);
  p[1] = (unsigned char)PIX_AddChannel(p[1], r, e);
  p[2] = (unsigned char)PIX_AddChannel(p[2], g, e);
  p[3] = (unsigned char)PIX_AddChannel(p[3], b, e);
  p[0] = (unsigned char)PIX_Clamp255(p[0] + (e * a) / 256);
}

// Dodge and overlay run even at sa 0 (e is then 0 or 1).
inline void PIX_PixelDodgeSourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  PIX_PixelDodge(p, r, g, b, a, PIX_SourceAlphaWeight(a, alpha));
}

inline void PIX_PixelMultiplySourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  if (a == 0)
    return;
  PIX_PixelMultiply(p, r, g, b, a, PIX_SourceAlphaWeight(a, alpha));
}

inline void PIX_PixelOverlaySourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  PIX_PixelOverlay(p, r, g, b, a, PIX_SourceAlphaWeight(a, alpha));
}

inline void PIX_PixelHSVAdjustSourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha) {
  PIX_HSVAdjustPixel(p, r, g, b, a, PIX_SourceAlphaWeight(a, alpha));
}

// The writers of the six combine modes, indexed by mode: blend (copy below full weight), add,
// dodge, multiply, overlay and HSV adjust; and their source-alpha forms. Every table of writers
// by mode is read from these two.
inline constexpr PIX_PixelWriter PIX_kPlainWriters[6] = {
    PIX_PixelBlend,    PIX_PixelAdd,     PIX_PixelDodge,
    PIX_PixelMultiply, PIX_PixelOverlay, PIX_HSVAdjustPixel,
};
inline constexpr PIX_PixelWriter PIX_kSourceAlphaWriters[6] = {
    PIX_PixelBlendSourceAlpha,    PIX_PixelAddSourceAlpha,     PIX_PixelDodgeSourceAlpha,
    PIX_PixelMultiplySourceAlpha, PIX_PixelOverlaySourceAlpha, PIX_PixelHSVAdjustSourceAlpha,
};

// Writers indexed by mode 0-5 whose results stay in 0-255 for any weight.
extern const PIX_PixelWriter PIX_ClampedWriters[6];

// The plain writer of mode 0-5 at a weight below full (copy blends), or null above 5.
PIX_PixelWriter PIX_PlainWriter(int mode);
// The source-alpha writer of mode 0-5 at a weight below full, or null above 5.
PIX_PixelWriter PIX_SourceAlphaWriter(int mode);
