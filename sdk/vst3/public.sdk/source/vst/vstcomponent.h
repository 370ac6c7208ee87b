// Component: the processor half's IComponent: the controller class ID, the four bus lists
// (audio and event, input and output) and the bus queries hosts make on them.
#pragma once

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vstcomponentbase.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg {
namespace Vst {

class Component : public ComponentBase, public IComponent {
public:
  Component();
  ~Component() override;

  void setControllerClass(const FUID& cid) { controllerClass = cid; }
  void setControllerClass(const TUID cid) { controllerClass = FUID::fromTUID(cid); }

  void removeAudioBusses();
  void removeEventBusses();
  void removeAllBusses();

  // Builders: append a bus to the list and return it (owned by the list).
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);

  // The bus list of a media type and direction, or null for values outside those.
  BusList* getBusList(MediaType type, BusDirection dir);

  // IComponent
  // kResultFalse while no controller class is set.
  tresult PLUGIN_API getControllerClassId(TUID classID) override;
  tresult PLUGIN_API setIoMode(IoMode mode) override;
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
  // kInvalidArgument for an unknown type, direction or index.
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                BusInfo& info) override;
  tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index,
                                 TBool state) override;
  tresult PLUGIN_API setActive(TBool state) override;
  tresult PLUGIN_API setState(IBStream* state) override;
  tresult PLUGIN_API getState(IBStream* state) override;

  // IPluginBase: terminate also removes every bus.
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  OBJ_METHODS(Component, ComponentBase)
  DEFINE_INTERFACES
  DEF_INTERFACE(IComponent)
  QUERY_INTERFACE(iid, obj, IPluginBase::iid, IComponent)
  END_DEFINE_INTERFACES(ComponentBase)
  REFCOUNT_METHODS(ComponentBase)

protected:
  FUID controllerClass;
  BusList audioInputs;
  BusList audioOutputs;
  BusList eventInputs;
  BusList eventOutputs;
};

} // namespace Vst
} // namespace Steinberg
