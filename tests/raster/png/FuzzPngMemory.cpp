// libFuzzer target: any bytes given to the memory loader give a bitmap or null, never a crash,
// a leak or output.
#include <cstddef>
#include <cstdint>

#include "raster/PIX_MemBitmap.h"
#include "raster/png/PIX_PNG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int length = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
  delete PIX_LoadPNGFromMemory(data, length, nullptr);
  PIX_MemBitmap given(3, 3, 4);
  PIX_LoadPNGFromMemory(data, length, &given);
  return 0;
}
