// The processing half of a plug-in as the host sees it: buses, activation and state.
#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

// Class category of processors in factory records.
inline constexpr const char8* kVstAudioEffectClass = "Audio Module Class";

enum MediaTypes : int32 { kAudio = 0, kEvent, kNumMediaTypes };
enum BusDirections : int32 { kInput = 0, kOutput };
enum BusTypes : int32 { kMain = 0, kAux };
enum IoModes : int32 { kSimple = 0, kAdvanced, kOfflineProcessing };

struct BusInfo {
  enum BusFlags : uint32 { kDefaultActive = 1 << 0, kIsControlVoltage = 1 << 1 };

  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo {
  MediaType mediaType;
  int32 busIndex;
  int32 channel;
};

class IComponent : public IPluginBase {
public:
  virtual tresult PLUGIN_API getControllerClassId(TUID classId) = 0;
  virtual tresult PLUGIN_API setIoMode(IoMode mode) = 0;
  virtual int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                        BusInfo& bus) = 0;
  virtual tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index,
                                         TBool state) = 0;
  virtual tresult PLUGIN_API setActive(TBool state) = 0;
  virtual tresult PLUGIN_API setState(IBStream* state) = 0;
  virtual tresult PLUGIN_API getState(IBStream* state) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IComponent, 0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802)

} // namespace Vst
} // namespace Steinberg
