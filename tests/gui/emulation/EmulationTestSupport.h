// Helpers of the drawing-interface tests: pixel access, ink bounds and FreeType's own view of
// the fonts the stand-ins resolve.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "gui/emulation/DrawingEmulation.h"
#include "sdk/macos/src/LeakChecks.h"

namespace emutest {

struct Pixel {
  uint8_t x, r, g, b;
};

inline Pixel pixelAt(HDC dc, int width, int x, int y) {
  auto* p = static_cast<uint8_t*>(GetContextPixelBuffer(dc)) + (size_t(y) * width + x) * 4;
  return Pixel{p[0], p[1], p[2], p[3]};
}

inline void fillWhite(HDC dc, int width, int height) {
  HBRUSH white = CreateSolidBrush(0xFFFFFF);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, white);
  DeleteObject(white);
}

// The bounds of every pixel that is not white; empty (right <= left) when there is none.
inline RECT inkBounds(HDC dc, int width, int height) {
  RECT r{width, height, 0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Pixel p = pixelAt(dc, width, x, y);
      if (p.r != 255 || p.g != 255 || p.b != 255) {
        r.left = std::min(r.left, x), r.right = std::max(r.right, x + 1);
        r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y + 1);
      }
    }
  return r;
}

// FreeType's metrics of the face fontconfig picks for a pattern, at a size in points.
struct FaceMetrics {
  double ascent = 0, descent = 0, leading = 0;
  std::string file;
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  FaceMetrics(const char* pattern, double size) {
    // Fontconfig is loaded through the stand-in first, which keeps fontconfig's own start-up
    // blocks out of the leak check.
    CFRelease(CTFontCreateWithName(CFSTR("monospace"), 12, nullptr));
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
      file = reinterpret_cast<const char*>(path);
    if (match)
      FcPatternDestroy(match);
    FcPatternDestroy(p);
    FT_Init_FreeType(&library);
    if (FT_New_Face(library, file.c_str(), 0, &face) == 0) {
      double scale = size / face->units_per_EM;
      ascent = face->ascender * scale;
      descent = -face->descender * scale;
      leading = (face->height - face->ascender + face->descender) * scale;
      FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(size * 64), 72, 72);
    }
  }
  ~FaceMetrics() {
    if (face)
      FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
  // The unhinted advance width of an ASCII string, in points.
  double width(const char* text) const {
    double w = 0;
    for (const char* c = text; *c; ++c) {
      FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
      w += face->glyph->linearHoriAdvance / 65536.0;
    }
    return w;
  }
};

// fontconfig's own description of an installed face: its spacing and style.
struct FaceStyle {
  bool monospaced = false, bold = false, italic = false;
};

inline FaceStyle styleOf(FcPattern* font) {
  int spacing = FC_PROPORTIONAL, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
  FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(font, FC_SLANT, 0, &slant);
  return FaceStyle{spacing == FC_MONO || spacing == FC_CHARCELL, weight >= FC_WEIGHT_BOLD,
                   slant != FC_SLANT_ROMAN};
}

// Every installed face, as fontconfig lists them.
inline std::vector<std::pair<std::string, FaceStyle>> installedFaces() {
  std::vector<std::pair<std::string, FaceStyle>> faces;
  FcPattern* all = FcPatternCreate();
  FcObjectSet* objects =
      FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_SPACING, FC_WEIGHT, FC_SLANT, nullptr);
  // The configuration the code under test loaded, as it loaded it: a null configuration would
  // have fontconfig re-read its files once its rescan interval has passed, which loses blocks.
  FcConfig* config;
  {
    cfstub::KeptForTheProcess kept;
    config = FcConfigGetCurrent();
  }
  FcFontSet* set = FcFontList(config, all, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) == FcResultMatch)
      faces.emplace_back(reinterpret_cast<const char*>(name), styleOf(set->fonts[i]));
  }
  if (set)
    FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(all);
  return faces;
}

} // namespace emutest
