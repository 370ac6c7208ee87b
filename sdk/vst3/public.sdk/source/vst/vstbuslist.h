// BusList: the buses of one media type and direction, in index order, each held with one
// reference.
#pragma once

#include "public.sdk/source/vst/vstbusbase.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class BusList : public FObject, public std::vector<IPtr<Bus>> {
public:
  BusList(MediaType type, BusDirection dir) : type(type), direction(dir) {}

  MediaType getType() const { return type; }
  BusDirection getDirection() const { return direction; }

  // The bus at index, or null outside the list.
  Bus* getBus(int32 index) const;
  // Appends a bus, adopting the caller's reference; returns it (null is ignored).
  Bus* append(Bus* bus);

  OBJ_METHODS(BusList, FObject)

protected:
  MediaType type;
  BusDirection direction;
};

} // namespace Vst
} // namespace Steinberg
