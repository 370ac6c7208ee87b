// Class IDs, parameters and state layouts of the pass-through test plug-in.
//
// A throwaway plug-in that exercises the VST 3 layer end to end: it copies its stereo (or
// mono) input to its output at the level of its gain, optionally with the polarity inverted.
//
// Parameters (IDs are stable: real-host checks address them):
//   ParamID 0  "Gain"    plain value in dB, -60 .. +12, default 0 dB;
//                        normalized = (dB + 60) / 72; output = input * 10^(dB / 20)
//   ParamID 1  "Invert"  plain 0 (off) or 1 (on), one step, default off; on: output negated
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace orvane::passthrough {

inline const Steinberg::FUID kProcessorUID(0xA473C53E, 0xDD334041, 0x86BEBE11, 0x9EAAD270);
inline const Steinberg::FUID kControllerUID(0x2BDE1F69, 0xBDF94FFC, 0x9503D1D6, 0xC2E8C06E);

inline constexpr const char* kProcessorName = "Orvane Passthrough";
inline constexpr const char* kControllerName = "Orvane PassthroughController";

enum ParamIds : Steinberg::Vst::ParamID { kGainId = 0, kInvertId = 1, kNumParams };

inline constexpr double kMinGainDb = -60.0;
inline constexpr double kMaxGainDb = 12.0;
inline constexpr double kDefaultGainNormalized = (0.0 - kMinGainDb) / (kMaxGainDb - kMinGainDb);

inline double gainDbFromNormalized(double normalized) {
  return kMinGainDb + normalized * (kMaxGainDb - kMinGainDb);
}
inline double normalizedFromGainDb(double db) {
  const double n = (db - kMinGainDb) / (kMaxGainDb - kMinGainDb);
  return n < 0.0 ? 0.0 : (n > 1.0 ? 1.0 : n);
}

// Processor state: "OPT1", then the two normalized values as little-endian float64, in
// parameter-ID order (20 bytes). Controller state: "OPC1", then the last view width and height
// as little-endian int32 (12 bytes).
inline constexpr char kProcessorStateMagic[4] = {'O', 'P', 'T', '1'};
inline constexpr char kControllerStateMagic[4] = {'O', 'P', 'C', '1'};
inline constexpr int kProcessorStateSize = 4 + 8 * kNumParams;
inline constexpr int kControllerStateSize = 4 + 4 + 4;

// Message the processor sends the controller when it is switched on; attribute
// "sampleRate" (float).
inline constexpr const char* kActivatedMessage = "Activated";

} // namespace orvane::passthrough
