#include "FakeInstanceObjects.h"

#include <cstring>

namespace aaxhost {

namespace {
const char* Text(const char* text) {
  return text ? text : "(null)";
}
} // namespace

// --- automation --------------------------------------------------------------------------

void* FakeAutomationDelegate::Answer(const acfIID& iid) {
  return iid == IID_AutomationDelegate ? static_cast<AAX_IACFAutomationDelegate*>(this) : nullptr;
}

AAX_Result FakeAutomationDelegate::RegisterParameter(AAX_CParamID id) {
  Log().Record("Automation.RegisterParameter(%s)", Text(id));
  registered.insert(Text(id));
  return AAX_SUCCESS;
}

AAX_Result FakeAutomationDelegate::UnregisterParameter(AAX_CParamID id) {
  Log().Record("Automation.UnregisterParameter(%s)", Text(id));
  registered.erase(Text(id));
  return AAX_SUCCESS;
}

AAX_Result FakeAutomationDelegate::PostSetValueRequest(AAX_CParamID id, double value) {
  Log().Record("Automation.PostSetValueRequest(%s, %g)", Text(id), value);
  pendingRequests.emplace_back(Text(id), value);
  return AAX_SUCCESS;
}

AAX_Result FakeAutomationDelegate::PostCurrentValue(AAX_CParamID id, double value) {
  Log().Record("Automation.PostCurrentValue(%s, %g)", Text(id), value);
  return AAX_SUCCESS;
}

AAX_Result FakeAutomationDelegate::PostTouchRequest(AAX_CParamID id) {
  Log().Record("Automation.PostTouchRequest(%s)", Text(id));
  return AAX_SUCCESS;
}

AAX_Result FakeAutomationDelegate::PostReleaseRequest(AAX_CParamID id) {
  Log().Record("Automation.PostReleaseRequest(%s)", Text(id));
  return AAX_SUCCESS;
}

void FakeAutomationDelegate::ConfirmPendingRequests(AAX_IACFEffectParameters& effect) {
  auto requests = std::move(pendingRequests);
  pendingRequests.clear();
  for (const auto& [id, value] : requests)
    effect.UpdateParameterNormalizedValue(id.c_str(), value, 0);
}

// --- controller --------------------------------------------------------------------------

void* FakeController::Answer(const acfIID& iid) {
  if (iid == IID_Controller)
    return static_cast<AAX_IACFController*>(this);
  if (iid == IID_Controller_V2)
    return static_cast<AAX_IACFController_V2*>(this);
  return nullptr;
}

AAX_Result FakeController::GetSampleRate(float* rate) const {
  Log().Record("Controller.GetSampleRate");
  if (rate)
    *rate = sampleRate;
  return AAX_SUCCESS;
}

AAX_Result FakeController::GetInputStemFormat(uint32_t* format) const {
  Log().Record("Controller.GetInputStemFormat");
  if (format)
    *format = inputStemFormat;
  return AAX_SUCCESS;
}

AAX_Result FakeController::GetOutputStemFormat(uint32_t* format) const {
  Log().Record("Controller.GetOutputStemFormat");
  if (format)
    *format = outputStemFormat;
  return AAX_SUCCESS;
}

AAX_Result FakeController::SetSignalLatency(int32_t samples) {
  Log().Record("Controller.SetSignalLatency(%d)", samples);
  signalLatency = samples;
  return AAX_SUCCESS;
}

AAX_Result FakeController::PostPacket(AAX_CFieldIndex port, const void* payload, uint32_t size) {
  Log().Record("Controller.PostPacket(%d, %u)", port, size);
  const auto* bytes = static_cast<const uint8_t*>(payload);
  packets.push_back(
      {port, bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>()});
  return AAX_SUCCESS;
}

AAX_Result FakeController::SendNotification(AAX_CTypeID type, const void*, uint32_t size) {
  Log().Record("Controller.SendNotification(%08x, %u)", type, size);
  return AAX_SUCCESS;
}

// --- transport ---------------------------------------------------------------------------

void* FakeTransport::Answer(const acfIID& iid) {
  if (iid == IID_Transport)
    return static_cast<AAX_IACFTransport*>(this);
  if (iid == IID_Transport_V2)
    return static_cast<AAX_IACFTransport_V2*>(this);
  return nullptr;
}

AAX_Result FakeTransport::GetCurrentTempo(double* bpm) const {
  Log().Record("Transport.GetCurrentTempo");
  if (!tempo)
    return AAX_ERROR_UNIMPLEMENTED;
  if (bpm)
    *bpm = *tempo;
  return AAX_SUCCESS;
}

AAX_Result FakeTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const {
  Log().Record("Transport.GetCurrentMeter");
  if (!meter)
    return AAX_ERROR_UNIMPLEMENTED;
  if (numerator)
    *numerator = meter->first;
  if (denominator)
    *denominator = meter->second;
  return AAX_SUCCESS;
}

AAX_Result FakeTransport::IsTransportPlaying(bool* isPlaying) const {
  Log().Record("Transport.IsTransportPlaying");
  if (!playing)
    return AAX_ERROR_UNIMPLEMENTED;
  if (isPlaying)
    *isPlaying = *playing;
  return AAX_SUCCESS;
}

AAX_Result FakeTransport::GetCurrentTickPosition(int64_t* ticks) const {
  Log().Record("Transport.GetCurrentTickPosition");
  if (!tickPosition)
    return AAX_ERROR_UNIMPLEMENTED;
  if (ticks)
    *ticks = *tickPosition;
  return AAX_SUCCESS;
}

AAX_Result FakeTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                                 int64_t* endTicks) const {
  Log().Record("Transport.GetCurrentLoopPosition");
  if (!loop)
    return AAX_ERROR_UNIMPLEMENTED;
  if (looping)
    *looping = loop->looping;
  if (startTicks)
    *startTicks = loop->startTicks;
  if (endTicks)
    *endTicks = loop->endTicks;
  return AAX_SUCCESS;
}

AAX_Result FakeTransport::GetCurrentSampleLocation(int64_t* samples) const {
  Log().Record("Transport.GetCurrentSampleLocation");
  if (!sampleLocation)
    return AAX_ERROR_UNIMPLEMENTED;
  if (samples)
    *samples = *sampleLocation;
  return AAX_SUCCESS;
}

// --- view container ----------------------------------------------------------------------

void* FakeViewContainer::Answer(const acfIID& iid) {
  return iid == IID_ViewContainer ? static_cast<AAX_IACFViewContainer*>(this) : nullptr;
}

int32_t FakeViewContainer::GetType() {
  Log().Record("ViewContainer.GetType");
  return type;
}

void* FakeViewContainer::GetNativeView() {
  Log().Record("ViewContainer.GetNativeView");
  return nativeView;
}

AAX_Result FakeViewContainer::GetModifiers(uint32_t* out) {
  Log().Record("ViewContainer.GetModifiers");
  if (out)
    *out = modifiers;
  return AAX_SUCCESS;
}

AAX_Result FakeViewContainer::SetViewSize(AAX_Point& size) {
  Log().Record("ViewContainer.SetViewSize(%g, %g)", double(size.vert), double(size.horz));
  viewSize = size;
  return AAX_SUCCESS;
}

AAX_Result FakeViewContainer::HandleParameterMouseDown(AAX_CParamID id, uint32_t mods) {
  Log().Record("ViewContainer.HandleParameterMouseDown(%s, %u)", Text(id), mods);
  return mouseDownAnswer;
}

// --- host services -----------------------------------------------------------------------

void* FakeHostServices::Answer(const acfIID& iid) {
  return iid == IID_HostServices ? static_cast<AAX_IACFHostServices*>(this) : nullptr;
}

AAX_Result FakeHostServices::Trace(int32_t priority, const char* message) {
  Log().Record("HostServices.Trace(%d, %s)", priority, Text(message));
  traces.emplace_back(priority, Text(message));
  return AAX_SUCCESS;
}

} // namespace aaxhost
