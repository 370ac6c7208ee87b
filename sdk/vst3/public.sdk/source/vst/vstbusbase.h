// Bus: one bus of a component (name, type, flags, active state). AudioBus and EventBus add the
// channel layout.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg {
namespace Vst {

class Bus : public FObject {
public:
  // The name is cut to 127 units; a null name is "".
  Bus(const TChar* name, BusType busType, int32 flags);

  TBool isActive() const { return active; }
  void setActive(TBool state) { active = state; }

  const TChar* getName() const { return name; }
  void setName(const TChar* newName);
  BusType getBusType() const { return busType; }
  void setBusType(BusType type) { busType = type; }
  int32 getFlags() const { return flags; }
  void setFlags(int32 newFlags) { flags = newFlags; }

  // Fills name, bus type and flags; subclasses add the channel count.
  virtual bool getInfo(BusInfo& info);

  OBJ_METHODS(Bus, FObject)

protected:
  String128 name;
  BusType busType;
  int32 flags;
  TBool active = false;
};

} // namespace Vst
} // namespace Steinberg
