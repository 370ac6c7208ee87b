#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class IFxBase;

// The processor's bypass flag and parameter values as of the last block, published by the
// audio thread and read whole by the host's other threads (getState), so that a state saved
// while processing is one the audio thread really had, never a mix of two blocks.
//
// A sequence lock over atomic words: the writer bumps the sequence to odd, stores the
// values, and bumps it to even; a reader copies the values and copies again when the
// sequence was odd or moved meanwhile. The writer never waits and allocates nothing; only
// readers retry. Exactly one thread writes at a time (the audio thread while active).
class StateSnapshot {
public:
  explicit StateSnapshot(int nValues);

  // Writer: copies the bypass flag and every parameter value of source.
  void Publish(const IFxBase& source);
  // Reader: *bypassed and values[0 .. n-1] from one publish; n is the constructor's count.
  void Read(bool* bypassed, double* values) const;

private:
  int mCount;
  std::atomic<uint64_t> mSequence{0};
  std::atomic<bool> mBypassed{false};
  std::unique_ptr<std::atomic<double>[]> mValues;
};
