// The host's parameter values as the VST 2.4 face keeps them: the last normalised value of
// every exported parameter, readable at once by getParameter, and a "changed" mark for each
// of the two halves that still has to learn it. Hosts call setParameter from any thread
// (automation on the audio thread, editors on the main thread), so everything here is a
// lock-free atomic; the processor side drains its marks at the start of a block, the
// controller side on the main thread (the transfer timer, or before a chunk is built).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace Steinberg {
namespace Vst {

class Vst2ParameterSlots {
public:
  // Allocates; call while neither side runs.
  void resize(int32_t count);
  int32_t size() const { return count; }

  // A value from the host: both halves have to learn it.
  void setFromHost(int32_t index, float value);
  // A value that the controller itself produced (an edit, a program): it knows it already,
  // and any older host value still waiting for either half is superseded.
  void setFromController(int32_t index, float value);
  float value(int32_t index) const;

  // Consumers: true (and the value) once per change.
  bool takeForProcessor(int32_t index, float& value);
  bool takeForController(int32_t index, float& value);

private:
  struct Slot {
    std::atomic<float> value{0.f};
    std::atomic<bool> processorPending{false};
    std::atomic<bool> controllerPending{false};
  };
  std::unique_ptr<Slot[]> slots;
  int32_t count = 0;
};

} // namespace Vst
} // namespace Steinberg
