#include "base/source/fobject.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {

DEF_CLASS_IID(IDependent)
DEF_CLASS_IID(FObject)

FObject::~FObject() {
  delete dependents;
}

tresult PLUGIN_API FObject::queryInterface(const TUID _iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  QUERY_INTERFACE(_iid, obj, FObject::iid, FObject)
  QUERY_INTERFACE(_iid, obj, IDependent::iid, IDependent)
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, FUnknown)
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API FObject::addRef() {
  return static_cast<uint32>(refCount.fetch_add(1, std::memory_order_relaxed) + 1);
}

uint32 PLUGIN_API FObject::release() {
  const int32 left = refCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) {
    delete this;
    return 0;
  }
  return static_cast<uint32>(left);
}

void PLUGIN_API FObject::update(FUnknown* /*changedUnknown*/, int32 /*message*/) {}

bool FObject::classIDsEqual(FClassID a, FClassID b) {
  return a && b && std::strcmp(a, b) == 0;
}

void FObject::addDependent(IDependent* dep) {
  if (!dep)
    return;
  if (!dependents)
    dependents = new std::vector<IDependent*>();
  if (std::find(dependents->begin(), dependents->end(), dep) == dependents->end())
    dependents->push_back(dep);
}

void FObject::removeDependent(IDependent* dep) {
  if (!dependents)
    return;
  dependents->erase(std::remove(dependents->begin(), dependents->end(), dep), dependents->end());
}

void FObject::changed(int32 msg) {
  if (!dependents || dependents->empty())
    return;
  // A dependent may remove itself (or others) while being told; walk a snapshot.
  const std::vector<IDependent*> snapshot = *dependents;
  for (IDependent* dep : snapshot)
    if (std::find(dependents->begin(), dependents->end(), dep) != dependents->end())
      dep->update(unknownCast(), msg);
}

} // namespace Steinberg
