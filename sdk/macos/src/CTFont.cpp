// Fonts: names resolved through fontconfig, faces loaded with FreeType.
#include "CTObjects.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <fontconfig/fontconfig.h>

#include "AppKit/AppKit.h"
#include "LeakChecks.h"

namespace ctstub {

std::recursive_mutex& freetypeLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

static FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0)
      l = nullptr;
    return l;
  }();
  return lib;
}

// fontconfig loses a few small blocks while it parses its configuration files, once per
// process; under the leak checker they are not counted against the program.
static bool loadFontconfig() {
  cfstub::KeptForTheProcess kept;
  return FcInit();
}

// The process's current fontconfig configuration, loaded once.
static FcConfig* fontconfig() {
  static FcConfig* config = loadFontconfig() ? FcConfigGetCurrent() : nullptr;
  return config;
}

static std::string lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Platform font families and the installed kind that stands for each.
struct FamilyAlias {
  const char* platform;
  const char* generic;
  bool monospaced;
};
static const FamilyAlias kAliases[] = {
    {"monaco", "monospace", true},
    {"menlo", "monospace", true},
    {"courier", "monospace", true},
    {"courier new", "monospace", true},
    {"arial", "sans-serif", false},
    {"helvetica", "sans-serif", false},
    {"helvetica neue", "sans-serif", false},
    {"lucida grande", "sans-serif", false},
    {"times", "serif", false},
    {"times new roman", "serif", false},
};

static const FamilyAlias* aliasOf(const std::string& family) {
  std::string key = lower(family);
  for (const FamilyAlias& a : kAliases)
    if (key == a.platform)
      return &a;
  return nullptr;
}

static std::string stringOf(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
    return {};
  return reinterpret_cast<const char*>(value);
}

static bool faceFromPattern(FcPattern* font, CTFaceInfo& face) {
  face.file = stringOf(font, FC_FILE);
  if (face.file.empty())
    return false;
  int index = 0;
  face.index = FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
  face.family = stringOf(font, FC_FAMILY);
  face.fullName = stringOf(font, FC_FULLNAME);
  if (face.fullName.empty())
    face.fullName = face.family;
  return true;
}

static bool findByPostScriptName(const std::string& name, CTFaceInfo& face) {
  if (name.empty() || name.find(' ') != std::string::npos)
    return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_POSTSCRIPT_NAME, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcObjectSet* objects =
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_FULLNAME, FC_POSTSCRIPT_NAME, nullptr);
  FcFontSet* set = FcFontList(fontconfig(), pattern, objects);
  bool found = false;
  if (set) {
    for (int i = 0; i < set->nfont && !found; ++i)
      found = stringOf(set->fonts[i], FC_POSTSCRIPT_NAME) == name &&
              faceFromPattern(set->fonts[i], face);
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

// Splits trailing style words off a name: "Monaco Bold Italic" is Monaco, bold, italic.
static std::string splitStyle(const std::string& name, bool& bold, bool& italic) {
  std::string family = name;
  bold = italic = false;
  for (;;) {
    size_t space = family.find_last_of(' ');
    if (space == std::string::npos)
      break;
    std::string word = lower(family.substr(space + 1));
    if (word == "bold")
      bold = true;
    else if (word == "italic" || word == "oblique")
      italic = true;
    else if (word != "regular" && word != "book" && word != "roman")
      break;
    family.erase(space);
  }
  return family;
}

// Whether a face has the weight and slant asked for: bold or not, slanted or upright.
static bool hasStyle(FcPattern* font, bool bold, bool italic) {
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(font, FC_SLANT, 0, &slant);
  return (weight >= FC_WEIGHT_BOLD) == bold && (slant != FC_SLANT_ROMAN) == italic;
}

static bool isMonospaced(FcPattern* font) {
  int spacing = FC_PROPORTIONAL;
  return FcPatternGetInteger(font, FC_SPACING, 0, &spacing) == FcResultMatch &&
         (spacing == FC_MONO || spacing == FC_CHARCELL);
}

// The first face, in fontconfig's order of preference for the pattern, that has the requested
// style and is monospaced when that is asked for; null when none is. fontconfig's single best
// match ranks the family above the style, so a preferred family with no bold italic face would
// otherwise win over a later family that has one.
static FcPattern* firstFaceWithStyle(FcPattern* pattern, bool bold, bool italic, bool monospaced) {
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(fontconfig(), pattern, FcFalse, nullptr, &result);
  FcPattern* chosen = nullptr;
  for (int i = 0; sorted && i < sorted->nfont && !chosen; ++i) {
    FcPattern* font = sorted->fonts[i];
    if (hasStyle(font, bold, italic) && (!monospaced || isMonospaced(font)))
      chosen = FcFontRenderPrepare(fontconfig(), pattern, font);
  }
  if (sorted)
    FcFontSetDestroy(sorted);
  return chosen;
}

bool resolveFace(const std::string& name, bool exactFamily, CTFaceInfo& face) {
  if (!fontconfig())
    return false;
  if (findByPostScriptName(name, face))
    return true;
  bool bold, italic;
  std::string family = splitStyle(name, bold, italic);
  const FamilyAlias* alias = aliasOf(family);
  std::string wanted = alias ? alias->generic : family.empty() ? "sans-serif" : family;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (alias && alias->monospaced)
    FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcConfigSubstitute(fontconfig(), pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  // A platform family stands for a kind of face: any installed family of that kind that has the
  // style will do.
  FcPattern* match = alias ? firstFaceWithStyle(pattern, bold, italic, alias->monospaced) : nullptr;
  FcResult result = FcResultNoMatch;
  if (!match)
    match = FcFontMatch(fontconfig(), pattern, &result);
  bool found = match && faceFromPattern(match, face);
  if (found && exactFamily && !alias)
    found = lower(face.family) == lower(family);
  if (match)
    FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return found;
}

__CTFont* openFont(const CTFaceInfo& info, CGFloat size) {
  std::lock_guard<std::recursive_mutex> guard(freetypeLock());
  FT_Face face = nullptr;
  if (!library() || FT_New_Face(library(), info.file.c_str(), info.index, &face) != 0)
    return nullptr;
  if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  auto* font = new __CTFont;
  font->face = face;
  font->size = size;
  font->info = info;
  const char* ps = FT_Get_Postscript_Name(face);
  font->postScriptName = ps ? ps : info.family;
  // The line metrics of the horizontal header, scaled without hinting, as the platform reports.
  double scale = size / face->units_per_EM;
  font->ascent = face->ascender * scale;
  font->descent = -face->descender * scale;
  font->leading = std::max(0.0, (face->height - face->ascender + face->descender) * scale);
  return font;
}

FT_UInt glyphOf(const __CTFont* font, char32_t code) {
  std::lock_guard<std::recursive_mutex> guard(freetypeLock());
  return FT_Get_Char_Index(font->face, code);
}

double advanceOf(__CTFont* font, FT_UInt glyph) {
  std::lock_guard<std::recursive_mutex> guard(freetypeLock()); // also guards the advance cache
  auto known = font->advances.find(glyph);
  if (known != font->advances.end())
    return known->second;
  FT_Set_Transform(font->face, nullptr, nullptr);
  double advance = 0;
  if (FT_Load_Glyph(font->face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
    advance = font->face->glyph->linearHoriAdvance / 65536.0;
  font->advances.emplace(glyph, advance);
  return advance;
}

} // namespace ctstub

__CTFont::~__CTFont() {
  std::lock_guard<std::recursive_mutex> guard(ctstub::freetypeLock());
  if (face)
    FT_Done_Face(face);
}

CTFontRef CTFontCreateWithName(CFStringRef name, CGFloat size, const CGAffineTransform*) {
  if (!(size > 0))
    size = 12.0;
  CTFaceInfo face;
  if (!ctstub::resolveFace(cfstub::utf8Of(name), false, face) &&
      !ctstub::resolveFace("sans-serif", false, face))
    return nullptr;
  return ctstub::openFont(face, size);
}

CGFloat CTFontGetSize(CTFontRef font) {
  return font ? font->size : 0;
}
CGFloat CTFontGetAscent(CTFontRef font) {
  return font ? font->ascent : 0;
}
CGFloat CTFontGetDescent(CTFontRef font) {
  return font ? font->descent : 0;
}
CGFloat CTFontGetLeading(CTFontRef font) {
  return font ? font->leading : 0;
}

CFStringRef CTFontCopyPostScriptName(CTFontRef font) {
  return font ? cfstub::makeString(font->postScriptName) : nullptr;
}
CFStringRef CTFontCopyFamilyName(CTFontRef font) {
  return font ? cfstub::makeString(font->info.family) : nullptr;
}
CFStringRef CTFontCopyFullName(CTFontRef font) {
  return font ? cfstub::makeString(font->info.fullName) : nullptr;
}
CFStringRef CTFontCopyDisplayName(CTFontRef font) {
  return CTFontCopyFullName(font);
}

// NSFont: shared font objects, one per name and size, kept for the life of the process.

static NSFont* sharedFont(const std::string& name, double size, bool exactFamily) {
  static std::mutex lock;
  static auto* fonts = new std::unordered_map<std::string, __CTFont*>;
  if (!(size > 0))
    size = 12.0;
  std::string key = name + '\n' + std::to_string(size) + (exactFamily ? "" : "\n*");
  std::lock_guard<std::mutex> guard(lock);
  auto found = fonts->find(key);
  if (found != fonts->end())
    return reinterpret_cast<NSFont*>(found->second);
  CTFaceInfo face;
  __CTFont* font = nullptr;
  if (ctstub::resolveFace(name, exactFamily, face))
    font = ctstub::openFont(face, size);
  if (font)
    fonts->emplace(key, font);
  return reinterpret_cast<NSFont*>(font);
}

NSFont* NSFont::fontWithName(NSStringRef name, double size) {
  if (!name)
    return nullptr;
  return sharedFont(cfstub::utf8Of(name), size, true);
}

NSFont* NSFont::labelFontOfSize(double size) {
  return sharedFont("sans-serif", size, false);
}

NSFont* NSFont::retain() {
  CFRetain(ctFont());
  return this;
}

void NSFont::release() {
  CFRelease(ctFont());
}
