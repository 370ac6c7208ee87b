// Lines and frames of attributed text: layout, measuring and glyph drawing.
#include "CTObjects.h"

#include <cmath>

#include FT_OUTLINE_H

const CFStringRef kCTFontAttributeName = CFSTR("NSFont");
const CFStringRef kCTForegroundColorAttributeName = CFSTR("CTForegroundColor");

__CTLine::~__CTLine() {
  CFRelease(font);
  CFRelease(color);
}

__CTFramesetter::~__CTFramesetter() {
  CFRelease(string);
}
__CTFrame::~__CTFrame() {
  CFRelease(lines);
}

static bool isLineBreak(char32_t c) {
  return c == 10 || c == 13 || c == 0x2028 || c == 0x2029;
}

namespace ctstub {

static CTFontRef defaultFont() {
  static CTFontRef font = CTFontCreateWithName(CFSTR("Helvetica"), 12.0, nullptr);
  return font;
}

__CTLine* makeLine(CFAttributedStringRef string, const std::vector<char32_t>& codes) {
  CFDictionaryRef attributes = string ? string->attributes : nullptr;
  auto font = static_cast<CTFontRef>(CFDictionaryGetValue(attributes, kCTFontAttributeName));
  auto color = static_cast<const CGColor*>(
      CFDictionaryGetValue(attributes, kCTForegroundColorAttributeName));
  if (!font)
    font = defaultFont();
  if (!font)
    return nullptr;
  auto* line = new __CTLine;
  line->font = static_cast<CTFontRef>(CFRetain(font));
  line->color = color ? CGColorRetain(const_cast<CGColor*>(color)) : nullptr;
  auto* f = const_cast<__CTFont*>(font);
  for (char32_t c : codes) {
    if (c < 0x20 || c == 0x7F || isLineBreak(c))
      continue; // control characters take no room
    FT_UInt glyph = glyphOf(f, c);
    double advance = advanceOf(f, glyph);
    line->glyphs.push_back(glyph);
    line->advances.push_back(advance);
    line->width += advance;
  }
  return line;
}

} // namespace ctstub

CTLineRef CTLineCreateWithAttributedString(CFAttributedStringRef string) {
  if (!string)
    return nullptr;
  return ctstub::makeLine(string, cfstub::decodeUtf8(cfstub::utf8Of(string->string)));
}

double CTLineGetTypographicBounds(CTLineRef line, CGFloat* ascent, CGFloat* descent,
                                  CGFloat* leading) {
  if (ascent)
    *ascent = line ? line->font->ascent : 0;
  if (descent)
    *descent = line ? line->font->descent : 0;
  if (leading)
    *leading = line ? line->font->leading : 0;
  return line ? line->width : 0;
}

CFIndex CTLineGetGlyphCount(CTLineRef line) {
  return line ? static_cast<CFIndex>(line->glyphs.size()) : 0;
}

// Renders one glyph with FreeType through the full text-to-raster transform, its origin at
// raster point (ox, oy), and blends its coverage with the line's colour.
static void drawGlyph(CGContext* context, FT_Face face, FT_UInt glyph, CGAffineTransform toRaster,
                      double ox, double oy, const CGFloat color[4]) {
  if (!std::isfinite(ox) || !std::isfinite(oy) || std::fabs(ox) > 1e7 || std::fabs(oy) > 1e7)
    return;
  // FreeType's output space runs y upwards; raster space runs y downwards.
  FT_Matrix matrix;
  matrix.xx = static_cast<FT_Fixed>(std::lround(toRaster.a * 65536.0));
  matrix.xy = static_cast<FT_Fixed>(std::lround(toRaster.c * 65536.0));
  matrix.yx = static_cast<FT_Fixed>(std::lround(-toRaster.b * 65536.0));
  matrix.yy = static_cast<FT_Fixed>(std::lround(-toRaster.d * 65536.0));
  double fx = std::floor(ox), fy = std::floor(-oy);
  FT_Vector delta;
  delta.x = static_cast<FT_Pos>(std::lround((ox - fx) * 64));
  delta.y = static_cast<FT_Pos>(std::lround((-oy - fy) * 64));
  bool antialias = context->state.antialias;
  FT_Set_Transform(face, &matrix, &delta);
  FT_Int32 load = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(face, glyph, load) != 0 ||
      FT_Render_Glyph(face->glyph, antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
    return;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  int width = static_cast<int>(bitmap.width), height = static_cast<int>(bitmap.rows);
  if (width == 0 || height == 0)
    return;
  int left = static_cast<int>(fx) + face->glyph->bitmap_left;
  int top = -(static_cast<int>(fy) + face->glyph->bitmap_top);
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
    cgstub::blendMask(context, left, top, width, height, bitmap.buffer, bitmap.pitch, color);
    return;
  }
  std::vector<uint8_t> mask(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      mask[static_cast<size_t>(y) * width + x] =
          (bitmap.buffer[y * bitmap.pitch + (x >> 3)] & (0x80 >> (x & 7))) ? 255 : 0;
  cgstub::blendMask(context, left, top, width, height, mask.data(), width, color);
}

void CTLineDraw(CTLineRef line, CGContextRef context) {
  if (!line || !context)
    return;
  CGFloat color[4] = {0, 0, 0, 1};
  if (line->color)
    for (int i = 0; i < 4; ++i)
      color[i] = line->color->components[i];
  CGAffineTransform textToRaster =
      CGAffineTransformConcat(context->textMatrix, cgstub::userToRaster(context));
  CGAffineTransform linear = textToRaster;
  linear.tx = linear.ty = 0;
  std::lock_guard<std::recursive_mutex> guard(ctstub::freetypeLock());
  FT_Face face = line->font->face;
  double pen = 0;
  for (size_t i = 0; i < line->glyphs.size(); ++i) {
    CGPoint origin = CGPointApplyAffineTransform(CGPoint{pen, 0}, textToRaster);
    drawGlyph(context, face, line->glyphs[i], linear, origin.x, origin.y, color);
    pen += line->advances[i];
  }
  FT_Set_Transform(face, nullptr, nullptr);
  // The text position moves on by the line's advance, as after drawing on the platform.
  CGPoint end = CGPointApplyAffineTransform(CGPoint{pen, 0}, context->textMatrix);
  context->textMatrix.tx = end.x;
  context->textMatrix.ty = end.y;
}

CTFramesetterRef CTFramesetterCreateWithAttributedString(CFAttributedStringRef string) {
  if (!string)
    return nullptr;
  auto* framesetter = new __CTFramesetter;
  framesetter->string = static_cast<CFAttributedStringRef>(CFRetain(string));
  return framesetter;
}

// Breaks one paragraph into runs no wider than the frame, after spaces where it can.
static void wrapParagraph(CFAttributedStringRef string, const std::vector<char32_t>& paragraph,
                          double maxWidth, std::vector<CFTypeRef>& lines) {
  __CTLine* whole = ctstub::makeLine(string, paragraph);
  if (!whole)
    return;
  if (whole->width <= maxWidth || paragraph.size() < 2) {
    lines.push_back(whole);
    return;
  }
  auto* font = const_cast<__CTFont*>(whole->font);
  CFRelease(whole);
  size_t start = 0;
  while (start < paragraph.size()) {
    double width = 0;
    size_t end = start, lastBreak = 0;
    for (; end < paragraph.size(); ++end) {
      double advance = ctstub::advanceOf(font, ctstub::glyphOf(font, paragraph[end]));
      if (width + advance > maxWidth && end > start)
        break;
      width += advance;
      if (paragraph[end] == ' ')
        lastBreak = end + 1;
    }
    if (end < paragraph.size() && lastBreak > start)
      end = lastBreak;
    std::vector<char32_t> run(paragraph.begin() + static_cast<ptrdiff_t>(start),
                              paragraph.begin() + static_cast<ptrdiff_t>(end));
    if (__CTLine* line = ctstub::makeLine(string, run))
      lines.push_back(line);
    start = end;
  }
}

CTFrameRef CTFramesetterCreateFrame(CTFramesetterRef framesetter, CFRange, CGPathRef path,
                                    CFDictionaryRef) {
  if (!framesetter || !path)
    return nullptr;
  CGRect box = CGPathGetBoundingBox(path);
  std::vector<char32_t> codes = cfstub::decodeUtf8(cfstub::utf8Of(framesetter->string->string));
  std::vector<CFTypeRef> lines;
  std::vector<char32_t> paragraph;
  for (size_t i = 0; i < codes.size(); ++i) {
    if (!isLineBreak(codes[i])) {
      paragraph.push_back(codes[i]);
      continue;
    }
    if (codes[i] == 13 && i + 1 < codes.size() && codes[i + 1] == 10)
      ++i; // CR LF is one break
    wrapParagraph(framesetter->string, paragraph, box.size.width, lines);
    paragraph.clear();
  }
  if (!paragraph.empty())
    wrapParagraph(framesetter->string, paragraph, box.size.width, lines);
  auto* frame = new __CTFrame;
  double y = box.size.height;
  for (CFTypeRef l : lines) {
    auto line = static_cast<CTLineRef>(l);
    frame->origins.push_back(CGPoint{0, y - line->font->ascent});
    y -= line->font->ascent + line->font->descent + line->font->leading;
  }
  frame->lines = cfstub::makeArray(lines);
  for (CFTypeRef l : lines)
    CFRelease(l);
  return frame;
}

CFArrayRef CTFrameGetLines(CTFrameRef frame) {
  return frame ? frame->lines : nullptr;
}

void CTFrameGetLineOrigins(CTFrameRef frame, CFRange range, CGPoint origins[]) {
  if (!frame || !origins)
    return;
  CFIndex count = static_cast<CFIndex>(frame->origins.size());
  CFIndex first = range.location < 0 ? 0 : range.location;
  CFIndex n = range.length == 0 ? count - first : range.length;
  for (CFIndex i = 0; i < n && first + i < count; ++i)
    origins[i] = frame->origins[static_cast<size_t>(first + i)];
}
