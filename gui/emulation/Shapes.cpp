// Rectangles, ellipses, polygons, lines and curves with the selected pen and brush.
#include "gui/emulation/EmulationSupport.h"

#include "Carbon/Carbon.h"

#include <vector>

using winemu::isLive;

namespace {

bool drawsFill(const GdiObject* brush) {
  return isLive(brush) && brush->kind == OBJ_BRUSH && brush->widthOrStyle >= 0 && brush->color;
}

bool drawsStroke(const GdiObject* pen) {
  return isLive(pen) && pen->kind == OBJ_PEN && pen->widthOrStyle >= 0 && pen->color;
}

// Fills the current path with the brush and strokes it with the pen, each when it draws.
void paintPath(DrawingContext* context, CGFloat minimumWidth) {
  CGContextRef cg = context->platformContext;
  bool fill = drawsFill(context->selectedBrush), stroke = drawsStroke(context->selectedPen);
  if (fill)
    CGContextSetFillColorWithColor(cg, context->selectedBrush->color);
  if (stroke) {
    CGContextSetStrokeColorWithColor(cg, context->selectedPen->color);
    CGFloat width = context->selectedPen->widthOrStyle;
    CGContextSetLineWidth(cg, width < minimumWidth ? minimumWidth : width);
  }
  if (fill || stroke)
    CGContextDrawPath(cg, fill && stroke ? kCGPathFillStroke : fill ? kCGPathFill : kCGPathStroke);
  else
    CGContextBeginPath(cg);
}

CGFloat halfPenWidth(const DrawingContext* context) {
  return drawsStroke(context->selectedPen) ? context->selectedPen->widthOrStyle * 0.5 : 0.5;
}

} // namespace

void FillRect(HDC context, const RECT* rect, HBRUSH brush) {
  if (!isLive(context) || !rect || !drawsFill(brush))
    return;
  CGContextSetFillColorWithColor(context->platformContext, brush->color);
  CGContextFillRect(
      context->platformContext,
      CGRectMake(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
}

void Rectangle(HDC context, int left, int top, int right, int bottom) {
  if (!isLive(context))
    return;
  CGContextRef cg = context->platformContext;
  if (drawsFill(context->selectedBrush)) {
    CGContextSetFillColorWithColor(cg, context->selectedBrush->color);
    CGContextFillRect(cg, CGRectMake(left, top, right - left, bottom - top));
  }
  if (drawsStroke(context->selectedPen)) {
    int width = context->selectedPen->widthOrStyle;
    CGFloat w = width < 2 ? 1 : width;
    CGContextSetStrokeColorWithColor(cg, context->selectedPen->color);
    // Inset by half the line so that the stroke stays inside the rectangle's pixels.
    CGContextStrokeRectWithWidth(
        cg, CGRectMake(left + w / 2, top + w / 2, right - left - w, bottom - top - w), w);
  }
}

void Ellipse(HDC context, int left, int top, int right, int bottom) {
  if (!isLive(context))
    return;
  CGContextBeginPath(context->platformContext);
  CGContextAddEllipseInRect(context->platformContext,
                            CGRectMake(left, top, right - left, bottom - top));
  paintPath(context, 0);
}

void RoundRect(HDC context, int left, int top, int right, int bottom, int width, int height) {
  if (!isLive(context))
    return;
  CGFloat cx = width / 3.0, cy = height / 3.0;
  CGPoint points[10] = {{left + cx, double(top)},     {right - cx, double(top)},
                        {double(right), top + cy},    {double(right), bottom - cy},
                        {right - cx, double(bottom)}, {left + cx, double(bottom)},
                        {double(left), bottom - cy},  {double(left), top + cy},
                        {left + cx, double(top)},     {left + cx, double(top)}};
  CGContextBeginPath(context->platformContext);
  CGContextAddLines(context->platformContext, points, 10);
  CGContextClosePath(context->platformContext);
  paintPath(context, 1);
}

void Polygon(HDC context, const POINT* points, int count) {
  if (!isLive(context) || !points || count < 2)
    return;
  CGContextRef cg = context->platformContext;
  CGContextBeginPath(cg);
  CGContextMoveToPoint(cg, points[0].x, points[0].y);
  for (int i = 1; i < count; ++i)
    CGContextAddLineToPoint(cg, points[i].x, points[i].y);
  CGContextClosePath(cg);
  paintPath(context, 1);
}

void MoveToEx(HDC context, int x, int y, POINT* oldPoint) {
  if (!isLive(context))
    return;
  if (oldPoint)
    *oldPoint = POINT{static_cast<int>(context->currentX), static_cast<int>(context->currentY)};
  context->currentX = static_cast<float>(x);
  context->currentY = static_cast<float>(y);
}

void LineTo(HDC context, int x, int y) {
  if (!isLive(context) || !drawsStroke(context->selectedPen))
    return;
  CGContextRef cg = context->platformContext;
  CGFloat offset = halfPenWidth(context);
  CGContextBeginPath(cg);
  CGContextMoveToPoint(cg, context->currentX + offset, context->currentY + offset);
  CGContextAddLineToPoint(cg, x + offset, y + offset);
  CGContextSetStrokeColorWithColor(cg, context->selectedPen->color);
  CGFloat width = context->selectedPen->widthOrStyle;
  CGContextSetLineWidth(cg, width < 1 ? 1 : width);
  CGContextStrokePath(cg);
  context->currentX = static_cast<float>(x);
  context->currentY = static_cast<float>(y);
}

void PolyBezierTo(HDC context, const POINT* points, int count) {
  if (!isLive(context) || !points || count < 3 || !drawsStroke(context->selectedPen))
    return;
  CGContextRef cg = context->platformContext;
  CGContextBeginPath(cg);
  CGContextMoveToPoint(cg, context->currentX, context->currentY);
  int i = 0;
  for (; i + 2 < count; i += 3)
    CGContextAddCurveToPoint(cg, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y,
                             points[i + 2].x, points[i + 2].y);
  CGContextSetStrokeColorWithColor(cg, context->selectedPen->color);
  CGFloat width = context->selectedPen->widthOrStyle;
  CGContextSetLineWidth(cg, width < 1 ? 1 : width);
  CGContextStrokePath(cg);
  context->currentX = static_cast<float>(points[i - 1].x);
  context->currentY = static_cast<float>(points[i - 1].y);
}

void PolyPolyline(HDC context, const POINT* points, const int* counts, int count) {
  if (!isLive(context) || !points || !counts || count < 1 || !drawsStroke(context->selectedPen))
    return;
  CGContextRef cg = context->platformContext;
  CGContextBeginPath(cg);
  const POINT* p = points;
  for (int line = 0; line < count; ++line) {
    int n = counts[line];
    if (n < 0)
      return;
    for (int i = 0; i < n; ++i) {
      if (i == 0)
        CGContextMoveToPoint(cg, p[i].x + 0.5, p[i].y + 0.5);
      else
        CGContextAddLineToPoint(cg, p[i].x + 0.5, p[i].y + 0.5);
    }
    p += n;
  }
  CGContextSetStrokeColorWithColor(cg, context->selectedPen->color);
  CGFloat width = context->selectedPen->widthOrStyle;
  CGContextSetLineWidth(cg, width < 1 ? 1 : width);
  CGContextStrokePath(cg);
}

void SetPixel(HDC context, int x, int y, COLORREF color) {
  if (!isLive(context))
    return;
  CGContextRef cg = context->platformContext;
  CGColorRef c = winemu::makeColor(color);
  CGContextSaveGState(cg);
  CGContextSetStrokeColorWithColor(cg, c);
  CGContextSetLineWidth(cg, 1);
  CGContextBeginPath(cg);
  CGContextMoveToPoint(cg, x, y);
  CGContextAddLineToPoint(cg, x + 1, y + 1);
  CGContextStrokePath(cg);
  CGContextRestoreGState(cg);
  CGColorRelease(c);
}

void FillThemeBackground(HDC context, const RECT* rect) {
  if (!isLive(context) || !rect)
    return;
  CGContextRef cg = context->platformContext;
  CGContextSaveGState(cg);
  HIThemeSetFill(kThemeBrushDialogBackgroundActive, nullptr, cg, kHIThemeOrientationNormal);
  CGContextFillRect(
      cg, CGRectMake(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
  CGContextRestoreGState(cg);
}
