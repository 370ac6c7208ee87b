// Any file handed to the controller's preset-file readers: the first byte picks the reader,
// the rest is the file. A refused file must leave everything as it was; an accepted one must
// leave every parameter inside its range.
#include "support/TestController.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <memory>

namespace {

using namespace presetfiles;

bool Load(TestController& c, int reader, const char* path) {
  switch (reader % 5) {
  case 0:
    return c.LoadProgramFromFXP(path);
  case 1:
    return c.LoadBankFromFXB(path);
  case 2:
    return c.LoadProgramFromVST3Preset(path);
  case 3:
    return c.LoadProgramFromAUPreset(path);
  default:
    return c.LoadProgramFromTFX(path);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  static TempDir dir;
  static const std::string path = dir.File("input");
  WriteBytes(path, FileBytes(data + 1, data + size));
  Rig rig;
  const Snapshot before = TakeSnapshot(rig);
  if (!Load(*rig.controller, data[0], path.c_str())) {
    if (!(TakeSnapshot(rig) == before))
      std::abort();
    return 0;
  }
  for (int i = 0; i < rig.controller->NParams(); ++i) {
    const IParam* p = rig.controller->GetParam(i);
    if (!(p->Value() >= p->Min() && p->Value() <= p->Max()))
      std::abort();
  }
  return 0;
}
