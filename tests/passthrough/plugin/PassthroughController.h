// The controller half: the two parameters, their text and plain forms, the processor's state,
// its own state (the last editor size) and the editor view.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace orvane::passthrough {

class PassthroughController : public Steinberg::Vst::IEditController,
                              public Steinberg::Vst::IConnectionPoint {
public:
  static Steinberg::FUnknown* createInstance(void* context);

  PassthroughController();
  virtual ~PassthroughController();

  DECLARE_FUNKNOWN_METHODS

  // IPluginBase
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;

  // IEditController
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) override;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) override;
  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) override;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) override;
  Steinberg::tresult PLUGIN_API
  getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* string,
                        Steinberg::Vst::ParamValue& valueNormalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plainValue) override;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                   Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API
  setComponentHandler(Steinberg::Vst::IComponentHandler* handler) override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

  // IConnectionPoint
  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

  // For the view: the size it was last given, kept in the controller state.
  void rememberViewSize(Steinberg::int32 width, Steinberg::int32 height);
  Steinberg::int32 viewWidth() const { return width; }
  Steinberg::int32 viewHeight() const { return height; }

  // The sample rate the processor reported when it was switched on (0 before).
  double processorSampleRate() const { return sampleRate; }

private:
  Steinberg::Vst::IComponentHandler* handler = nullptr;
  Steinberg::Vst::IConnectionPoint* peer = nullptr;
  double normalized[2];
  Steinberg::int32 width;
  Steinberg::int32 height;
  double sampleRate = 0;
};

} // namespace orvane::passthrough
