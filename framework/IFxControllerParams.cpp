// The parameter road of the controller: host reads and writes, conversions, MIDI mapping and
// the edits that go to the host.
#include "framework/IFxController.h"

#include "base/source/fstring.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool IsMidiControllerID(ParamID id) {
  return id >= kFxMidiCCParamBase &&
         id < kFxMidiCCParamBase + uint32_t(kFxMidiCCsPerChannel) * uint32_t(kFxMidiChannels);
}

} // namespace

void IFxController::SyncHostParameter(int idx) {
  if (Parameter* host = getParameterObject(ParamID(idx)))
    host->setNormalized(GetParam(idx)->GetNormalized());
}

ParamValue PLUGIN_API IFxController::getParamNormalized(ParamID id) {
  if (id < kFxBypassParamID) {
    const IParam* param = GetParam(int(id));
    return param ? param->GetNormalized() : 0.0;
  }
  if (id == kFxBypassParamID)
    return GetBypassed() ? 1.0 : 0.0;
  if (id == kFxPresetParamID)
    return NPresets() > 0 ? double(GetCurrentPresetIdx()) / double(NPresets()) : 0.0;
  // MIDI controller parameters hold what the host last set (pitch bend starts centred).
  return IsMidiControllerID(id) ? EditControllerEx1::getParamNormalized(id) : 0.0;
}

tresult PLUGIN_API IFxController::setParamNormalized(ParamID id, ParamValue value) {
  if (id < kFxBypassParamID) {
    if (IParam* param = GetParam(int(id))) {
      param->SetNormalized(value);
      SetGUIParameterFromPlug(int(id), true, value);
      OnParamChange(int(id), 0);
    }
  } else if (id == kFxBypassParamID) {
    if ((value > 0.5) != GetBypassed())
      mBypassed = value > 0.5;
  } else if (id == kFxPresetParamID) {
    RestorePreset(IPresetBank::PresetIndexFromNormalized(value, NPresets()));
  }
  return EditControllerEx1::setParamNormalized(id, value);
}

tresult PLUGIN_API IFxController::getParamStringByValue(ParamID id, ParamValue normalized,
                                                        String128 text) {
  if (!text)
    return kInvalidArgument;
  if (id != kFxPresetParamID || !HasPresetParameter())
    return EditControllerEx1::getParamStringByValue(id, normalized, text);
  const int idx = IPresetBank::PresetIndexFromNormalized(normalized, NPresets());
  if (idx < 0)
    return kResultFalse;
  utf8ToUtf16(GetPresetName(idx), text, 128);
  return kResultTrue;
}

tresult PLUGIN_API IFxController::getParamValueByString(ParamID id, TChar* text,
                                                        ParamValue& normalized) {
  if (!text)
    return kInvalidArgument;
  if (id == kFxPresetParamID && HasPresetParameter()) {
    char name[128 * 3 + 1];
    utf16ToUtf8(text, name, sizeof name);
    for (int i = 0; i < NPresets(); ++i) {
      if (std::strcmp(GetPresetName(i), name) == 0) {
        normalized = double(i) / double(NPresets());
        return kResultTrue;
      }
    }
  }
  return EditControllerEx1::getParamValueByString(id, text, normalized);
}

ParamValue PLUGIN_API IFxController::plainParamToNormalized(ParamID id, ParamValue plain) {
  if (const IParam* param = id < kFxBypassParamID ? GetParam(int(id)) : nullptr)
    return param->ToNormalized(plain);
  return id < kFxBypassParamID ? EditControllerEx1::plainParamToNormalized(id, plain) : plain;
}

// The framework's own parameters have no plain units: plain and normalised are the same both
// ways, so a host that converts there and back keeps the value.
ParamValue PLUGIN_API IFxController::normalizedParamToPlain(ParamID id, ParamValue normalized) {
  if (const IParam* param = id < kFxBypassParamID ? GetParam(int(id)) : nullptr)
    return param->FromNormalized(normalized);
  return id < kFxBypassParamID ? EditControllerEx1::normalizedParamToPlain(id, normalized)
                               : normalized;
}

tresult PLUGIN_API IFxController::getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                              CtrlNumber controller, ParamID& id) {
  if (!DoesMidiIn() || busIndex != 0 || channel < 0 || channel >= int16(kFxMidiChannels) ||
      controller < 0 || controller >= CtrlNumber(kFxMidiCCsPerChannel))
    return kResultFalse;
  id = kFxMidiCCParamBase + ParamID(channel) * kFxMidiCCsPerChannel + ParamID(controller);
  return kResultTrue;
}

void IFxController::SetParameterFromGUI(int idx, double normalized) {
  IParam* param = GetParam(idx);
  if (!param)
    return;
  param->SetNormalized(normalized);
  SyncHostParameter(idx);
  performEdit(ParamID(idx), normalized);
  OnParamChange(idx, 0);
}

void IFxController::PushParamsToHost() {
  // Hosts queue these edits for the processor's next block; a processor state loaded before
  // that block would be overwritten by them (setComponentState sees to it).
  if (getComponentHandler()) {
    mPresetEditsSent = true;
    sendMessageID("PresetEditsQueued");
  }
  startGroupEdit();
  for (int i = 0; i < NParams(); ++i) {
    const double normalized = GetParam(i)->GetNormalized();
    SyncHostParameter(i);
    beginEdit(ParamID(i));
    performEdit(ParamID(i), normalized);
    endEdit(ParamID(i));
  }
  finishGroupEdit();
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
}

int IFxController::UnserializeParams(const KIT_HeapBuf& chunk, int pos) {
  pos = UnserializeParamBlock(chunk, pos);
  for (int i = 0; i < NParams(); ++i)
    SyncHostParameter(i);
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
  return pos;
}
