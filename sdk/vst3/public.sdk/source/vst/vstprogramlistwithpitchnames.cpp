#include "public.sdk/source/vst/vstprogramlistwithpitchnames.h"

#include "base/source/fstring.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

ProgramListWithPitchNames::ProgramListWithPitchNames(const String128 name, ProgramListID listId,
                                                     UnitID unitId)
    : ProgramList(name, listId, unitId) {}

int32 ProgramListWithPitchNames::addProgram(const String128 name) {
  const int32 index = ProgramList::addProgram(name);
  pitchNames.resize(programNames.size());
  return index;
}

bool ProgramListWithPitchNames::setPitchName(int32 programIndex, int16 pitch,
                                             const String128 pitchName) {
  if (!pitchName || !isValidIndex(programIndex) || pitch < 0 || pitch > 127)
    return false;
  pitchNames[static_cast<size_t>(programIndex)][pitch] =
      std::u16string(pitchName, static_cast<size_t>(utf16Length(pitchName, 127)));
  changed(kPitchNamesChanged);
  return true;
}

bool ProgramListWithPitchNames::removePitchName(int32 programIndex, int16 pitch) {
  if (!isValidIndex(programIndex))
    return false;
  if (pitchNames[static_cast<size_t>(programIndex)].erase(pitch) == 0)
    return false;
  changed(kPitchNamesChanged);
  return true;
}

tresult ProgramListWithPitchNames::hasPitchNames(int32 programIndex) {
  if (!isValidIndex(programIndex))
    return kResultFalse;
  return pitchNames[static_cast<size_t>(programIndex)].empty() ? kResultFalse : kResultTrue;
}

tresult ProgramListWithPitchNames::getPitchName(int32 programIndex, int16 midiPitch,
                                                String128 name) {
  if (!name)
    return kInvalidArgument;
  if (!isValidIndex(programIndex))
    return kResultFalse;
  const auto& names = pitchNames[static_cast<size_t>(programIndex)];
  const auto it = names.find(midiPitch);
  if (it == names.end())
    return kResultFalse;
  const size_t n = std::min<size_t>(it->second.size(), 127);
  std::copy_n(it->second.data(), n, name);
  name[n] = 0;
  return kResultTrue;
}

} // namespace Vst
} // namespace Steinberg
