#pragma once
// The vector row kernels, written once over registers of PIX_VECTOR_BYTES bytes and compiled
// once per instruction set (PIX_RowKernelsSSE2.cpp, PIX_RowKernelsAVX2.cpp). Everything
// here has internal linkage, so that no code compiled for a wider set can stand in for the
// baseline's. Only those two files include it.
//
// The arithmetic is that of the writers in PIX_Combine.h, on 16-bit lanes: a blend
// s + ((d - s) x k) / 256 with division toward zero is s + (|d - s| x k) >> 8 when d >= s and
// s - (|d - s| x k) >> 8 when d < s, and |d - s| x k stays below 65536 for every k up to 256.

#ifndef PIX_VECTOR_BYTES
#error "PIX_VECTOR_BYTES must be 16 or 32"
#endif

#include <immintrin.h>

#include "raster/PIX_Combine.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Sample.h"

namespace {

// The few operations the kernels need, on one register of pixels: 4 with SSE2, 8 with AVX2.
// Unpacking and packing work within 128-bit halves on AVX2, so a register unpacked into two and
// packed back keeps every pixel in its place.
#if PIX_VECTOR_BYTES == 32
using Reg = __m256i;
inline Reg Load(const PIX_Pixel* p) {
  return _mm256_loadu_si256((const Reg*)p);
}
inline void Store(PIX_Pixel* p, Reg v) {
  _mm256_storeu_si256((Reg*)p, v);
}
inline Reg Zero() {
  return _mm256_setzero_si256();
}
inline Reg Set32(uint32_t v) {
  return _mm256_set1_epi32((int)v);
}
inline Reg Set16(int v) {
  return _mm256_set1_epi16((short)v);
}
inline Reg Set64(uint64_t v) {
  return _mm256_set1_epi64x((long long)v);
}
inline Reg Low16(Reg v) {
  return _mm256_unpacklo_epi8(v, Zero());
}
inline Reg High16(Reg v) {
  return _mm256_unpackhi_epi8(v, Zero());
}
inline Reg Pack16(Reg lo, Reg hi) {
  return _mm256_packus_epi16(lo, hi);
}
inline Reg Add16(Reg a, Reg b) {
  return _mm256_add_epi16(a, b);
}
inline Reg Sub16(Reg a, Reg b) {
  return _mm256_sub_epi16(a, b);
}
inline Reg Mul16(Reg a, Reg b) {
  return _mm256_mullo_epi16(a, b);
}
inline Reg Shr16By8(Reg a) {
  return _mm256_srli_epi16(a, 8);
}
inline Reg Max16(Reg a, Reg b) {
  return _mm256_max_epi16(a, b);
}
inline Reg Min16(Reg a, Reg b) {
  return _mm256_min_epi16(a, b);
}
inline Reg Greater16(Reg a, Reg b) {
  return _mm256_cmpgt_epi16(a, b);
}
inline Reg Equal32(Reg a, Reg b) {
  return _mm256_cmpeq_epi32(a, b);
}
inline Reg And(Reg a, Reg b) {
  return _mm256_and_si256(a, b);
}
inline Reg AndNot(Reg a, Reg b) {
  return _mm256_andnot_si256(a, b);
}
inline Reg Or(Reg a, Reg b) {
  return _mm256_or_si256(a, b);
}
inline Reg Xor(Reg a, Reg b) {
  return _mm256_xor_si256(a, b);
}
inline Reg ShiftLeft32(Reg a, int n) {
  return _mm256_slli_epi32(a, n);
}
inline bool AllBitsClear(Reg v) {
  return _mm256_testz_si256(v, v);
}
inline bool AllBytesEqual(Reg a, Reg b) {
  return _mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)) == -1;
}
#else
using Reg = __m128i;
inline Reg Load(const PIX_Pixel* p) {
  return _mm_loadu_si128((const Reg*)p);
}
inline void Store(PIX_Pixel* p, Reg v) {
  _mm_storeu_si128((Reg*)p, v);
}
inline Reg Zero() {
  return _mm_setzero_si128();
}
inline Reg Set32(uint32_t v) {
  return _mm_set1_epi32((int)v);
}
inline Reg Set16(int v) {
  return _mm_set1_epi16((short)v);
}
inline Reg Set64(uint64_t v) {
  return _mm_set1_epi64x((long long)v);
}
inline Reg Low16(Reg v) {
  return _mm_unpacklo_epi8(v, Zero());
}
inline Reg High16(Reg v) {
  return _mm_unpackhi_epi8(v, Zero());
}
inline Reg Pack16(Reg lo, Reg hi) {
  return _mm_packus_epi16(lo, hi);
}
inline Reg Add16(Reg a, Reg b) {
  return _mm_add_epi16(a, b);
}
inline Reg Sub16(Reg a, Reg b) {
  return _mm_sub_epi16(a, b);
}
inline Reg Mul16(Reg a, Reg b) {
  return _mm_mullo_epi16(a, b);
}
inline Reg Shr16By8(Reg a) {
  return _mm_srli_epi16(a, 8);
}
inline Reg Max16(Reg a, Reg b) {
  return _mm_max_epi16(a, b);
}
inline Reg Min16(Reg a, Reg b) {
  return _mm_min_epi16(a, b);
}
inline Reg Greater16(Reg a, Reg b) {
  return _mm_cmpgt_epi16(a, b);
}
inline Reg Equal32(Reg a, Reg b) {
  return _mm_cmpeq_epi32(a, b);
}
inline Reg And(Reg a, Reg b) {
  return _mm_and_si128(a, b);
}
inline Reg AndNot(Reg a, Reg b) {
  return _mm_andnot_si128(a, b);
}
inline Reg Or(Reg a, Reg b) {
  return _mm_or_si128(a, b);
}
inline Reg Xor(Reg a, Reg b) {
  return _mm_xor_si128(a, b);
}
inline Reg ShiftLeft32(Reg a, int n) {
  return _mm_slli_epi32(a, n);
}
inline bool AllBitsClear(Reg v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, Zero())) == 0xFFFF;
}
inline bool AllBytesEqual(Reg a, Reg b) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(a, b)) == 0xFFFF;
}
#endif

constexpr int kPixels = PIX_VECTOR_BYTES / 4;

// a where the mask is set, else b.
inline Reg Select(Reg mask, Reg a, Reg b) {
  return Or(And(mask, a), AndNot(mask, b));
}

// Each pixel's alpha byte copied into all four of its bytes.
inline Reg AlphaInEveryByte(Reg w) {
  const Reg a = And(w, Set32(0xFF));
  const Reg ab = Or(a, ShiftLeft32(a, 8));
  return Or(ab, ShiftLeft32(ab, 16));
}

// s + ((d - s) x k) / 256 per 16-bit lane, the division truncated toward zero; d and s 0-255,
// k 0-256. The distance |d - s| times k stays below 65536, and moving s by the shifted product
// up or down gives the truncation toward zero.
inline Reg BlendLanes(Reg d, Reg s, Reg k) {
  const Reg distance = Sub16(Max16(d, s), Min16(d, s));
  const Reg moved = Shr16By8(Mul16(distance, k));
  const Reg down = Greater16(s, d); // all ones where d < s
  return Add16(s, Sub16(Xor(moved, down), down));
}

// Both 16-bit halves of a register of pixels through lanes(d, s, ...), packed back.
template <class Lanes> inline Reg PerHalf(Reg d, Reg s, Lanes lanes) {
  return Pack16(lanes(Low16(d), Low16(s), 0), lanes(High16(d), High16(s), 1));
}

// Unpacked to 16-bit lanes a pixel is four lanes A, R, G, B: the alpha lane is the first of each
// 64 bits.
inline Reg AlphaLanes() {
  return Set64(0xFFFF);
}

inline bool AllTransparent(Reg sw) {
  return AllBitsClear(And(sw, Set32(0xFF)));
}

inline bool AllOpaque(Reg sw) {
  return AllBytesEqual(Or(sw, Set32(0xFFFFFF00u)), Set32(0xFFFFFFFFu));
}

// PIX_PixelCopySourceAlpha: colour bytes d = s + ((d - s) x (255 - sa)) / 256, A = min(A + sa,
// 255), and pixels with sa 0 untouched. Whole registers of transparent or opaque pixels, the bulk
// of a knob frame, are skipped or copied.
void SourceAlphaFullWeight(PIX_Pixel* d, const PIX_Pixel* s, int n) {
  const Reg alphaLanes = AlphaLanes(), max = Set16(255);
  int i = 0;
  for (; i + kPixels <= n; i += kPixels) {
    const Reg sw = Load(s + i);
    if (AllTransparent(sw))
      continue;
    if (AllOpaque(sw)) {
      Store(d + i, sw);
      continue;
    }
    const Reg dw = Load(d + i);
    const Reg saBytes = AlphaInEveryByte(sw);
    const Reg out = PerHalf(dw, sw, [&](Reg d16, Reg s16, int half) {
      const Reg sa = half ? High16(saBytes) : Low16(saBytes);
      const Reg colour = BlendLanes(d16, s16, Sub16(max, sa));
      return Select(alphaLanes, Min16(Add16(d16, sa), max), colour);
    });
    Store(d + i, Select(Equal32(And(sw, Set32(0xFF)), Zero()), dw, out));
  }
  PIX_PlainRowKernels().sourceAlphaFullWeight(d + i, s + i, n - i);
}

// PIX_PixelBlendSourceAlpha at weight ia 1-255: e = (sa + 1) x ia / 256 (below 65536 before the
// shift), colour bytes blended with 256 - e, A = min(A + e, 255), pixels with sa 0 untouched.
void SourceAlphaBlend(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  const Reg alphaLanes = AlphaLanes(), max = Set16(255), one = Set16(1), full = Set16(256);
  const Reg weight = Set16(ia);
  int i = 0;
  for (; i + kPixels <= n; i += kPixels) {
    const Reg sw = Load(s + i);
    if (AllTransparent(sw))
      continue;
    const Reg dw = Load(d + i);
    const Reg saBytes = AlphaInEveryByte(sw);
    const Reg out = PerHalf(dw, sw, [&](Reg d16, Reg s16, int half) {
      const Reg sa = half ? High16(saBytes) : Low16(saBytes);
      const Reg e = Shr16By8(Mul16(Add16(sa, one), weight));
      const Reg colour = BlendLanes(d16, s16, Sub16(full, e));
      return Select(alphaLanes, Min16(Add16(d16, e), max), colour);
    });
    Store(d + i, Select(Equal32(And(sw, Set32(0xFF)), Zero()), dw, out));
  }
  PIX_PlainRowKernels().sourceAlphaBlend(d + i, s + i, n - i, ia);
}

// PIX_PixelBlend at weight ia 1-255 on all four bytes.
void Blend(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  const Reg keep = Set16(256 - ia);
  auto lanes = [&](Reg d16, Reg s16, int) { return BlendLanes(d16, s16, keep); };
  int i = 0;
  for (; i + kPixels <= n; i += kPixels)
    Store(d + i, PerHalf(Load(d + i), Load(s + i), lanes));
  PIX_PlainRowKernels().blend(d + i, s + i, n - i, ia);
}

void BlendToColour(PIX_Pixel* d, int n, PIX_Pixel c, int ia) {
  const Reg keep = Set16(256 - ia), colour = Set32(c);
  auto lanes = [&](Reg d16, Reg s16, int) { return BlendLanes(d16, s16, keep); };
  int i = 0;
  for (; i + kPixels <= n; i += kPixels)
    Store(d + i, PerHalf(Load(d + i), colour, lanes));
  PIX_PlainRowKernels().blendToColour(d + i, n - i, c, ia);
}

void Fill(PIX_Pixel* d, int n, PIX_Pixel c) {
  const Reg v = Set32(c);
  int i = 0;
  for (; i + 2 * kPixels <= n; i += 2 * kPixels) {
    Store(d + i, v);
    Store(d + i + kPixels, v);
  }
  PIX_PlainRowKernels().fill(d + i, n - i, c);
}

void BilinearCopy(const PIX_BilinearRow& row) {
  PIX_PlainRowKernels().bilinearCopy(row);
}

} // namespace
