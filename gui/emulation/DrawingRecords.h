// The records behind the drawing interface's handles. A context handle points to a
// DrawingContext, a pen, brush, font or bitmap handle to a GdiObject. The values 1, 2 and 3
// are never records: they stand for the default pen, brush and font, and no handle below 5 is
// taken for an object.
#pragma once

#include <cstdint>

#include "CoreGraphics/CoreGraphics.h"
#include "CoreText/CoreText.h"
#include "gui/emulation/WinemuTypes.h"

struct DrawingContext {
  // Stays the first field: the macOS back end reads it to make an image of the pixels.
  CGContextRef platformContext;
  void* pixelAllocation;  // the raw block of a memory context; null over a foreign CGContext
  GdiObject* selectedPen; // null for the defaults
  GdiObject* selectedBrush;
  GdiObject* selectedFont;
  COLORREF textColor;
  COLORREF backgroundColor;
  int32_t backgroundMode; // 1 fills behind text; anything else is transparent
  float currentX, currentY;
  uint8_t inPool; // set while the record waits in the free pool: treated as a null handle
  DrawingContext* poolNext;
  CGColorRef textCGColor;
};

struct GdiObject {
  int32_t kind; // OBJ_PEN, OBJ_BRUSH, OBJ_FONT or OBJ_BITMAP
  int32_t extraReferences;
  CGColorRef color; // of a pen or brush
  // Pen: line width (>= 0). Brush: 0. The stock null pen and brush: -1, drawing nothing.
  // Bitmap: 1 when the object owns its image.
  int32_t widthOrStyle;
  CGImageRef image; // of a bitmap
  float angle;      // a font's orientation in degrees; text drawing ignores it
  uint8_t inPool;
  GdiObject* poolNext;
  CTFontRef font;
  uint8_t antialiasMode; // 0 leaves the context alone, 3 switches antialiasing off, 4 on
};

namespace winemu {

inline bool isHandleValue(const void* handle) {
  return reinterpret_cast<uintptr_t>(handle) >= 5;
}
inline bool isLive(const DrawingContext* context) {
  return isHandleValue(context) && !context->inPool;
}
inline bool isLive(const GdiObject* object) {
  return isHandleValue(object) && !object->inPool;
}

} // namespace winemu
