// Pens, brushes and fonts, selecting them into contexts and deleting them.
#include "gui/emulation/EmulationSupport.h"
#include "gui/emulation/FontNameCache.h"
#include "gui/emulation/RecordPools.h"

#include <cmath>
#include <cstring>
#include <string>

#include "AppKit/AppKit.h"

using winemu::isHandleValue;
using winemu::isLive;

namespace {

// The stock null pen and brush: live objects that draw nothing and are never freed.
GdiObject stockNullPen = {OBJ_PEN, 0, nullptr, -1, nullptr, 0, 0, nullptr, nullptr, 0};
GdiObject stockNullBrush = {OBJ_BRUSH, 0, nullptr, -1, nullptr, 0, 0, nullptr, nullptr, 0};

float fontSize(int height, int width) {
  float size = static_cast<float>(height == 0 ? width : height);
  if (size < 0)
    size = -size;
  if (size < 2 || size > 8192)
    size = 10;
  return size;
}

std::string composedName(const char* faceName, int weight, char italic) {
  std::string name = faceName ? std::string(faceName, strnlen(faceName, 899)) : std::string();
  if (weight >= FW_BOLD)
    name += " Bold";
  if (italic)
    name += " Italic";
  return name;
}

CFStringRef stringFromName(const std::string& name) {
  CFStringRef s = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
  return s ? s : CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingASCII);
}

// The platform name a composed name stands for, retained; null when there is none.
CFStringRef resolveFontName(const std::string& name) {
  winemu::FontNameCache& cache = winemu::FontNameCache::shared();
  if (CFStringRef cached = cache.copyValue(name.c_str()))
    return cached;
  CFStringRef resolved = stringFromName(name);
  if (resolved && std::floor(NSFoundationVersionNumber) > 945.0) {
    if (NSFont* font = NSFont::fontWithName(resolved, 10.0)) {
      if (CFStringRef postScript = CTFontCopyPostScriptName(font->ctFont())) {
        CFRelease(resolved);
        resolved = postScript;
      }
    }
  }
  cache.insert(name.c_str(), resolved);
  return resolved;
}

GdiObject* makeColoredObject(int32_t kind, int32_t widthOrStyle, COLORREF color, float alpha) {
  GdiObject* object = winemu::takeObjectRecord(kind);
  if (!object)
    return nullptr;
  object->widthOrStyle = widthOrStyle;
  object->color = winemu::makeColor(color, alpha);
  return object;
}

GdiObject** slotOf(DrawingContext* context, int32_t kind) {
  switch (kind) {
  case OBJ_PEN:
    return &context->selectedPen;
  case OBJ_BRUSH:
    return &context->selectedBrush;
  case OBJ_FONT:
    return &context->selectedFont;
  default:
    return nullptr;
  }
}

bool isLiveOfKind(const GdiObject* object, int32_t kind) {
  return isLive(object) && object->kind == kind;
}

} // namespace

HFONT CreateFont(int height, int width, int, int orientation, int weight, char italic, char, char,
                 char, char, char, char quality, char, const char* faceName) {
  GdiObject* font = winemu::takeObjectRecord(OBJ_FONT);
  if (!font)
    return nullptr;
  float size = fontSize(height, width);
  font->angle = static_cast<float>(orientation / 10.0);
  std::string name = composedName(faceName, weight, italic);
  CFStringRef resolved = name.empty() ? nullptr : resolveFontName(name);
  font->font = CTFontCreateWithName(resolved ? resolved : CFSTR(""), size, nullptr);
  CFRelease(resolved);
  if (!font->font) {
    if (NSFont* label = NSFont::labelFontOfSize(size))
      font->font = label->retain()->ctFont();
  }
  font->antialiasMode = quality == 3 || quality == 4 ? static_cast<uint8_t>(quality) : 0;
  return font;
}

HFONT CreateFontIndirect(const LOGFONT* f) {
  if (!f)
    return nullptr;
  char face[sizeof f->lfFaceName + 1] = {};
  memcpy(face, f->lfFaceName, sizeof f->lfFaceName);
  return CreateFont(f->lfHeight, f->lfWidth, 0, f->lfOrientation, f->lfWeight,
                    static_cast<char>(f->lfItalic), 0, 0, 0, 0, 0, static_cast<char>(f->lfQuality),
                    0, face);
}

HPEN CreatePen(int, int width, COLORREF color) {
  return makeColoredObject(OBJ_PEN, width < 0 ? 0 : width, color, 1.0f);
}

HPEN CreatePenAlpha(int, int width, COLORREF color, float alpha) {
  return makeColoredObject(OBJ_PEN, width < 0 ? 0 : width, color, alpha);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return makeColoredObject(OBJ_BRUSH, 0, color, 1.0f);
}

HBRUSH CreateSolidBrushAlpha(COLORREF color, float alpha) {
  return makeColoredObject(OBJ_BRUSH, 0, color, alpha);
}

HGDIOBJ GetStockObject(int id) {
  if (id == NULL_PEN)
    return &stockNullPen;
  if (id == NULL_BRUSH)
    return &stockNullBrush;
  return nullptr;
}

HGDIOBJ SelectObject(HDC context, HGDIOBJ object) {
  if (!isLive(context))
    return nullptr;
  uintptr_t value = reinterpret_cast<uintptr_t>(object);
  if (value >= OBJ_PEN && value <= OBJ_FONT) {
    int32_t kind = static_cast<int32_t>(value);
    GdiObject** slot = slotOf(context, kind);
    GdiObject* previous = *slot;
    *slot = nullptr;
    return isLiveOfKind(previous, kind) ? previous : object;
  }
  if (!isLive(object))
    return nullptr;
  GdiObject** slot = slotOf(context, object->kind);
  if (!slot)
    return nullptr;
  GdiObject* previous = *slot;
  *slot = object;
  if (isLiveOfKind(previous, object->kind))
    return previous;
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(object->kind));
}

void DeleteObject(HGDIOBJ object) {
  if (!isLive(object) || object == &stockNullPen || object == &stockNullBrush)
    return;
  if (object->extraReferences-- > 0)
    return;
  if (object->kind < OBJ_PEN || object->kind > OBJ_BITMAP) {
    object->extraReferences = 0;
    return;
  }
  if ((object->kind == OBJ_PEN || object->kind == OBJ_BRUSH) && object->widthOrStyle < 0) {
    object->extraReferences = 0;
    return;
  }
  CGColorRelease(object->color);
  CFRelease(object->font);
  if (object->kind == OBJ_BITMAP && object->widthOrStyle == 1)
    CGImageRelease(object->image);
  winemu::returnObjectRecord(object);
}

void AddObjectReference(HGDIOBJ object) {
  if (isLive(object) && isHandleValue(object))
    ++object->extraReferences;
}
