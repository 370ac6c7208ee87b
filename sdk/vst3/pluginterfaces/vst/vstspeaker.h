// Speakers and the speaker arrangements built from them (one bit per speaker).
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

inline constexpr Speaker kSpeakerL = 1ULL << 0;
inline constexpr Speaker kSpeakerR = 1ULL << 1;
inline constexpr Speaker kSpeakerC = 1ULL << 2;
inline constexpr Speaker kSpeakerLfe = 1ULL << 3;
inline constexpr Speaker kSpeakerLs = 1ULL << 4;
inline constexpr Speaker kSpeakerRs = 1ULL << 5;
inline constexpr Speaker kSpeakerLc = 1ULL << 6;
inline constexpr Speaker kSpeakerRc = 1ULL << 7;
inline constexpr Speaker kSpeakerS = 1ULL << 8;
inline constexpr Speaker kSpeakerCs = kSpeakerS;
inline constexpr Speaker kSpeakerSl = 1ULL << 9;
inline constexpr Speaker kSpeakerSr = 1ULL << 10;
inline constexpr Speaker kSpeakerTc = 1ULL << 11;
inline constexpr Speaker kSpeakerTfl = 1ULL << 12;
inline constexpr Speaker kSpeakerTfc = 1ULL << 13;
inline constexpr Speaker kSpeakerTfr = 1ULL << 14;
inline constexpr Speaker kSpeakerTrl = 1ULL << 15;
inline constexpr Speaker kSpeakerTrc = 1ULL << 16;
inline constexpr Speaker kSpeakerTrr = 1ULL << 17;
inline constexpr Speaker kSpeakerLfe2 = 1ULL << 18;
inline constexpr Speaker kSpeakerM = 1ULL << 19;
// First-order ambisonic channels (W, X, Y, Z).
inline constexpr Speaker kSpeakerACN0 = 1ULL << 20;
inline constexpr Speaker kSpeakerACN1 = 1ULL << 21;
inline constexpr Speaker kSpeakerACN2 = 1ULL << 22;
inline constexpr Speaker kSpeakerACN3 = 1ULL << 23;
inline constexpr Speaker kSpeakerW = kSpeakerACN0;
inline constexpr Speaker kSpeakerX = kSpeakerACN1;
inline constexpr Speaker kSpeakerY = kSpeakerACN2;
inline constexpr Speaker kSpeakerZ = kSpeakerACN3;

namespace SpeakerArr {

inline constexpr SpeakerArrangement kEmpty = 0;
inline constexpr SpeakerArrangement kMono = kSpeakerM;
inline constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
inline constexpr SpeakerArrangement k30Music = kSpeakerL | kSpeakerR | kSpeakerS;
inline constexpr SpeakerArrangement k30Cine = kSpeakerL | kSpeakerR | kSpeakerC;
inline constexpr SpeakerArrangement k40Music = kSpeakerL | kSpeakerR | kSpeakerLs | kSpeakerRs;
inline constexpr SpeakerArrangement kBFormat1stOrder =
    kSpeakerACN0 | kSpeakerACN1 | kSpeakerACN2 | kSpeakerACN3;
inline constexpr SpeakerArrangement kBFormat = kBFormat1stOrder;
inline constexpr SpeakerArrangement k50 =
    kSpeakerL | kSpeakerR | kSpeakerC | kSpeakerLs | kSpeakerRs;
inline constexpr SpeakerArrangement k51 = k50 | kSpeakerLfe;

// Number of speakers (channels) in an arrangement.
inline constexpr int32 getChannelCount(SpeakerArrangement arr) {
  int32 count = 0;
  for (; arr != 0; arr &= arr - 1)
    ++count;
  return count;
}

} // namespace SpeakerArr
} // namespace Vst
} // namespace Steinberg
