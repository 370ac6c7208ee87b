#include "tests/hosts/x11/Image.h"

#include <png.h>

#include <cstdio>
#include <unordered_set>

namespace orvane::x11host {

size_t Image::differingPixels(const Image& other) const {
  if (width != other.width || height != other.height)
    return std::max(pixels.size(), other.pixels.size());
  size_t count = 0;
  for (size_t i = 0; i < pixels.size(); ++i)
    count += (pixels[i] & 0xFFFFFF) != (other.pixels[i] & 0xFFFFFF);
  return count;
}

size_t Image::colourCount() const {
  std::unordered_set<std::uint32_t> colours;
  for (std::uint32_t p : pixels)
    colours.insert(p & 0xFFFFFF);
  return colours.size();
}

bool Image::savePng(const std::string& path) const {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = at(x, y);
      row[size_t(x) * 3] = png_byte(p >> 16);
      row[size_t(x) * 3 + 1] = png_byte(p >> 8);
      row[size_t(x) * 3 + 2] = png_byte(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

} // namespace orvane::x11host
