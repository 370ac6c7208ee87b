// Base64 text of a preset blob decoded into a buffer of the size the first byte picks;
// guard bytes around the buffer catch any write outside it.
#include "framework/Base64.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const int outSize = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<uint8_t> buffer(size_t(outSize) + 32, 0xA5);
  const int written = DecodeBase64(text.c_str(), buffer.data() + 16, outSize);
  if (written < 0 || written > outSize || written > int(text.size()))
    std::abort();
  for (int i = 0; i < 16; ++i) {
    if (buffer[size_t(i)] != 0xA5 || buffer[size_t(16 + outSize + i)] != 0xA5)
      std::abort();
  }
  return 0;
}
