#include "GuiTestSupport.h"

#include <cstdint>

#include "RgbaPng.h"

namespace guitest {

void SavePng(PIX_IBitmap* b, const std::string& path) {
  const int w = b->getWidth(), h = b->getHeight();
  std::vector<uint8_t> rgba;
  rgba.reserve(size_t(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const PIX_Pixel p = b->getBits()[y * b->getRowSpan() + x];
      rgba.insert(rgba.end(), {uint8_t(PIX_Red(p)), uint8_t(PIX_Green(p)), uint8_t(PIX_Blue(p)),
                               uint8_t(PIX_Alpha(p))});
    }
  }
  WriteRgbaPng(rgba, w, h, path);
}

void SaveRgbaPng(const std::vector<uint8_t>& rgba, int w, int h, const std::string& path) {
  WriteRgbaPng(rgba, w, h, path);
}

} // namespace guitest
