#pragma once
// What the plug-in layout tests look at besides the control list: which resources an editor
// asked for, the frame of a strip that a control's rectangle shows in the draw bitmap (found
// from the pixels alone), and where the scale printed on the background sits around a knob
// (the circle through the travel arc, fitted to the pixels, against the knob cap's centre).
//
// Header-only, like EditorRenderSupport.h: each plug-in test builds it with its own toolkit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "EditorRenderSupport.h"
#include "gui/IEditor.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Pixel.h"

namespace editortest {

// A folder editor that notes every resource it is asked to decode.
class RecordingFolderEditor : public FolderEditor {
public:
  using FolderEditor::FolderEditor;
  PIX_IBitmap* LoadPlatformBitmap(int id, const char* name) override {
    PIX_IBitmap* data = FolderEditor::LoadPlatformBitmap(id, name);
    loads.push_back({id, name ? name : "", data});
    return data;
  }
  struct Load {
    int id;
    std::string name;
    PIX_IBitmap* data;
  };
  // The decoded bitmap for a resource id, or null when it was not asked for.
  PIX_IBitmap* Loaded(int id) const {
    for (const Load& l : loads)
      if (l.id == id)
        return l.data;
    return nullptr;
  }
  std::vector<Load> loads;
};

// A bitmap strip of a layout: its resource id and name at each density and its frame count.
struct Strip {
  int id1x;
  const char* name1x;
  int id2x;
  const char* name2x;
  int frames;
};

// The editor, built at one density, asked for exactly the resources of the strips at that
// density, each once, under its own id and name, and got each decoded.
template <std::size_t N>
void ExpectEachStripLoadedOnce(const RecordingFolderEditor& editor, const Strip* const (&strips)[N],
                               bool twice) {
  EXPECT_EQ(editor.loads.size(), N);
  for (const Strip* s : strips) {
    int found = 0;
    for (const auto& l : editor.loads)
      if (l.id == (twice ? s->id2x : s->id1x)) {
        ++found;
        EXPECT_EQ(l.name, twice ? s->name2x : s->name1x) << "resource " << l.id;
        EXPECT_NE(l.data, nullptr) << l.name;
      }
    EXPECT_EQ(found, 1) << (twice ? s->name2x : s->name1x);
  }
}

// Draws every control of the editor into its draw bitmap, in strict order.
inline void DrawWholeEditor(IEditor* editor) {
  editor->SetStrictDrawing(true);
  IRECT all(0, 0, editor->Width(), editor->Height());
  editor->SetAllControlsDirty();
  editor->Draw(&all);
}

// The frames of strip that the draw bitmap shows with the frame's top-left corner at (x, y):
// every pixel of the frame that is at least 60 % opaque shows its colour, exactly where it is
// opaque, and within what the rest of its coverage lets the background add elsewhere. A
// well-placed control showing frame f gives {f}.
inline std::vector<int> FramesShownAt(IEditor* editor, const IBitmap& strip, int x, int y) {
  std::vector<int> shown;
  PIX_IBitmap* drawn = editor->GetDrawBitmap();
  const int w = strip.mData->getWidth(), h = strip.mData->getHeight() / strip.Frames();
  for (int f = 1; f <= strip.Frames(); ++f) {
    bool all = true;
    int solid = 0;
    for (int j = 0; j < h && all; ++j) {
      for (int i = 0; i < w && all; ++i) {
        const PIX_Pixel p = PIX_GetPixel(strip.mData, i, (f - 1) * h + j);
        const int a = PIX_Alpha(p);
        if (a < 153)
          continue;
        ++solid;
        const PIX_Pixel q = PIX_GetPixel(drawn, x + i, y + j);
        const int slack = a == 255 ? 0 : 255 - a + 2;
        all = std::abs(PIX_Red(p) - PIX_Red(q)) <= slack &&
              std::abs(PIX_Green(p) - PIX_Green(q)) <= slack &&
              std::abs(PIX_Blue(p) - PIX_Blue(q)) <= slack;
      }
    }
    if (all && solid > 0)
      shown.push_back(f);
  }
  return shown;
}

struct Circle {
  double cx = 0, cy = 0, r = 0;
};

// The opaque disc of a knob strip's first frame (the cap), in the frame's own pixels.
inline Circle KnobCap(const IBitmap& strip) {
  const int w = strip.mData->getWidth(), h = strip.mData->getHeight() / strip.Frames();
  double sx = 0, sy = 0, n = 0;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (PIX_Alpha(PIX_GetPixel(strip.mData, i, j)) == 255)
        sx += i + 0.5, sy += j + 0.5, n += 1;
  Circle c;
  if (n > 0) {
    c.cx = sx / n;
    c.cy = sy / n;
    c.r = std::sqrt(n / M_PI);
  }
  return c;
}

// How much warmer than the plate a background pixel is (red over blue): the knobs' travel
// arcs are printed in the accent colour, the plate and the white ink are nearly neutral.
inline double AccentWeight(PIX_Pixel p) {
  return std::max(0, PIX_Red(p) - PIX_Blue(p) - 45);
}

// The circle through the accent-coloured pixels of background in the ring between inner and
// outer around (cx, cy): a least-squares fit (x^2 + y^2 + D x + E y + F = 0, each pixel
// weighted by its accent), so an arc of any length gives its own centre.
inline Circle FitAccentRing(PIX_IBitmap* background, double cx, double cy, double inner,
                            double outer) {
  double m[3][4] = {};
  for (int y = (int)(cy - outer) - 1; y <= (int)(cy + outer) + 1; ++y) {
    for (int x = (int)(cx - outer) - 1; x <= (int)(cx + outer) + 1; ++x) {
      if (x < 0 || y < 0 || x >= background->getWidth() || y >= background->getHeight())
        continue;
      const double px = x + 0.5, py = y + 0.5, d = std::hypot(px - cx, py - cy);
      if (d < inner || d > outer)
        continue;
      // The background control is drawn one row up: editor row y shows bitmap row y + 1.
      const double w = AccentWeight(PIX_GetPixel(background, x, y + 1));
      if (w <= 0)
        continue;
      const double row[3] = {px, py, 1.0}, rhs = -(px * px + py * py);
      for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b)
          m[a][b] += w * row[a] * row[b];
        m[a][3] += w * row[a] * rhs;
      }
    }
  }
  // Gaussian elimination on the 3 x 3 normal equations.
  for (int a = 0; a < 3; ++a) {
    int pivot = a;
    for (int b = a + 1; b < 3; ++b)
      if (std::fabs(m[b][a]) > std::fabs(m[pivot][a]))
        pivot = b;
    for (int k = 0; k < 4; ++k)
      std::swap(m[a][k], m[pivot][k]);
    if (m[a][a] == 0)
      return {};
    for (int b = 0; b < 3; ++b) {
      if (b == a)
        continue;
      const double f = m[b][a] / m[a][a];
      for (int k = 0; k < 4; ++k)
        m[b][k] -= f * m[a][k];
    }
  }
  const double D = m[0][3] / m[0][0], E = m[1][3] / m[1][1], F = m[2][3] / m[2][2];
  Circle c;
  c.cx = -D / 2;
  c.cy = -E / 2;
  c.r = std::sqrt(std::max(0.0, c.cx * c.cx + c.cy * c.cy - F));
  return c;
}

// The scale printed around a knob control: its travel arc is a circle about the centre of the
// knob cap the control draws, lying just outside the cap. density is 1 or 2 (pixels per 1x
// unit); what a misplaced knob gives away is a centre several pixels off.
inline void ExpectScaleAroundKnob(PIX_IBitmap* background, const IBitmap& strip, const IRECT& rect,
                                  double density, const std::string& what) {
  const Circle cap = KnobCap(strip);
  ASSERT_GT(cap.r, 5 * density) << what;
  const double cx = rect.L + cap.cx, cy = rect.T + cap.cy;
  const Circle ring = FitAccentRing(background, cx, cy, cap.r - 2 * density, cap.r + 7 * density);
  EXPECT_NEAR(ring.cx, cx, 0.75 * density) << what << ": scale centre x";
  EXPECT_NEAR(ring.cy, cy, 0.75 * density) << what << ": scale centre y";
  EXPECT_GT(ring.r, cap.r) << what << ": the scale lies under the cap";
  EXPECT_LT(ring.r, cap.r + 5 * density) << what << ": the scale lies far from the cap";
}

} // namespace editortest
