#include "public.sdk/source/vst/vstbusbase.h"

#include "public.sdk/source/vst/vststring128.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

Bus::Bus(const TChar* name_, BusType busType_, int32 flags_) : busType(busType_), flags(flags_) {
  copyString128(name, name_);
}

void Bus::setName(const TChar* newName) {
  copyString128(name, newName);
}

bool Bus::getInfo(BusInfo& info) {
  std::copy(name, name + 128, info.name);
  info.busType = busType;
  info.flags = static_cast<uint32>(flags);
  return true;
}

} // namespace Vst
} // namespace Steinberg
