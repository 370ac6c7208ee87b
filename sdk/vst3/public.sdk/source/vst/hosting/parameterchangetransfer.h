// ParameterChangeTransfer: carries (parameter ID, value, sample offset) changes from one
// thread to one other thread, for example from the host's main thread to the audio thread and
// back. A fixed ring with one writer and one reader: no lock and no allocation after
// setMaxParameters; when the ring is full new changes are dropped.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <atomic>
#include <memory>

namespace Steinberg {
namespace Vst {

class ParameterChanges;

class ParameterChangeTransfer {
public:
  explicit ParameterChangeTransfer(int32 maxParameters = 0);

  // Sizes the ring for this many changes (allocates; call it while neither side runs).
  // Pending changes are dropped.
  void setMaxParameters(int32 maxParameters);
  int32 getMaxParameters() const { return capacity; }

  // Writer side. False when the ring is full (or has no room at all) and the change is lost.
  bool addChange(ParamID id, ParamValue value, int32 sampleOffset);
  // Moves every point of `source` into the ring, queue by queue.
  void transferChangesFrom(ParameterChanges& source);
  // Drops everything written so far. The reader skips it at its next read, so it is safe to
  // call from the writer's thread while the reader runs.
  void removeChanges();

  // Reader side. False when nothing is waiting.
  bool getNextChange(ParamID& id, ParamValue& value, int32& sampleOffset);
  // Moves every waiting change into `dest` (points of one parameter share its queue).
  void transferChangesTo(ParameterChanges& dest);

private:
  struct ParameterChange {
    ParamID id;
    ParamValue value;
    int32 sampleOffset;
  };

  // The indices only grow; a slot is index modulo capacity. 64 bits never wrap in practice.
  std::unique_ptr<ParameterChange[]> changes;
  int32 capacity = 0;
  alignas(64) std::atomic<uint64> writeIndex{0};
  alignas(64) std::atomic<uint64> readIndex{0};
  alignas(64) std::atomic<uint64> discardBefore{0}; // set by removeChanges, honoured by the reader
};

} // namespace Vst
} // namespace Steinberg
