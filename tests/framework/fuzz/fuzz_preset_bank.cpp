// A preset bank as a VST 2.4 host or a bank file hands it back, read into a bank of the
// equaliser's nine slots.
#include "framework/IPresetBank.h"
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KIT_HeapBuf chunk;
  if (!chunk.Append(data, int(size)))
    return 0;
  TestHalf controller(kEqParams);
  DeclareEqParams(controller);
  IPresetBank bank(9);
  bank.MakeDefaultPreset("Default", 3, controller);
  const int pos = bank.UnserializePresets(chunk, 0, controller);
  if (pos > chunk.GetSize() || pos < -1)
    std::abort();
  for (int i = 0; i < bank.NPresets(); ++i) {
    if (strnlen(bank.GetPresetName(i), IPreset::kMaxNameLen) >= size_t(IPreset::kMaxNameLen))
      std::abort();
  }
  for (int i = 0; i < controller.NParams(); ++i) {
    const IParam* p = controller.GetParam(i);
    if (!(p->Value() >= p->Min() && p->Value() <= p->Max()))
      std::abort();
  }
  KIT_HeapBuf again;
  if (!bank.SerializePresets(again))
    std::abort();
  return 0;
}
