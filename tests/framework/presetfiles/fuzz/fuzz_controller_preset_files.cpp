// Any file handed to the controller's preset-file readers. The first byte picks the reader;
// the second picks whether the rest is the file itself or edits of a file the controller
// wrote (each edit two offset bytes and a value; with the third form the first two bytes cut
// the file), so that the inner checks are reached as often as the outer ones. A refused file
// must leave everything as it was; an accepted one must leave every parameter in its range.
#include "support/TestController.h"
#include "support/TestFiles.h"

#include <cstdlib>

namespace {

using namespace presetfiles;

constexpr int kReaders = 5;

bool Save(TestController& c, int reader, const char* path) {
  switch (reader) {
  case 0:
    return c.SaveProgramAsFXP("Fuzz", path);
  case 1:
    return c.SaveBankAsFXB(path);
  case 2:
    return c.SaveProgramAsVST3Preset(path);
  case 3:
    return c.SaveProgramAsAUPreset("Fuzz", path);
  default:
    return c.SaveProgramAsTFX("Fuzz", path, 1);
  }
}

bool Load(TestController& c, int reader, const char* path) {
  switch (reader) {
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

const TempDir& Dir() {
  static TempDir dir;
  return dir;
}

// What the controller writes for each reader, made once.
const FileBytes& WrittenFile(int reader) {
  static FileBytes files[kReaders];
  static bool made = false;
  if (!made) {
    Rig rig;
    rig.controller->GetParam(kGain)->Set(-1.5);
    for (int r = 0; r < kReaders; ++r) {
      const std::string path = Dir().File("written");
      if (!Save(*rig.controller, r, path.c_str()))
        std::abort();
      files[r] = ReadBytes(path);
    }
    made = true;
  }
  return files[reader];
}

FileBytes Edited(FileBytes file, const uint8_t* edits, size_t n, bool cut) {
  if (cut && n >= 2) {
    file.resize(std::min(file.size(), size_t(edits[0] | edits[1] << 8)));
    edits += 2;
    n -= 2;
  }
  for (size_t i = 0; i + 3 <= n && !file.empty(); i += 3)
    file[size_t(edits[i] | edits[i + 1] << 8) % file.size()] = edits[i + 2];
  return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const int reader = data[0] % kReaders;
  const int form = data[1] % 3;
  const FileBytes file = form == 0 ? FileBytes(data + 2, data + size)
                                   : Edited(WrittenFile(reader), data + 2, size - 2, form == 2);
  static const std::string path = Dir().File("input");
  WriteBytes(path, file);
  Rig rig;
  const Snapshot before = TakeSnapshot(rig);
  if (!Load(*rig.controller, reader, path.c_str())) {
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
