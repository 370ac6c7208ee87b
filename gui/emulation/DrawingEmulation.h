// A small Windows-GDI-style drawing interface on CoreGraphics and CoreText: memory contexts
// with a pixel buffer, pens, brushes, fonts and bitmaps, text colour and background mode, text
// metrics and a DrawText that measures and draws a string in a rectangle. The raster library
// keeps its system bitmaps in memory contexts and its cached font rasterises text here.
//
// Calls on a null context, or on a released one that waits in the pool, do nothing and
// return 0; so do calls on null and released objects.
#pragma once

#include "CoreGraphics/CoreGraphics.h"
#include "gui/emulation/PlatformSupport.h"
#include "gui/emulation/DrawingRecords.h"
#include "gui/emulation/WinemuTypes.h"

class NSGraphicsContext;

// Contexts.
CGColorSpaceRef GetDeviceColorSpace();
// A context over a zero-filled 64-byte-aligned pixel buffer whose pixels lie in memory as
// X, R, G, B, with user-space y running downwards (memory row 0 is the top row). The
// reference context is ignored. Null on failure.
HDC CreateMemContext(HDC reference, int width, int height);
void* GetContextPixelBuffer(HDC context);
void DeleteDC(HDC context);
// A context over a CGContext made elsewhere (a view's graphics port), without its own buffer.
HDC WrapGraphicsContext(CGContextRef graphicsPort);
HDC WrapGraphicsContext(NSGraphicsContext* context);

// What a view that paints itself answers (getWinemuPaintInfo:): the context it paints into.
struct WinemuPaintInfo {
  CGContextRef context;
};
class WinemuPaintInfoSource {
public:
  virtual bool getWinemuPaintInfo(WinemuPaintInfo* info) = 0;

protected:
  ~WinemuPaintInfoSource() = default;
};

// Contexts over a view's graphics port while it draws (its paint info when it gives one, else
// the current graphics context), and over a window's backing store in window points from its
// content view's origin. Each is given back with ReleaseDC, which restores the port's state.
HDC GetWindowContext(HWND view);
HDC GetWindowDC(HWND window);
void ReleaseDC(HWND window, HDC context);
// True when a view's or window's backing scale exceeds 1.9 (a double-density display).
bool IsRetinaWindow(HWND viewOrWindow);
void SetTextColor(HDC context, COLORREF color);
COLORREF GetTextColor(HDC context); // -1 for a bad context
void SetBkColor(HDC context, COLORREF color);
void SetBkMode(HDC context, int mode);
void SaveDC(HDC context);
void RestoreDC(HDC context, int which);
void ClipToRect(HDC context, const RECT* rect);

// Objects.
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, char italic,
                 char underline, char strikeout, char charset, char outputPrecision,
                 char clipPrecision, char quality, char pitchAndFamily, const char* faceName);
HFONT CreateFontIndirect(const LOGFONT* font);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenAlpha(int style, int width, COLORREF color, float alpha);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateSolidBrushAlpha(COLORREF color, float alpha);
HGDIOBJ GetStockObject(int id);
HGDIOBJ SelectObject(HDC context, HGDIOBJ object);
void DeleteObject(HGDIOBJ object);
void AddObjectReference(HGDIOBJ object);

// Text.
int GetTextMetrics(HDC context, TEXTMETRIC* metrics);
int DrawText(HDC context, const char* text, int count, RECT* rect, unsigned flags);
int GetTextFace(HDC context, int size, char* buffer);
COLORREF GetSysColor(int index);

// Shapes, filled with the selected brush and stroked with the selected pen.
void FillRect(HDC context, const RECT* rect, HBRUSH brush);
void Rectangle(HDC context, int left, int top, int right, int bottom);
void Ellipse(HDC context, int left, int top, int right, int bottom);
void RoundRect(HDC context, int left, int top, int right, int bottom, int width, int height);
void Polygon(HDC context, const POINT* points, int count);
void MoveToEx(HDC context, int x, int y, POINT* oldPoint);
void LineTo(HDC context, int x, int y);
void PolyBezierTo(HDC context, const POINT* points, int count);
void PolyPolyline(HDC context, const POINT* points, const int* counts, int count);
void SetPixel(HDC context, int x, int y, COLORREF color);
void FillThemeBackground(HDC context, const RECT* rect);

// Bitmaps.
HBITMAP CreateBitmapFromPixels(int width, int height, int planes, int bitsPerPixel,
                               const void* pixels);
void DrawImage(HDC context, HBITMAP bitmap, const RECT* rect);
bool GetBitmapSize(HBITMAP bitmap, int* width, int* height);
CGImageRef GetBitmapImage(HBITMAP bitmap);
HBITMAP CopyBitmapObject(HBITMAP bitmap);
// Copies (or scales) a memory context's pixels into another context.
void BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
            int rop);
void StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sourceWidth, int sourceHeight, int rop);
bool IsRetinaContext(HDC context);
// A bitmap object from a PNG file (a name with '/') or a named image of the main bundle's
// resources; with makeTransparent, pure magenta pixels become transparent. Null on failure.
HBITMAP LoadNamedImage(const char* nameOrPath, bool makeTransparent);

// Growable lists of bitmap objects; each list keeps its own copy of what is added.
typedef struct WinemuImageList* HIMAGELIST;
HIMAGELIST ImageList_Create(int width, int height, unsigned flags, int initial, int grow);
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask); // the index, -1 on failure
int ImageList_GetImageCount(HIMAGELIST list);
HBITMAP ImageList_GetImage(HIMAGELIST list, int index);
bool ImageList_Remove(HIMAGELIST list, int index); // -1 clears the list
void ImageList_Destroy(HIMAGELIST list);
