#include "public.sdk/source/vst/vstbuslist.h"

namespace Steinberg {
namespace Vst {

Bus* BusList::getBus(int32 index) const {
  if (index < 0 || index >= static_cast<int32>(size()))
    return nullptr;
  return (*this)[static_cast<size_t>(index)].get();
}

Bus* BusList::append(Bus* bus) {
  if (!bus)
    return nullptr;
  push_back(owned(bus));
  return bus;
}

} // namespace Vst
} // namespace Steinberg
