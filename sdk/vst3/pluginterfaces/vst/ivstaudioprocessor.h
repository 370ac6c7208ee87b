// The audio-processing face of the processor half.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

class IParameterChanges;
class IEventList;
struct ProcessContext;

// Sub-category words of processor classes, joined with '|' in class records.
namespace PlugType {
inline constexpr const char8* kFx = "Fx";
inline constexpr const char8* kFxAnalyzer = "Fx|Analyzer";
inline constexpr const char8* kFxDelay = "Fx|Delay";
inline constexpr const char8* kFxDistortion = "Fx|Distortion";
inline constexpr const char8* kFxDynamics = "Fx|Dynamics";
inline constexpr const char8* kFxEQ = "Fx|EQ";
inline constexpr const char8* kFxFilter = "Fx|Filter";
inline constexpr const char8* kFxInstrument = "Fx|Instrument";
inline constexpr const char8* kFxModulation = "Fx|Modulation";
inline constexpr const char8* kFxReverb = "Fx|Reverb";
inline constexpr const char8* kFxTools = "Fx|Tools";
inline constexpr const char8* kInstrument = "Instrument";
inline constexpr const char8* kInstrumentSynth = "Instrument|Synth";
inline constexpr const char8* kMono = "Mono";
inline constexpr const char8* kStereo = "Stereo";
} // namespace PlugType

// Class flags of processor records.
enum ComponentFlags : int32 { kDistributable = 1 << 0, kSimpleModeSupported = 1 << 1 };

enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch, kOffline };

inline constexpr uint32 kNoTail = 0;
inline constexpr uint32 kInfiniteTail = kMaxInt32u;

struct ProcessSetup {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

// The channels of one bus; which union member is valid follows the block's sample size.
struct AudioBusBuffers {
  int32 numChannels = 0;
  // Bit n set: channel n is silent (input: known by the host; output: set by the plug-in).
  uint64 silenceFlags = 0;
  union {
    Sample32** channelBuffers32 = nullptr;
    Sample64** channelBuffers64;
  };
};

struct ProcessData {
  int32 processMode = 0;
  int32 symbolicSampleSize = kSample32;
  int32 numSamples = 0;
  int32 numInputs = 0;
  int32 numOutputs = 0;
  AudioBusBuffers* inputs = nullptr;
  AudioBusBuffers* outputs = nullptr;
  IParameterChanges* inputParameterChanges = nullptr;
  IParameterChanges* outputParameterChanges = nullptr;
  IEventList* inputEvents = nullptr;
  IEventList* outputEvents = nullptr;
  ProcessContext* processContext = nullptr;
};

class IAudioProcessor : public FUnknown {
public:
  virtual tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                SpeakerArrangement* outputs, int32 numOuts) = 0;
  virtual tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                               SpeakerArrangement& arr) = 0;
  virtual tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 PLUGIN_API getLatencySamples() = 0;
  virtual tresult PLUGIN_API setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult PLUGIN_API setProcessing(TBool state) = 0;
  virtual tresult PLUGIN_API process(ProcessData& data) = 0;
  virtual uint32 PLUGIN_API getTailSamples() = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IAudioProcessor, 0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D)

// Lets the plug-in tell the host which ProcessContext fields it needs.
class IProcessContextRequirements : public FUnknown {
public:
  enum Flags : uint32 {
    kNeedSystemTime = 1 << 0,
    kNeedContinousTimeSamples = 1 << 1,
    kNeedProjectTimeMusic = 1 << 2,
    kNeedBarPositionMusic = 1 << 3,
    kNeedCycleMusic = 1 << 4,
    kNeedSamplesToNextClock = 1 << 5,
    kNeedTempo = 1 << 6,
    kNeedTimeSignature = 1 << 7,
    kNeedChord = 1 << 8,
    kNeedFrameRate = 1 << 9,
    kNeedTransportState = 1 << 10
  };
  virtual uint32 PLUGIN_API getProcessContextRequirements() = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IProcessContextRequirements, 0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0)

} // namespace Vst
} // namespace Steinberg
