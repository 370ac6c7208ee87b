// Stand-in for the CoreText calls the drawing emulation makes: fonts by name with their
// metrics, lines of attributed text measured and drawn into a CoreGraphics context, and
// frames that break text into lines. Fonts come from fontconfig and are rasterised with
// FreeType, so metrics and glyphs are those of real installed fonts. One point is one pixel.
#pragma once

#include "CoreFoundation/CoreFoundation.h"
#include "CoreGraphics/CoreGraphics.h"

typedef const struct __CTFont* CTFontRef;
typedef const struct __CTLine* CTLineRef;
typedef const struct __CTFramesetter* CTFramesetterRef;
typedef const struct __CTFrame* CTFrameRef;

// Attribute keys of attributed strings: the font (a CTFont) and the text colour (a CGColor;
// black when absent).
extern const CFStringRef kCTFontAttributeName;
extern const CFStringRef kCTForegroundColorAttributeName;

// Resolves a PostScript name ("DejaVuSans-Bold") or a family with style words
// ("Monaco Bold Italic"). A name nothing matches gives the system's default face, as on the
// platform; null comes back only when no font can be loaded at all.
CTFontRef CTFontCreateWithName(CFStringRef name, CGFloat size, const CGAffineTransform* matrix);
CGFloat CTFontGetSize(CTFontRef font);
CGFloat CTFontGetAscent(CTFontRef font);
CGFloat CTFontGetDescent(CTFontRef font);
CGFloat CTFontGetLeading(CTFontRef font);
CFStringRef CTFontCopyPostScriptName(CTFontRef font);
CFStringRef CTFontCopyFamilyName(CTFontRef font);
CFStringRef CTFontCopyFullName(CTFontRef font);
CFStringRef CTFontCopyDisplayName(CTFontRef font);

// A line never breaks; line feeds are laid out as zero-width characters.
CTLineRef CTLineCreateWithAttributedString(CFAttributedStringRef string);
// Returns the typographic width; ascent, descent and leading are those of the line's font.
double CTLineGetTypographicBounds(CTLineRef line, CGFloat* ascent, CGFloat* descent,
                                  CGFloat* leading);
CFIndex CTLineGetGlyphCount(CTLineRef line);
// Draws at the context's text position through the text matrix and the CTM.
void CTLineDraw(CTLineRef line, CGContextRef context);

// Frames break text at line feeds (and carriage returns, U+2028, U+2029) and at spaces when a
// line is wider than the path's bounding box.
CTFramesetterRef CTFramesetterCreateWithAttributedString(CFAttributedStringRef string);
CTFrameRef CTFramesetterCreateFrame(CTFramesetterRef framesetter, CFRange range, CGPathRef path,
                                    CFDictionaryRef attributes);
CFArrayRef CTFrameGetLines(CTFrameRef frame);
// Baseline origins relative to the path's bounding box, y upwards from its bottom.
void CTFrameGetLineOrigins(CTFrameRef frame, CFRange range, CGPoint origins[]);
