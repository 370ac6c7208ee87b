#include "public.sdk/source/vst/vstunit.h"

#include "public.sdk/source/vst/vststring128.h"

namespace Steinberg {
namespace Vst {

Unit::Unit(const String128 name, UnitID unitId, UnitID parentUnitId, ProgramListID programListId)
    : info{} {
  info.id = unitId;
  info.parentUnitId = parentUnitId;
  info.programListId = programListId;
  copyString128(info.name, name);
}

Unit::Unit(const UnitInfo& info_) : info(info_) {
  info.name[127] = 0;
}

void Unit::setName(const String128 newName) {
  copyString128(info.name, newName);
}

} // namespace Vst
} // namespace Steinberg
