#include "raster/PIX_RowKernels.h"

#include "raster/PIX_Combine.h"
#include "raster/PIX_Sample.h"

// The AVX2 set, compiled for AVX2: to be called only once the processor is known to have it.
const PIX_RowKernels& PIX_AVX2RowKernelTable();

namespace {

unsigned char* Bytes(PIX_Pixel* p) {
  return reinterpret_cast<unsigned char*>(p);
}

template <auto Writer> void WriteFromSource(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  for (int i = 0; i < n; ++i) {
    const PIX_Pixel p = s[i];
    Writer(Bytes(d + i), PIX_Red(p), PIX_Green(p), PIX_Blue(p), PIX_Alpha(p), ia);
  }
}

void PlainSourceAlphaFullWeight(PIX_Pixel* d, const PIX_Pixel* s, int n) {
  WriteFromSource<PIX_PixelCopySourceAlpha>(d, s, n, 256);
}

void PlainSourceAlphaBlend(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  WriteFromSource<PIX_PixelBlendSourceAlpha>(d, s, n, ia);
}

void PlainBlend(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia) {
  WriteFromSource<PIX_PixelBlend>(d, s, n, ia);
}

void PlainBlendToColour(PIX_Pixel* d, int n, PIX_Pixel c, int ia) {
  for (int i = 0; i < n; ++i)
    PIX_PixelBlend(Bytes(d + i), PIX_Red(c), PIX_Green(c), PIX_Blue(c), PIX_Alpha(c), ia);
}

void PlainFill(PIX_Pixel* d, int n, PIX_Pixel c) {
  for (int i = 0; i < n; ++i)
    d[i] = c;
}

void PlainBilinearCopy(const PIX_BilinearArea& a) {
  unsigned char* drow = a.d;
  int64_t cy = a.cy;
  for (int y = 0; y < a.h; ++y, drow += a.dstep, cy += a.dy) {
    const unsigned char* row = a.s + (cy >> 16) * a.sstep;
    auto* d = reinterpret_cast<PIX_Pixel*>(drow);
    int64_t cx = a.cx;
    for (int x = 0; x < a.w; ++x, cx += a.dx) {
      int ch[4];
      PIX_MixFourNeighbours(row + (cx >> 16) * 4, a.sstep, (int)(cx & 0xFFFF), (int)(cy & 0xFFFF),
                            ch);
      d[x] = PIX_MakePixel(ch[1], ch[2], ch[3], ch[0]);
    }
  }
}

const PIX_RowKernels* ChooseFastest() {
  if (const PIX_RowKernels* avx2 = PIX_AVX2RowKernels())
    return avx2;
  return &PIX_SSE2RowKernels();
}

} // namespace

const PIX_RowKernels& PIX_PlainRowKernels() {
  static const PIX_RowKernels kernels = {
      "plain",   PlainSourceAlphaFullWeight, PlainSourceAlphaBlend, PlainBlend, PlainBlendToColour,
      PlainFill, PlainBilinearCopy,
  };
  return kernels;
}

const PIX_RowKernels* PIX_AVX2RowKernels() {
  return __builtin_cpu_supports("avx2") ? &PIX_AVX2RowKernelTable() : nullptr;
}

const PIX_RowKernels& PIX_FastRowKernels() {
  static const PIX_RowKernels* const fastest = ChooseFastest();
  return *fastest;
}
