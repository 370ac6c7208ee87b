// Memory contexts, the record pools, pens, brushes, fonts, SelectObject and text metrics.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include <png.h>
#include <unistd.h>

#include "AppKit/AppKit.h"
#include "EmulationTestSupport.h"
#include "gui/emulation/FontNameCache.h"
#include "gui/emulation/RecordPools.h"

using emutest::pixelAt;

namespace {

HFONT makeFont(int height, const char* face, int weight = 400, char italic = 0, char quality = 0,
               int width = 0) {
  return CreateFont(height, width, 0, 0, weight, italic, 0, 0, 0, 0, 0, quality, 0, face);
}

// The family and PostScript name of a font, as "family/PostScript name".
std::string faceOf(CTFontRef font) {
  char family[128] = {}, postScript[128] = {};
  CFStringRef name = CTFontCopyFamilyName(font);
  CFStringGetCString(name, family, sizeof family, kCFStringEncodingUTF8);
  CFRelease(name);
  name = CTFontCopyPostScriptName(font);
  CFStringGetCString(name, postScript, sizeof postScript, kCFStringEncodingUTF8);
  CFRelease(name);
  std::string names = family;
  names += '/';
  names += postScript;
  return names;
}

std::string postScriptNameOf(HFONT font) {
  CFStringRef name = CTFontCopyPostScriptName(font->font);
  char buffer[256] = {};
  CFStringGetCString(name, buffer, sizeof buffer, kCFStringEncodingUTF8);
  CFRelease(name);
  return buffer;
}

TEST(MemoryContext, RowsAreFourBytesPerPixelTopRowFirstAndAligned) {
  HDC dc = CreateMemContext(nullptr, 3, 2);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(CGBitmapContextGetBytesPerRow(dc->platformContext), 12u);
  auto* bits = static_cast<uint8_t*>(GetContextPixelBuffer(dc));
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bits) % 64, 0u);
  for (int i = 0; i < 24; ++i)
    EXPECT_EQ(bits[i], 0) << i;
  EXPECT_EQ(GetTextColor(dc), 0u);

  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT topLeft{0, 0, 1, 1}, bottomRight{2, 1, 3, 2};
  FillRect(dc, &topLeft, red);
  FillRect(dc, &bottomRight, blue);
  // Bytes X, R, G, B; the skipped byte is left alone.
  EXPECT_EQ(bits[0], 0);
  EXPECT_EQ(bits[1], 255);
  EXPECT_EQ(bits[2], 0);
  EXPECT_EQ(bits[3], 0);
  EXPECT_EQ(bits[12 + 8 + 3], 255);
  EXPECT_EQ(bits[12 + 8 + 1], 0);
  for (int i : {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
    EXPECT_EQ(bits[i], 0) << i;
  DeleteObject(red);
  DeleteObject(blue);
  DeleteDC(dc);
}

TEST(MemoryContext, BadSizesGiveNull) {
  EXPECT_EQ(CreateMemContext(nullptr, 0, 5), nullptr);
  EXPECT_EQ(CreateMemContext(nullptr, 5, -1), nullptr);
  EXPECT_EQ(CreateMemContext(nullptr, 1 << 20, 1 << 20), nullptr); // would wrap int sizes
}

TEST(RecordPools, ReleasedContextsAreReusedAndAnswerZero) {
  HDC dc = CreateMemContext(nullptr, 4, 4);
  ASSERT_NE(dc, nullptr);
  DeleteDC(dc);
  // The released record waits in the pool: every call treats it as a null handle.
  EXPECT_EQ(GetContextPixelBuffer(dc), nullptr);
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(-1));
  HFONT font = makeFont(12, "Monaco");
  EXPECT_EQ(SelectObject(dc, font), nullptr);
  TEXTMETRIC tm;
  EXPECT_EQ(GetTextMetrics(dc, &tm), 0);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawText(dc, "x", -1, &r, DT_CALCRECT), 0);
  SetTextColor(dc, 0xFF);
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(-1));
  DeleteDC(dc); // a second delete is harmless
  HDC again = CreateMemContext(nullptr, 2, 2);
  EXPECT_EQ(again, dc); // the pooled record comes back
  EXPECT_EQ(GetTextColor(again), 0u);
  EXPECT_EQ(again->selectedFont, nullptr);
  DeleteDC(again);
  DeleteObject(font);
}

TEST(RecordPools, ContextPoolKeepsAtMostOneHundred) {
  std::vector<HDC> contexts;
  for (int i = 0; i < winemu::kContextPoolLimit + 1 + winemu::pooledContextCount(); ++i)
    contexts.push_back(CreateMemContext(nullptr, 1, 1));
  EXPECT_EQ(winemu::pooledContextCount(), 0);
  for (size_t i = 0; i < contexts.size(); ++i)
    DeleteDC(contexts[i]);
  EXPECT_EQ(winemu::pooledContextCount(), winemu::kContextPoolLimit);
}

TEST(RecordPools, ObjectPoolKeepsAtMostTwoHundred) {
  std::vector<HGDIOBJ> objects;
  for (int i = 0; i < winemu::kObjectPoolLimit + 5 + winemu::pooledObjectCount(); ++i)
    objects.push_back(CreatePen(0, 1, 0));
  EXPECT_EQ(winemu::pooledObjectCount(), 0);
  for (HGDIOBJ o : objects)
    DeleteObject(o);
  EXPECT_EQ(winemu::pooledObjectCount(), winemu::kObjectPoolLimit);
  HPEN reused = CreatePen(0, -3, 0);
  EXPECT_EQ(reused, objects[winemu::kObjectPoolLimit - 1]); // the last record pooled
  EXPECT_EQ(reused->widthOrStyle, 0);                       // width clamped, record cleared
  EXPECT_EQ(reused->extraReferences, 0);
  EXPECT_EQ(winemu::pooledObjectCount(), winemu::kObjectPoolLimit - 1);
  DeleteObject(reused);
}

TEST(Objects, DeleteHonoursExtraReferencesAndSparesStockObjects) {
  HBRUSH brush = CreateSolidBrush(0x123456);
  AddObjectReference(brush);
  DeleteObject(brush);
  EXPECT_EQ(brush->inPool, 0); // one extra reference kept it
  DeleteObject(brush);
  EXPECT_EQ(brush->inPool, 1);
  DeleteObject(brush); // pooled: ignored
  EXPECT_EQ(brush->inPool, 1);

  HGDIOBJ nullPen = GetStockObject(NULL_PEN), nullBrush = GetStockObject(NULL_BRUSH);
  EXPECT_EQ(nullPen->widthOrStyle, -1);
  EXPECT_EQ(nullBrush->widthOrStyle, -1);
  DeleteObject(nullPen);
  DeleteObject(nullBrush);
  EXPECT_EQ(nullPen->inPool, 0);
  EXPECT_EQ(nullBrush->inPool, 0);
  DeleteObject(nullptr);
  DeleteObject(reinterpret_cast<HGDIOBJ>(3));
  EXPECT_EQ(GetStockObject(7), nullptr);
}

TEST(SelectObject, ReturnsWhatRestoresThePreviousSelection) {
  HDC dc = CreateMemContext(nullptr, 4, 4);
  HFONT font = makeFont(12, "Arial");
  HPEN pen = CreatePen(0, 1, 0), pen2 = CreatePen(0, 2, 0);
  HBRUSH brush = CreateSolidBrush(0);
  HBITMAP bitmap = CreateBitmapFromPixels(1, 1, 1, 32, nullptr);
  HPEN pooled = CreatePen(0, 1, 0);
  DeleteObject(pooled);
  auto handle = [](uintptr_t v) { return reinterpret_cast<HGDIOBJ>(v); };

  struct Case {
    const char* what;
    HDC context;
    HGDIOBJ select;
    HGDIOBJ expected;
  };
  const Case cases[] = {
      {"font into a fresh context", dc, font, handle(OBJ_FONT)},
      {"font again", dc, font, font},
      {"default font back", dc, handle(3), font},
      {"default font into an empty slot", dc, handle(3), handle(3)},
      {"pen", dc, pen, handle(OBJ_PEN)},
      {"second pen", dc, pen2, pen},
      {"default pen", dc, handle(1), pen2},
      {"brush", dc, brush, handle(OBJ_BRUSH)},
      {"default brush", dc, handle(2), brush},
      {"bitmap", dc, bitmap, nullptr},
      {"null object", dc, nullptr, nullptr},
      {"pooled object", dc, pooled, nullptr},
      {"handle 4", dc, handle(4), nullptr},
      {"null context", nullptr, font, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SelectObject(c.context, c.select), c.expected) << c.what;
  EXPECT_EQ(dc->selectedFont, nullptr);
  EXPECT_EQ(dc->selectedPen, nullptr);
  EXPECT_EQ(dc->selectedBrush, nullptr);
  DeleteObject(font);
  DeleteObject(pen);
  DeleteObject(pen2);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(CreateFont, SizeRules) {
  struct Case {
    int height, width;
    double points;
  };
  const Case cases[] = {{0, 12, 12}, {-14, 0, 14},    {1, 0, 10},   {9000, 0, 10},
                        {2, 0, 2},   {8192, 0, 8192}, {0, -20, 20}, {0, 0, 10}};
  for (const Case& c : cases) {
    HFONT font = makeFont(c.height, "Monaco", 400, 0, 0, c.width);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->kind, OBJ_FONT);
    EXPECT_DOUBLE_EQ(CTFontGetSize(font->font), c.points) << c.height << " " << c.width;
    DeleteObject(font);
  }
}

TEST(CreateFont, OrientationAndQualityAreStored) {
  struct Case {
    int orientation;
    char quality;
    float angle;
    uint8_t mode;
  };
  const Case cases[] = {{900, 3, 90.0f, 3}, {-450, 4, -45.0f, 4}, {0, 5, 0.0f, 0}, {0, 0, 0, 0}};
  for (const Case& c : cases) {
    HFONT font = CreateFont(12, 0, 0, c.orientation, 400, 0, 0, 0, 0, 0, 0, c.quality, 0, "Arial");
    EXPECT_FLOAT_EQ(font->angle, c.angle);
    EXPECT_EQ(font->antialiasMode, c.mode);
    DeleteObject(font);
  }
}

// A composed name goes through the font name cache to the face the face-choice rule takes for
// the kind Monaco stands for, and a second font of the same name hits the cache.
TEST(CreateFont, ComposedNamesResolveThroughTheCache) {
  struct Case {
    int weight;
    char italic;
    const char* composed;
  };
  const Case cases[] = {{400, 0, "Monaco"},
                        {700, 0, "Monaco Bold"},
                        {400, 1, "Monaco Italic"},
                        {700, 1, "Monaco Bold Italic"}};
  const auto installed = emutest::installedFaces();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.composed);
    HFONT font = makeFont(12, "Monaco", c.weight, c.italic);
    CFStringRef cached = winemu::FontNameCache::shared().copyValue(c.composed);
    ASSERT_NE(cached, nullptr);
    char name[128] = {};
    CFStringGetCString(cached, name, sizeof name, kCFStringEncodingUTF8);
    CFRelease(cached);
    EXPECT_EQ(postScriptNameOf(font), name);
    // The cache keeps the PostScript name, which the font is then made from.
    std::string chosen =
        emutest::faceTheRuleChooses(installed, "monospace", c.weight >= 700, c.italic != 0);
    EXPECT_EQ(name, chosen.substr(chosen.find('/') + 1));

    int entries = winemu::FontNameCache::shared().count();
    HFONT again = makeFont(20, "Monaco", c.weight, c.italic);
    EXPECT_EQ(winemu::FontNameCache::shared().count(), entries); // a hit adds nothing
    EXPECT_EQ(postScriptNameOf(again), name);
    DeleteObject(font);
    DeleteObject(again);
  }
}

// Every platform family, generic name and installed family resolves, in every style, to the
// face the rule takes among the installed faces, whatever preferences fontconfig's
// configuration holds; a style that some face of the kind has is always honoured.
TEST(CreateFont, FacesFollowTheFaceChoiceRule) {
  const auto installed = emutest::installedFaces();
  struct Name {
    const char* name;
    const char* kindOrFamily;
  };
  const Name names[] = {
      {"Monaco", "monospace"},
      {"Menlo", "monospace"},
      {"Courier", "monospace"},
      {"Courier New", "monospace"},
      {"monospace", "monospace"},
      {"Arial", "sans-serif"},
      {"Helvetica", "sans-serif"},
      {"Helvetica Neue", "sans-serif"},
      {"Lucida Grande", "sans-serif"},
      {"sans-serif", "sans-serif"},
      {"Times", "serif"},
      {"Times New Roman", "serif"},
      {"DejaVu Sans", "DejaVu Sans"},
      {"DejaVu Sans Condensed", "DejaVu Sans Condensed"},
  };
  const struct {
    const char* words;
    bool bold, italic;
  } styles[] = {{"", false, false},
                {" Bold", true, false},
                {" Italic", false, true},
                {" Bold Oblique", true, true}};
  for (const Name& n : names)
    for (const auto& style : styles) {
      std::string name = std::string(n.name) + style.words;
      SCOPED_TRACE(name);
      std::string expected =
          emutest::faceTheRuleChooses(installed, n.kindOrFamily, style.bold, style.italic);
      CFStringRef cfName = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
      NSFont* shared = NSFont::fontWithName(cfName, 12);
      CTFontRef created = CTFontCreateWithName(cfName, 12, nullptr);
      CFRelease(cfName);
      ASSERT_NE(created, nullptr);
      if (expected.empty()) { // a family this machine lacks
        EXPECT_EQ(shared, nullptr);
        CFRelease(created);
        continue;
      }
      ASSERT_NE(shared, nullptr);
      EXPECT_EQ(faceOf(shared->ctFont()), expected);
      EXPECT_EQ(faceOf(created), expected);
      CFRelease(created);
    }

  // The PostScript name of any installed face names that face.
  for (const char* ps : {"DejaVuSansMono-Bold", "DejaVuSans"}) {
    CFStringRef cfName = CFStringCreateWithCString(nullptr, ps, kCFStringEncodingUTF8);
    CTFontRef font = CTFontCreateWithName(cfName, 12, nullptr);
    CFRelease(cfName);
    CFStringRef got = CTFontCopyPostScriptName(font);
    char name[128] = {};
    CFStringGetCString(got, name, sizeof name, kCFStringEncodingUTF8);
    EXPECT_STREQ(name, ps);
    CFRelease(got);
    CFRelease(font);
  }
  // A family nothing installed has: no shared font of that name.
  EXPECT_EQ(NSFont::fontWithName(CFSTR("No Such Family Anywhere"), 12), nullptr);
}

TEST(CreateFont, UnknownFacesAndEmptyNamesStillGiveAFont) {
  for (const char* face : {"No Such Font Anywhere", "", static_cast<const char*>(nullptr)}) {
    HFONT font = makeFont(12, face);
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->font, nullptr);
    DeleteObject(font);
  }
}

TEST(FontNameCache, KeepsKeysSortedAndReplacesValues) {
  winemu::FontNameCache cache;
  const char* keys[] = {"m", "b", "z", "a", "q"};
  for (const char* k : keys)
    cache.insert(k, CFSTR("first"));
  cache.insert("b", CFSTR("second"));
  EXPECT_EQ(cache.count(), 5);
  for (const char* k : keys) {
    CFStringRef v = cache.copyValue(k);
    ASSERT_NE(v, nullptr) << k;
    char text[16] = {};
    CFStringGetCString(v, text, sizeof text, kCFStringEncodingUTF8);
    EXPECT_STREQ(text, std::strcmp(k, "b") == 0 ? "second" : "first");
    CFRelease(v);
  }
  EXPECT_EQ(cache.copyValue("c"), nullptr);
  cache.insert("n", nullptr);
  EXPECT_EQ(cache.copyValue("n"), nullptr); // a null value counts as a miss

  // Many names, inserted out of order, past several steps of storage growth.
  for (int i = 0; i < 1000; ++i) {
    std::string key = "face " + std::to_string((i * 7919) % 1000);
    cache.insert(key.c_str(), CFSTR("x"));
  }
  EXPECT_EQ(cache.count(), 6 + 1000);
  for (int i = 0; i < 1000; ++i) {
    std::string key = "face " + std::to_string(i);
    CFStringRef v = cache.copyValue(key.c_str());
    ASSERT_NE(v, nullptr) << key;
    CFRelease(v);
  }
}

TEST(GetTextMetrics, DefaultsForBadArgumentsAndFontMetricsOtherwise) {
  TEXTMETRIC tm{};
  EXPECT_EQ(GetTextMetrics(nullptr, &tm), 0);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent, 12);
  EXPECT_EQ(tm.tmDescent, 4);
  EXPECT_EQ(tm.tmInternalLeading, 3);
  EXPECT_EQ(tm.tmAveCharWidth, 10);
  HDC dc = CreateMemContext(nullptr, 8, 8);
  EXPECT_EQ(GetTextMetrics(dc, nullptr), 0);

  for (double size : {10.0, 12.0, 25.0, 61.0}) {
    HFONT font = makeFont(static_cast<int>(size), "Monaco");
    SelectObject(dc, font);
    ASSERT_EQ(GetTextMetrics(dc, &tm), 1);
    emutest::FaceMetrics ft("monospace", size);
    int ascent = static_cast<int>(ft.ascent), descent = static_cast<int>(ft.descent);
    int leading = static_cast<int>(ft.leading);
    EXPECT_EQ(tm.tmAscent, ascent) << size;
    EXPECT_EQ(tm.tmDescent, descent) << size;
    EXPECT_EQ(tm.tmInternalLeading, leading) << size;
    EXPECT_EQ(tm.tmHeight, ascent + descent + leading + 1) << size;
    EXPECT_EQ(tm.tmAveCharWidth, (ascent + descent + leading) * 2 / 3) << size;
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
  }
  // No font selected: the 10-point label font.
  ASSERT_EQ(GetTextMetrics(dc, &tm), 1);
  emutest::FaceMetrics label("sans-serif", 10.0);
  EXPECT_EQ(tm.tmAscent, static_cast<int>(label.ascent));
  DeleteDC(dc);
}

TEST(GetTextFace, NamesTheFontCutToTheBuffer) {
  HDC dc = CreateMemContext(nullptr, 8, 8);
  HFONT font = makeFont(12, "Monaco");
  SelectObject(dc, font);
  char name[64];
  int length = GetTextFace(dc, sizeof name, name);
  EXPECT_GT(length, 0);
  EXPECT_EQ(static_cast<size_t>(length), strlen(name));
  EXPECT_NE(std::string(name).find("Mono"), std::string::npos) << name;
  char shortName[5];
  EXPECT_EQ(GetTextFace(dc, sizeof shortName, shortName), 4);
  EXPECT_EQ(std::string(shortName), std::string(name).substr(0, 4));
  EXPECT_EQ(GetTextFace(nullptr, sizeof name, name), 0);
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(3));
  DeleteObject(font);
  DeleteDC(dc);
}

TEST(SysColors, TableAndOutOfRange) {
  const COLORREF expected[10] = {0x606060, 0xE0E0E0, 0xC0C0C0, 0x000000, 0xC0C0C0,
                                 0x202020, 0x303030, 0xC0C0C0, 0xFFF0C8, 0x000000};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(GetSysColor(i), expected[i]);
  EXPECT_EQ(GetSysColor(10), 0u);
  EXPECT_EQ(GetSysColor(-1), 0u);
}

TEST(Shapes, FillsStrokesAndNullObjectsDrawNothing) {
  const int w = 20, h = 20;
  HDC dc = CreateMemContext(nullptr, w, h);
  emutest::fillWhite(dc, w, h);
  HBRUSH black = CreateSolidBrush(0);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 2, 2, 10, 10);
  Ellipse(dc, 2, 2, 10, 10);
  EXPECT_EQ(emutest::inkBounds(dc, w, h).right, 0); // nothing drawn

  SelectObject(dc, black);
  Rectangle(dc, 2, 3, 10, 12);
  RECT ink = emutest::inkBounds(dc, w, h);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.top, 3);
  EXPECT_EQ(ink.right, 10);
  EXPECT_EQ(ink.bottom, 12);
  EXPECT_EQ(pixelAt(dc, w, 5, 5).r, 0);

  emutest::fillWhite(dc, w, h);
  HPEN red = CreatePen(0, 1, RGB(255, 0, 0));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, red);
  MoveToEx(dc, 1, 4, nullptr);
  LineTo(dc, 15, 4);
  ink = emutest::inkBounds(dc, w, h);
  EXPECT_EQ(ink.top, 4);
  EXPECT_EQ(ink.bottom, 5);
  EXPECT_EQ(pixelAt(dc, w, 8, 4).g, 0);
  EXPECT_EQ(pixelAt(dc, w, 8, 4).r, 255);

  SelectObject(dc, reinterpret_cast<HGDIOBJ>(1));
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(2));
  DeleteObject(red);
  DeleteObject(black);
  DeleteDC(dc);
}

TEST(Bitmaps, CopyBetweenContextsKeepsPixelsAndOrientation) {
  HDC source = CreateMemContext(nullptr, 4, 3);
  HDC target = CreateMemContext(nullptr, 8, 8);
  auto* s = static_cast<uint8_t*>(GetContextPixelBuffer(source));
  for (int i = 0; i < 4 * 3; ++i) {
    s[i * 4 + 1] = static_cast<uint8_t>(i * 10);
    s[i * 4 + 2] = static_cast<uint8_t>(200 - i);
    s[i * 4 + 3] = static_cast<uint8_t>(i);
  }
  BitBlt(target, 2, 3, 4, 3, source, 0, 0, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      emutest::Pixel p = pixelAt(target, 8, x + 2, y + 3);
      int i = y * 4 + x;
      EXPECT_EQ(p.r, i * 10) << x << "," << y;
      EXPECT_EQ(p.g, 200 - i);
      EXPECT_EQ(p.b, i);
    }
  EXPECT_EQ(pixelAt(target, 8, 1, 3).r, 0);
  DeleteDC(source);
  DeleteDC(target);
}

TEST(Bitmaps, NamedImagesLoadAndMagentaBecomesTransparent) {
  const uint8_t rgba[] = {255, 0, 255, 255, 255, 0, 0, 255, 255, 0, 254, 255};
  std::string path = ::testing::TempDir() + "/orvane_named.png";
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr));
  struct Case {
    bool transparent;
    uint8_t firstRed, firstGreen;
  };
  for (Case c : {Case{true, 255, 255}, Case{false, 255, 0}}) {
    HBITMAP bitmap = LoadNamedImage(path.c_str(), c.transparent);
    ASSERT_NE(bitmap, nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(GetBitmapSize(bitmap, &w, &h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 1);
    HDC dc = CreateMemContext(nullptr, 3, 1);
    emutest::fillWhite(dc, 3, 1);
    RECT all{0, 0, 3, 1};
    DrawImage(dc, bitmap, &all);
    EXPECT_EQ(pixelAt(dc, 3, 0, 0).r, c.firstRed);
    EXPECT_EQ(pixelAt(dc, 3, 0, 0).g, c.firstGreen); // white shows through, or magenta
    EXPECT_EQ(pixelAt(dc, 3, 1, 0).g, 0);
    EXPECT_EQ(pixelAt(dc, 3, 2, 0).b, 254); // only pure magenta is keyed out
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(LoadNamedImage("/nonexistent/image.png", false), nullptr);
  EXPECT_EQ(LoadNamedImage("no_such_named_image", false), nullptr);
  unlink(path.c_str());
}

TEST(Bitmaps, ImageListsKeepCopies) {
  HIMAGELIST list = ImageList_Create(4, 4, 0, 2, 2);
  HBITMAP a = CreateBitmapFromPixels(2, 2, 1, 32, nullptr);
  HBITMAP b = CreateBitmapFromPixels(4, 1, 1, 24, nullptr);
  EXPECT_EQ(ImageList_Add(list, a, nullptr), 0);
  EXPECT_EQ(ImageList_Add(list, b, nullptr), 1);
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  DeleteObject(a); // the list keeps its own
  int w = 0, h = 0;
  EXPECT_TRUE(GetBitmapSize(ImageList_GetImage(list, 0), &w, &h));
  EXPECT_EQ(w, 2);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_TRUE(GetBitmapSize(ImageList_GetImage(list, 0), &w, &h));
  EXPECT_EQ(w, 4);
  EXPECT_FALSE(ImageList_Remove(list, 5));
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  ImageList_Destroy(list);
  DeleteObject(b);
}

} // namespace
