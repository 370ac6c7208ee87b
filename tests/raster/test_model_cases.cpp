// Runs the image cases that gen_cases.py wrote with the model's results, and compares every
// stored word of the destination (span columns included) and the guard words around it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Circle.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_Polygon.h"
#include "raster/PIX_Transform.h"
#include "tests/raster/TestBitmap.h"

namespace {

struct Image {
  int w = 0, h = 0, span = 0;
  bool flipped = false;
  std::vector<uint32_t> words;
};

struct Case {
  int op = 0;
  std::vector<int> ints;
  std::vector<float> floats;
  Image dest;
  int srcKind = 0;
  Image src;
  std::vector<unsigned char> data;
  std::vector<uint32_t> expected;
  std::string label;
};

class Reader {
public:
  explicit Reader(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f)
      return;
    fseek(f, 0, SEEK_END);
    bytes.resize((size_t)ftell(f));
    fseek(f, 0, SEEK_SET);
    if (fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
      bytes.clear();
    fclose(f);
  }
  bool ok() const { return !bytes.empty() && !failed; }
  int32_t i32() {
    int32_t v = 0;
    take(&v, 4);
    return v;
  }
  uint32_t u32() { return (uint32_t)i32(); }
  float f32() {
    float v = 0;
    take(&v, 4);
    return v;
  }
  void take(void* out, size_t n) {
    if (n == 0)
      return;
    if (pos + n > bytes.size()) {
      failed = true;
      std::memset(out, 0, n);
      return;
    }
    std::memcpy(out, bytes.data() + pos, n);
    pos += n;
  }
  Image image() {
    Image img;
    img.w = i32(), img.h = i32(), img.span = i32(), img.flipped = i32() != 0;
    img.words.resize((size_t)img.span * img.h);
    take(img.words.data(), img.words.size() * 4);
    return img;
  }

private:
  std::vector<unsigned char> bytes;
  size_t pos = 0;
  bool failed = false;
};

std::vector<Case> LoadCases() {
  std::vector<Case> cases;
  Reader r(RASTER_CASES_FILE);
  if (!r.ok() || r.u32() != 0x53455341)
    return cases;
  const int count = r.i32();
  for (int i = 0; i < count && r.ok(); ++i) {
    Case c;
    if (r.u32() != 0x45534143)
      break;
    c.op = r.i32();
    c.ints.resize(r.i32());
    for (int& v : c.ints)
      v = r.i32();
    c.floats.resize(r.i32());
    for (float& v : c.floats)
      v = r.f32();
    c.dest = r.image();
    c.srcKind = r.i32();
    if (c.srcKind == 1)
      c.src = r.image();
    c.data.resize(r.i32());
    r.take(c.data.data(), c.data.size());
    c.expected.resize(c.dest.words.size());
    r.take(c.expected.data(), c.expected.size() * 4);
    std::string label(r.i32(), ' ');
    r.take(label.data(), label.size());
    c.label = label;
    cases.push_back(std::move(c));
  }
  return cases;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = LoadCases();
  return cases;
}

std::unique_ptr<TestBitmap> Make(const Image& img) {
  auto bm = std::make_unique<TestBitmap>(img.w, img.h, img.span, img.flipped);
  std::memcpy(bm->words(), img.words.data(), img.words.size() * 4);
  return bm;
}

void Run(const Case& c, TestBitmap* d, TestBitmap* s) {
  const std::vector<int>& i = c.ints;
  const std::vector<float>& f = c.floats;
  switch (c.op) {
  case 1: {
    const RECT rect = {i[3], i[4], i[5], i[6]};
    PIX_BlitRect(d, s, i[0], i[1], i[2] ? &rect : nullptr, f[0], i[7]);
    break;
  }
  case 2:
    PIX_ScaledBlit(d, s, i[0], i[1], i[2], i[3], f[0], f[1], f[2], f[3], f[4], i[4]);
    break;
  case 3:
    PIX_HalveBlit(d, s);
    break;
  case 4:
    PIX_FillRect(d, i[0], i[1], i[2], i[3], (PIX_Pixel)i[4], f[0], i[5]);
    break;
  case 5:
    PIX_PutPixel(d, i[0], i[1], (PIX_Pixel)i[2], f[0], i[3]);
    break;
  case 6:
    PIX_DrawCoverageMaskSpan(d, i[0], i[1], (PIX_Pixel)i[2], c.data.data(), i[3], i[4], i[5], f[0],
                             i[6]);
    break;
  case 7:
    PIX_Blur(d, s, i[0], i[1], i[2], i[3], i[4], i[5]);
    break;
  case 8:
    PIX_RotatedBlit(d, s, i[0], i[1], i[2], i[3], f[0], f[1], f[2], f[3], f[4], i[4] != 0, f[5],
                    i[5], f[6], f[7]);
    break;
  case 9:
    PIX_Line(d, i[0], i[1], i[2], i[3], (PIX_Pixel)i[4], f[0], i[5], i[6] != 0);
    break;
  case 10:
    PIX_FloatLine(d, f[0], f[1], f[2], f[3], (PIX_Pixel)i[0], f[4], i[1], i[2] != 0);
    break;
  case 11:
    PIX_DashedLine(d, i[0], i[1], i[2], i[3], i[4], i[5], (PIX_Pixel)i[6], f[0], i[7]);
    break;
  case 12:
    (i[3] ? PIX_FillCircle : PIX_Circle)(d, f[0], f[1], f[2], (PIX_Pixel)i[0], f[3], i[1],
                                         i[2] != 0);
    break;
  case 13:
    PIX_Arc(d, f[0], f[1], f[2], f[3], f[4], (PIX_Pixel)i[0], f[5], i[1], i[2] != 0);
    break;
  case 14:
    PIX_RoundRect(d, f[0], f[1], f[2], f[3], i[0], (PIX_Pixel)i[1], f[4], i[2], i[3] != 0);
    break;
  case 15:
    PIX_FillConvexPolygon(d, &i[3], &i[3 + i[2]], i[2], (PIX_Pixel)i[0], f[0], i[1]);
    break;
  case 16:
    PIX_FillTriangle(d, i[0], i[1], i[2], i[3], i[4], i[5], (PIX_Pixel)i[6], f[0], i[7]);
    break;
  case 17:
    PIX_FillTrapezoid(d, i[0], i[1], i[2], i[3], i[4], i[5], (PIX_Pixel)i[6], f[0], i[7]);
    break;
  case 18:
    PIX_DrawRect(d, i[0], i[1], i[2], i[3], (PIX_Pixel)i[4], f[0], i[5]);
    break;
  case 19:
    PIX_BorderedRect(d, i[0], i[1], i[2], i[3], (PIX_Pixel)i[4], (PIX_Pixel)i[5], f[0], i[6]);
    break;
  // The clippers: the answer and the four coordinates go into the 5 x 1 destination.
  case 20:
  case 21: {
    int p[4] = {i[0], i[1], i[2], i[3]};
    const bool ok = c.op == 20
                        ? PIX_ClipLine(&p[0], &p[1], &p[2], &p[3], i[4], i[5])
                        : PIX_ClipLineToRect(&p[0], &p[1], &p[2], &p[3], i[4], i[5], i[6], i[7]);
    d->words()[0] = ok;
    for (int k = 0; k < 4; ++k)
      d->words()[k + 1] = (uint32_t)p[k];
    break;
  }
  case 22:
  case 28: {
    float p[4] = {f[0], f[1], f[2], f[3]};
    d->words()[0] =
        c.op == 22 ? PIX_ClipFloatLine(&p[0], &p[1], &p[2], &p[3], i[0], i[1])
                   : PIX_ClipFloatLineToRect(&p[0], &p[1], &p[2], &p[3], f[4], f[5], f[6], f[7]);
    std::memcpy(d->words() + 1, p, sizeof p);
    break;
  }
  case 23:
    PIX_DrawQBezier(d, f[0], f[1], f[2], f[3], f[4], f[5], (PIX_Pixel)i[0], f[6], i[1], i[2] != 0,
                    f[7]);
    break;
  case 24:
    PIX_DrawCBezier(d, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], (PIX_Pixel)i[0], f[8], i[1],
                    i[2] != 0, f[9]);
    break;
  case 25:
    (i[1] ? PIX_FillCBezierX : PIX_FillCBezier)(d, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7],
                                                i[0], (PIX_Pixel)i[2], f[8], i[3], f[9]);
    break;
  // The solvers: their results go into the destination's words.
  case 26: {
    double t = -1;
    const float y = PIX_QBezierYForX(f[0], f[1], f[2], f[3], f[4], f[5], f[6], &t);
    std::memcpy(d->words(), &y, 4);
    std::memcpy(d->words() + 1, &t, 8);
    break;
  }
  case 27: {
    float xu = -1, slope = -1;
    double lo = -1, hi = -1;
    const float y = PIX_CBezierYForX(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], &xu,
                                     &slope, &lo, &hi);
    std::memcpy(d->words(), &y, 4);
    std::memcpy(d->words() + 1, &xu, 4);
    std::memcpy(d->words() + 2, &slope, 4);
    std::memcpy(d->words() + 3, &lo, 8);
    std::memcpy(d->words() + 5, &hi, 8);
    break;
  }
  default:
    FAIL() << "unknown operation " << c.op;
  }
}

// Runs every case of the given operations; reports the first few that differ.
void RunCases(std::initializer_list<int> ops) {
  ASSERT_FALSE(Cases().empty()) << "no cases in " << RASTER_CASES_FILE;
  int ran = 0, failures = 0;
  for (const Case& c : Cases()) {
    if (std::find(ops.begin(), ops.end(), c.op) == ops.end())
      continue;
    ++ran;
    auto d = Make(c.dest);
    std::unique_ptr<TestBitmap> own;
    TestBitmap* s = nullptr;
    if (c.srcKind == 1)
      s = (own = Make(c.src)).get();
    else if (c.srcKind == 2)
      s = d.get();
    Run(c, d.get(), s);
    EXPECT_TRUE(d->guardsIntact()) << c.label;
    if (own) {
      EXPECT_TRUE(own->guardsIntact() &&
                  std::memcmp(own->words(), c.src.words.data(), c.src.words.size() * 4) == 0)
          << "source changed: " << c.label;
    }
    for (size_t k = 0; k < c.expected.size(); ++k) {
      if (d->words()[k] != c.expected[k]) {
        if (++failures <= 10)
          ADD_FAILURE() << c.label << ": stored word " << k << " (row " << k / c.dest.span
                        << ", column " << k % c.dest.span << ") is " << std::hex << d->words()[k]
                        << ", model " << c.expected[k];
        break;
      }
    }
  }
  EXPECT_GT(ran, 0);
  EXPECT_EQ(failures, 0) << "of " << ran << " cases";
}

} // namespace

TEST(ModelCases, PlainBlits) {
  RunCases({1});
}
TEST(ModelCases, ScaledBlits) {
  RunCases({2});
}
TEST(ModelCases, HalveBlits) {
  RunCases({3});
}
TEST(ModelCases, FillsAndPixels) {
  RunCases({4, 5});
}
TEST(ModelCases, CoverageMasks) {
  RunCases({6});
}
TEST(ModelCases, Blur) {
  RunCases({7});
}
TEST(ModelCases, RotatedBlits) {
  RunCases({8});
}
TEST(ModelCases, Lines) {
  RunCases({9});
}
TEST(ModelCases, FloatLines) {
  RunCases({10});
}
TEST(ModelCases, DashedLines) {
  RunCases({11});
}
TEST(ModelCases, LineClipping) {
  RunCases({20, 21, 22, 28});
}
TEST(ModelCases, CirclesAndDiscs) {
  RunCases({12});
}
TEST(ModelCases, Arcs) {
  RunCases({13});
}
TEST(ModelCases, RoundedRectangles) {
  RunCases({14});
}
TEST(ModelCases, PolygonsAndTriangles) {
  RunCases({15, 16});
}
TEST(ModelCases, Trapezoids) {
  RunCases({17});
}
TEST(ModelCases, RectangleOutlines) {
  RunCases({18, 19});
}
TEST(ModelCases, Curves) {
  RunCases({23, 24});
}
TEST(ModelCases, CurveFills) {
  RunCases({25});
}
TEST(ModelCases, CurveSolvers) {
  RunCases({26, 27});
}
