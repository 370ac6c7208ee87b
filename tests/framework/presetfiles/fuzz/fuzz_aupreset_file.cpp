// An Audio Unit preset from outside, through the property-list parser and the Base64 text
// decoder: whatever the reader accepts writes back to a list that reads the same.
#include "framework/AuPresetFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AuPresetFile preset;
  if (!ReadAuPreset(reinterpret_cast<const char*>(data), size, preset))
    return 0;
  const std::string text = WriteAuPreset(preset);
  AuPresetFile again;
  if (!ReadAuPreset(text.data(), text.size(), again) ||
      again.processorState != preset.processorState ||
      again.controllerState != preset.controllerState ||
      again.manufacturer != preset.manufacturer || again.subtype != preset.subtype ||
      again.type != preset.type || again.version != preset.version)
    std::abort();
  return 0;
}
