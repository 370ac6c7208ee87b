// ProgramListWithPitchNames: a program list whose programs can name MIDI pitches (0-127), for
// hosts that show note names.
#pragma once

#include "public.sdk/source/vst/vstprogramlist.h"

#include <map>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class ProgramListWithPitchNames : public ProgramList {
public:
  ProgramListWithPitchNames(const String128 name, ProgramListID listId, UnitID unitId);

  int32 addProgram(const String128 name) override;
  // False for a program index outside the list, a pitch outside 0-127 or a null name. The
  // name is cut to 127 units.
  bool setPitchName(int32 programIndex, int16 pitch, const String128 pitchName);
  bool removePitchName(int32 programIndex, int16 pitch);

  tresult hasPitchNames(int32 programIndex) override;
  tresult getPitchName(int32 programIndex, int16 midiPitch, String128 name) override;

  // Message to dependents when a pitch name is set or removed.
  static constexpr int32 kPitchNamesChanged = ProgramList::kProgramNameChanged + 1;

  OBJ_METHODS(ProgramListWithPitchNames, ProgramList)

protected:
  std::vector<std::map<int16, std::u16string>> pitchNames; // per program
};

} // namespace Vst
} // namespace Steinberg
