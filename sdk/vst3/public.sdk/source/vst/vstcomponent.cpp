#include "public.sdk/source/vst/vstcomponent.h"

namespace Steinberg {
namespace Vst {

Component::Component()
    : audioInputs(kAudio, kInput), audioOutputs(kAudio, kOutput), eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput) {}

Component::~Component() = default;

tresult PLUGIN_API Component::initialize(FUnknown* context) {
  return ComponentBase::initialize(context);
}

tresult PLUGIN_API Component::terminate() {
  removeAllBusses();
  return ComponentBase::terminate();
}

void Component::removeAudioBusses() {
  audioInputs.clear();
  audioOutputs.clear();
}

void Component::removeEventBusses() {
  eventInputs.clear();
  eventOutputs.clear();
}

void Component::removeAllBusses() {
  removeAudioBusses();
  removeEventBusses();
}

AudioBus* Component::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                   int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioInputs.append(bus);
  return bus;
}

AudioBus* Component::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                    int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioOutputs.append(bus);
  return bus;
}

EventBus* Component::addEventInput(const TChar* name, int32 channels, BusType busType,
                                   int32 flags) {
  auto* bus = new EventBus(name, busType, flags, channels);
  eventInputs.append(bus);
  return bus;
}

EventBus* Component::addEventOutput(const TChar* name, int32 channels, BusType busType,
                                    int32 flags) {
  auto* bus = new EventBus(name, busType, flags, channels);
  eventOutputs.append(bus);
  return bus;
}

BusList* Component::getBusList(MediaType type, BusDirection dir) {
  if (dir != kInput && dir != kOutput)
    return nullptr;
  if (type == kAudio)
    return dir == kInput ? &audioInputs : &audioOutputs;
  if (type == kEvent)
    return dir == kInput ? &eventInputs : &eventOutputs;
  return nullptr;
}

tresult PLUGIN_API Component::getControllerClassId(TUID classID) {
  if (!classID)
    return kInvalidArgument;
  if (!controllerClass.isValid())
    return kResultFalse;
  controllerClass.toTUID(classID);
  return kResultTrue;
}

tresult PLUGIN_API Component::setIoMode(IoMode /*mode*/) {
  return kNotImplemented;
}

int32 PLUGIN_API Component::getBusCount(MediaType type, BusDirection dir) {
  const BusList* list = getBusList(type, dir);
  return list ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API Component::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                         BusInfo& info) {
  BusList* list = getBusList(type, dir);
  Bus* bus = list ? list->getBus(index) : nullptr;
  if (!bus)
    return kInvalidArgument;
  info.mediaType = type;
  info.direction = dir;
  return bus->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Component::getRoutingInfo(RoutingInfo& /*inInfo*/, RoutingInfo& /*outInfo*/) {
  return kNotImplemented;
}

tresult PLUGIN_API Component::activateBus(MediaType type, BusDirection dir, int32 index,
                                          TBool state) {
  BusList* list = getBusList(type, dir);
  Bus* bus = list ? list->getBus(index) : nullptr;
  if (!bus)
    return kInvalidArgument;
  bus->setActive(state ? 1 : 0);
  return kResultTrue;
}

tresult PLUGIN_API Component::setActive(TBool /*state*/) {
  return kResultOk;
}

tresult PLUGIN_API Component::setState(IBStream* /*state*/) {
  return kNotImplemented;
}

tresult PLUGIN_API Component::getState(IBStream* /*state*/) {
  return kNotImplemented;
}

} // namespace Vst
} // namespace Steinberg
