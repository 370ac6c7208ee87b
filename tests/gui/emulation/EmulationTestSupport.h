// Helpers of the drawing-interface tests: pixel access, ink bounds and FreeType's own view of
// the fonts the stand-ins resolve.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
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

// An installed face as fontconfig lists it, with what the face-choice rule looks at.
struct InstalledFace {
  std::string postScriptName, file;
  int index = 0;
  std::string family;                // as fontconfig names it
  std::vector<std::string> families; // lower case, the face's own family first
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, width = FC_WIDTH_NORMAL;
  bool monospaced = false;
  bool bold() const { return weight >= FC_WEIGHT_BOLD; }
  bool italic() const { return slant != FC_SLANT_ROMAN; }
};

inline std::string lowerCase(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Every installed face, as fontconfig lists them.
inline std::vector<InstalledFace> installedFaces() {
  // Fontconfig is loaded through the stand-in first, which keeps fontconfig's own start-up
  // blocks out of the leak check.
  CFRelease(CTFontCreateWithName(CFSTR("monospace"), 12, nullptr));
  std::vector<InstalledFace> faces;
  FcPattern* all = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FILE, FC_INDEX, FC_FAMILY,
                                          FC_SPACING, FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr);
  // The configuration the code under test loaded, as it loaded it: a null configuration would
  // have fontconfig re-read its files once its rescan interval has passed, which loses blocks.
  FcConfig* config;
  {
    cfstub::KeptForTheProcess kept;
    config = FcConfigGetCurrent();
  }
  FcFontSet* set = FcFontList(config, all, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    InstalledFace face;
    FcChar8* text = nullptr;
    if (FcPatternGetString(font, FC_POSTSCRIPT_NAME, 0, &text) == FcResultMatch)
      face.postScriptName = reinterpret_cast<const char*>(text);
    if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch)
      face.file = reinterpret_cast<const char*>(text);
    if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch)
      face.family = reinterpret_cast<const char*>(text);
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &text) == FcResultMatch; ++n)
      face.families.push_back(lowerCase(reinterpret_cast<const char*>(text)));
    FcPatternGetInteger(font, FC_INDEX, 0, &face.index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &face.weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &face.slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &face.width);
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
    face.monospaced = spacing == FC_MONO || spacing == FC_CHARCELL;
    if (!face.file.empty() && !face.families.empty())
      faces.push_back(std::move(face));
  }
  if (set)
    FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(all);
  return faces;
}

// The face-choice rule the README states, worked through step by step over the installed faces:
// the family and PostScript name of the face that a kind ("monospace", "sans-serif", "serif") or
// a family stands for in a style, as "family/PostScript name"; empty when no face qualifies.
inline std::string faceTheRuleChooses(const std::vector<InstalledFace>& installed,
                                      const std::string& kindOrFamily, bool bold, bool italic) {
  const std::string wanted = lowerCase(kindOrFamily);
  const bool isKind = wanted == "monospace" || wanted == "sans-serif" || wanted == "serif";
  const std::string preferred = wanted == "monospace"    ? "dejavu sans mono"
                                : wanted == "sans-serif" ? "dejavu sans"
                                                         : "dejavu serif";
  // The faces in question.
  std::vector<const InstalledFace*> pool;
  for (const InstalledFace& f : installed) {
    bool named = std::find(f.families.begin(), f.families.end(), wanted) != f.families.end();
    if (isKind || named)
      pool.push_back(&f);
  }
  if (wanted == "monospace" &&
      std::any_of(pool.begin(), pool.end(), [](auto* f) { return f->monospaced; }))
    std::erase_if(pool, [](auto* f) { return !f->monospaced; });
  // Those of the requested style, when there are any.
  if (std::any_of(pool.begin(), pool.end(),
                  [&](auto* f) { return f->bold() == bold && f->italic() == italic; }))
    std::erase_if(pool, [&](auto* f) { return f->bold() != bold || f->italic() != italic; });
  if (pool.empty())
    return {};
  // The earliest family: the kind's DejaVu family, else the first name.
  std::string family;
  for (auto* f : pool)
    if (isKind && f->families[0] == preferred)
      family = preferred;
  if (family.empty())
    family = (*std::min_element(pool.begin(), pool.end(), [](auto* a, auto* b) {
               return a->families[0] < b->families[0];
             }))->families[0];
  std::erase_if(pool, [&](auto* f) { return f->families[0] != family; });
  // The width nearest normal, the weight nearest the style's, the first file and index.
  const int weight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
  auto* chosen = *std::min_element(pool.begin(), pool.end(), [&](auto* a, auto* b) {
    int wa = std::abs(a->width - FC_WIDTH_NORMAL), wb = std::abs(b->width - FC_WIDTH_NORMAL);
    if (wa != wb)
      return wa < wb;
    int ga = std::abs(a->weight - weight), gb = std::abs(b->weight - weight);
    if (ga != gb)
      return ga < gb;
    return a->file != b->file ? a->file < b->file : a->index < b->index;
  });
  return chosen->family + "/" + chosen->postScriptName;
}

// FreeType's metrics of the face the stand-in draws a name with, read from that face's file, at
// a size in points.
struct FaceMetrics {
  double ascent = 0, descent = 0, leading = 0;
  std::string postScriptName, file;
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  FaceMetrics(const char* name, double size) {
    CFStringRef cfName = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    CTFontRef font = CTFontCreateWithName(cfName, size, nullptr);
    CFRelease(cfName);
    int index = 0;
    if (font) {
      CFStringRef ps = CTFontCopyPostScriptName(font);
      char buffer[256] = {};
      CFStringGetCString(ps, buffer, sizeof buffer, kCFStringEncodingUTF8);
      CFRelease(ps);
      CFRelease(font);
      postScriptName = buffer;
    }
    // Of several files with the name (one face in two formats), the first, as the rule says.
    for (const InstalledFace& f : installedFaces())
      if (f.postScriptName == postScriptName &&
          (file.empty() || std::tie(f.file, f.index) < std::tie(file, index)))
        file = f.file, index = f.index;
    FT_Init_FreeType(&library);
    if (FT_New_Face(library, file.c_str(), index, &face) == 0) {
      double scale = size / face->units_per_EM;
      ascent = face->ascender * scale;
      descent = -face->descender * scale;
      leading = (face->height - face->ascender + face->descender) * scale;
      FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(size * 64), 72, 72);
    } else {
      face = nullptr;
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

} // namespace emutest
