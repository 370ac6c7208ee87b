#pragma once

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

// Makes the processor flush denormal results to zero and read denormal operands as zero for
// the lifetime of the object, and restores the caller's mode afterwards. Decaying filter and
// envelope states otherwise crawl through the denormal range, where every operation costs
// tens of times more. Where the platform has no such mode the object does nothing and the
// code relies on snapping its states instead.
class CFlushDenormals {
public:
#if defined(__SSE2__)
  CFlushDenormals() : mSavedMode(_mm_getcsr()) {
    _mm_setcsr(mSavedMode | kFlushToZero | kDenormalsAreZero);
  }
  ~CFlushDenormals() {
    _mm_setcsr(mSavedMode);
  }
#else
  CFlushDenormals() {}
  ~CFlushDenormals() {}
#endif
  CFlushDenormals(const CFlushDenormals&) = delete;
  CFlushDenormals& operator=(const CFlushDenormals&) = delete;

private:
#if defined(__SSE2__)
  static constexpr unsigned kFlushToZero = 0x8000;      // MXCSR FTZ
  static constexpr unsigned kDenormalsAreZero = 0x0040; // MXCSR DAZ
  unsigned mSavedMode;
#endif
};
