#include "tests/hosts/vst3/Plugin.h"

#include "tests/hosts/vst3/MemoryStream.h"

#include <cstdint>

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Stands in for the X11 window a Linux host embeds the view in.
void* const kParentWindow = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x4C0FFEE));

template <class I> I* queryOf(FUnknown* object) {
  void* obj = nullptr;
  if (object && object->queryInterface(I::iid, &obj) == kResultOk)
    return static_cast<I*>(obj);
  return nullptr;
}

template <class I> void releaseAndClear(I*& object) {
  if (object)
    object->release();
  object = nullptr;
}

SpeakerArrangement arrangementFor(int32 channels) {
  switch (channels) {
  case 0:
    return SpeakerArr::kEmpty;
  case 1:
    return SpeakerArr::kMono;
  case 2:
    return SpeakerArr::kStereo;
  default:
    // The lowest `channels` speaker bits.
    return channels >= 64 ? ~SpeakerArrangement{0} : (SpeakerArrangement{1} << channels) - 1;
  }
}

} // namespace

Plugin::Plugin(Module& module, PluginOptions options)
    : module(module), options(std::move(options)), log_(std::make_shared<HostLog>()),
      inChanges(new ParameterChanges), outChanges(new ParameterChanges), inEvents(new EventList),
      outEvents(new EventList) {
  host = new HostApplication(this->options.hostName, log_);
  handler = new ComponentHandler(log_, this->options.offerContextMenus);
  frame_ = new PlugFrame(log_);
}

std::unique_ptr<Plugin> Plugin::create(Module& module, const FUID& processorClass,
                                       std::string& error, PluginOptions options) {
  std::unique_ptr<Plugin> plugin(new Plugin(module, std::move(options)));
  if (!plugin->build(processorClass, error))
    return nullptr;
  return plugin;
}

bool Plugin::build(const FUID& processorClass, std::string& error) {
  IPluginFactory* factory = module.factory();
  void* obj = nullptr;
  TUID cid;
  processorClass.toTUID(cid);
  if (factory->createInstance(cid, IComponent::iid, &obj) != kResultOk || !obj) {
    error = "createInstance of the processor class failed";
    return false;
  }
  component_ = static_cast<IComponent*>(obj);
  if (component_->initialize(static_cast<IHostApplication*>(host)) != kResultOk) {
    error = "IComponent::initialize failed";
    releaseAndClear(component_);
    return false;
  }
  processor_ = queryOf<IAudioProcessor>(component_);
  if (!processor_) {
    error = "the component has no IAudioProcessor";
    return false;
  }

  controller_ = queryOf<IEditController>(component_);
  single = controller_ != nullptr;
  if (!controller_) {
    TUID controllerClass = {};
    if (component_->getControllerClassId(controllerClass) != kResultOk) {
      error = "the component names no controller class";
      return false;
    }
    obj = nullptr;
    if (factory->createInstance(controllerClass, IEditController::iid, &obj) != kResultOk || !obj) {
      error = "createInstance of the controller class failed";
      return false;
    }
    controller_ = static_cast<IEditController*>(obj);
    if (controller_->initialize(static_cast<IHostApplication*>(host)) != kResultOk) {
      error = "IEditController::initialize failed";
      releaseAndClear(controller_);
      return false;
    }
    controllerInitialized = true;
  }
  controller_->setComponentHandler(static_cast<IComponentHandler*>(handler));
  connectHalves();

  // The controller learns the processor's state before anything else.
  MemoryStream* state = new MemoryStream;
  if (component_->getState(state) == kResultOk) {
    state->rewind();
    controller_->setComponentState(state);
  }
  state->release();

  readBuses();
  return true;
}

void Plugin::connectHalves() {
  if (single)
    return;
  componentPoint = queryOf<IConnectionPoint>(component_);
  controllerPoint = queryOf<IConnectionPoint>(controller_);
  if (!componentPoint || !controllerPoint)
    return;
  if (options.recordMessages) {
    toController =
        new ConnectionProxy(controllerPoint, RecordedMessage::Direction::ToController, log_);
    toProcessor =
        new ConnectionProxy(componentPoint, RecordedMessage::Direction::ToProcessor, log_);
    componentPoint->connect(toController);
    controllerPoint->connect(toProcessor);
  } else {
    componentPoint->connect(controllerPoint);
    controllerPoint->connect(componentPoint);
  }
}

void Plugin::disconnectHalves() {
  if (componentPoint && controllerPoint) {
    if (options.recordMessages) {
      componentPoint->disconnect(toController);
      controllerPoint->disconnect(toProcessor);
      toController->cut();
      toProcessor->cut();
    } else {
      componentPoint->disconnect(controllerPoint);
      controllerPoint->disconnect(componentPoint);
    }
  }
  releaseAndClear(componentPoint);
  releaseAndClear(controllerPoint);
  releaseAndClear(toController);
  releaseAndClear(toProcessor);
}

void Plugin::readBuses() {
  layout = {};
  auto read = [this](MediaType type, BusDirection dir, std::vector<BusInfo>& into) {
    const int32 count = component_->getBusCount(type, dir);
    for (int32 i = 0; i < count; ++i) {
      BusInfo info{};
      if (component_->getBusInfo(type, dir, i, info) == kResultOk)
        into.push_back(info);
    }
  };
  read(kAudio, kInput, layout.audioInputs);
  read(kAudio, kOutput, layout.audioOutputs);
  read(kEvent, kInput, layout.eventInputs);
  read(kEvent, kOutput, layout.eventOutputs);
}

std::vector<ParameterInfo> Plugin::parameters() const {
  std::vector<ParameterInfo> result;
  const int32 count = controller_->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (controller_->getParameterInfo(i, info) == kResultOk)
      result.push_back(info);
  }
  return result;
}

void Plugin::setParameter(ParamID id, ParamValue normalized) {
  controller_->setParamNormalized(id, normalized);
  inChanges->add(id, 0, normalized);
}

ParamValue Plugin::parameter(ParamID id) const {
  return controller_->getParamNormalized(id);
}

ActivationResults Plugin::activate(double sampleRate, int32 block, int32 size, int32 mode) {
  ActivationResults r;
  if (isActive)
    deactivate();
  sampleSize = size;
  processMode = mode;
  maxBlock = block;
  ProcessSetup setup{mode, size, block, sampleRate};
  r.setupProcessing = processor_->setupProcessing(setup);

  auto activateAll = [this](MediaType type, BusDirection dir, size_t count) {
    for (size_t i = 0; i < count; ++i)
      component_->activateBus(type, dir, static_cast<int32>(i), true);
  };
  activateAll(kAudio, kInput, layout.audioInputs.size());
  activateAll(kAudio, kOutput, layout.audioOutputs.size());
  activateAll(kEvent, kInput, layout.eventInputs.size());
  activateAll(kEvent, kOutput, layout.eventOutputs.size());

  auto arrangements = [this](BusDirection dir, const std::vector<BusInfo>& buses) {
    std::vector<SpeakerArrangement> result;
    for (size_t i = 0; i < buses.size(); ++i) {
      SpeakerArrangement arr = arrangementFor(buses[i].channelCount);
      processor_->getBusArrangement(dir, static_cast<int32>(i), arr);
      result.push_back(arr);
    }
    return result;
  };
  auto ins = arrangements(kInput, layout.audioInputs);
  auto outs = arrangements(kOutput, layout.audioOutputs);
  r.setBusArrangements = processor_->setBusArrangements(
      ins.empty() ? nullptr : ins.data(), static_cast<int32>(ins.size()),
      outs.empty() ? nullptr : outs.data(), static_cast<int32>(outs.size()));
  readBuses();
  allocateBuffers(block);

  r.setActive = component_->setActive(true);
  r.setProcessing = processor_->setProcessing(true);
  r.latencySamples = processor_->getLatencySamples();

  processContext = {};
  processContext.sampleRate = sampleRate;
  processContext.tempo = 120.0;
  processContext.timeSigNumerator = 4;
  processContext.timeSigDenominator = 4;
  processContext.state = ProcessContext::kPlaying | ProcessContext::kTempoValid |
                         ProcessContext::kTimeSigValid | ProcessContext::kContTimeValid |
                         ProcessContext::kProjectTimeMusicValid;
  isActive = true;
  return r;
}

void Plugin::deactivate() {
  if (!isActive)
    return;
  processor_->setProcessing(false);
  component_->setActive(false);
  isActive = false;
}

void Plugin::allocateBuffers(int32 block) {
  auto size = [block](auto& samples, auto& pointers, auto& buses,
                      const std::vector<BusInfo>& infos) {
    samples.assign(infos.size(), {});
    pointers.assign(infos.size(), {});
    buses.assign(infos.size(), AudioBusBuffers{});
    for (size_t b = 0; b < infos.size(); ++b) {
      const auto channels =
          static_cast<size_t>(infos[b].channelCount > 0 ? infos[b].channelCount : 0);
      samples[b].assign(channels, {});
      for (auto& channel : samples[b]) {
        channel.assign(static_cast<size_t>(block), 0);
        pointers[b].push_back(channel.data());
      }
      buses[b].numChannels = static_cast<int32>(channels);
    }
  };
  in32.clear();
  out32.clear();
  in64.clear();
  out64.clear();
  inPtr32.clear();
  outPtr32.clear();
  inPtr64.clear();
  outPtr64.clear();
  if (sampleSize == kSample64) {
    size(in64, inPtr64, inBuses, layout.audioInputs);
    size(out64, outPtr64, outBuses, layout.audioOutputs);
    for (size_t b = 0; b < inBuses.size(); ++b)
      inBuses[b].channelBuffers64 = inPtr64[b].data();
    for (size_t b = 0; b < outBuses.size(); ++b)
      outBuses[b].channelBuffers64 = outPtr64[b].data();
  } else {
    size(in32, inPtr32, inBuses, layout.audioInputs);
    size(out32, outPtr32, outBuses, layout.audioOutputs);
    for (size_t b = 0; b < inBuses.size(); ++b)
      inBuses[b].channelBuffers32 = inPtr32[b].data();
    for (size_t b = 0; b < outBuses.size(); ++b)
      outBuses[b].channelBuffers32 = outPtr32[b].data();
  }
}

template <> float* Plugin::input<float>(size_t bus, size_t channel) {
  if (sampleSize != kSample32 || bus >= in32.size() || channel >= in32[bus].size())
    return nullptr;
  return in32[bus][channel].data();
}

template <> float* Plugin::output<float>(size_t bus, size_t channel) {
  if (sampleSize != kSample32 || bus >= out32.size() || channel >= out32[bus].size())
    return nullptr;
  return out32[bus][channel].data();
}

template <> double* Plugin::input<double>(size_t bus, size_t channel) {
  if (sampleSize != kSample64 || bus >= in64.size() || channel >= in64[bus].size())
    return nullptr;
  return in64[bus][channel].data();
}

template <> double* Plugin::output<double>(size_t bus, size_t channel) {
  if (sampleSize != kSample64 || bus >= out64.size() || channel >= out64[bus].size())
    return nullptr;
  return out64[bus][channel].data();
}

tresult Plugin::process(int32 frames) {
  if (!isActive || frames < 0 || frames > maxBlock)
    return kInvalidArgument;
  ProcessData data;
  data.processMode = processMode;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = static_cast<int32>(inBuses.size());
  data.numOutputs = static_cast<int32>(outBuses.size());
  data.inputs = inBuses.empty() ? nullptr : inBuses.data();
  data.outputs = outBuses.empty() ? nullptr : outBuses.data();
  for (auto& bus : inBuses)
    bus.silenceFlags = 0;
  for (auto& bus : outBuses)
    bus.silenceFlags = 0;
  outChanges->clear();
  outEvents->clear();
  data.inputParameterChanges = inChanges;
  data.outputParameterChanges = outChanges;
  data.inputEvents = inEvents;
  data.outputEvents = outEvents;
  data.processContext = &processContext;

  const tresult result = processor_->process(data);

  processContext.projectTimeSamples += frames;
  processContext.continousTimeSamples += frames;
  processContext.projectTimeMusic +=
      frames / processContext.sampleRate * processContext.tempo / 60.0;
  inChanges->clear();
  inEvents->clear();
  return result;
}

std::vector<std::uint8_t> Plugin::processorState() const {
  MemoryStream* stream = new MemoryStream;
  std::vector<std::uint8_t> bytes;
  if (component_->getState(stream) == kResultOk)
    bytes = stream->data();
  stream->release();
  return bytes;
}

std::vector<std::uint8_t> Plugin::controllerState() const {
  MemoryStream* stream = new MemoryStream;
  std::vector<std::uint8_t> bytes;
  if (controller_->getState(stream) == kResultOk)
    bytes = stream->data();
  stream->release();
  return bytes;
}

tresult Plugin::restoreState(const std::vector<std::uint8_t>& processor,
                             const std::vector<std::uint8_t>& controller) {
  auto apply = [](auto* target, auto method, const std::vector<std::uint8_t>& bytes) {
    MemoryStream* stream = new MemoryStream(bytes);
    const tresult result = (target->*method)(stream);
    stream->release();
    return result;
  };
  tresult first = apply(component_, &IComponent::setState, processor);
  const tresult componentState = apply(controller_, &IEditController::setComponentState, processor);
  if (first == kResultOk)
    first = componentState;
  if (!controller.empty()) {
    const tresult controllerResult = apply(controller_, &IEditController::setState, controller);
    if (first == kResultOk)
      first = controllerResult;
  }
  return first;
}

IPlugView* Plugin::openView() {
  if (view_)
    return view_;
  IPlugView* created = controller_->createView(ViewType::kEditor);
  if (!created)
    return nullptr;
  if (created->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
    created->release();
    return nullptr;
  }
  created->setFrame(frame_);
  if (created->attached(kParentWindow, kPlatformTypeX11EmbedWindowID) != kResultOk) {
    created->setFrame(nullptr);
    created->release();
    return nullptr;
  }
  view_ = created;
  return view_;
}

void Plugin::closeView() {
  if (!view_)
    return;
  view_->removed();
  view_->setFrame(nullptr);
  releaseAndClear(view_);
}

void Plugin::shutdown() {
  closeView();
  if (processor_)
    deactivate();
  disconnectHalves();
  if (controller_)
    controller_->setComponentHandler(nullptr);
  if (controllerInitialized)
    controller_->terminate();
  if (component_)
    component_->terminate();
  releaseAndClear(processor_);
  releaseAndClear(controller_);
  releaseAndClear(component_);
  // Registrations left behind point into the module; drop them before it can go.
  frame_->dropRegistrations();
}

Plugin::~Plugin() {
  shutdown();
  releaseAndClear(frame_);
  releaseAndClear(handler);
  releaseAndClear(host);
  releaseAndClear(inChanges);
  releaseAndClear(outChanges);
  releaseAndClear(inEvents);
  releaseAndClear(outEvents);
}

} // namespace orvane::testhost
