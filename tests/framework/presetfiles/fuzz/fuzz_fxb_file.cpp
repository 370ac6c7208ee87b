// A VST 2.4 bank file from outside: whatever the reader accepts writes back to an image that
// reads the same.
#include "framework/FxpFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FxbBankFile bank;
  if (!ReadFxbBank(data, size, bank))
    return 0;
  if (bank.chunk.size() != size - FxbBankFile::kHeaderSize)
    std::abort();
  const FileBytes image = WriteFxbBank(bank);
  FxbBankFile again;
  if (!ReadFxbBank(image.data(), image.size(), again) || again.chunk != bank.chunk ||
      again.uniqueID != bank.uniqueID || again.numPrograms != bank.numPrograms ||
      again.currentProgram != bank.currentProgram)
    std::abort();
  return 0;
}
