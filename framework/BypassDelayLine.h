#pragma once

#include "framework/KIT_TypedBuf.h"

#include <cstdint>
#include <cstring>

// The bypass path of a processor with latency: the input delayed by the latency the host
// compensates for, so that switching bypass keeps the plug-in in time with the other tracks.
// Frames are stored interleaved (nIn values per frame) in a ring of `latency` frames.
template <class T> class BypassDelayLine {
public:
  // Allocates nIn x latency zeroed values; nothing for a latency below 1 or no inputs.
  void Init(int nIn, int nOut, int latency) {
    mNIn = nIn;
    mNOut = nOut;
    mLatency = 0;
    mWritePos = 0;
    if (nIn < 1 || latency < 1 || !mBuffer.Resize(nIn * latency) ||
        mBuffer.GetSize() != nIn * latency)
      return;
    mLatency = latency;
    Clear();
  }

  bool Exists() const { return mLatency > 0; }
  int Latency() const { return mLatency; }

  // Silence in the line, so that a bypass switched on later does not replay old audio.
  void Clear() {
    if (Exists())
      std::memset(mBuffer.Get(), 0, sizeof(T) * size_t(mNIn) * size_t(mLatency));
    mWritePos = 0;
  }

  // Each output channel below nIn gets its input delayed by the latency; outputs at and
  // above nIn get silence. `frame` holds nIn values: a frame's inputs are all read before any
  // output is written, so the host may hand the same buffers in and out.
  void Process(T* const* in, T* const* out, int n, T* frame) {
    T* line = mBuffer.Get();
    for (int i = 0; i < n; ++i) {
      T* stored = line + mWritePos * uint64_t(mNIn);
      for (int c = 0; c < mNIn; ++c)
        frame[c] = in[c][i];
      for (int c = 0; c < mNIn && c < mNOut; ++c)
        out[c][i] = stored[c];
      for (int c = mNIn; c < mNOut; ++c)
        out[c][i] = T(0);
      std::memcpy(stored, frame, sizeof(T) * size_t(mNIn));
      mWritePos = (mWritePos + 1) % uint64_t(mLatency);
    }
  }

private:
  KIT_TypedBuf<T> mBuffer{4096};
  uint64_t mWritePos = 0;
  int mNIn = 0;
  int mNOut = 0;
  int mLatency = 0; // at construction
};
