// ProgramList: a named list of programs (presets) with their names and optional text
// attributes per program. Renaming a program tells the list's dependents, which is how
// EditControllerEx1 reports the change to the host.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <map>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class ProgramList : public FObject {
public:
  ProgramList(const String128 name, ProgramListID listId, UnitID unitId);
  ProgramList(const ProgramList& programList);

  const ProgramListInfo& getInfo() const { return info; }
  ProgramListID getID() const { return info.id; }
  const TChar* getName() const { return info.name; }
  int32 getCount() const { return info.programCount; }
  UnitID getUnitID() const { return unitId; }

  // Appends a program (name cut to 127 units); returns its index.
  virtual int32 addProgram(const String128 name);
  // kResultFalse for an index outside the list, kInvalidArgument for a null name.
  virtual tresult getProgramName(int32 programIndex, String128 name);
  virtual tresult setProgramName(int32 programIndex, const String128 name);
  // Text attributes of a program under 8-bit IDs.
  virtual bool setProgramInfo(int32 programIndex, CString attributeId, const String128 value);
  virtual tresult getProgramInfo(int32 programIndex, CString attributeId, String128 value);
  // Lists without pitch names answer kResultFalse.
  virtual tresult hasPitchNames(int32 programIndex);
  virtual tresult getPitchName(int32 programIndex, int16 midiPitch, String128 name);

  // The message sent to dependents when a program's name changes.
  static constexpr int32 kProgramNameChanged = IDependent::kStdChangeMessageLast + 1;

  OBJ_METHODS(ProgramList, FObject)

protected:
  bool isValidIndex(int32 programIndex) const {
    return programIndex >= 0 && programIndex < static_cast<int32>(programNames.size());
  }

  ProgramListInfo info;
  UnitID unitId;
  std::vector<std::u16string> programNames;
  std::vector<std::map<std::string, std::u16string>> programInfos;
};

} // namespace Vst
} // namespace Steinberg
