// A screenshot: 8-bit RGB pixels as 0x00RRGGBB words, row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::x11host {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Image() = default;
  Image(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}

  std::uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
  std::uint32_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  bool empty() const { return pixels.empty(); }

  // Pixels that differ from `other` (every pixel when the sizes differ).
  size_t differingPixels(const Image& other) const;
  // Number of distinct colours (a blank window has one).
  size_t colourCount() const;
  // Writes an RGB PNG; false when the file cannot be written.
  bool savePng(const std::string& path) const;
};

} // namespace orvane::x11host
