// A VST 2.4 program file from outside: whatever the reader accepts writes back to an image
// that reads the same.
#include "framework/FxpFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FxpProgramFile program;
  if (!ReadFxpProgram(data, size, program))
    return 0;
  if (program.chunk.size() != size - FxpProgramFile::kHeaderSize ||
      program.name.size() > FxpProgramFile::kNameSize)
    std::abort();
  const FileBytes image = WriteFxpProgram(program);
  FxpProgramFile again;
  if (!ReadFxpProgram(image.data(), image.size(), again) || again.chunk != program.chunk ||
      again.uniqueID != program.uniqueID || again.numParams != program.numParams ||
      again.name.size() >= FxpProgramFile::kNameSize ||
      program.name.compare(0, again.name.size(), again.name) != 0)
    std::abort();
  return 0;
}
