// A .tfx file from outside: whatever the reader accepts writes back to an image that reads
// the same.
#include "framework/TfxFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfxFile preset;
  if (!ReadTfx(data, size, preset))
    return 0;
  if (preset.processorState.size() + preset.controllerState.size() + 104 != size)
    std::abort();
  const FileBytes image = WriteTfx(preset);
  TfxFile again;
  if (!ReadTfx(image.data(), image.size(), again) || again.makerID != preset.makerID ||
      again.uniqueID != preset.uniqueID || again.category != preset.category ||
      again.processorState != preset.processorState ||
      again.controllerState != preset.controllerState)
    std::abort();
  return 0;
}
