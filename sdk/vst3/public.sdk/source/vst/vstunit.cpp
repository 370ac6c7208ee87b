#include "public.sdk/source/vst/vstunit.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

namespace {
void copyName(String128 to, const TChar* from) {
  int32 n = 0;
  for (; from && n < 127 && from[n] != 0; ++n)
    to[n] = from[n];
  std::fill(to + n, to + 128, TChar(0));
}
} // namespace

Unit::Unit(const String128 name, UnitID unitId, UnitID parentUnitId, ProgramListID programListId)
    : info{} {
  info.id = unitId;
  info.parentUnitId = parentUnitId;
  info.programListId = programListId;
  copyName(info.name, name);
}

Unit::Unit(const UnitInfo& info_) : info(info_) {
  info.name[127] = 0;
}

void Unit::setName(const String128 newName) {
  copyName(info.name, newName);
}

} // namespace Vst
} // namespace Steinberg
