// The parameter road: which controller parameters the host sees, their values in both
// directions, and their names, labels and display texts.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "public.sdk/source/vst/utility/stringconvert.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kMidiControllersPerChannel = kPitchBend + 1; // 0-127, aftertouch, pitch bend
constexpr int32 kMidiChannels = 16;

std::string utf8(const String128 text) {
  return StringConvert::convert(text, 128);
}

} // namespace

void Vst2Wrapper::setupParameters() {
  mParameterIDs.clear();
  mParameterInfos.clear();
  mParameterIndices.clear();
  const int32 count = mController ? mController->getParameterCount() : 0;
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, info) != kResultOk)
      continue;
    if (info.flags & ParameterInfo::kIsProgramChange) {
      if (mProgramParameterID == kNoParamId) {
        mProgramParameterID = info.id;
        mProgramParameterIdx = i;
        mProgramParameterStepCount = info.stepCount;
      }
      continue;
    }
    if (info.flags & ParameterInfo::kIsBypass) {
      if (mBypassParameterID == kNoParamId)
        mBypassParameterID = info.id;
      continue;
    }
    if (info.flags & ParameterInfo::kIsReadOnly)
      continue;
    mParameterIndices[info.id] = int32(mParameterIDs.size());
    mParameterIDs.push_back(info.id);
    mParameterInfos.push_back(info);
  }
  const int32 exported = int32(mParameterIDs.size());
  mBypassSlot = mBypassParameterID != kNoParamId ? exported : -1;
  mHostValues.resize(exported + (mBypassSlot >= 0 ? 1 : 0));
  setNumParams(exported);
  syncHostValuesFromController();

  // Room for a change of every controller parameter, several times over, in each direction.
  const int32 queued = (count + 2) * 4 < 1024 ? 1024 : (count + 2) * 4;
  mInputTransfer.setMaxParameters(queued);
  mOutputTransfer.setMaxParameters(queued);
  mInputChanges.setMaxParameters(count + 2);
  mOutputChanges.setMaxParameters(count + 2);
}

void Vst2Wrapper::setupMidiMapping() {
  mMidiControllerIDs.clear();
  if (!mTakesMidi)
    return;
  mInputEvents.setMaxSize(kMaxEventsPerBlock);
  if (!mController)
    return;
  FUnknownPtr<IMidiMapping> mapping(mController);
  if (!mapping)
    return;
  mMidiControllerIDs.assign(size_t(kMidiChannels * kMidiControllersPerChannel), kNoParamId);
  for (int16 channel = 0; channel < kMidiChannels; ++channel)
    for (int32 controller = 0; controller < kMidiControllersPerChannel; ++controller) {
      ParamID id = kNoParamId;
      if (mapping->getMidiControllerAssignment(0, channel, CtrlNumber(controller), id) ==
          kResultTrue)
        mMidiControllerIDs[size_t(channel * kMidiControllersPerChannel + controller)] = id;
    }
}

void Vst2Wrapper::syncHostValuesFromController() {
  if (!mController)
    return;
  for (int32 i = 0; i < int32(mParameterIDs.size()); ++i)
    mHostValues.setFromController(i,
                                  float(mController->getParamNormalized(mParameterIDs[size_t(i)])));
  if (mBypassSlot >= 0)
    mHostValues.setFromController(mBypassSlot,
                                  float(mController->getParamNormalized(mBypassParameterID)));
}

void Vst2Wrapper::refreshParameterInfos() {
  if (!mController)
    return;
  for (int32 i = 0, n = mController->getParameterCount(); i < n; ++i) {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, info) != kResultOk)
      continue;
    const int32 index = vst2IndexOf(info.id);
    if (index >= 0)
      mParameterInfos[size_t(index)] = info;
  }
}

int32 Vst2Wrapper::vst2IndexOf(ParamID id) const {
  const auto found = mParameterIndices.find(id);
  return found == mParameterIndices.end() ? -1 : found->second;
}

void Vst2Wrapper::setParameter(VstInt32 index, float value) {
  noteHostCall();
  if (index < 0 || index >= int32(mParameterIDs.size()) || !(value == value))
    return;
  mHostValues.setFromHost(index, value < 0.f ? 0.f : (value > 1.f ? 1.f : value));
}

float Vst2Wrapper::getParameter(VstInt32 index) {
  noteHostCall();
  return mHostValues.value(index);
}

void Vst2Wrapper::getParameterName(VstInt32 index, char* text) {
  vstStringCopy(text, utf8(mParameterInfos[size_t(index)].title).c_str(), kMaxParamTextLen);
}

void Vst2Wrapper::getParameterLabel(VstInt32 index, char* label) {
  vstStringCopy(label, utf8(mParameterInfos[size_t(index)].units).c_str(), kVstMaxParamStrLen);
}

void Vst2Wrapper::getParameterDisplay(VstInt32 index, char* text) {
  *text = 0;
  if (!mController)
    return;
  // The controller's own value, in full precision once it has the host's latest.
  transferHostChangesToController();
  const ParamID id = mParameterIDs[size_t(index)];
  String128 display{};
  if (mController->getParamStringByValue(id, mController->getParamNormalized(id), display) ==
      kResultOk)
    vstStringCopy(text, utf8(display).c_str(), kMaxParamTextLen);
}

bool Vst2Wrapper::canParameterBeAutomated(VstInt32 index) {
  return (mParameterInfos[size_t(index)].flags & ParameterInfo::kCanAutomate) != 0;
}

bool Vst2Wrapper::string2parameter(VstInt32 index, char* text) {
  if (!mController)
    return false;
  if (!text)
    return true;
  const std::u16string wide = StringConvert::convert(std::string(text));
  std::vector<TChar> terminated(wide.begin(), wide.end());
  terminated.push_back(0);
  ParamValue value = 0;
  if (mController->getParamValueByString(mParameterIDs[size_t(index)], terminated.data(), value) !=
      kResultOk)
    return false;
  setParameter(index, float(value));
  return true;
}

bool Vst2Wrapper::getParameterProperties(VstInt32 index, VstParameterProperties* p) {
  const ParameterInfo& info = mParameterInfos[size_t(index)];
  std::memset(p, 0, sizeof(*p));
  vstStringCopy(p->label, utf8(info.title).c_str(), kVstMaxLabelLen - 1);
  vstStringCopy(p->shortLabel, utf8(info.shortTitle).c_str(), kVstMaxShortLabelLen - 1);
  if (info.stepCount == 1)
    p->flags |= kVstParameterIsSwitch;
  if (info.stepCount > 0) {
    p->flags |= kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
    p->minInteger = 0;
    p->maxInteger = info.stepCount;
    p->stepInteger = 1;
    p->largeStepInteger = 1;
  }
  return true;
}

bool Vst2Wrapper::setBypass(bool onOff) {
  noteHostCall();
  if (mBypassSlot < 0)
    return false;
  mHostValues.setFromHost(mBypassSlot, onOff ? 1.f : 0.f);
  return true;
}

} // namespace Vst
} // namespace Steinberg
