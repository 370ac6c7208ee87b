// What every face's audio-thread audit shares: the blocks it plays (lengths and the parameter
// values at several offsets in each), a test signal, and the check that the caller's
// floating-point mode comes back from a process call.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace audit {

constexpr double kRate = 48000.0;
// The block size the plug-ins are set up for; some blocks are longer.
constexpr int32_t kSetupBlock = 256;
// Block lengths in play order: a single sample, short, exact, longer than the set-up size by a
// little and by several times, and odd.
constexpr int32_t kLengths[] = {
    1, 64, kSetupBlock, kSetupBlock + 1, 3 * kSetupBlock + 5, 17, kSetupBlock, 2 * kSetupBlock};
constexpr int kBlocks = 24;
constexpr int32_t kMaxLength = 3 * kSetupBlock + 5;
// Blocks with the bypass on (switched on and off again several times).
inline bool Bypassed(int block) {
  return block % 5 == 2 || block % 5 == 3;
}
// The block at whose start a state restored meanwhile is handed to the audio thread.
constexpr int kRestoreBlock = 11;

inline int32_t LengthOf(int block) {
  return kLengths[size_t(block) % (sizeof kLengths / sizeof kLengths[0])];
}

// The offsets of a block's points for every parameter: start, a third, two thirds, last.
inline int32_t OffsetOf(int point, int32_t length) {
  const int32_t offsets[] = {0, length / 3, 2 * length / 3, length - 1};
  return offsets[point];
}
constexpr int kPointsPerBlock = 4;

// A normalised value that moves over the whole range from point to point and block to block.
inline double ValueOf(int block, int parameter, int point) {
  return std::fmod(0.137 * block + 0.291 * parameter + 0.223 * point, 1.0);
}

inline double Signal(int64_t n, int channel) {
  return 0.5 * std::sin(0.013 * double(n) * (channel + 1)) +
         0.25 * std::sin(0.31 * double(n) + channel);
}

#if defined(__SSE__) || defined(__x86_64__)
// The caller's mode during the audit: no flush-to-zero, no denormals-are-zero, so a process
// call that leaves FTZ or DAZ behind (or clears the caller's own bits) is seen.
class CallerMode {
public:
  CallerMode() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved & ~0x8040u); }
  ~CallerMode() { _mm_setcsr(mSaved); }
  static unsigned Current() { return _mm_getcsr(); }
  CallerMode(const CallerMode&) = delete;
  CallerMode& operator=(const CallerMode&) = delete;

private:
  unsigned mSaved;
};
#else
class CallerMode {
public:
  static unsigned Current() { return 0; }
};
#endif

} // namespace audit
