#include "public.sdk/source/vst/vst2wrapper/vst2parameterslots.h"

namespace Steinberg {
namespace Vst {

void Vst2ParameterSlots::resize(int32_t newCount) {
  count = newCount > 0 ? newCount : 0;
  slots = count ? std::make_unique<Slot[]>(size_t(count)) : nullptr;
}

void Vst2ParameterSlots::setFromHost(int32_t index, float v) {
  if (index < 0 || index >= count)
    return;
  Slot& slot = slots[index];
  slot.value.store(v, std::memory_order_relaxed);
  slot.processorPending.store(true, std::memory_order_release);
  slot.controllerPending.store(true, std::memory_order_release);
}

void Vst2ParameterSlots::setFromController(int32_t index, float v) {
  if (index < 0 || index >= count)
    return;
  Slot& slot = slots[index];
  slot.processorPending.store(false, std::memory_order_relaxed);
  slot.controllerPending.store(false, std::memory_order_relaxed);
  slot.value.store(v, std::memory_order_release);
}

float Vst2ParameterSlots::value(int32_t index) const {
  if (index < 0 || index >= count)
    return 0.f;
  return slots[index].value.load(std::memory_order_acquire);
}

bool Vst2ParameterSlots::takeForProcessor(int32_t index, float& v) {
  if (index < 0 || index >= count)
    return false;
  Slot& slot = slots[index];
  if (!slot.processorPending.exchange(false, std::memory_order_acq_rel))
    return false;
  v = slot.value.load(std::memory_order_acquire);
  return true;
}

bool Vst2ParameterSlots::takeForController(int32_t index, float& v) {
  if (index < 0 || index >= count)
    return false;
  Slot& slot = slots[index];
  if (!slot.controllerPending.exchange(false, std::memory_order_acq_rel))
    return false;
  v = slot.value.load(std::memory_order_acquire);
  return true;
}

} // namespace Vst
} // namespace Steinberg
