#pragma once
// Writes RGBA rows (8 bits a channel, rows top down, no padding) as a PNG file, for renders
// the tests leave to look at.

#include <cstdint>
#include <string>
#include <vector>

namespace guitest {

void WriteRgbaPng(const std::vector<std::uint8_t>& rgba, int width, int height,
                  const std::string& path);

} // namespace guitest
