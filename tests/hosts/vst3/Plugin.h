// One plug-in instance driven the way Ardour drives it:
//   create the processor (IComponent) from the factory, initialize it with the host context,
//   query IAudioProcessor; use the component as controller when it answers IEditController,
//   otherwise create the controller class it names and initialize it; give the controller the
//   component handler; connect the two connection points; copy the processor's state to the
//   controller (getState -> setComponentState).
//   activate(): setupProcessing, activateBus, setBusArrangements, setActive(1),
//   setProcessing(1), getLatencySamples; then process blocks with parameter queues and events.
//   Destruction: view removed, setProcessing(0), setActive(0), disconnect, handler cleared,
//   terminate controller and component, release both.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "tests/hosts/vst3/ComponentHandler.h"
#include "tests/hosts/vst3/ConnectionProxy.h"
#include "tests/hosts/vst3/EventList.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/HostLog.h"
#include "tests/hosts/vst3/Module.h"
#include "tests/hosts/vst3/ParameterChanges.h"
#include "tests/hosts/vst3/PlugFrame.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane::testhost {

struct PluginOptions {
  // What IHostApplication::getName answers.
  std::u16string hostName = u"Orvane Test Host";
  // Connect the halves through recording proxies (messages appear in the log) instead of
  // directly, as Ardour does.
  bool recordMessages = false;
  // Whether the component handler answers IComponentHandler3 (host context menus).
  bool offerContextMenus = true;
};

struct BusLayout {
  std::vector<Steinberg::Vst::BusInfo> audioInputs;
  std::vector<Steinberg::Vst::BusInfo> audioOutputs;
  std::vector<Steinberg::Vst::BusInfo> eventInputs;
  std::vector<Steinberg::Vst::BusInfo> eventOutputs;
};

// Results of the activation steps, for tests that check how the plug-in answered.
struct ActivationResults {
  Steinberg::tresult setupProcessing = Steinberg::kNotInitialized;
  Steinberg::tresult setBusArrangements = Steinberg::kNotInitialized;
  Steinberg::tresult setActive = Steinberg::kNotInitialized;
  Steinberg::tresult setProcessing = Steinberg::kNotInitialized;
  Steinberg::uint32 latencySamples = 0;
};

class Plugin {
public:
  // Null, with the reason in error, when a step the host cannot go on without fails.
  static std::unique_ptr<Plugin> create(Module& module, const Steinberg::FUID& processorClass,
                                        std::string& error, PluginOptions options = {});
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  Steinberg::Vst::IComponent* component() const { return component_; }
  Steinberg::Vst::IAudioProcessor* processor() const { return processor_; }
  Steinberg::Vst::IEditController* controller() const { return controller_; }
  // True when one object is both halves.
  bool singleObject() const { return single; }
  HostLog& log() const { return *log_; }
  PlugFrame& frame() const { return *frame_; }
  const BusLayout& buses() const { return layout; }

  // ---- parameters (through the controller) ----
  std::vector<Steinberg::Vst::ParameterInfo> parameters() const;
  // As Ardour: setParamNormalized on the controller, and a point at offset 0 in the next
  // block's input queue.
  void setParameter(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized);
  Steinberg::Vst::ParamValue parameter(Steinberg::Vst::ParamID id) const;

  // ---- processing ----
  ActivationResults activate(double sampleRate, Steinberg::int32 maxBlock,
                             Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
                             Steinberg::int32 processMode = Steinberg::Vst::kRealtime);
  void deactivate();
  bool active() const { return isActive; }

  // Channel buffers of the active sample size (float for kSample32, double for kSample64);
  // null for a bus or channel that does not exist or a wrong sample type.
  template <class Sample> Sample* input(size_t bus, size_t channel);
  template <class Sample> Sample* output(size_t bus, size_t channel);

  // Queues and events of the next block (cleared after it).
  ParameterChanges& inputChanges() { return *inChanges; }
  EventList& inputEvents() { return *inEvents; }
  // What the plug-in wrote during the last block.
  const ParameterChanges& outputChanges() const { return *outChanges; }
  const EventList& outputEvents() const { return *outEvents; }
  Steinberg::Vst::ProcessContext& context() { return processContext; }

  // One block of `frames` samples (at most maxBlock).
  Steinberg::tresult process(Steinberg::int32 frames);

  // ---- state ----
  std::vector<std::uint8_t> processorState() const;
  std::vector<std::uint8_t> controllerState() const;
  // As Ardour restores a session: component setState, controller setComponentState (same
  // bytes), controller setState. Returns the first failure.
  Steinberg::tresult restoreState(const std::vector<std::uint8_t>& processor,
                                  const std::vector<std::uint8_t>& controller);

  // ---- view ----
  // createView("editor"), setFrame, attached to a stand-in X11 parent. Null when the
  // controller has no view or the view refuses the platform.
  Steinberg::IPlugView* openView();
  void closeView();
  Steinberg::IPlugView* view() const { return view_; }

private:
  Plugin(Module& module, PluginOptions options);
  bool build(const Steinberg::FUID& processorClass, std::string& error);
  void connectHalves();
  void disconnectHalves();
  void readBuses();
  void allocateBuffers(Steinberg::int32 maxBlock);
  void shutdown();

  Module& module;
  PluginOptions options;
  std::shared_ptr<HostLog> log_;
  HostApplication* host = nullptr;
  ComponentHandler* handler = nullptr;
  PlugFrame* frame_ = nullptr;

  Steinberg::Vst::IComponent* component_ = nullptr;
  Steinberg::Vst::IAudioProcessor* processor_ = nullptr;
  Steinberg::Vst::IEditController* controller_ = nullptr;
  bool single = false;
  bool controllerInitialized = false;
  Steinberg::Vst::IConnectionPoint* componentPoint = nullptr;
  Steinberg::Vst::IConnectionPoint* controllerPoint = nullptr;
  ConnectionProxy* toController = nullptr;
  ConnectionProxy* toProcessor = nullptr;
  Steinberg::IPlugView* view_ = nullptr;

  BusLayout layout;
  bool isActive = false;
  Steinberg::int32 sampleSize = Steinberg::Vst::kSample32;
  Steinberg::int32 processMode = Steinberg::Vst::kRealtime;
  Steinberg::int32 maxBlock = 0;

  // Per direction, per bus, per channel; only the active sample size is filled.
  std::vector<std::vector<std::vector<float>>> in32, out32;
  std::vector<std::vector<std::vector<double>>> in64, out64;
  std::vector<std::vector<float*>> inPtr32, outPtr32;
  std::vector<std::vector<double*>> inPtr64, outPtr64;
  std::vector<Steinberg::Vst::AudioBusBuffers> inBuses, outBuses;

  ParameterChanges* inChanges;
  ParameterChanges* outChanges;
  EventList* inEvents;
  EventList* outEvents;
  Steinberg::Vst::ProcessContext processContext{};
};

template <> float* Plugin::input<float>(size_t bus, size_t channel);
template <> float* Plugin::output<float>(size_t bus, size_t channel);
template <> double* Plugin::input<double>(size_t bus, size_t channel);
template <> double* Plugin::output<double>(size_t bus, size_t channel);

} // namespace orvane::testhost
