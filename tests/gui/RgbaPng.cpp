#include "RgbaPng.h"

#include <fstream>

#include <zlib.h>

namespace guitest {

void WriteRgbaPng(const std::vector<std::uint8_t>& rgba, int w, int h, const std::string& path) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0); // no filter
    raw.insert(raw.end(), rgba.begin() + size_t(y) * w * 4, rgba.begin() + size_t(y + 1) * w * 4);
  }
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> z(size);
  compress(z.data(), &size, raw.data(), raw.size());
  z.resize(size);
  std::ofstream out(path, std::ios::binary);
  auto put32 = [&](uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
      out.put(char(v >> s));
  };
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    put32(uint32_t(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.write(reinterpret_cast<const char*>(body.data()), std::streamsize(body.size()));
    put32(uint32_t(crc32(0, body.data(), uInt(body.size()))));
  };
  out.write("\x89PNG\r\n\x1a\n", 8);
  std::vector<uint8_t> header = {uint8_t(w >> 24),
                                 uint8_t(w >> 16),
                                 uint8_t(w >> 8),
                                 uint8_t(w),
                                 uint8_t(h >> 24),
                                 uint8_t(h >> 16),
                                 uint8_t(h >> 8),
                                 uint8_t(h),
                                 8,
                                 6,
                                 0,
                                 0,
                                 0};
  chunk("IHDR", header);
  chunk("IDAT", z);
  chunk("IEND", {});
}

} // namespace guitest
