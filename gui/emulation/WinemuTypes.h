// The value types and constants of the Windows-style drawing interface.
#pragma once

#include <cstdint>

// Colour word 0x00RRGGBB.
typedef uint32_t COLORREF;

// RECT is the raster library's: left, top, right, bottom, right and bottom exclusive.
#include "raster/PIX_Rect.h"

struct POINT {
  int x, y;
};

struct TEXTMETRIC {
  int32_t tmHeight;
  int32_t tmAscent;
  int32_t tmDescent;
  int32_t tmInternalLeading;
  int32_t tmAveCharWidth;
};

struct LOGFONT {
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};

struct DrawingContext;
struct GdiObject;
typedef DrawingContext* HDC;
typedef GdiObject* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HBITMAP;

enum : int32_t { OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_FONT = 3, OBJ_BITMAP = 4 };

// Stock objects of GetStockObject.
enum : int { NULL_PEN = 1, NULL_BRUSH = 2 };

enum : int { TRANSPARENT = 0, OPAQUE = 1 };

// Font weights and qualities of CreateFont.
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
enum : int { NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4 };

// DrawText flags (the same bit values as the raster library's text flags).
enum : unsigned {
  DT_CALCRECT = 0x1,
  DT_VCENTER = 0x2,
  DT_CENTER = 0x4,
  DT_BOTTOM = 0x10,
  DT_RIGHT = 0x20,
  DT_SINGLELINE = 0x40,
  DT_NOPREFIX = 0x80,
  DT_NOCLIP = 0x100,
};

#define RGB(r, g, b)                                                                               \
  ((COLORREF)(((uint32_t)(uint8_t)(r) << 16) | ((uint32_t)(uint8_t)(g) << 8) | (uint8_t)(b)))
