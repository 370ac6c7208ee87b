// Megapixels per second of the raster library's hot paths, each beside pixman doing the same
// work on the same sizes: copy blit, source-alpha blit, fills at 1.0, 0.5 and 0.3, bilinear
// scaled blit and rotated blit. pixman works on premultiplied pixels, so its blends are the
// nearest equivalent operation, not the same arithmetic.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_Transform.h"

namespace {

constexpr int kSize = 512;    // destination edge
constexpr int kSrcSize = 256; // source edge of the scaled and rotated blits

void Noise(PIX_MemBitmap& bm, unsigned seed) {
  std::mt19937 rng(seed);
  PIX_Pixel* p = bm.getBits();
  for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i)
    p[i] = rng();
}

// A pixman image over the same pixels (32-bit words), so that both libraries read and write the
// same memory layout and sizes.
pixman_image_t* Wrap(PIX_MemBitmap& bm) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm.getWidth(), bm.getHeight(),
                                  reinterpret_cast<uint32_t*>(bm.getBits()), bm.getRowSpan() * 4);
}

void Count(benchmark::State& state, int64_t pixels) {
  state.counters["Mpix/s"] =
      benchmark::Counter((double)pixels * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

// Times draw, which covers an edge x edge square of the destination on every call.
template <typename Draw> void Time(benchmark::State& state, int edge, Draw draw) {
  for (auto _ : state) {
    draw();
    benchmark::ClobberMemory();
  }
  Count(state, (int64_t)edge * edge);
}

// Times pixman compositing s onto d with op over an edge x edge square, then releases both.
void Composite(benchmark::State& state, pixman_op_t op, pixman_image_t* s, pixman_image_t* d,
               int edge) {
  Time(state, edge,
       [&] { pixman_image_composite32(op, s, nullptr, d, 0, 0, 0, 0, 0, 0, edge, edge); });
  pixman_image_unref(d);
  pixman_image_unref(s);
}

struct Images {
  PIX_MemBitmap dst{kSize, kSize, 4};
  PIX_MemBitmap src{kSize, kSize, 4};
  PIX_MemBitmap small{kSrcSize, kSrcSize, 4};
  Images() {
    Noise(dst, 1);
    Noise(src, 2);
    Noise(small, 3);
  }
};

Images& Shared() {
  static Images images;
  return images;
}

// ---- copy blit ----

void BM_CopyBlit_PIX(benchmark::State& state) {
  Images& im = Shared();
  Time(state, kSize, [&] { PIX_BlitRect(&im.dst, &im.src, 0, 0, nullptr, 1.0f, 0); });
}
void BM_CopyBlit_pixman(benchmark::State& state) {
  Images& im = Shared();
  pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.src);
  Composite(state, PIXMAN_OP_SRC, s, d, kSize);
}

// ---- source-alpha blit ----

void BM_SourceAlphaBlit_PIX(benchmark::State& state) {
  Images& im = Shared();
  Time(state, kSize,
       [&] { PIX_BlitRect(&im.dst, &im.src, 0, 0, nullptr, 1.0f, PIX_COMBINE_SOURCEALPHA); });
}
void BM_SourceAlphaBlit_pixman(benchmark::State& state) {
  Images& im = Shared();
  pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.src);
  Composite(state, PIXMAN_OP_OVER, s, d, kSize);
}

// ---- fills ----

void BM_Fill_PIX(benchmark::State& state) {
  Images& im = Shared();
  const float alpha = (float)state.range(0) / 10.0f;
  Time(state, kSize, [&] { PIX_FillRect(&im.dst, 0, 0, kSize, kSize, 0x336699FFu, alpha, 0); });
}
void BM_Fill_pixman(benchmark::State& state) {
  Images& im = Shared();
  pixman_image_t* d = Wrap(im.dst);
  const double alpha = (double)state.range(0) / 10.0;
  const uint16_t a = (uint16_t)(alpha * 0xFFFF);
  // Premultiplied colour at the fill's opacity.
  const pixman_color_t colour = {(uint16_t)(0x33 * 257 * alpha), (uint16_t)(0x66 * 257 * alpha),
                                 (uint16_t)(0x99 * 257 * alpha), a};
  const pixman_rectangle16_t rect = {0, 0, kSize, kSize};
  const pixman_op_t op = state.range(0) == 10 ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
  Time(state, kSize, [&] { pixman_image_fill_rectangles(op, d, &colour, 1, &rect); });
  pixman_image_unref(d);
}

// ---- bilinear scaled blit: 256 x 256 up to 512 x 512 ----

void BM_BilinearScale_PIX(benchmark::State& state) {
  Images& im = Shared();
  Time(state, kSize, [&] {
    PIX_ScaledBlit(&im.dst, &im.small, 0, 0, kSize, kSize, 0.0f, 0.0f, kSrcSize, kSrcSize, 1.0f,
                   PIX_COMBINE_FILTER);
  });
}
void BM_BilinearScale_pixman(benchmark::State& state) {
  Images& im = Shared();
  pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.small);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed((double)kSrcSize / kSize),
                              pixman_double_to_fixed((double)kSrcSize / kSize));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  Composite(state, PIXMAN_OP_SRC, s, d, kSize);
}

// ---- rotated blit: 256 x 256 turned by 0.5 rad into 256 x 256, bilinear, source alpha ----

void BM_RotatedBlit_PIX(benchmark::State& state) {
  Images& im = Shared();
  Time(state, kSrcSize, [&] {
    PIX_RotatedBlit(&im.dst, &im.small, 0, 0, kSrcSize, kSrcSize, 0, 0, kSrcSize, kSrcSize, 0.5f,
                    false, 1.0f, PIX_COMBINE_SOURCEALPHA | PIX_COMBINE_FILTER, 0, 0);
  });
}
void BM_RotatedBlit_pixman(benchmark::State& state) {
  Images& im = Shared();
  pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.small);
  // Destination to source: rotate by -0.5 about the centre.
  pixman_f_transform_t f;
  pixman_f_transform_init_translate(&f, -kSrcSize / 2.0, -kSrcSize / 2.0);
  pixman_f_transform_rotate(&f, nullptr, std::cos(0.5), -std::sin(0.5));
  pixman_f_transform_translate(&f, nullptr, kSrcSize / 2.0, kSrcSize / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  Composite(state, PIXMAN_OP_OVER, s, d, kSrcSize);
}

} // namespace

BENCHMARK(BM_CopyBlit_PIX);
BENCHMARK(BM_CopyBlit_pixman);
BENCHMARK(BM_SourceAlphaBlit_PIX);
BENCHMARK(BM_SourceAlphaBlit_pixman);
BENCHMARK(BM_Fill_PIX)->Arg(10)->Arg(5)->Arg(3);
BENCHMARK(BM_Fill_pixman)->Arg(10)->Arg(5)->Arg(3);
BENCHMARK(BM_BilinearScale_PIX);
BENCHMARK(BM_BilinearScale_pixman);
BENCHMARK(BM_RotatedBlit_PIX);
BENCHMARK(BM_RotatedBlit_pixman);
BENCHMARK_MAIN();
