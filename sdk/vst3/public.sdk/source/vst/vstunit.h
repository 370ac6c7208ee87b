// Unit: one node of a controller's unit tree (a group of parameters, as hosts show it).
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace Steinberg {
namespace Vst {

class Unit : public FObject {
public:
  // The name is cut to 127 units; null is "".
  Unit(const String128 name, UnitID unitId, UnitID parentUnitId = kRootUnitId,
       ProgramListID programListId = kNoProgramListId);
  explicit Unit(const UnitInfo& info);

  virtual const UnitInfo& getInfo() const { return info; }

  UnitID getID() const { return info.id; }
  void setID(UnitID newID) { info.id = newID; }
  const TChar* getName() const { return info.name; }
  void setName(const String128 newName);
  ProgramListID getProgramListID() const { return info.programListId; }
  void setProgramListID(ProgramListID newID) { info.programListId = newID; }

  OBJ_METHODS(Unit, FObject)

protected:
  UnitInfo info;
};

} // namespace Vst
} // namespace Steinberg
