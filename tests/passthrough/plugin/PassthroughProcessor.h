// The processing half: stereo or mono in and out, gain and polarity, sample-accurate
// parameter changes, 32- and 64-bit samples.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace orvane::passthrough {

class PassthroughProcessor : public Steinberg::Vst::IComponent,
                             public Steinberg::Vst::IAudioProcessor,
                             public Steinberg::Vst::IConnectionPoint {
public:
  static Steinberg::FUnknown* createInstance(void* context);

  PassthroughProcessor();
  virtual ~PassthroughProcessor();

  DECLARE_FUNKNOWN_METHODS

  // IPluginBase
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;

  // IComponent
  Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
  Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
  Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                          Steinberg::Vst::BusDirection dir) override;
  Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type,
                                           Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                           Steinberg::Vst::BusInfo& bus) override;
  Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                               Steinberg::Vst::RoutingInfo& outInfo) override;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

  // IAudioProcessor
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir,
                                                  Steinberg::int32 index,
                                                  Steinberg::Vst::SpeakerArrangement& arr) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override { return 0; }
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override { return Steinberg::Vst::kNoTail; }

  // IConnectionPoint
  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

private:
  // The parameter values as the audio thread sees them.
  struct Values {
    double gain = 1.0; // linear
    double sign = 1.0; // -1 when inverted
  };

  void setNormalized(Steinberg::Vst::ParamID id, double normalized);
  template <class Sample> void processBlock(Steinberg::Vst::ProcessData& data);
  template <class Sample>
  void render(Steinberg::Vst::ProcessData& data, Steinberg::int32 from, Steinberg::int32 to);
  void sendActivated();

  Steinberg::Vst::IHostApplication* host = nullptr;
  Steinberg::Vst::IConnectionPoint* peer = nullptr;
  Steinberg::Vst::SpeakerArrangement arrangement = Steinberg::Vst::SpeakerArr::kStereo;
  Steinberg::Vst::ProcessSetup setup{};
  double normalized[2];
  Values values;
  bool active = false;
};

} // namespace orvane::passthrough
