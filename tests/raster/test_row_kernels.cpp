// The vector row kernels against the plain writers they shortcut, and the blits and fills that
// use them against the general paths beside them, over many random cases: every width up to a
// few registers plus a tail, misaligned rows, clipping and flipped bitmaps.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Combine.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Surface.h"
#include "raster/PIX_Transform.h"
#include "tests/raster/TestBitmap.h"

namespace {

std::vector<const PIX_RowKernels*> VectorKernelSets() {
  std::vector<const PIX_RowKernels*> sets = {&PIX_SSE2RowKernels()};
  if (const PIX_RowKernels* avx2 = PIX_AVX2RowKernels())
    sets.push_back(avx2);
  return sets;
}

// Pixels in runs of one kind (transparent, opaque, any alpha), so that whole registers of each
// kind and registers mixing them both occur.
void FillArtwork(PIX_Pixel* p, size_t n, std::mt19937& rng) {
  size_t i = 0;
  while (i < n) {
    const int kind = (int)(rng() % 3);
    const size_t run = std::min<size_t>(n - i, 1 + rng() % 12);
    for (size_t k = 0; k < run; ++k, ++i) {
      PIX_Pixel v = rng();
      if (kind == 0)
        v &= 0xFFFFFF00u;
      else if (kind == 1)
        v |= 0xFFu;
      p[i] = v;
    }
  }
}

void FillArtwork(TestBitmap& bm, std::mt19937& rng) {
  FillArtwork(bm.words(), bm.wordCount(), rng);
}

// The same writer under another address: the walker knows it by no name and takes the general
// walk, calling it through the pointer for every pixel.
template <auto Writer> void ThroughPointer(unsigned char* p, int r, int g, int b, int a, int w) {
  Writer(p, r, g, b, a, w);
}

constexpr int kWeights[] = {1, 2, 3, 63, 64, 65, 127, 128, 129, 191, 192, 193, 200, 254, 255};

// One row operation, run through a kernel set on a row at d from a row at s.
struct RowCase {
  const char* name;
  std::function<void(const PIX_RowKernels&, PIX_Pixel*, const PIX_Pixel*, int, int, PIX_Pixel)> run;
};

const std::vector<RowCase>& RowCases() {
  static const std::vector<RowCase> cases = {
      {"sourceAlphaFullWeight", [](const PIX_RowKernels& k, PIX_Pixel* d, const PIX_Pixel* s, int n,
                                   int, PIX_Pixel) { k.sourceAlphaFullWeight(d, s, n); }},
      {"sourceAlphaBlend", [](const PIX_RowKernels& k, PIX_Pixel* d, const PIX_Pixel* s, int n,
                              int ia, PIX_Pixel) { k.sourceAlphaBlend(d, s, n, ia); }},
      {"blend", [](const PIX_RowKernels& k, PIX_Pixel* d, const PIX_Pixel* s, int n, int ia,
                   PIX_Pixel) { k.blend(d, s, n, ia); }},
      {"blendToColour", [](const PIX_RowKernels& k, PIX_Pixel* d, const PIX_Pixel*, int n, int ia,
                           PIX_Pixel c) { k.blendToColour(d, n, c, ia); }},
      {"fill", [](const PIX_RowKernels& k, PIX_Pixel* d, const PIX_Pixel*, int n, int,
                  PIX_Pixel c) { k.fill(d, n, c); }},
  };
  return cases;
}

} // namespace

// Every row kernel of every vector set gives the plain writers' words, and writes nothing outside
// its row, for widths 0-67 at every word offset of destination and source.
TEST(RowKernels, VectorSetsEqualThePlainWriters) {
  std::mt19937 rng(20);
  constexpr int kGuard = 16;
  for (const PIX_RowKernels* set : VectorKernelSets()) {
    for (const RowCase& rc : RowCases()) {
      for (int n = 0; n <= 67; ++n) {
        for (int offset = 0; offset < 4; ++offset) {
          std::vector<PIX_Pixel> src(n + 8), expected(n + 8 + kGuard), actual;
          FillArtwork(src.data(), src.size(), rng);
          FillArtwork(expected.data(), expected.size(), rng);
          actual = expected;
          const int ia = kWeights[rng() % std::size(kWeights)];
          const PIX_Pixel colour = rng();
          const PIX_Pixel* s = src.data() + (offset + n) % 4;
          rc.run(PIX_PlainRowKernels(), expected.data() + offset, s, n, ia, colour);
          rc.run(*set, actual.data() + offset, s, n, ia, colour);
          ASSERT_EQ(expected, actual) << set->name << " " << rc.name << " width " << n << " offset "
                                      << offset << " ia " << ia << " colour " << std::hex << colour;
        }
      }
    }
  }
}

// Every weight of the blends, on pixels covering the byte range's ends.
TEST(RowKernels, BlendsEqualThePlainWritersAtEveryWeight) {
  std::mt19937 rng(21);
  std::vector<PIX_Pixel> src(64);
  const PIX_Pixel ends[] = {0x00000000u, 0xFFFFFFFFu, 0xFF00FF00u, 0x00FF00FFu,
                            0x80808080u, 0x7F7F7F01u, 0x01FE01FEu};
  for (size_t i = 0; i < src.size(); ++i)
    src[i] = i < std::size(ends) ? ends[i] : rng();
  for (const PIX_RowKernels* set : VectorKernelSets()) {
    for (const RowCase& rc : RowCases()) {
      for (int ia = 1; ia <= 255; ++ia) {
        std::vector<PIX_Pixel> expected(64), actual;
        for (size_t i = 0; i < expected.size(); ++i)
          expected[i] = i < std::size(ends) ? ends[std::size(ends) - 1 - i] : rng();
        actual = expected;
        const PIX_Pixel colour = ends[ia % std::size(ends)];
        rc.run(PIX_PlainRowKernels(), expected.data(), src.data(), 64, ia, colour);
        rc.run(*set, actual.data(), src.data(), 64, ia, colour);
        ASSERT_EQ(expected, actual) << set->name << " " << rc.name << " ia " << ia;
      }
    }
  }
}

namespace {

// A random interior bilinear area over src into dst: every sample with a right and a lower
// neighbour.
PIX_BilinearArea RandomInterior(TestBitmap& dst, TestBitmap& src, std::mt19937& rng) {
  const PIX_Surface D = PIX_ImageRows(&dst), S = PIX_ImageRows(&src);
  auto pickStep = [&rng]() -> int64_t {
    switch (rng() % 5) {
    case 0:
      return 0;
    case 1:
      return 65536;
    case 2:
      return 32768;
    default:
      return rng() % (2 * 65536 + 1);
    }
  };
  // Start and step so that count samples stay below the last source pixel (size - 1).
  auto place = [&rng](int count, int64_t& step, int size) -> int64_t {
    const int64_t room = ((int64_t)(size - 1) << 16) - 1;
    while (count > 1 && (count - 1) * step > room)
      step /= 2;
    return (int64_t)(rng() % (uint64_t)(room - (count - 1) * step + 1));
  };
  PIX_BilinearArea a;
  const int x = (int)(rng() % (uint32_t)D.width), y = (int)(rng() % (uint32_t)D.height);
  a.w = 1 + (int)(rng() % (uint32_t)(D.width - x));
  a.h = 1 + (int)(rng() % (uint32_t)(D.height - y));
  a.d = D.at(x, y);
  a.dstep = D.rowStep;
  a.s = S.row0;
  a.sstep = S.rowStep;
  a.dx = pickStep();
  a.dy = pickStep();
  a.cx = place(a.w, a.dx, S.width);
  a.cy = place(a.h, a.dy, S.height);
  return a;
}

} // namespace

// The bilinear kernels against the plain samples: any step up to two source pixels, fractions
// at and between pixels, flipped rows on either side, and sources wider than the columns a
// kernel holds at once.
TEST(RowKernels, BilinearCopyEqualsThePlainSamples) {
  std::mt19937 rng(22);
  for (const PIX_RowKernels* set : VectorKernelSets()) {
    for (int trial = 0; trial < 400; ++trial) {
      const bool wide = trial % 20 == 0;
      const int sw = wide ? 600 + (int)(rng() % 200) : 2 + (int)(rng() % 70);
      const int sh = 2 + (int)(rng() % 12);
      const int dw = wide ? 700 : 1 + (int)(rng() % 80), dh = 1 + (int)(rng() % 10);
      TestBitmap src(sw, sh, sw + (int)(rng() % 3), rng() % 2);
      TestBitmap expected(dw, dh, dw + (int)(rng() % 3), rng() % 2);
      FillArtwork(src, rng);
      FillArtwork(expected, rng);
      TestBitmap actual = expected;
      PIX_BilinearArea a = RandomInterior(expected, src, rng);
      PIX_PlainRowKernels().bilinearCopy(a);
      a.d = a.d - reinterpret_cast<unsigned char*>(expected.words()) +
            reinterpret_cast<unsigned char*>(actual.words());
      set->bilinearCopy(a);
      ASSERT_EQ(std::memcmp(expected.words(), actual.words(), expected.wordCount() * 4), 0)
          << set->name << " trial " << trial << " source " << sw << "x" << sh << " area " << a.w
          << "x" << a.h << " cx " << a.cx << " dx " << a.dx << " cy " << a.cy << " dy " << a.dy;
      ASSERT_TRUE(actual.guardsIntact());
    }
  }
}

namespace {

struct RandomPair {
  TestBitmap src;
  TestBitmap dst;
};

RandomPair MakePair(std::mt19937& rng) {
  const int sw = 1 + (int)(rng() % 40), sh = 1 + (int)(rng() % 12);
  const int dw = 1 + (int)(rng() % 40), dh = 1 + (int)(rng() % 12);
  RandomPair p{TestBitmap(sw, sh, sw + (int)(rng() % 4), rng() % 2),
               TestBitmap(dw, dh, dw + (int)(rng() % 4), rng() % 2)};
  FillArtwork(p.src, rng);
  FillArtwork(p.dst, rng);
  return p;
}

int Around(std::mt19937& rng, int size) {
  return (int)(rng() % (uint32_t)(size + 12)) - 6;
}

} // namespace

// Plain blits with a kernel (source alpha at full and lower weights, copies below full weight)
// against the writer applied to every pixel of the clipped rectangles, one by one: the same
// pixels wherever the rectangles lie, clipped at any edge, either bitmap flipped.
TEST(RowKernels, BlitsEqualTheWriterPerPixel) {
  std::mt19937 rng(23);
  const struct {
    float alpha;
    int mode;
    PIX_PixelWriter writer;
  } modes[] = {{1.0f, 0x10000, PIX_PixelCopySourceAlpha},
               {0.7f, 0x10000, PIX_PixelBlendSourceAlpha},
               {0.3f, 0x10000, PIX_PixelBlendSourceAlpha},
               {1.0f, 0x10100, PIX_PixelCopySourceAlpha},
               {0.3f, 0, PIX_PixelBlend},
               {0.77f, 0, PIX_PixelBlend},
               {0.995f, 0x20000, PIX_PixelBlend}};
  for (const auto& m : modes) {
    const int ia = PIX_WeightFromAlpha(m.alpha);
    for (int trial = 0; trial < 300; ++trial) {
      RandomPair p = MakePair(rng);
      TestBitmap expected = p.dst;
      const int sx = Around(rng, p.src.getWidth()), sy = Around(rng, p.src.getHeight());
      const int w = (int)(rng() % 48), h = (int)(rng() % 14);
      const int dx = Around(rng, p.dst.getWidth()), dy = Around(rng, p.dst.getHeight());
      PIX_Blit(&p.dst, &p.src, dx, dy, sx, sy, w, h, m.alpha, m.mode);
      // Source pixel (sx + i, sy + j) lands on (dx + i, dy + j) when both lie inside.
      for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
          const int fromx = sx + i, fromy = sy + j, tox = dx + i, toy = dy + j;
          if (fromx < 0 || fromy < 0 || fromx >= p.src.getWidth() || fromy >= p.src.getHeight() ||
              tox < 0 || toy < 0 || tox >= p.dst.getWidth() || toy >= p.dst.getHeight())
            continue;
          const PIX_Pixel s = p.src.at(fromx, fromy);
          m.writer(reinterpret_cast<unsigned char*>(&expected.at(tox, toy)), PIX_Red(s),
                   PIX_Green(s), PIX_Blue(s), PIX_Alpha(s), ia);
        }
      ASSERT_EQ(std::memcmp(p.dst.words(), expected.words(), p.dst.wordCount() * 4), 0)
          << "alpha " << m.alpha << " mode " << std::hex << m.mode << std::dec << " trial "
          << trial;
      ASSERT_TRUE(p.dst.guardsIntact());
    }
  }
}

// Fills through a kernel (full weight, and weights without a word form) against the colour word
// and the blend writer on every pixel of the clipped rectangle, the weight as the alpha-byte
// source.
TEST(RowKernels, FillsEqualTheBlendWriter) {
  std::mt19937 rng(24);
  for (float alpha : {1.0f, 0.3f, 0.9f, 0.01f, 0.6f}) {
    for (int trial = 0; trial < 200; ++trial) {
      const int w = 1 + (int)(rng() % 70), h = 1 + (int)(rng() % 8);
      TestBitmap dst(w, h, w + (int)(rng() % 4), rng() % 2);
      FillArtwork(dst, rng);
      TestBitmap expected = dst;
      const PIX_Pixel colour = rng();
      const int x = Around(rng, w), y = Around(rng, h);
      const int fw = (int)(rng() % 80), fh = (int)(rng() % 10);
      PIX_FillRect(&dst, x, y, fw, fh, colour, alpha, 0);
      const int ia = PIX_WeightFromAlpha(alpha);
      for (int py = std::max(y, 0); py < std::min(y + fh, h); ++py)
        for (int px = std::max(x, 0); px < std::min(x + fw, w); ++px) {
          if (ia == 256)
            expected.at(px, py) = colour; // full weight writes the colour word as it is
          else
            PIX_PixelBlend(reinterpret_cast<unsigned char*>(&expected.at(px, py)), PIX_Red(colour),
                           PIX_Green(colour), PIX_Blue(colour), ia, ia);
        }
      ASSERT_EQ(std::memcmp(dst.words(), expected.words(), dst.wordCount() * 4), 0)
          << "alpha " << alpha << " trial " << trial;
      ASSERT_TRUE(dst.guardsIntact());
    }
  }
}

// The bilinear scaled copy (kernel inside, general loop on the frame) against the general walk
// over the same 16.16 positions, which samples every pixel through the shared sampler and calls
// the copy writer through a pointer. Steps are powers of two apart so that positions are exact;
// the source window reaches the source's right and bottom edges, where the scaled blit's
// sampling bounds are the source's own.
TEST(RowKernels, BilinearScaledCopyEqualsTheGeneralWalk) {
  std::mt19937 rng(25);
  const float ratios[] = {0.25f, 0.5f, 0.625f, 0.75f, 1.25f, 1.5f};
  for (int trial = 0; trial < 600; ++trial) {
    const int sw = 2 + (int)(rng() % 60), sh = 2 + (int)(rng() % 20);
    TestBitmap src(sw, sh, sw + (int)(rng() % 3), rng() % 2);
    FillArtwork(src, rng);
    const int dw = 1 + (int)(rng() % 90), dh = 1 + (int)(rng() % 16);
    TestBitmap scaled(dw, dh, dw + (int)(rng() % 3), rng() % 2);
    FillArtwork(scaled, rng);
    TestBitmap walked = scaled;
    const int w = 1 + (int)(rng() % 80), h = 1 + (int)(rng() % 24);
    const float rx = ratios[rng() % std::size(ratios)], ry = ratios[rng() % std::size(ratios)];
    const float srcw = (float)w * rx, srch = (float)h * ry;
    const float srcx = (float)sw - srcw, srcy = (float)sh - srch;
    const int x = Around(rng, dw), y = Around(rng, dh);
    PIX_ScaledBlit(&scaled, &src, x, y, w, h, srcx, srcy, srcw, srch, 1.0f, 0x100);

    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, dw), y1 = std::min(y + h, dh);
    if (x1 > x0 && y1 > y0) {
      const PIX_Surface D = PIX_ImageRows(&walked), S = PIX_ImageRows(&src);
      PIX_Walk k{};
      k.dst = D.at(x0, y0);
      k.dstStep = D.rowStep;
      k.src = S.row0;
      k.srcStep = S.rowStep;
      k.w = x1 - x0;
      k.h = y1 - y0;
      k.dudx = (int64_t)(rx * 65536.0);
      k.dvdy = (int64_t)(ry * 65536.0);
      k.u = (int64_t)(srcx * 65536.0) + (x0 - x) * k.dudx;
      k.v = (int64_t)(srcy * 65536.0) + (y0 - y) * k.dvdy;
      k.winw = sw;
      k.winh = sh;
      PIX_TransformWalker(k, 256, true, ThroughPointer<PIX_PixelCopy>);
    }
    ASSERT_EQ(std::memcmp(scaled.words(), walked.words(), scaled.wordCount() * 4), 0)
        << "trial " << trial << " source " << sw << "x" << sh << " to " << w << "x" << h << " at "
        << x << "," << y << " ratios " << rx << "," << ry;
    ASSERT_TRUE(scaled.guardsIntact());
  }
}

namespace {

struct WriterPair {
  const char* name;
  PIX_PixelWriter fast, general;
};

const WriterPair kWalkWriters[] = {
    {"copy", PIX_PixelCopy, ThroughPointer<PIX_PixelCopy>},
    {"blend", PIX_PixelBlend, ThroughPointer<PIX_PixelBlend>},
    {"sourceAlphaCopy", PIX_PixelCopySourceAlpha, ThroughPointer<PIX_PixelCopySourceAlpha>},
    {"sourceAlphaBlend", PIX_PixelBlendSourceAlpha, ThroughPointer<PIX_PixelBlendSourceAlpha>},
    {"sourceAlphaAdd", PIX_PixelAddSourceAlpha, ThroughPointer<PIX_PixelAddSourceAlpha>},
};

// A random walk over a window of src into dst: turned and scaled, sometimes bent by second-order
// steps, starting anywhere around the window.
PIX_Walk RandomWalk(TestBitmap& dst, TestBitmap& src, std::mt19937& rng) {
  const PIX_Surface D = PIX_ImageRows(&dst), S = PIX_ImageRows(&src);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  PIX_Walk k{};
  const int x = (int)(rng() % (uint32_t)D.width), y = (int)(rng() % (uint32_t)D.height);
  k.w = 1 + (int)(rng() % (uint32_t)(D.width - x));
  k.h = 1 + (int)(rng() % (uint32_t)(D.height - y));
  k.dst = D.at(x, y);
  k.dstStep = D.rowStep;
  const int l = (int)(rng() % (uint32_t)S.width), t = (int)(rng() % (uint32_t)S.height);
  k.winw = 1 + (int)(rng() % (uint32_t)(S.width - l));
  k.winh = 1 + (int)(rng() % (uint32_t)(S.height - t));
  k.src = S.at(l, t);
  k.srcStep = S.rowStep;
  const double angle = unit(rng) * 6.3, scale = 0.3 + 1.5 * unit(rng);
  auto fixed = [](double v) { return (int64_t)(v * 65536.0); };
  k.dudx = fixed(std::cos(angle) * scale);
  k.dvdx = fixed(-std::sin(angle) * scale);
  k.dudy = fixed(std::sin(angle) * scale);
  k.dvdy = fixed(std::cos(angle) * scale);
  k.u = fixed((unit(rng) * 1.4 - 0.2) * k.winw);
  k.v = fixed((unit(rng) * 1.4 - 0.2) * k.winh);
  if (rng() % 4 == 0) {
    k.ddudy = fixed((unit(rng) - 0.5) * 0.05);
    k.ddvdy = fixed((unit(rng) - 0.5) * 0.05);
  }
  return k;
}

} // namespace

// The walker's fast paths (writers inlined; source-alpha rows sampled first and combined by the
// row kernels) against the general walk that calls the same writer through a pointer, nearest
// and bilinear, with the source apart from the destination and inside it.
TEST(RowKernels, WalkerFastPathsEqualTheWriterCalls) {
  std::mt19937 rng(26);
  const int weights[] = {256, 255, 179, 1, 300};
  for (const WriterPair& writer : kWalkWriters) {
    for (int trial = 0; trial < 300; ++trial) {
      const bool shared = trial % 3 == 0; // source window inside the destination bitmap
      const int dw = 1 + (int)(rng() % 70), dh = 1 + (int)(rng() % 12);
      TestBitmap fast(dw, dh, dw + (int)(rng() % 3), rng() % 2);
      TestBitmap src(2 + (int)(rng() % 40), 2 + (int)(rng() % 12), 44, rng() % 2);
      FillArtwork(fast, rng);
      FillArtwork(src, rng);
      TestBitmap general = fast;
      const PIX_Walk walk = RandomWalk(fast, shared ? fast : src, rng);
      PIX_Walk same = walk;
      auto moved = [&](auto* p) {
        return p - reinterpret_cast<unsigned char*>(fast.words()) +
               reinterpret_cast<unsigned char*>(general.words());
      };
      same.dst = moved(walk.dst);
      if (shared)
        same.src = moved(const_cast<unsigned char*>(walk.src));
      const int weight = weights[rng() % std::size(weights)];
      const bool filter = rng() % 2;
      PIX_TransformWalker(walk, weight, filter, writer.fast);
      PIX_TransformWalker(same, weight, filter, writer.general);
      ASSERT_EQ(std::memcmp(fast.words(), general.words(), fast.wordCount() * 4), 0)
          << writer.name << " trial " << trial << " weight " << weight << " filter " << filter
          << " shared " << shared;
      ASSERT_TRUE(fast.guardsIntact());
    }
  }
}
