// Bitmap contexts: creation, the graphics state, paths, fills, strokes and images.
#include "CGObjects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

using cgstub::userToRaster;

CGContext::~CGContext() {
  if (ownsData)
    free(data);
  CFRelease(space);
}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, uint32_t bitmapInfo) {
  CGPixelLayout layout;
  if (!space || width == 0 || height == 0 || bitsPerComponent != 8 ||
      !CGPixelLayout::fromBitmapInfo(bitmapInfo, layout) ||
      (layout.alpha >= 0 && !layout.premultiplied))
    return nullptr;
  if (width > (1u << 20) || height > (1u << 20))
    return nullptr;
  if (bytesPerRow == 0 && !data)
    bytesPerRow = width * 4;
  if (bytesPerRow < width * 4)
    return nullptr;
  auto* context = new CGContext;
  if (!data) {
    data = calloc(height, bytesPerRow);
    if (!data) {
      delete context;
      return nullptr;
    }
    context->ownsData = true;
  }
  context->data = static_cast<uint8_t*>(data);
  context->width = width;
  context->height = height;
  context->bytesPerRow = bytesPerRow;
  context->bitmapInfo = bitmapInfo;
  context->layout = layout;
  context->space = CGColorSpaceRetain(space);
  context->state.clip = {0, 0, static_cast<int>(width), static_cast<int>(height)};
  return context;
}

void* CGBitmapContextGetData(CGContextRef c) {
  return c ? c->data : nullptr;
}
size_t CGBitmapContextGetWidth(CGContextRef c) {
  return c ? c->width : 0;
}
size_t CGBitmapContextGetHeight(CGContextRef c) {
  return c ? c->height : 0;
}
size_t CGBitmapContextGetBytesPerRow(CGContextRef c) {
  return c ? c->bytesPerRow : 0;
}
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c) {
  return c ? c->bitmapInfo : 0;
}

CGImageRef CGBitmapContextCreateImage(CGContextRef context) {
  if (!context)
    return nullptr;
  auto* image = new CGImage;
  image->width = context->width;
  image->height = context->height;
  image->bytesPerRow = context->width * 4;
  image->bitmapInfo = context->bitmapInfo;
  image->layout = context->layout;
  image->ownPixels.resize(image->bytesPerRow * image->height);
  for (size_t y = 0; y < context->height; ++y)
    memcpy(&image->ownPixels[y * image->bytesPerRow], context->data + y * context->bytesPerRow,
           image->bytesPerRow);
  return image;
}

CGContextRef CGContextRetain(CGContextRef context) {
  CFRetain(context);
  return context;
}

void CGContextRelease(CGContextRef context) {
  CFRelease(context);
}

void CGContextSaveGState(CGContextRef c) {
  if (c)
    c->saved.push_back(c->state);
}

void CGContextRestoreGState(CGContextRef c) {
  if (!c || c->saved.empty())
    return;
  c->state = c->saved.back();
  c->saved.pop_back();
}

void CGContextConcatCTM(CGContextRef c, CGAffineTransform t) {
  if (c)
    c->state.ctm = CGAffineTransformConcat(t, c->state.ctm);
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) {
  CGContextConcatCTM(c, CGAffineTransform{1, 0, 0, 1, tx, ty});
}

void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy) {
  CGContextConcatCTM(c, CGAffineTransform{sx, 0, 0, sy, 0, 0});
}

void CGContextRotateCTM(CGContextRef c, CGFloat angle) {
  CGFloat s = std::sin(angle), k = std::cos(angle);
  CGContextConcatCTM(c, CGAffineTransform{k, s, -s, k, 0, 0});
}

CGAffineTransform CGContextGetCTM(CGContextRef c) {
  return c ? c->state.ctm : CGAffineTransformIdentity;
}

CGSize CGContextConvertSizeToDeviceSpace(CGContextRef c, CGSize size) {
  const CGAffineTransform t = CGContextGetCTM(c);
  return CGSizeMake(t.a * size.width + t.c * size.height, t.b * size.width + t.d * size.height);
}

CGRect CGContextConvertRectToDeviceSpace(CGContextRef c, CGRect rect) {
  const CGAffineTransform t = CGContextGetCTM(c);
  const CGPoint corners[] = {
      CGPointApplyAffineTransform(rect.origin, t),
      CGPointApplyAffineTransform(CGPointMake(rect.origin.x + rect.size.width, rect.origin.y), t),
      CGPointApplyAffineTransform(CGPointMake(rect.origin.x, rect.origin.y + rect.size.height), t),
      CGPointApplyAffineTransform(
          CGPointMake(rect.origin.x + rect.size.width, rect.origin.y + rect.size.height), t)};
  CGFloat left = corners[0].x, right = left, bottom = corners[0].y, top = bottom;
  for (const CGPoint& p : corners) {
    left = p.x < left ? p.x : left;
    right = p.x > right ? p.x : right;
    bottom = p.y < bottom ? p.y : bottom;
    top = p.y > top ? p.y : top;
  }
  return CGRectMake(left, bottom, right - left, top - bottom);
}

static void boundsInRaster(CGContextRef c, CGRect r, double& minX, double& minY, double& maxX,
                           double& maxY) {
  CGAffineTransform t = userToRaster(c);
  CGPoint corners[4] = {{r.origin.x, r.origin.y},
                        {r.origin.x + r.size.width, r.origin.y},
                        {r.origin.x, r.origin.y + r.size.height},
                        {r.origin.x + r.size.width, r.origin.y + r.size.height}};
  minX = minY = INFINITY;
  maxX = maxY = -INFINITY;
  for (CGPoint p : corners) {
    CGPoint q = CGPointApplyAffineTransform(p, t);
    minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
    minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
  }
}

static int roundedEdge(double v) {
  if (!(v > -1e9))
    return -1000000000;
  if (!(v < 1e9))
    return 1000000000;
  return static_cast<int>(std::floor(v + 0.5));
}

void CGContextClipToRect(CGContextRef c, CGRect rect) {
  if (!c)
    return;
  double minX, minY, maxX, maxY;
  boundsInRaster(c, rect, minX, minY, maxX, maxY);
  CGPixelRect& clip = c->state.clip;
  clip.left = std::max(clip.left, roundedEdge(minX));
  clip.top = std::max(clip.top, roundedEdge(minY));
  clip.right = std::min(clip.right, roundedEdge(maxX));
  clip.bottom = std::min(clip.bottom, roundedEdge(maxY));
  if (clip.empty())
    clip = {0, 0, 0, 0};
}

CGRect CGContextGetClipBoundingBox(CGContextRef c) {
  if (!c)
    return CGRectNull;
  const CGPixelRect& clip = c->state.clip;
  if (clip.empty())
    return CGRectNull;
  CGAffineTransform back = CGAffineTransformInvert(userToRaster(c));
  CGPoint a = CGPointApplyAffineTransform(CGPoint{double(clip.left), double(clip.top)}, back);
  CGPoint b = CGPointApplyAffineTransform(CGPoint{double(clip.right), double(clip.bottom)}, back);
  return CGRectMake(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                    std::fabs(b.y - a.y));
}

static void setComponents(CGFloat* out, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
  CGFloat in[4] = {r, g, b, a};
  for (int i = 0; i < 4; ++i)
    out[i] = std::isnan(in[i]) ? 0 : std::fmin(1.0, std::fmax(0.0, in[i]));
}

void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
  if (c)
    setComponents(c->state.fill, r, g, b, a);
}

void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
  if (c)
    setComponents(c->state.stroke, r, g, b, a);
}

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color) {
  if (c && color)
    setComponents(c->state.fill, color->components[0], color->components[1], color->components[2],
                  color->components[3]);
}

void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color) {
  if (c && color)
    setComponents(c->state.stroke, color->components[0], color->components[1], color->components[2],
                  color->components[3]);
}

void CGContextSetLineWidth(CGContextRef c, CGFloat width) {
  if (c && width >= 0)
    c->state.lineWidth = width;
}

void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias) {
  if (c)
    c->state.antialias = shouldAntialias;
}

// Paths.

static void pathMoveTo(CGPathData& path, CGPoint p) {
  path.subpaths.push_back({p});
  path.closed.push_back(false);
}

static void pathLineTo(CGPathData& path, CGPoint p) {
  if (path.subpaths.empty())
    pathMoveTo(path, p);
  else
    path.subpaths.back().push_back(p);
}

static void pathCurveTo(CGPathData& path, CGPoint p0, CGPoint c1, CGPoint c2, CGPoint p3) {
  constexpr int kSegments = 24;
  for (int i = 1; i <= kSegments; ++i) {
    double t = static_cast<double>(i) / kSegments, u = 1 - t;
    double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    pathLineTo(path, CGPoint{w0 * p0.x + w1 * c1.x + w2 * c2.x + w3 * p3.x,
                             w0 * p0.y + w1 * c1.y + w2 * c2.y + w3 * p3.y});
  }
}

static void pathAddRect(CGPathData& path, CGRect r) {
  double x0 = r.origin.x, y0 = r.origin.y;
  double x1 = x0 + r.size.width, y1 = y0 + r.size.height;
  pathMoveTo(path, {x0, y0});
  pathLineTo(path, {x1, y0});
  pathLineTo(path, {x1, y1});
  pathLineTo(path, {x0, y1});
  path.closed.back() = true;
}

static void pathAddEllipse(CGPathData& path, CGRect r) {
  constexpr double kappa = 0.5522847498307936;
  double rx = r.size.width / 2, ry = r.size.height / 2;
  double cx = r.origin.x + rx, cy = r.origin.y + ry;
  double kx = rx * kappa, ky = ry * kappa;
  pathMoveTo(path, {cx + rx, cy});
  pathCurveTo(path, {cx + rx, cy}, {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
  pathCurveTo(path, {cx, cy + ry}, {cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
  pathCurveTo(path, {cx - rx, cy}, {cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
  pathCurveTo(path, {cx, cy - ry}, {cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
  path.closed.back() = true;
}

void CGContextBeginPath(CGContextRef c) {
  if (c)
    c->path = CGPathData{};
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y) {
  if (!c)
    return;
  pathMoveTo(c->path, {x, y});
  c->pathStart = c->pathCurrent = {x, y};
}

void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y) {
  if (!c || c->path.subpaths.empty())
    return;
  pathLineTo(c->path, {x, y});
  c->pathCurrent = {x, y};
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                              CGFloat cp2y, CGFloat x, CGFloat y) {
  if (!c || c->path.subpaths.empty())
    return;
  pathCurveTo(c->path, c->pathCurrent, {cp1x, cp1y}, {cp2x, cp2y}, {x, y});
  c->pathCurrent = {x, y};
}

void CGContextAddLines(CGContextRef c, const CGPoint points[], size_t count) {
  if (!c || !points || count == 0)
    return;
  CGContextMoveToPoint(c, points[0].x, points[0].y);
  for (size_t i = 1; i < count; ++i)
    CGContextAddLineToPoint(c, points[i].x, points[i].y);
}

void CGContextAddRect(CGContextRef c, CGRect rect) {
  if (c)
    pathAddRect(c->path, rect);
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect rect) {
  if (c)
    pathAddEllipse(c->path, rect);
}

void CGContextClosePath(CGContextRef c) {
  if (!c || c->path.subpaths.empty())
    return;
  c->path.closed.back() = true;
  c->pathCurrent = c->pathStart;
}

bool CGContextIsPathEmpty(CGContextRef c) {
  return !c || c->path.subpaths.empty();
}

static std::vector<CGPoint> toRaster(const std::vector<CGPoint>& points, CGAffineTransform t) {
  std::vector<CGPoint> out;
  out.reserve(points.size());
  for (CGPoint p : points)
    out.push_back(CGPointApplyAffineTransform(p, t));
  return out;
}

static void fillPath(CGContextRef c, const CGPathData& path, bool evenOdd) {
  CGAffineTransform t = userToRaster(c);
  std::vector<std::vector<CGPoint>> polygons;
  for (const auto& sub : path.subpaths)
    if (sub.size() >= 3)
      polygons.push_back(toRaster(sub, t));
  cgstub::fillPolygons(c, polygons, c->state.fill, evenOdd);
}

// A stroke is the union of one rectangle per segment, each reaching half the line width past
// a joined end so that corners close. All rectangles turn the same way, so under the non-zero
// rule their overlaps stay filled.
static void strokePath(CGContextRef c, const CGPathData& path) {
  double half = c->state.lineWidth / 2;
  if (!(half > 0))
    return;
  CGAffineTransform t = userToRaster(c);
  std::vector<std::vector<CGPoint>> quads;
  for (size_t s = 0; s < path.subpaths.size(); ++s) {
    std::vector<CGPoint> pts = path.subpaths[s];
    bool closed = path.closed[s];
    if (closed && pts.size() > 1)
      pts.push_back(pts.front());
    size_t segments = pts.size() < 2 ? 0 : pts.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
      CGPoint a = pts[i], b = pts[i + 1];
      double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
      if (!(len > 0))
        continue;
      double ux = dx / len * half, uy = dy / len * half;
      bool joinedStart = closed || i > 0, joinedEnd = closed || i + 1 < segments;
      CGPoint p = joinedStart ? CGPoint{a.x - ux, a.y - uy} : a;
      CGPoint q = joinedEnd ? CGPoint{b.x + ux, b.y + uy} : b;
      std::vector<CGPoint> quad = {
          {p.x - uy, p.y + ux}, {q.x - uy, q.y + ux}, {q.x + uy, q.y - ux}, {p.x + uy, p.y - ux}};
      quad = toRaster(quad, t);
      double area = 0;
      for (size_t k = 0; k < 4; ++k)
        area += quad[k].x * quad[(k + 1) % 4].y - quad[(k + 1) % 4].x * quad[k].y;
      if (area < 0)
        std::reverse(quad.begin(), quad.end());
      quads.push_back(std::move(quad));
    }
  }
  cgstub::fillPolygons(c, quads, c->state.stroke, false);
}

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode) {
  if (!c)
    return;
  CGPathData path = std::move(c->path);
  c->path = CGPathData{};
  if (mode == kCGPathFill || mode == kCGPathFillStroke)
    fillPath(c, path, false);
  if (mode == kCGPathEOFill || mode == kCGPathEOFillStroke)
    fillPath(c, path, true);
  if (mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke)
    strokePath(c, path);
}

void CGContextFillPath(CGContextRef c) {
  CGContextDrawPath(c, kCGPathFill);
}
void CGContextEOFillPath(CGContextRef c) {
  CGContextDrawPath(c, kCGPathEOFill);
}
void CGContextStrokePath(CGContextRef c) {
  CGContextDrawPath(c, kCGPathStroke);
}

// The shape calls draw their own shape and leave the current path alone.
static void drawShape(CGContextRef c, CGRect rect, bool ellipse, CGPathDrawingMode mode) {
  if (!c)
    return;
  CGPathData shape;
  if (ellipse)
    pathAddEllipse(shape, rect);
  else
    pathAddRect(shape, rect);
  if (mode == kCGPathFill)
    fillPath(c, shape, false);
  else
    strokePath(c, shape);
}

void CGContextFillRect(CGContextRef c, CGRect rect) {
  drawShape(c, rect, false, kCGPathFill);
}
void CGContextStrokeRect(CGContextRef c, CGRect rect) {
  drawShape(c, rect, false, kCGPathStroke);
}
void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width) {
  if (!c)
    return;
  CGFloat old = c->state.lineWidth;
  CGContextSetLineWidth(c, width);
  drawShape(c, rect, false, kCGPathStroke);
  c->state.lineWidth = old;
}
void CGContextFillEllipseInRect(CGContextRef c, CGRect rect) {
  drawShape(c, rect, true, kCGPathFill);
}
void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect) {
  drawShape(c, rect, true, kCGPathStroke);
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint points[], size_t count) {
  if (!c || !points)
    return;
  CGPathData segments;
  for (size_t i = 0; i + 1 < count; i += 2) {
    pathMoveTo(segments, points[i]);
    pathLineTo(segments, points[i + 1]);
  }
  strokePath(c, segments);
}

CGMutablePathRef CGPathCreateMutable() {
  return new CGPath;
}

void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* transform, CGRect rect) {
  if (!path)
    return;
  pathAddRect(path->shape, rect);
  if (transform)
    for (CGPoint& p : path->shape.subpaths.back())
      p = CGPointApplyAffineTransform(p, *transform);
}

CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* transform) {
  CGMutablePathRef path = CGPathCreateMutable();
  CGPathAddRect(path, transform, rect);
  return path;
}

CGRect CGPathGetBoundingBox(CGPathRef path) {
  if (!path || path->shape.subpaths.empty())
    return CGRectNull;
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const auto& sub : path->shape.subpaths)
    for (CGPoint p : sub) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

void CGPathRelease(CGPathRef path) {
  CFRelease(path);
}

// Text state.

void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform t) {
  if (c)
    c->textMatrix = t;
}

CGAffineTransform CGContextGetTextMatrix(CGContextRef c) {
  return c ? c->textMatrix : CGAffineTransformIdentity;
}

void CGContextSetTextPosition(CGContextRef c, CGFloat x, CGFloat y) {
  if (!c)
    return;
  c->textMatrix.tx = x;
  c->textMatrix.ty = y;
}

CGPoint CGContextGetTextPosition(CGContextRef c) {
  return c ? CGPoint{c->textMatrix.tx, c->textMatrix.ty} : CGPoint{0, 0};
}

// Images.

CGDataProvider::~CGDataProvider() {
  if (release)
    release(info, data, size);
}

CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback release) {
  if (!data && size > 0)
    return nullptr;
  auto* provider = new CGDataProvider;
  provider->info = info;
  provider->data = data;
  provider->size = size;
  provider->release = release;
  return provider;
}

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider) {
  CFRetain(provider);
  return provider;
}

void CGDataProviderRelease(CGDataProviderRef provider) {
  CFRelease(provider);
}

const uint8_t* CGImage::pixels() const {
  return provider ? static_cast<const uint8_t*>(provider->data) : ownPixels.data();
}

CGImage::~CGImage() {
  CFRelease(provider);
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat*, bool, CGColorRenderingIntent) {
  CGPixelLayout layout;
  if (!space || !provider || width == 0 || height == 0 || bitsPerComponent != 8 ||
      bitsPerPixel != 32 || bytesPerRow < width * 4 ||
      !CGPixelLayout::fromBitmapInfo(bitmapInfo, layout))
    return nullptr;
  if (provider->size / bytesPerRow < height)
    return nullptr;
  auto* image = new CGImage;
  image->width = width;
  image->height = height;
  image->bytesPerRow = bytesPerRow;
  image->bitmapInfo = bitmapInfo;
  image->layout = layout;
  image->provider = CGDataProviderRetain(provider);
  return image;
}

CGImageRef CGImageRetain(CGImageRef image) {
  CFRetain(image);
  return image;
}

void CGImageRelease(CGImageRef image) {
  CFRelease(image);
}
size_t CGImageGetWidth(CGImageRef image) {
  return image ? image->width : 0;
}
size_t CGImageGetHeight(CGImageRef image) {
  return image ? image->height : 0;
}
size_t CGImageGetBytesPerRow(CGImageRef image) {
  return image ? image->bytesPerRow : 0;
}
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) {
  return image ? image->bitmapInfo : 0;
}

// Nearest-pixel sampling: a 1:1 draw copies pixels exactly.
void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image) {
  if (!c || !image || !(rect.size.width != 0) || !(rect.size.height != 0))
    return;
  double w = static_cast<double>(image->width), h = static_cast<double>(image->height);
  CGAffineTransform imageToUser = {rect.size.width / w,
                                   0,
                                   0,
                                   -rect.size.height / h,
                                   rect.origin.x,
                                   rect.origin.y + rect.size.height};
  CGAffineTransform imageToRaster = CGAffineTransformConcat(imageToUser, userToRaster(c));
  CGAffineTransform rasterToImage = CGAffineTransformInvert(imageToRaster);
  double minX, minY, maxX, maxY;
  boundsInRaster(c, rect, minX, minY, maxX, maxY);
  const CGPixelRect& clip = c->state.clip;
  int left = std::max(clip.left, roundedEdge(minX) - 1);
  int right = std::min(clip.right, roundedEdge(maxX) + 1);
  int top = std::max(clip.top, roundedEdge(minY) - 1);
  int bottom = std::min(clip.bottom, roundedEdge(maxY) + 1);
  const uint8_t* pixels = image->pixels();
  const CGPixelLayout& l = image->layout;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      CGPoint uv = CGPointApplyAffineTransform(CGPoint{x + 0.5, y + 0.5}, rasterToImage);
      if (!(uv.x >= 0 && uv.x < w && uv.y >= 0 && uv.y < h))
        continue;
      const uint8_t* p =
          pixels + static_cast<size_t>(uv.y) * image->bytesPerRow + static_cast<size_t>(uv.x) * 4;
      double a = l.alpha >= 0 ? p[l.alpha] / 255.0 : 1.0;
      if (a <= 0)
        continue;
      double r = p[l.red] / 255.0, g = p[l.green] / 255.0, b = p[l.blue] / 255.0;
      if (l.premultiplied) {
        r /= a, g /= a, b /= a;
      }
      CGFloat color[4] = {std::min(r, 1.0), std::min(g, 1.0), std::min(b, 1.0), a};
      cgstub::blendPixel(c, x, y, color, 1.0f);
    }
  }
}
