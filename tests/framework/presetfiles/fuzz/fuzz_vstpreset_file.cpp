// A VST 3 preset file from outside: the list walk stays inside the image, and whatever the
// reader accepts writes back to an image that reads the same.
#include "framework/Vst3PresetFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Vst3PresetFile preset;
  if (!ReadVst3Preset(data, size, preset))
    return 0;
  if (preset.processorState.size() + preset.controllerState.size() + preset.info.size() > size)
    std::abort();
  FileBytes image;
  Vst3PresetFile again;
  if (!WriteVst3Preset(preset, image) || !ReadVst3Preset(image.data(), image.size(), again) ||
      again.classID != preset.classID || again.processorState != preset.processorState ||
      again.controllerState != preset.controllerState || again.info != preset.info)
    std::abort();
  return 0;
}
