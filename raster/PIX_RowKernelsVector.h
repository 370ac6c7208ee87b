#pragma once
// The vector row kernels, written once over registers of PIX_VECTOR_BYTES bytes and compiled
// once per instruction set (PIX_RowKernelsSSE2.cpp, PIX_RowKernelsAVX2.cpp). Everything
// here has internal linkage, and it calls no inline function of the library's other headers, so
// that no copy compiled for a wider set can stand in for the baseline's. Only those two files
// include it.
//
// The arithmetic is that of the writers in PIX_Combine.h, on 16-bit lanes: a blend
// s + ((d - s) x k) / 256 with division toward zero is s + (|d - s| x k) >> 8 when d >= s and
// s - (|d - s| x k) >> 8 when d < s, and |d - s| x k stays below 65536 for every k up to 256.

#ifndef PIX_VECTOR_BYTES
#error "PIX_VECTOR_BYTES must be 16 or 32"
#endif

#include <immintrin.h>

#include "raster/PIX_BilinearPairs.h"
#include "raster/PIX_RowKernels.h"

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
inline Reg AddSaturated8(Reg a, Reg b) {
  return _mm256_adds_epu8(a, b);
}
// a where the mask is set, else b (the masks here are whole bytes).
inline Reg Select(Reg mask, Reg a, Reg b) {
  return _mm256_blendv_epi8(b, a, mask);
}
// Each pixel's alpha byte copied into all four of its bytes.
inline Reg AlphaInEveryByte(Reg w) {
  const Reg spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12, 0, 0, 0,
                                      0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
  return _mm256_shuffle_epi8(w, spread);
}
inline Reg Or(Reg a, Reg b) {
  return _mm256_or_si256(a, b);
}
inline Reg Xor(Reg a, Reg b) {
  return _mm256_xor_si256(a, b);
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
inline Reg AddSaturated8(Reg a, Reg b) {
  return _mm_adds_epu8(a, b);
}
// a where the mask is set, else b.
inline Reg Select(Reg mask, Reg a, Reg b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}
// Each pixel's alpha byte copied into all four of its bytes.
inline Reg AlphaInEveryByte(Reg w) {
  const Reg a = _mm_and_si128(w, _mm_set1_epi32(0xFF));
  const Reg ab = _mm_or_si128(a, _mm_slli_epi32(a, 8));
  return _mm_or_si128(ab, _mm_slli_epi32(ab, 16));
}
inline Reg Or(Reg a, Reg b) {
  return _mm_or_si128(a, b);
}
inline Reg Xor(Reg a, Reg b) {
  return _mm_xor_si128(a, b);
}
inline bool AllBitsClear(Reg v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, Zero())) == 0xFFFF;
}
inline bool AllBytesEqual(Reg a, Reg b) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(a, b)) == 0xFFFF;
}
#endif

constexpr int kPixels = PIX_VECTOR_BYTES / 4;

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

inline bool AllTransparent(Reg sw) {
  return AllBitsClear(And(sw, Set32(0xFF)));
}

inline bool AllOpaque(Reg sw) {
  return AllBytesEqual(Or(sw, Set32(0xFFFFFF00u)), Set32(0xFFFFFFFFu));
}

// The colour bytes of out with the alpha bytes of alpha, and the pixels whose source alpha
// (the low byte of sw) is 0 kept as they were (dw).
inline Reg AssemblePixels(Reg out, Reg alpha, Reg sw, Reg dw) {
  const Reg alphaBytes = Set32(0xFF);
  const Reg withAlpha = Select(alphaBytes, alpha, out);
  return Select(Equal32(And(sw, alphaBytes), Zero()), dw, withAlpha);
}

// PIX_PixelCopySourceAlpha: colour bytes d = s + ((d - s) x (255 - sa)) / 256, A = min(A + sa,
// 255), and pixels with sa 0 untouched. Whole registers of transparent or opaque pixels, the bulk
// of a knob frame, are skipped or copied.
void SourceAlphaFullWeight(PIX_Pixel* d, const PIX_Pixel* s, int n) {
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
    const Reg keep = Xor(AlphaInEveryByte(sw), Set32(0xFFFFFFFFu)); // 255 - sa in every byte
    const Reg colour = PerHalf(dw, sw, [&](Reg d16, Reg s16, int half) {
      return BlendLanes(d16, s16, half ? High16(keep) : Low16(keep));
    });
    Store(d + i, AssemblePixels(colour, AddSaturated8(dw, sw), sw, dw));
  }
  PIX_PlainRowKernels().sourceAlphaFullWeight(d + i, s + i, n - i);
}

// PIX_PixelBlendSourceAlpha at weight ia 1-255: e = (sa + 1) x ia / 256 (below 65536 before the
// shift, at most 255 after), colour bytes blended with 256 - e, A = min(A + e, 255), pixels with
// sa 0 untouched.
void SourceAlphaBlend(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  const Reg one = Set16(1), full = Set16(256), weight = Set16(ia);
  int i = 0;
  for (; i + kPixels <= n; i += kPixels) {
    const Reg sw = Load(s + i);
    if (AllTransparent(sw))
      continue;
    const Reg dw = Load(d + i);
    const Reg sa = AlphaInEveryByte(sw);
    const Reg eLow = Shr16By8(Mul16(Add16(Low16(sa), one), weight));
    const Reg eHigh = Shr16By8(Mul16(Add16(High16(sa), one), weight));
    const Reg colour = PerHalf(dw, sw, [&](Reg d16, Reg s16, int half) {
      return BlendLanes(d16, s16, Sub16(full, half ? eHigh : eLow));
    });
    Store(d + i, AssemblePixels(colour, AddSaturated8(dw, Pack16(eLow, eHigh)), sw, dw));
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

// ---- Bilinear copy ---------------------------------------------------------------------------
// The pairs of PIX_BilinearPairs.h are worked out once per source column and row pair and
// reused by every destination pixel that samples them.

// Source columns whose pairs are held at once (8 KB on the stack).
constexpr int kPairColumns = 256;

// The pairs of count source columns from column c0 of the rows at top and top + sstep. Each
// column reads itself and its right neighbour, which the interior guarantees.
void BuildColumnPairs(const unsigned char* top, ptrdiff_t sstep, int c0, int count,
                      ColumnPairs* out) {
  const __m128i zero = _mm_setzero_si128();
  const unsigned char* t = top + (ptrdiff_t)c0 * 4;
  const unsigned char* b = t + sstep;
  for (int i = 0; i < count; ++i, t += 4, b += 4) {
    const __m128i tw = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)t), zero);
    const __m128i bw = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)b), zero);
    PairsOfColumn(tw, bw, out[i]);
  }
}

// The weights of 8 destination pixels as 32-bit pairs matching the column pairs:
// (fy', fx') and (w11', -32768), pixels 0-3 in the low registers and 4-7 in the high ones.
struct EightWeights {
  __m128i firstLow, firstHigh, secondLow, secondHigh;
};

inline EightWeights WeightsOf(__m128i fx, __m128i fy) {
  const __m128i flip = _mm_set1_epi16(-32768);
  const __m128i w11 = _mm_xor_si128(_mm_mulhi_epu16(fx, fy), flip);
  const __m128i fxs = _mm_xor_si128(fx, flip), fys = _mm_xor_si128(fy, flip);
  return {_mm_unpacklo_epi16(fys, fxs), _mm_unpackhi_epi16(fys, fxs), _mm_unpacklo_epi16(w11, flip),
          _mm_unpackhi_epi16(w11, flip)};
}

#if PIX_VECTOR_BYTES == 32
// Two pixels per register: pixel j of the eight in the low half, j + 1 in the high half.
template <int J>
inline __m256i TwoSums(const ColumnPairs& p0, const ColumnPairs& p1, __m256i w1, __m256i w2) {
  const __m256i pick = _mm256_setr_epi32(J, J, J, J, J + 1, J + 1, J + 1, J + 1);
  const __m256i first = _mm256_inserti128_si256(_mm256_castsi128_si256(p0.first), p1.first, 1);
  const __m256i second = _mm256_inserti128_si256(_mm256_castsi128_si256(p0.second), p1.second, 1);
  const __m256i sum =
      _mm256_add_epi32(_mm256_madd_epi16(first, _mm256_permutevar8x32_epi32(w1, pick)),
                       _mm256_madd_epi16(second, _mm256_permutevar8x32_epi32(w2, pick)));
  return _mm256_srai_epi32(sum, 16);
}

inline void EightPixels(PIX_Pixel* d, const ColumnPairs* const p[8], const EightWeights& w) {
  const __m256i w1 = _mm256_inserti128_si256(_mm256_castsi128_si256(w.firstLow), w.firstHigh, 1);
  const __m256i w2 = _mm256_inserti128_si256(_mm256_castsi128_si256(w.secondLow), w.secondHigh, 1);
  const __m256i s01 = TwoSums<0>(*p[0], *p[1], w1, w2), s23 = TwoSums<2>(*p[2], *p[3], w1, w2);
  const __m256i s45 = TwoSums<4>(*p[4], *p[5], w1, w2), s67 = TwoSums<6>(*p[6], *p[7], w1, w2);
  // Packing works per 128-bit half: the bytes come out as pixels 0 2 4 6 | 1 3 5 7.
  const __m256i bytes =
      _mm256_packus_epi16(_mm256_packs_epi32(s01, s23), _mm256_packs_epi32(s45, s67));
  const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  _mm256_storeu_si256((__m256i*)d, _mm256_permutevar8x32_epi32(bytes, order));
}
#else
template <int J> inline __m128i Broadcast(__m128i v) {
  return _mm_shuffle_epi32(v, J * 0x55);
}

inline void FourPixels(PIX_Pixel* d, const ColumnPairs* const p[4], __m128i w1, __m128i w2) {
  const __m128i s0 = SumOf(*p[0], Broadcast<0>(w1), Broadcast<0>(w2));
  const __m128i s1 = SumOf(*p[1], Broadcast<1>(w1), Broadcast<1>(w2));
  const __m128i s2 = SumOf(*p[2], Broadcast<2>(w1), Broadcast<2>(w2));
  const __m128i s3 = SumOf(*p[3], Broadcast<3>(w1), Broadcast<3>(w2));
  _mm_storeu_si128((__m128i*)d, _mm_packus_epi16(_mm_packs_epi32(s0, s1), _mm_packs_epi32(s2, s3)));
}

inline void EightPixels(PIX_Pixel* d, const ColumnPairs* const p[8], const EightWeights& w) {
  FourPixels(d, p, w.firstLow, w.secondLow);
  FourPixels(d + 4, p + 4, w.firstHigh, w.secondHigh);
}
#endif

// n destination pixels of one row from the pairs of the columns from c0: pixel i samples column
// ((cx + i dx) >> 16) at fraction (cx + i dx) & 0xFFFF.
void RowFromPairs(PIX_Pixel* d, int n, const ColumnPairs* pairs, int c0, int64_t cx, int64_t dx,
                  int fy, const unsigned char* sourceRow, ptrdiff_t sstep) {
  const __m128i fyv = _mm_set1_epi16((short)fy);
  alignas(16) uint16_t lanes[8];
  for (int j = 0; j < 8; ++j)
    lanes[j] = (uint16_t)((cx + j * dx) & 0xFFFF);
  __m128i fracs = _mm_load_si128((const __m128i*)lanes);
  const __m128i step = _mm_set1_epi16((short)((8 * dx) & 0xFFFF));
  int i = 0;
  for (; i + 8 <= n; i += 8, cx += 8 * dx, fracs = _mm_add_epi16(fracs, step)) {
    const ColumnPairs* p[8];
    for (int j = 0; j < 8; ++j)
      p[j] = pairs + (((cx + j * dx) >> 16) - c0);
    EightPixels(d + i, p, WeightsOf(fracs, fyv));
  }
  for (; i < n; ++i, cx += dx)
    d[i] = MixFourNeighboursByPairs(sourceRow + (cx >> 16) * 4, sstep, (int)(cx & 0xFFFF), fy);
}

// The area in strips of destination columns whose source columns fit the pairs held at once;
// within a strip, the pairs are rebuilt only when a destination row moves to another source row.
void BilinearCopy(const PIX_BilinearArea& a) {
  ColumnPairs pairs[kPairColumns];
  for (int x = 0; x < a.w;) {
    const int64_t cx = a.cx + x * a.dx;
    const int c0 = (int)(cx >> 16);
    const int64_t limit = (int64_t)(c0 + kPairColumns) << 16;
    int n = 0;
    while (x + n < a.w && cx + n * a.dx < limit)
      ++n;
    const int columns = (int)((cx + (n - 1) * a.dx) >> 16) - c0 + 1;
    unsigned char* drow = a.d + (ptrdiff_t)x * 4;
    int64_t cy = a.cy, built = -1;
    for (int y = 0; y < a.h; ++y, drow += a.dstep, cy += a.dy) {
      const int64_t sy = cy >> 16;
      const unsigned char* row = a.s + sy * a.sstep;
      if (sy != built) {
        BuildColumnPairs(row, a.sstep, c0, columns, pairs);
        built = sy;
      }
      RowFromPairs(reinterpret_cast<PIX_Pixel*>(drow), n, pairs, c0, cx, a.dx, (int)(cy & 0xFFFF),
                   row, a.sstep);
    }
    x += n;
  }
}

} // namespace
