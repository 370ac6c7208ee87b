// The raster library's hot paths, each beside pixman doing the same work on the same sizes:
// copy blit, blend blit below full weight, source-alpha blits (noise, and knob frames of the
// editors' sizes onto an opaque background, at full and lower weight), fills at 1.0, 0.5 and
// 0.3, bilinear scaled blit and rotated blit. pixman works on premultiplied pixels, so its blends
// are the nearest equivalent operation, not the same arithmetic.
//
// Every case runs as a PIX / pixman pair. By default each is repeated 5 times with the
// repetitions of all cases interleaved in random order, so that both sides of a pair see the same
// load on a shared machine; the table at the end gives the median CPU time of each side and
// their ratio (time of PIX / time of pixman: below 1 PIX is faster).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Transform.h"
#include "bench/BenchRuns.h"

namespace {

constexpr int kSize = 512;    // destination edge
constexpr int kSrcSize = 256; // source edge of the scaled and rotated blits

void Noise(PIX_MemBitmap& bm, unsigned seed) {
  std::mt19937 rng(seed);
  PIX_Pixel* p = bm.getBits();
  for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i)
    p[i] = rng();
}

// A knob frame as the editors' artwork has it: a shaded disc with a soft shadow ring and a
// pointer, anti-aliased edges, and transparent corners (not premultiplied).
void KnobFrame(PIX_MemBitmap& bm) {
  const int n = bm.getWidth();
  const double c = (n - 1) / 2.0, radius = 0.40 * n, shadow = 0.47 * n;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const double r = std::hypot(x - c, y - c);
      const double disc = std::clamp(radius - r + 0.5, 0.0, 1.0);
      const double ring = std::clamp((shadow - r) / (shadow - radius), 0.0, 1.0) * 0.35;
      const double a = disc + (1 - disc) * ring;
      const bool pointer = std::fabs(x - c) < 0.04 * n && y < c && r < radius - 2;
      const int shade = (int)(90 + 80 * (c - y) / n);
      const int red = pointer ? 240 : shade, green = pointer ? 200 : shade, blue = shade + 10;
      bm.getBits()[y * bm.getRowSpan() + x] =
          disc > 0 ? PIX_MakePixel(red, green, blue, (int)(a * 255 + 0.5))
                   : PIX_MakePixel(0, 0, 0, (int)(a * 255 + 0.5));
    }
}

void Opaque(PIX_MemBitmap& bm, unsigned seed) {
  Noise(bm, seed);
  for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i)
    bm.getBits()[i] |= 0xFF;
}

// A pixman image over the same pixels (32-bit words), so that both libraries read and write the
// same memory layout and sizes.
pixman_image_t* Wrap(PIX_MemBitmap& bm) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm.getWidth(), bm.getHeight(),
                                  reinterpret_cast<uint32_t*>(bm.getBits()), bm.getRowSpan() * 4);
}

// pixman's own copy of an image: the same colours and alphas, premultiplied, in its native
// a8r8g8b8 order, so that its fast paths see the transparent and opaque pixels PIX sees.
class PixmanCopy {
public:
  explicit PixmanCopy(PIX_MemBitmap& bm)
      : width(bm.getWidth()), height(bm.getHeight()), words((size_t)width * height) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const PIX_Pixel p = bm.getBits()[y * bm.getRowSpan() + x];
        const uint32_t a = PIX_Alpha(p);
        auto pre = [a](int v) { return (uint32_t)((v * a + 127) / 255); };
        words[(size_t)y * width + x] =
            a << 24 | pre(PIX_Red(p)) << 16 | pre(PIX_Green(p)) << 8 | pre(PIX_Blue(p));
      }
    image = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, words.data(), width * 4);
  }
  ~PixmanCopy() { pixman_image_unref(image); }
  PixmanCopy(const PixmanCopy&) = delete;
  PixmanCopy& operator=(const PixmanCopy&) = delete;
  pixman_image_t* get() const { return image; }

private:
  int width, height;
  std::vector<uint32_t> words;
  pixman_image_t* image = nullptr;
};

void Count(benchmark::State& state, int64_t pixels) {
  state.counters["Mpix/s"] =
      benchmark::Counter((double)pixels * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

// Times draw, which covers w x h destination pixels on every call.
template <typename Draw> void Time(benchmark::State& state, int w, int h, Draw draw) {
  for (auto _ : state) {
    draw();
    benchmark::ClobberMemory();
  }
  Count(state, (int64_t)w * h);
}

// Times pixman compositing s (through mask m, or none) onto d at (x, y) with op over w x h,
// then releases the images it was handed.
void Composite(benchmark::State& state, pixman_op_t op, pixman_image_t* s, pixman_image_t* m,
               pixman_image_t* d, int x, int y, int w, int h) {
  Time(state, w, h, [&] { pixman_image_composite32(op, s, m, d, 0, 0, 0, 0, x, y, w, h); });
  for (pixman_image_t* image : {s, m, d})
    if (image)
      pixman_image_unref(image);
}

pixman_image_t* SolidAlpha(double alpha) {
  const pixman_color_t c = {0, 0, 0, (uint16_t)(alpha * 0xFFFF)};
  return pixman_image_create_solid_fill(&c);
}

struct Images {
  PIX_MemBitmap dst{kSize, kSize, 4};
  PIX_MemBitmap src{kSize, kSize, 4};
  PIX_MemBitmap small{kSrcSize, kSrcSize, 4};
  PIX_MemBitmap background{kSize, kSize, 4};
  PIX_MemBitmap knob80{80, 80, 4};
  PIX_MemBitmap knob160{160, 160, 4};
  Images() {
    Noise(dst, 1);
    Noise(src, 2);
    Noise(small, 3);
    Opaque(background, 4);
    KnobFrame(knob80);
    KnobFrame(knob160);
  }
};

Images& Shared() {
  static Images images;
  return images;
}

// ---- the cases: (name, PIX side, pixman side) ----

using Side = std::function<void(benchmark::State&)>;
struct Case {
  std::string name;
  Side pix, pixman;
};

// A knob frame of edge n blitted with source alpha at alpha onto the opaque background, at an
// odd position.
Case KnobCase(const char* name, PIX_MemBitmap Images::*frame, float alpha) {
  constexpr int kX = 37, kY = 41;
  return {name,
          [=](benchmark::State& state) {
            Images& im = Shared();
            PIX_MemBitmap& f = im.*frame;
            const int n = f.getWidth();
            Time(state, n, n, [&] {
              PIX_Blit(&im.background, &f, kX, kY, 0, 0, n, n, alpha, PIX_COMBINE_SOURCEALPHA);
            });
          },
          [=](benchmark::State& state) {
            Images& im = Shared();
            PIX_MemBitmap& f = im.*frame;
            const int n = f.getWidth();
            PixmanCopy s(f), d(im.background);
            Composite(state, PIXMAN_OP_OVER, pixman_image_ref(s.get()),
                      alpha == 1.0f ? nullptr : SolidAlpha(alpha), pixman_image_ref(d.get()), kX,
                      kY, n, n);
          }};
}

Case FillCase(const char* name, double alpha) {
  return {
      name,
      [=](benchmark::State& state) {
        Images& im = Shared();
        Time(state, kSize, kSize,
             [&] { PIX_FillRect(&im.dst, 0, 0, kSize, kSize, 0x336699FFu, (float)alpha, 0); });
      },
      [=](benchmark::State& state) {
        pixman_image_t* d = Wrap(Shared().dst);
        // Premultiplied colour at the fill's opacity.
        const pixman_color_t colour = {(uint16_t)(0x33 * 257 * alpha),
                                       (uint16_t)(0x66 * 257 * alpha),
                                       (uint16_t)(0x99 * 257 * alpha), (uint16_t)(alpha * 0xFFFF)};
        const pixman_rectangle16_t rect = {0, 0, kSize, kSize};
        const pixman_op_t op = alpha == 1.0 ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
        Time(state, kSize, kSize, [&] { pixman_image_fill_rectangles(op, d, &colour, 1, &rect); });
        pixman_image_unref(d);
      }};
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"CopyBlit",
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     Time(state, kSize, kSize,
                          [&] { PIX_BlitRect(&im.dst, &im.src, 0, 0, nullptr, 1.0f, 0); });
                   },
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.src);
                     Composite(state, PIXMAN_OP_SRC, s, nullptr, d, 0, 0, kSize, kSize);
                   }});
  // A blend of two images at weight 179 (alpha 0.7); pixman: the source taken as opaque, over
  // the destination through a 0.7 mask.
  cases.push_back(
      {"BlendBlit0.7",
       [](benchmark::State& state) {
         Images& im = Shared();
         Time(state, kSize, kSize, [&] { PIX_BlitRect(&im.dst, &im.src, 0, 0, nullptr, 0.7f, 0); });
       },
       [](benchmark::State& state) {
         Images& im = Shared();
         pixman_image_t* d = Wrap(im.dst);
         pixman_image_t* s = pixman_image_create_bits(PIXMAN_x8r8g8b8, kSize, kSize,
                                                      reinterpret_cast<uint32_t*>(im.src.getBits()),
                                                      im.src.getRowSpan() * 4);
         Composite(state, PIXMAN_OP_OVER, s, SolidAlpha(0.7), d, 0, 0, kSize, kSize);
       }});
  cases.push_back({"SourceAlphaBlitNoise",
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     Time(state, kSize, kSize, [&] {
                       PIX_BlitRect(&im.dst, &im.src, 0, 0, nullptr, 1.0f, PIX_COMBINE_SOURCEALPHA);
                     });
                   },
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.src);
                     Composite(state, PIXMAN_OP_OVER, s, nullptr, d, 0, 0, kSize, kSize);
                   }});
  cases.push_back(KnobCase("Knob80", &Images::knob80, 1.0f));
  cases.push_back(KnobCase("Knob160", &Images::knob160, 1.0f));
  cases.push_back(KnobCase("Knob80at0.7", &Images::knob80, 0.7f));
  cases.push_back(KnobCase("Knob160at0.7", &Images::knob160, 0.7f));
  cases.push_back(FillCase("Fill1.0", 1.0));
  cases.push_back(FillCase("Fill0.5", 0.5));
  cases.push_back(FillCase("Fill0.3", 0.3));
  // Bilinear scaled blit: 256 x 256 up to 512 x 512.
  cases.push_back({"BilinearScale",
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     Time(state, kSize, kSize, [&] {
                       PIX_ScaledBlit(&im.dst, &im.small, 0, 0, kSize, kSize, 0.0f, 0.0f, kSrcSize,
                                      kSrcSize, 1.0f, PIX_COMBINE_FILTER);
                     });
                   },
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     pixman_image_t *d = Wrap(im.dst), *s = Wrap(im.small);
                     pixman_transform_t t;
                     pixman_transform_init_scale(&t,
                                                 pixman_double_to_fixed((double)kSrcSize / kSize),
                                                 pixman_double_to_fixed((double)kSrcSize / kSize));
                     pixman_image_set_transform(s, &t);
                     pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
                     Composite(state, PIXMAN_OP_SRC, s, nullptr, d, 0, 0, kSize, kSize);
                   }});
  // Rotated blit: 256 x 256 turned by 0.5 rad into 256 x 256, bilinear, source alpha.
  cases.push_back({"RotatedBlit",
                   [](benchmark::State& state) {
                     Images& im = Shared();
                     Time(state, kSrcSize, kSrcSize, [&] {
                       PIX_RotatedBlit(&im.dst, &im.small, 0, 0, kSrcSize, kSrcSize, 0, 0, kSrcSize,
                                       kSrcSize, 0.5f, false, 1.0f,
                                       PIX_COMBINE_SOURCEALPHA | PIX_COMBINE_FILTER, 0, 0);
                     });
                   },
                   [](benchmark::State& state) {
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
                     Composite(state, PIXMAN_OP_OVER, s, nullptr, d, 0, 0, kSrcSize, kSrcSize);
                   }});
  return cases;
}

// Prints the usual table, then for each case the median CPU time of both sides and PIX / pixman.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  static constexpr double kLimit = 1.25; // the most PIX may take, in pixman's times

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!benchruns::StandsForItsBenchmark(run))
        continue;
      const std::string name = run.run_name.str();
      const size_t slash = name.rfind('/');
      if (slash == std::string::npos)
        continue;
      const std::string side = name.substr(slash + 1);
      (side == "PIX" ? pix : pixman)[name.substr(0, slash)] = run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nPIX / pixman, median CPU time per call (%s):\n", PIX_FastRowKernels().name);
    std::printf("%-22s %12s %12s %8s\n", "case", "PIX us", "pixman us", "ratio");
    int over = 0;
    for (const auto& [name, t] : pix) {
      const auto p = pixman.find(name);
      if (p == pixman.end())
        continue;
      const double ratio = t / p->second;
      over += ratio > kLimit;
      std::printf("%-22s %12.2f %12.2f %8.3f%s\n", name.c_str(), t / 1e3, p->second / 1e3, ratio,
                  ratio > kLimit ? "  over" : "");
    }
    std::printf("%d case(s) over %.2fx pixman's time\n", over, kLimit);
  }

private:
  std::map<std::string, double> pix, pixman;
};

} // namespace

int main(int argc, char** argv) {
  benchruns::SharedMachineArguments args(argc, argv);
  for (const Case& c : Cases()) {
    benchmark::RegisterBenchmark((c.name + "/PIX").c_str(), c.pix);
    benchmark::RegisterBenchmark((c.name + "/pixman").c_str(), c.pixman);
  }
  benchmark::Initialize(args.Count(), args.Values());
  if (benchmark::ReportUnrecognizedArguments(*args.Count(), args.Values()))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
