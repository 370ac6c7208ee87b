// Text metrics, measuring and drawing text in a rectangle, and the system colours.
#include "gui/emulation/EmulationSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "AppKit/AppKit.h"

using winemu::isLive;

namespace {

constexpr int kTextBufferSize = 4095;

struct PreparedText {
  char bytes[kTextBufferSize + 1];
  int length = 0;
  bool multiLine = false;
};

// Copies the caller's text under the prefix, carriage-return and line-feed rules. Never reads
// past count bytes, and never cuts a multi-byte character when the buffer fills.
void prepareText(const char* text, int count, unsigned flags, PreparedText& out) {
  out.length = 0;
  out.multiLine = false;
  bool literal = false;
  for (int i = 0; (count < 0 || i < count) && text[i] != 0; ++i) {
    char c = text[i];
    if (c == '\r')
      continue;
    if (c == '&' && !(flags & DT_NOPREFIX) && !literal) {
      literal = true;
      continue;
    }
    literal = false;
    if (c == '\n') {
      if (flags & DT_SINGLELINE)
        c = ' ';
      else
        out.multiLine = true;
    }
    if (out.length == kTextBufferSize)
      break;
    out.bytes[out.length++] = c;
  }
  if (out.length == kTextBufferSize) {
    // Drop a multi-byte character the limit cut in two.
    int end = out.length;
    int start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(out.bytes[start]) & 0xC0) == 0x80)
      --start;
    unsigned lead = static_cast<unsigned char>(out.bytes[start]);
    int need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (end - start < need)
      out.length = start;
  }
  out.bytes[out.length] = 0;
}

CFStringRef makeString(const char* bytes) {
  CFStringRef s = CFStringCreateWithCString(nullptr, bytes, kCFStringEncodingUTF8);
  return s ? s : CFStringCreateWithCString(nullptr, bytes, kCFStringEncodingASCII);
}

int lineHeightForMeasure(CGFloat ascent, CGFloat descent, CGFloat leading) {
  return static_cast<int>(std::floor(ascent + descent + leading + 1.5));
}

struct Layout {
  CTLineRef line = nullptr;   // single-line text
  CTFrameRef frame = nullptr; // multi-line text
  int width = 0;
  int height = 0;
  ~Layout() {
    if (line)
      CFRelease(line);
    if (frame)
      CFRelease(frame);
  }
};

void measure(CFAttributedStringRef string, bool multiLine, Layout& layout) {
  if (!multiLine) {
    layout.line = CTLineCreateWithAttributedString(string);
    CGFloat a = 0, d = 0, l = 0;
    double w = CTLineGetTypographicBounds(layout.line, &a, &d, &l);
    layout.width = static_cast<int>(std::floor(w + 0.5));
    layout.height = lineHeightForMeasure(a, d, l);
    return;
  }
  CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
  CGPathRef path = CGPathCreateWithRect(CGRectMake(0, 0, 100000, 100000), nullptr);
  layout.frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
  CGPathRelease(path);
  CFRelease(framesetter);
  CFArrayRef lines = CTFrameGetLines(layout.frame);
  for (CFIndex i = 0; i < CFArrayGetCount(lines); ++i) {
    auto line = static_cast<CTLineRef>(CFArrayGetValueAtIndex(lines, i));
    CGFloat a = 0, d = 0, l = 0;
    double w = CTLineGetTypographicBounds(line, &a, &d, &l);
    layout.width = std::max(layout.width, static_cast<int>(std::floor(w + 0.5)));
    layout.height += lineHeightForMeasure(a, d, l);
  }
}

void fillBackground(CGContextRef cg, CGColorRef background, CGFloat x, CGFloat y, CGFloat w,
                    CGFloat h) {
  if (!background)
    return;
  CGContextSetFillColorWithColor(cg, background);
  CGContextFillRect(cg, CGRectMake(x, y, w, h));
}

void drawLayout(DrawingContext* context, CTFontRef font, const Layout& layout, int x, int y,
                CGColorRef background) {
  CGContextRef cg = context->platformContext;
  if (layout.line) {
    fillBackground(cg, background, x, y, layout.width, layout.height + 1);
    CGContextSetTextPosition(cg, x, y + CTFontGetAscent(font));
    CTLineDraw(layout.line, cg);
    return;
  }
  CFArrayRef lines = CTFrameGetLines(layout.frame);
  CGFloat lineY = y;
  for (CFIndex i = 0; i < CFArrayGetCount(lines); ++i) {
    auto line = static_cast<CTLineRef>(CFArrayGetValueAtIndex(lines, i));
    CGFloat a = 0, d = 0, l = 0;
    double w = CTLineGetTypographicBounds(line, &a, &d, &l);
    fillBackground(cg, background, x, lineY, w, a + d + l);
    CGContextSetTextPosition(cg, x, lineY + a);
    CTLineDraw(line, cg);
    lineY += std::floor(a + d + l + 0.5);
  }
}

} // namespace

namespace winemu {

CTFontRef fallbackFont() {
  static CTFontRef font = [] {
    NSFont* label = NSFont::labelFontOfSize(10.0);
    return label ? label->retain()->ctFont() : nullptr;
  }();
  return font;
}

CTFontRef textFontOf(const DrawingContext* context) {
  if (isLive(context) && isLive(context->selectedFont) && context->selectedFont->font)
    return context->selectedFont->font;
  return fallbackFont();
}

} // namespace winemu

int GetTextMetrics(HDC context, TEXTMETRIC* metrics) {
  if (!metrics)
    return 0;
  *metrics = TEXTMETRIC{16, 12, 4, 3, 10};
  if (!isLive(context))
    return 0;
  CTFontRef font = winemu::textFontOf(context);
  if (!font)
    return 1;
  metrics->tmInternalLeading = static_cast<int32_t>(CTFontGetLeading(font));
  metrics->tmAscent = static_cast<int32_t>(CTFontGetAscent(font));
  metrics->tmDescent = static_cast<int32_t>(CTFontGetDescent(font));
  int32_t height = metrics->tmAscent + metrics->tmDescent + metrics->tmInternalLeading;
  metrics->tmAveCharWidth = height * 2 / 3;
  metrics->tmHeight = height != 0 ? height + 1 : 0;
  return 1;
}

int DrawText(HDC context, const char* text, int count, RECT* rect, unsigned flags) {
  if (!isLive(context) || !text || !rect)
    return 0;
  PreparedText prepared;
  prepareText(text, count, flags, prepared);
  if (prepared.length == 0)
    return 0;
  CTFontRef font = winemu::textFontOf(context);
  if (!font)
    return 0;
  CFStringRef string = makeString(prepared.bytes);
  if (!string)
    return 0;
  const void* keys[2] = {kCTFontAttributeName, kCTForegroundColorAttributeName};
  const void* values[2] = {font, context->textCGColor};
  CFDictionaryRef attributes =
      CFDictionaryCreate(nullptr, keys, values, context->textCGColor ? 2 : 1,
                         &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFAttributedStringRef attributed = CFAttributedStringCreate(nullptr, string, attributes);
  CFRelease(attributes);
  CFRelease(string);

  Layout layout;
  measure(attributed, prepared.multiLine, layout);
  CFRelease(attributed);
  int W = layout.width;
  int H = layout.height != 0 ? layout.height + 1 : 0;
  if (flags & DT_CALCRECT) {
    rect->right = rect->left + W;
    rect->bottom = rect->top + H;
    return H;
  }

  int x = rect->left, y = rect->top;
  if (flags & DT_RIGHT)
    x = rect->right - W;
  else if (flags & DT_CENTER)
    x = rect->left + ((rect->right - rect->left) / 2 - W / 2);
  if (flags & DT_BOTTOM)
    y = rect->bottom - H;
  else if (flags & DT_VCENTER)
    y = rect->top + ((rect->bottom - rect->top) / 2 - H / 2);

  CGContextRef cg = context->platformContext;
  CGContextSaveGState(cg);
  CGContextSetTextMatrix(cg, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
  if (!(flags & DT_NOCLIP))
    CGContextClipToRect(
        cg, CGRectMake(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
  CGColorRef background =
      context->backgroundMode == OPAQUE ? winemu::makeColor(context->backgroundColor) : nullptr;
  if (isLive(context->selectedFont) && context->selectedFont->antialiasMode != 0)
    CGContextSetShouldAntialias(cg, context->selectedFont->antialiasMode == 4);
  drawLayout(context, font, layout, x, y, background);
  CGContextRestoreGState(cg);
  CGColorRelease(background);
  return H;
}

int GetTextFace(HDC context, int size, char* buffer) {
  if (!isLive(context) || !buffer || size < 1)
    return 0;
  CTFontRef font = winemu::textFontOf(context);
  CFStringRef name = font ? CTFontCopyDisplayName(font) : nullptr;
  buffer[0] = 0;
  if (!name)
    return 0;
  CFIndex bytes =
      CFStringGetMaximumSizeForEncoding(CFStringGetLength(name), kCFStringEncodingUTF8) + 1;
  std::string whole(static_cast<size_t>(bytes), '\0');
  int length = 0;
  if (CFStringGetCString(name, whole.data(), bytes, kCFStringEncodingUTF8)) {
    length = static_cast<int>(std::min<size_t>(strlen(whole.c_str()), size_t(size - 1)));
    // Cut at a character boundary.
    while (length > 0 && length < static_cast<int>(strlen(whole.c_str())) &&
           (static_cast<unsigned char>(whole[length]) & 0xC0) == 0x80)
      --length;
    memcpy(buffer, whole.data(), static_cast<size_t>(length));
    buffer[length] = 0;
  }
  CFRelease(name);
  return length;
}

COLORREF GetSysColor(int index) {
  static const COLORREF table[10] = {0x606060, 0xE0E0E0, 0xC0C0C0, 0x000000, 0xC0C0C0,
                                     0x202020, 0x303030, 0xC0C0C0, 0xFFF0C8, 0x000000};
  return index >= 0 && index < 10 ? table[index] : 0;
}
