#pragma once

#include "Projects/eq/CFilter.h"

#include <memory>

// A stage of any kind owned through the base. Stages are never deleted through CFilter (its
// destructor is not virtual), so the deleter remembers the concrete kind.
using OwnedStage = std::unique_ptr<CFilter, void (*)(CFilter*)>;

template <class T> OwnedStage MakeOwnedStage() {
  return OwnedStage(new T(), [](CFilter* stage) { delete static_cast<T*>(stage); });
}
