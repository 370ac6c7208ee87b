// Bitmap objects and copying pixels between contexts.
#include "gui/emulation/EmulationSupport.h"
#include "gui/emulation/RecordPools.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <png.h>

using winemu::isLive;

namespace {

void freePixels(void*, const void* data, size_t) {
  free(const_cast<void*>(data));
}

bool isBitmap(const GdiObject* object) {
  return isLive(object) && object->kind == OBJ_BITMAP && object->image;
}

// Draws an image upright into a rectangle of a context whose user space runs y downwards.
void drawUpright(CGContextRef cg, CGImageRef image, CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  CGContextSaveGState(cg);
  CGContextTranslateCTM(cg, 0, 2 * y + h);
  CGContextScaleCTM(cg, 1, -1);
  CGContextDrawImage(cg, CGRectMake(x, y, w, h), image);
  CGContextRestoreGState(cg);
}

// An image over a part of a memory context's pixels (the pixels are not copied).
CGImageRef imageOfContextPart(HDC source, int& sx, int& sy, int& width, int& height) {
  if (!isLive(source) || !source->pixelAllocation)
    return nullptr;
  CGContextRef cg = source->platformContext;
  int sourceWidth = static_cast<int>(CGBitmapContextGetWidth(cg));
  int sourceHeight = static_cast<int>(CGBitmapContextGetHeight(cg));
  if (sx < 0 || sy < 0 || width < 1 || height < 1 || sx >= sourceWidth || sy >= sourceHeight)
    return nullptr;
  if (width > sourceWidth - sx)
    width = sourceWidth - sx;
  if (height > sourceHeight - sy)
    height = sourceHeight - sy;
  size_t rowBytes = CGBitmapContextGetBytesPerRow(cg);
  auto* first =
      static_cast<uint8_t*>(CGBitmapContextGetData(cg)) + size_t(sy) * rowBytes + size_t(sx) * 4;
  size_t bytes = size_t(height - 1) * rowBytes + size_t(width) * 4;
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, first, bytes, nullptr);
  CGImageRef image = CGImageCreate(size_t(width), size_t(height), 8, 32, rowBytes,
                                   GetDeviceColorSpace(), kCGImageAlphaNoneSkipFirst, provider,
                                   nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  return image;
}

} // namespace

HBITMAP CreateBitmapFromPixels(int width, int height, int, int bitsPerPixel, const void* pixels) {
  if (width < 1 || height < 1 || width > 32768 || height > 32768)
    return nullptr;
  bool alpha = bitsPerPixel == 32;
  size_t samples = alpha ? 4 : 3;
  size_t count = size_t(width) * size_t(height);
  auto* copy = static_cast<uint8_t*>(calloc(count, 4));
  if (!copy)
    return nullptr;
  if (pixels) {
    const auto* in = static_cast<const uint8_t*>(pixels);
    for (size_t i = 0; i < count; ++i) {
      memcpy(copy + i * 4, in + i * samples, samples);
      if (!alpha)
        copy[i * 4 + 3] = 255;
    }
  }
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, copy, count * 4, freePixels);
  CGImageRef image =
      CGImageCreate(size_t(width), size_t(height), 8, 32, size_t(width) * 4, GetDeviceColorSpace(),
                    alpha ? kCGImageAlphaLast : kCGImageAlphaNoneSkipLast, provider, nullptr, false,
                    kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  if (!image)
    return nullptr;
  GdiObject* bitmap = winemu::takeObjectRecord(OBJ_BITMAP);
  if (!bitmap) {
    CGImageRelease(image);
    return nullptr;
  }
  bitmap->image = image;
  bitmap->widthOrStyle = 1;
  return bitmap;
}

void DrawImage(HDC context, HBITMAP bitmap, const RECT* rect) {
  if (!isLive(context) || !isBitmap(bitmap) || !rect)
    return;
  drawUpright(context->platformContext, bitmap->image, rect->left, rect->top,
              rect->right - rect->left, rect->bottom - rect->top);
}

bool GetBitmapSize(HBITMAP bitmap, int* width, int* height) {
  if (!isBitmap(bitmap))
    return false;
  if (width)
    *width = static_cast<int>(CGImageGetWidth(bitmap->image));
  if (height)
    *height = static_cast<int>(CGImageGetHeight(bitmap->image));
  return true;
}

CGImageRef GetBitmapImage(HBITMAP bitmap) {
  return isBitmap(bitmap) ? bitmap->image : nullptr;
}

HBITMAP CopyBitmapObject(HBITMAP bitmap) {
  if (!isBitmap(bitmap))
    return nullptr;
  GdiObject* copy = winemu::takeObjectRecord(OBJ_BITMAP);
  if (!copy)
    return nullptr;
  copy->image = CGImageRetain(bitmap->image);
  copy->widthOrStyle = 1;
  return copy;
}

void StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sourceWidth, int sourceHeight, int) {
  if (!isLive(destination) || width < 1 || height < 1)
    return;
  int w = sourceWidth, h = sourceHeight;
  CGImageRef image = imageOfContextPart(source, sx, sy, w, h);
  if (!image)
    return;
  // A source cut at its edge keeps the scale of the whole request.
  CGFloat dw = width * double(w) / sourceWidth, dh = height * double(h) / sourceHeight;
  drawUpright(destination->platformContext, image, x, y, dw, dh);
  CGImageRelease(image);
}

void BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sx, int sy,
            int rop) {
  StretchBlt(destination, x, y, width, height, source, sx, sy, width, height, rop);
}

namespace {

std::string namedImagePath(const char* name) {
  CFURLRef url = CFBundleCopyBundleURL(CFBundleGetMainBundle());
  char folder[2048] = {};
  bool ok = url && CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(folder),
                                                    sizeof folder);
  if (url)
    CFRelease(url);
  if (!ok)
    return {};
  std::string path = std::string(folder) + "/Contents/Resources/" + name;
  if (!strchr(name, '.'))
    path += ".png";
  return path;
}

} // namespace

HBITMAP LoadNamedImage(const char* nameOrPath, bool makeTransparent) {
  if (!nameOrPath || !*nameOrPath)
    return nullptr;
  std::string path = strchr(nameOrPath, '/') ? nameOrPath : namedImagePath(nameOrPath);
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (path.empty() || !png_image_begin_read_from_file(&png, path.c_str()))
    return nullptr;
  png.format = PNG_FORMAT_RGBA;
  size_t bytes = PNG_IMAGE_SIZE(png);
  if (png.width > 32768 || png.height > 32768 || bytes == 0) {
    png_image_free(&png);
    return nullptr;
  }
  auto* pixels = static_cast<uint8_t*>(malloc(bytes));
  if (!pixels || !png_image_finish_read(&png, nullptr, pixels, 0, nullptr)) {
    png_image_free(&png);
    free(pixels);
    return nullptr;
  }
  if (makeTransparent)
    for (size_t i = 0; i < bytes; i += 4)
      if (pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255)
        pixels[i + 3] = 0;
  HBITMAP bitmap = CreateBitmapFromPixels(int(png.width), int(png.height), 1, 32, pixels);
  free(pixels);
  return bitmap;
}

struct WinemuImageList {
  std::vector<HBITMAP> images;
};

HIMAGELIST ImageList_Create(int, int, unsigned, int initial, int) {
  auto* list = new (std::nothrow) WinemuImageList;
  if (list && initial > 0 && initial < 4096)
    list->images.reserve(size_t(initial));
  return list;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP) {
  if (!list)
    return -1;
  HBITMAP copy = CopyBitmapObject(image);
  if (!copy)
    return -1;
  list->images.push_back(copy);
  return static_cast<int>(list->images.size()) - 1;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  return list ? static_cast<int>(list->images.size()) : 0;
}

HBITMAP ImageList_GetImage(HIMAGELIST list, int index) {
  if (!list || index < 0 || index >= ImageList_GetImageCount(list))
    return nullptr;
  return list->images[size_t(index)];
}

bool ImageList_Remove(HIMAGELIST list, int index) {
  if (!list)
    return false;
  if (index == -1) {
    for (HBITMAP b : list->images)
      DeleteObject(b);
    list->images.clear();
    return true;
  }
  if (index < 0 || index >= ImageList_GetImageCount(list))
    return false;
  DeleteObject(list->images[size_t(index)]);
  list->images.erase(list->images.begin() + index);
  return true;
}

void ImageList_Destroy(HIMAGELIST list) {
  if (!list)
    return;
  ImageList_Remove(list, -1);
  delete list;
}
