#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

// Flushes denormals to zero (FTZ) and reads denormal inputs as zero (DAZ) while it lives, so
// that decaying filter and envelope states cost no more than normal numbers; the caller's mode
// comes back when it goes. On targets without those flags it does nothing.
class DenormalGuard {
public:
#if defined(__SSE__) || defined(__x86_64__)
  DenormalGuard() : mSaved(_mm_getcsr()) {
    _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero);
  }
  ~DenormalGuard() {
    _mm_setcsr(mSaved);
  }
#else
  DenormalGuard() = default;
#endif
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(__SSE__) || defined(__x86_64__)
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned mSaved;
#endif
};
