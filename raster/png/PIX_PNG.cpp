#include "raster/png/PIX_PNG.h"

#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <png.h>

#include "CoreFoundation/CoreFoundation.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/png/PIX_ImageLoader.h"

namespace {

// libpng's default handlers print to the host's stderr; these stay silent. An error returns to
// the setjmp point of the load.
void quietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void quietWarning(png_structp, png_const_charp) {}

struct MemoryReadState {
  const uint8_t* data;
  int32_t remaining;
};

// Past the end the reader yields zero bytes; libpng then fails on the chunk checksums.
void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* state = static_cast<MemoryReadState*>(png_get_io_ptr(png));
  size_t available = state->remaining > 0 ? static_cast<size_t>(state->remaining) : 0;
  size_t n = count < available ? count : available;
  if (n > 0) {
    memcpy(out, state->data, n);
    state->data += n;
    state->remaining -= static_cast<int32_t>(n);
  }
  if (n < count)
    memset(out + n, 0, count - n);
}

void setTransformations(png_structp png, png_infop info, int bitDepth, int colorType) {
  bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    alpha = true;
  }
  if (bitDepth == 16)
    png_set_strip_16(png);
  if (bitDepth < 8)
    png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if (alpha)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
}

// A bitmap of exactly the image's size with room for its rows, or null.
PIX_IBitmap* targetBitmap(PIX_IBitmap* given, int width, int height) {
  PIX_IBitmap* bitmap = given;
  if (given)
    given->resize(width, height);
  else
    bitmap = new (std::nothrow) PIX_MemBitmap(width, height, 4);
  if (!bitmap)
    return nullptr;
  if (bitmap->getWidth() != width || bitmap->getHeight() != height || !bitmap->getBits() ||
      bitmap->getRowSpan() < width) {
    if (!given)
      delete bitmap;
    return nullptr;
  }
  return bitmap;
}

// Reads the image after the input is set up. Every libpng error comes back to the setjmp
// below; the locals it changes afterwards are volatile so that their values survive the jump.
PIX_IBitmap* decode(png_structp png, png_infop info, PIX_IBitmap* given) {
  PIX_IBitmap* volatile made = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    free(rows);
    delete made;
    return nullptr;
  }
  png_set_user_limits(png, PIX_PNGMaxSide, PIX_PNGMaxSide);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (width < 1 || height < 1 || width > PIX_PNGMaxSide || height > PIX_PNGMaxSide ||
      int64_t(width) * int64_t(height) * 4 > PIX_PNGMaxBytes)
    return nullptr;
  setTransformations(png, info, bitDepth, colorType);

  PIX_IBitmap* bitmap = targetBitmap(given, int(width), int(height));
  if (!bitmap)
    return nullptr;
  if (bitmap != given)
    made = bitmap;
  rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * height));
  if (!rows) {
    delete made;
    return nullptr;
  }
  PIX_Pixel* bits = bitmap->getBits();
  ptrdiff_t span = bitmap->getRowSpan();
  for (png_uint_32 y = 0; y < height; ++y) {
    ptrdiff_t row = bitmap->isFlipped() ? ptrdiff_t(height - 1 - y) : ptrdiff_t(y);
    rows[y] = reinterpret_cast<png_bytep>(bits + row * span);
  }
  png_read_image(png, rows);
  free(rows);
  return bitmap;
}

png_structp createReader(png_infop& info) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
  info = png ? png_create_info_struct(png) : nullptr;
  if (png && !info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  return png;
}

bool endsInPng(const char* name) {
  const char* start = name;
  for (const char* p = name; *p; ++p)
    if (*p == '.' || *p == '/' || *p == '\\')
      start = p;
  if (strlen(start) != 4)
    return false;
  const char want[] = ".png";
  for (int i = 0; i < 4; ++i)
    if (std::tolower(static_cast<unsigned char>(start[i])) != want[i])
      return false;
  return true;
}

} // namespace

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap) {
  if (!path)
    return nullptr;
  FILE* file = fopen(path, "rb");
  if (!file)
    return nullptr;
  png_infop info = nullptr;
  png_structp png = createReader(info);
  PIX_IBitmap* result = nullptr;
  if (png) {
    png_init_io(png, file);
    result = decode(png, info, bitmap);
    png_destroy_read_struct(&png, &info, nullptr);
  }
  fclose(file);
  return result;
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, int length, PIX_IBitmap* bitmap) {
  if (!data || length < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
    return nullptr;
  png_infop info = nullptr;
  png_structp png = createReader(info);
  if (!png)
    return nullptr;
  MemoryReadState state{static_cast<const uint8_t*>(data), length};
  png_set_read_fn(png, &state, readFromMemory);
  PIX_IBitmap* result = decode(png, info, bitmap);
  png_destroy_read_struct(&png, &info, nullptr);
  return result;
}

PIX_IBitmap* PIX_LoadPNGResource(const char* name, PIX_IBitmap* bitmap) {
  if (!name || strlen(name) > 400)
    return nullptr;
  CFBundleRef bundle = CFBundleGetMainBundle();
  if (!bundle)
    return nullptr;
  CFURLRef url = CFBundleCopyBundleURL(bundle);
  if (!url)
    return nullptr;
  char path[1536];
  bool ok = CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path),
                                             sizeof path - 420);
  CFRelease(url);
  if (!ok)
    return nullptr;
  strcat(path, "/Contents/Resources/");
  strcat(path, name);
  return PIX_LoadPNG(path, bitmap);
}

PIX_IBitmap* PIX_PNGLoaderLoad(const char* name, bool check, PIX_IBitmap* bitmap) {
  if (!name || (check && !endsInPng(name)))
    return nullptr;
  return PIX_LoadPNG(name, bitmap);
}

const char* PIX_PNGLoaderDescription() {
  return "PNG files (*.PNG)";
}

int PIX_PNGLoaderSave(const char*, const PIX_IBitmap*) {
  return 0;
}

PIX_ImageLoader* PIX_ImageLoaderList = nullptr;

namespace {

PIX_ImageLoader pngLoader = {PIX_PNGLoaderLoad, PIX_PNGLoaderDescription, nullptr};

// Puts the PNG decoder on the front of the loader list when the program loads.
struct PngLoaderRegistration {
  PngLoaderRegistration() {
    pngLoader.next = PIX_ImageLoaderList;
    PIX_ImageLoaderList = &pngLoader;
  }
} registration;

} // namespace
