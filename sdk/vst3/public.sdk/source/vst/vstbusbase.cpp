#include "public.sdk/source/vst/vstbusbase.h"

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

Bus::Bus(const TChar* name_, BusType busType_, int32 flags_) : busType(busType_), flags(flags_) {
  copyName(name, name_);
}

void Bus::setName(const TChar* newName) {
  copyName(name, newName);
}

bool Bus::getInfo(BusInfo& info) {
  std::copy(name, name + 128, info.name);
  info.busType = busType;
  info.flags = static_cast<uint32>(flags);
  return true;
}

} // namespace Vst
} // namespace Steinberg
