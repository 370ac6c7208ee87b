// The records behind the stand-in CoreText references. Internal to the stand-ins.
#pragma once

#include <mutex>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "CGObjects.h"
#include "CoreText/CoreText.h"

// An installed face as fontconfig describes it.
struct CTFaceInfo {
  std::string file;
  int index = 0;
  std::string family;
  std::string fullName;
};

struct __CTFont : CFObject {
  FT_Face face = nullptr;
  CGFloat size = 0;
  CTFaceInfo info;
  std::string postScriptName;
  CGFloat ascent = 0, descent = 0, leading = 0;
  std::unordered_map<FT_UInt, double> advances; // unhinted advances at this size, in points
  ~__CTFont() override;
};

struct __CTLine : CFObject {
  CTFontRef font = nullptr;   // retained
  CGColorRef color = nullptr; // retained, null for black
  std::vector<FT_UInt> glyphs;
  std::vector<double> advances;
  double width = 0;
  ~__CTLine() override;
};

struct __CTFramesetter : CFObject {
  CFAttributedStringRef string = nullptr; // retained
  ~__CTFramesetter() override;
};

struct __CTFrame : CFObject {
  CFArrayRef lines = nullptr; // retained
  std::vector<CGPoint> origins;
  ~__CTFrame() override;
};

namespace ctstub {

// FreeType is not safe for concurrent use of one library; every FreeType call runs under it.
std::recursive_mutex& freetypeLock();

// Finds a face by PostScript name or by family and style words, by the rule written in
// CTFont.cpp; false when no installed face qualifies.
bool resolveFace(const std::string& name, CTFaceInfo& face);

// A new font object (one reference) over a resolved face, or null when FreeType cannot load it.
__CTFont* openFont(const CTFaceInfo& face, CGFloat size);

// The glyph of a character, and its unhinted advance in points.
FT_UInt glyphOf(const __CTFont* font, char32_t code);
double advanceOf(__CTFont* font, FT_UInt glyph);

// The line of one run of characters with the attributes of the given string.
__CTLine* makeLine(CFAttributedStringRef string, const std::vector<char32_t>& codes);

} // namespace ctstub
