// Fonts: names resolved through fontconfig, faces loaded with FreeType.
#include "CTObjects.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

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

// The face a name stands for is chosen among the faces fontconfig lists, by this rule alone, so
// that it depends only on which faces are installed and not on the preferences that font
// packages add to fontconfig's configuration:
//  1. A PostScript name ("DejaVuSansMono-Bold") names that face (of several files that carry
//     the name, as one face in two formats does, the first by path and index).
//  2. Trailing words "Bold", "Italic" or "Oblique" ask for a style; "Regular", "Book" and
//     "Roman" are dropped.
//  3. A platform family stands for a kind of face: Monaco, Menlo, Courier and Courier New for
//     monospaced faces, Arial, Helvetica, Helvetica Neue and Lucida Grande for sans-serif ones,
//     Times and Times New Roman for serif ones; the generic names monospace, sans-serif and
//     serif stand for their kind too. The families tried are the kind's DejaVu family first
//     (DejaVu Sans Mono, DejaVu Sans, DejaVu Serif), then every other installed family in
//     order of name; for the monospaced kind, only faces fontconfig marks monospaced count,
//     while any is installed.
//  4. Any other name is a family name: the faces that have it among their family names.
// Of those faces the one taken has the requested style if any has it (bold is a weight of at
// least bold, italic any slant), then comes from the earliest family, then has the width
// nearest to normal and the weight nearest to regular or bold, then the first file and index.
// A platform family that the kind's DejaVu family serves is therefore drawn alike on every
// machine that has the DejaVu fonts, whatever else is installed.
enum class FaceKind { none, monospaced, sans, serif };

struct FamilyAlias {
  const char* platform;
  FaceKind kind;
};
static const FamilyAlias kAliases[] = {
    {"monaco", FaceKind::monospaced},
    {"menlo", FaceKind::monospaced},
    {"courier", FaceKind::monospaced},
    {"courier new", FaceKind::monospaced},
    {"monospace", FaceKind::monospaced},
    {"arial", FaceKind::sans},
    {"helvetica", FaceKind::sans},
    {"helvetica neue", FaceKind::sans},
    {"lucida grande", FaceKind::sans},
    {"sans-serif", FaceKind::sans},
    {"sans", FaceKind::sans},
    {"times", FaceKind::serif},
    {"times new roman", FaceKind::serif},
    {"serif", FaceKind::serif},
};

// The family each kind tries first; tools/setup.sh installs it.
static const char* preferredFamily(FaceKind kind) {
  switch (kind) {
  case FaceKind::monospaced:
    return "dejavu sans mono";
  case FaceKind::sans:
    return "dejavu sans";
  case FaceKind::serif:
    return "dejavu serif";
  case FaceKind::none:
    break;
  }
  return "";
}

static FaceKind kindOf(const std::string& family) {
  std::string key = lower(family);
  for (const FamilyAlias& a : kAliases)
    if (key == a.platform)
      return a.kind;
  return FaceKind::none;
}

static std::string stringOf(FcPattern* pattern, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value)
    return {};
  return reinterpret_cast<const char*>(value);
}

// An installed face as fontconfig lists it.
struct InstalledFace {
  CTFaceInfo info;
  std::string postScriptName;
  std::vector<std::string> families; // lower case; the first is the face's own family
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, width = FC_WIDTH_NORMAL;
  bool monospaced = false;
};

static std::vector<InstalledFace> listFaces() {
  std::vector<InstalledFace> faces;
  FcPattern* all = FcPatternCreate();
  FcObjectSet* objects =
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_FULLNAME, FC_POSTSCRIPT_NAME, FC_SPACING,
                       FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr);
  FcFontSet* set = FcFontList(fontconfig(), all, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    InstalledFace face;
    face.info.file = stringOf(font, FC_FILE);
    if (face.info.file.empty())
      continue;
    FcPatternGetInteger(font, FC_INDEX, 0, &face.info.index);
    face.info.family = stringOf(font, FC_FAMILY);
    face.info.fullName = stringOf(font, FC_FULLNAME);
    if (face.info.fullName.empty())
      face.info.fullName = face.info.family;
    face.postScriptName = stringOf(font, FC_POSTSCRIPT_NAME);
    for (int n = 0;; ++n) {
      std::string family = stringOf(font, FC_FAMILY, n);
      if (family.empty())
        break;
      face.families.push_back(lower(family));
    }
    FcPatternGetInteger(font, FC_WEIGHT, 0, &face.weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &face.slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &face.width);
    int spacing = FC_PROPORTIONAL;
    face.monospaced = FcPatternGetInteger(font, FC_SPACING, 0, &spacing) == FcResultMatch &&
                      (spacing == FC_MONO || spacing == FC_CHARCELL);
    faces.push_back(std::move(face));
  }
  if (set)
    FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(all);
  return faces;
}

// The installed faces, listed once for the process.
static const std::vector<InstalledFace>& installedFaces() {
  static const std::vector<InstalledFace>* faces = [] {
    cfstub::KeptForTheProcess kept;
    return new std::vector<InstalledFace>(listFaces());
  }();
  return *faces;
}

// Splits trailing style words off a name: "Monaco Bold Italic" is Monaco, bold, italic. The
// words stop at a platform family: "Times New Roman Bold" is Times New Roman, bold.
static std::string splitStyle(const std::string& name, bool& bold, bool& italic) {
  std::string family = name;
  bold = italic = false;
  while (kindOf(family) == FaceKind::none) { // "Times New Roman" is a family, not a style
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

// The face the rule above takes for a family or kind and a style; null when no face qualifies.
static const InstalledFace* chooseFace(const std::string& family, FaceKind kind, bool bold,
                                       bool italic) {
  const std::vector<InstalledFace>& faces = installedFaces();
  const std::string wanted = lower(family);
  bool anyMonospaced = false;
  for (const InstalledFace& f : faces)
    anyMonospaced |= f.monospaced;
  const bool onlyMonospaced = kind == FaceKind::monospaced && anyMonospaced;
  const int targetWeight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
  auto rank = [&](const InstalledFace& f) {
    bool styled = (f.weight >= FC_WEIGHT_BOLD) == bold && (f.slant != FC_SLANT_ROMAN) == italic;
    // The preferred family sorts before every name.
    std::string familyKey = f.families[0] == preferredFamily(kind) ? "" : "\x01" + f.families[0];
    return std::make_tuple(!styled, std::move(familyKey), std::abs(f.width - FC_WIDTH_NORMAL),
                           std::abs(f.weight - targetWeight), f.info.file, f.info.index);
  };
  const InstalledFace* best = nullptr;
  for (const InstalledFace& f : faces) {
    if (f.families.empty() || (onlyMonospaced && !f.monospaced))
      continue;
    if (kind == FaceKind::none &&
        std::find(f.families.begin(), f.families.end(), wanted) == f.families.end())
      continue;
    if (!best || rank(f) < rank(*best))
      best = &f;
  }
  return best;
}

bool resolveFace(const std::string& name, CTFaceInfo& face) {
  if (!fontconfig())
    return false;
  if (!name.empty() && name.find(' ') == std::string::npos) {
    const InstalledFace* named = nullptr; // of several files with the name, the first
    for (const InstalledFace& f : installedFaces())
      if (f.postScriptName == name && (!named || std::tie(f.info.file, f.info.index) <
                                                     std::tie(named->info.file, named->info.index)))
        named = &f;
    if (named) {
      face = named->info;
      return true;
    }
  }
  bool bold, italic;
  std::string family = splitStyle(name, bold, italic);
  FaceKind kind = family.empty() ? FaceKind::sans : kindOf(family);
  const InstalledFace* chosen = chooseFace(family, kind, bold, italic);
  if (!chosen)
    return false;
  face = chosen->info;
  return true;
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
  if (!ctstub::resolveFace(cfstub::utf8Of(name), face) && !ctstub::resolveFace("sans-serif", face))
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

static NSFont* sharedFont(const std::string& name, double size) {
  static std::mutex lock;
  static auto* fonts = new std::unordered_map<std::string, __CTFont*>;
  if (!(size > 0))
    size = 12.0;
  std::string key = name + '\n' + std::to_string(size);
  std::lock_guard<std::mutex> guard(lock);
  auto found = fonts->find(key);
  if (found != fonts->end())
    return reinterpret_cast<NSFont*>(found->second);
  CTFaceInfo face;
  __CTFont* font = nullptr;
  if (ctstub::resolveFace(name, face))
    font = ctstub::openFont(face, size);
  if (font)
    fonts->emplace(key, font);
  return reinterpret_cast<NSFont*>(font);
}

NSFont* NSFont::fontWithName(NSStringRef name, double size) {
  if (!name)
    return nullptr;
  return sharedFont(cfstub::utf8Of(name), size);
}

NSFont* NSFont::labelFontOfSize(double size) {
  return sharedFont("sans-serif", size);
}

NSFont* NSFont::retain() {
  CFRetain(ctFont());
  return this;
}

void NSFont::release() {
  CFRelease(ctFont());
}
