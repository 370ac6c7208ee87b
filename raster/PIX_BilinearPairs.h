#pragma once
// The interior bilinear sample as two 16-bit multiply-adds (SSE2), equal to PIX_MixFourNeighbours.
// Everything here has internal linkage: the files compiled for wider instruction sets include it
// too, and no copy of theirs may stand in for the baseline's.
//
// The interior sample is sum >> 16 with sum = p00 w00 + p10 w10 + p01 w01 + p11 w11, w11 =
// fx fy >> 16, w10 = fx - w11, w01 = fy - w11, w00 = 65536 - fx - fy + w11. Regrouped,
//   sum = 65536 T + fy D + fx dx + w11 dxy
// with T = p00, D = p01 - p00, dx = p10 - p00 and dxy = p11 - p01 - p10 + p00, and with the
// fractions moved into signed 16-bit range (f' = f - 32768)
//   sum = (D fy' + dx fx') + (dxy w11' + (-X)(-32768)),  X = 2T + D + dx + dxy,
// two multiply-adds of 16-bit pairs into exact 32-bit sums. The pairs depend on the source column
// and row pair only.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "raster/PIX_Pixel.h"

namespace {

// The two pairs of one source column, channels A, R, G, B: (D, dx) and (dxy, -X).
struct ColumnPairs {
  __m128i first;
  __m128i second;
};

// Pairs of the columns whose 16-bit lanes hold the column (low four lanes) and, for the
// differences across, its right neighbour (high four lanes): top row t, bottom row b.
inline void PairsOfColumn(__m128i t, __m128i b, ColumnPairs& out) {
  const __m128i d = _mm_sub_epi16(b, t);
  const __m128i dx = _mm_sub_epi16(_mm_srli_si128(t, 8), t);
  const __m128i dxy = _mm_sub_epi16(_mm_srli_si128(d, 8), d);
  const __m128i x = _mm_add_epi16(_mm_add_epi16(_mm_add_epi16(t, t), _mm_add_epi16(d, dx)), dxy);
  out.first = _mm_unpacklo_epi16(d, dx);
  out.second = _mm_unpacklo_epi16(dxy, _mm_sub_epi16(_mm_setzero_si128(), x));
}

inline __m128i SumOf(const ColumnPairs& p, __m128i w1, __m128i w2) {
  return _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(p.first, w1), _mm_madd_epi16(p.second, w2)),
                        16);
}

// The sample at p00 (its right neighbour and the pair sstep bytes further) with the fractions fx
// and fy, as one pixel word.
inline PIX_Pixel MixFourNeighboursByPairs(const unsigned char* p00, ptrdiff_t sstep, int fx,
                                          int fy) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i t = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)p00), zero);
  const __m128i b = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)(p00 + sstep)), zero);
  ColumnPairs pairs;
  PairsOfColumn(t, b, pairs);
  const uint32_t w11 = ((uint32_t)fx * (uint32_t)fy) >> 16;
  const __m128i w1 =
      _mm_set1_epi32((int)(((uint32_t)fx ^ 0x8000u) << 16 | ((uint32_t)fy ^ 0x8000u)));
  const __m128i w2 = _mm_set1_epi32((int)(0x8000u << 16 | (w11 ^ 0x8000u)));
  const __m128i sum = SumOf(pairs, w1, w2);
  return (PIX_Pixel)_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(sum, sum), zero));
}

} // namespace
