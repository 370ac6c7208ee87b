// The host objects of one effect instance: automation, controller, transport, view container,
// and the bundle's host services. Each records every call in the host's log and answers from
// fields a test sets.
#pragma once

#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"
#include "FakeHostObject.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace aaxhost {

// Keeps the plug-in's set requests until the test confirms them, as a host confirms them
// from its automation engine.
class FakeAutomationDelegate final : public HostObject<AAX_IACFAutomationDelegate> {
public:
  using HostObject::HostObject;

  AAX_Result RegisterParameter(AAX_CParamID id) override;
  AAX_Result UnregisterParameter(AAX_CParamID id) override;
  AAX_Result PostSetValueRequest(AAX_CParamID id, double value) override;
  AAX_Result PostCurrentValue(AAX_CParamID id, double value) override;
  AAX_Result PostTouchRequest(AAX_CParamID id) override;
  AAX_Result PostReleaseRequest(AAX_CParamID id) override;

  // Hands every pending set request back through UpdateParameterNormalizedValue, in order.
  void ConfirmPendingRequests(AAX_IACFEffectParameters& effect);

  std::set<std::string> registered;
  std::vector<std::pair<std::string, double>> pendingRequests;

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeController final : public HostObject<AAX_IACFController_V2> {
public:
  struct Packet {
    AAX_CFieldIndex port;
    std::vector<uint8_t> payload;
  };

  using HostObject::HostObject;

  AAX_Result GetSampleRate(float* rate) const override;
  AAX_Result GetInputStemFormat(uint32_t* format) const override;
  AAX_Result GetOutputStemFormat(uint32_t* format) const override;
  AAX_Result SetSignalLatency(int32_t samples) override;
  AAX_Result PostPacket(AAX_CFieldIndex port, const void* payload, uint32_t size) override;
  AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) override;

  float sampleRate = 48000.0f;
  uint32_t inputStemFormat = 0x00010002; // stereo
  uint32_t outputStemFormat = 0x00010002;
  int32_t signalLatency = 0;
  std::vector<Packet> packets;

protected:
  void* Answer(const acfIID& iid) override;
};

// Each reading is answered when set, and fails with -20009 when empty.
class FakeTransport final : public HostObject<AAX_IACFTransport_V2> {
public:
  struct Loop {
    bool looping;
    int64_t startTicks;
    int64_t endTicks;
  };

  using HostObject::HostObject;

  AAX_Result GetCurrentTempo(double* bpm) const override;
  AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
  AAX_Result IsTransportPlaying(bool* playing) const override;
  AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
  AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                    int64_t* endTicks) const override;
  AAX_Result GetCurrentSampleLocation(int64_t* samples) const override;

  std::optional<double> tempo = 120.0;
  std::optional<std::pair<int32_t, int32_t>> meter = std::make_pair(4, 4);
  std::optional<bool> playing = false;
  std::optional<int64_t> tickPosition = 0;
  std::optional<Loop> loop;
  std::optional<int64_t> sampleLocation = 0;

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeViewContainer final : public HostObject<AAX_IACFViewContainer> {
public:
  using HostObject::HostObject;

  int32_t GetType() override;
  void* GetNativeView() override;
  AAX_Result GetModifiers(uint32_t* modifiers) override;
  AAX_Result SetViewSize(AAX_Point& size) override;
  AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) override;

  int32_t type = AAX_eViewContainer_Type_NSView;
  void* nativeView = nullptr;
  uint32_t modifiers = 0;
  // What a parameter click answers: 0 takes it.
  AAX_Result mouseDownAnswer = AAX_ERROR_UNIMPLEMENTED;
  std::optional<AAX_Point> viewSize;

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeHostServices final : public HostObject<AAX_IACFHostServices> {
public:
  using HostObject::HostObject;

  AAX_Result Trace(int32_t priority, const char* message) override;

  std::vector<std::pair<int32_t, std::string>> traces;

protected:
  void* Answer(const acfIID& iid) override;
};

} // namespace aaxhost
