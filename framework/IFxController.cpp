// The controller half: construction and initialisation (units, parameters, program list).
#include "framework/IFxController.h"

#include <cstdio>
#include <cstring>

#include "base/source/fstring.h"
#include "framework/HostNameFromContext.h"
#include "framework/IFxParameter.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void CopyName(char (&dst)[IFxController::kMaxNameLen], const char* src) {
  std::snprintf(dst, sizeof dst, "%s", src ? src : "");
}

void ToUtf16(const char* text, String128 out) {
  utf8ToUtf16(text, out, 128);
}

} // namespace

IFxController::IFxController(const FUID& processorClass, int nParams, int nPresets,
                             const char* effectName, const char* productName, const char* makerName,
                             const char* subCategory, int effectVersion, int uniqueID, int makerID,
                             int latency, bool doesMidiIn, bool doesMidiOut, bool isInst, int api)
    : IFxBase(nParams, effectVersion, uniqueID, makerID, latency, doesMidiIn, doesMidiOut, isInst,
              api),
      mPresets(nPresets), mProcessorClass(processorClass) {
  CopyName(mEffectName, effectName);
  CopyName(mProductName, productName);
  CopyName(mMakerName, makerName);
  CopyName(mSubCategory, subCategory);
}

IFxController::~IFxController() {
  mGroupNames.Empty(true);
  mViews.Empty(false);
}

tresult PLUGIN_API IFxController::initialize(FUnknown* context) {
  const tresult result = EditControllerEx1::initialize(context);
  if (result != kResultOk)
    return result;
  mGroupNames.Empty(true);
  AddRootUnit();
  AddPluginParameters();
  AddBypassAndPresetParameters();
  AddMidiControllerParameters();
  AddProgramList();
  IdentifyHostFromContext(*this, context);
  return kResultOk;
}

void IFxController::AddRootUnit() {
  const ProgramListID list =
      HasPresetParameter() ? ProgramListID(kFxPresetParamID) : kNoProgramListId;
  addUnit(new Unit(u"Root", kRootUnitId, kNoParentUnitId, list));
}

// Units are numbered from 1 in the order their group first appears.
UnitID IFxController::UnitForGroup(const char* group) {
  if (!group || !*group)
    return kRootUnitId;
  for (int i = 0; i < mGroupNames.GetSize(); ++i) {
    if (std::strcmp(mGroupNames.Get(i)->Get(), group) == 0)
      return UnitID(i + 1);
  }
  KIT_String* name = new KIT_String(group);
  if (!mGroupNames.Add(name)) {
    delete name;
    return kRootUnitId;
  }
  const UnitID id = UnitID(mGroupNames.GetSize());
  String128 wide;
  ToUtf16(group, wide);
  addUnit(new Unit(wide, id, kRootUnitId));
  return id;
}

void IFxController::AddPluginParameters() {
  for (int i = 0; i < NParams(); ++i) {
    IParam* param = GetParam(i);
    param->Set(param->Default());
    const UnitID unit = UnitForGroup(param->GetGroupForHost());
    int32 flags = param->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
    if (param->ReadOnly())
      flags |= ParameterInfo::kIsReadOnly;
    auto* host = new IFxParameter(param, ParamID(i), flags, unit);
    host->setNormalized(param->ToNormalized(param->Default()));
    parameters.addParameter(host);
  }
}

void IFxController::AddBypassAndPresetParameters() {
  if (!IsInst())
    parameters.addParameter(u"Bypass", nullptr, 1, 0.0,
                            ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass,
                            int32(kFxBypassParamID), kRootUnitId);
  if (HasPresetParameter())
    parameters.addParameter(u"Preset", u"", NPresets(), 0.0,
                            ParameterInfo::kIsProgramChange | ParameterInfo::kIsList,
                            int32(kFxPresetParamID), kRootUnitId);
}

// One unit per MIDI channel under "MIDI Controllers", each with the channel's 128 control
// changes, channel aftertouch and pitch bend.
void IFxController::AddMidiControllerParameters() {
  if (!DoesMidiIn())
    return;
  const UnitID midiUnit = UnitID(mGroupNames.GetSize() + 1);
  addUnit(new Unit(u"MIDI Controllers", midiUnit, kRootUnitId));
  for (int ch = 0; ch < int(kFxMidiChannels); ++ch) {
    const UnitID unit = midiUnit + 1 + ch;
    char text[32];
    std::snprintf(text, sizeof text, "Ch %i", ch + 1);
    String128 wide;
    ToUtf16(text, wide);
    addUnit(new Unit(wide, unit, midiUnit));
    for (int n = 0; n < int(kFxMidiCCsPerChannel); ++n) {
      const char* title = n == 128   ? "Channel Aftertouch"
                          : n == 129 ? "Pitch Bend"
                                     : IMidiMsg::CCNameStr(n);
      ToUtf16(title, wide);
      const ParamID id = kFxMidiCCParamBase + ParamID(ch) * kFxMidiCCsPerChannel + ParamID(n);
      parameters.addParameter(wide, nullptr, 0, n == 129 ? 0.5 : 0.0, ParameterInfo::kNoFlags,
                              int32(id), unit);
    }
  }
}

void IFxController::AddProgramList() {
  if (NPresets() < 1)
    return;
  auto* list = new ProgramListWithPitchNames(u"Factory Presets", ProgramListID(kFxPresetParamID),
                                             kRootUnitId);
  String128 wide;
  for (int i = 0; i < NPresets(); ++i) {
    ToUtf16(GetPresetName(i), wide);
    list->addProgram(wide);
  }
  for (int note = 0; note < 128; ++note) {
    char name[128] = {};
    if (GetMidiNoteText(note, name)) {
      name[127] = 0;
      ToUtf16(name, wide);
      list->setPitchName(0, int16(note), wide);
    }
  }
  addProgramList(list);
}

IPlugView* PLUGIN_API IFxController::createView(FIDString) {
  return nullptr;
}

void IFxController::SetLatency(int samples) {
  mLatency = samples;
  if (getComponentHandler())
    restartComponent(kLatencyChanged);
}

void IFxController::AddEditorView(EditorView* view) {
  if (view)
    mViews.Add(view);
}

void IFxController::RemoveEditorView(EditorView* view) {
  KIT_PtrList<EditorView> kept;
  for (int i = 0; i < mViews.GetSize(); ++i) {
    if (mViews.Get(i) != view)
      kept.Add(mViews.Get(i));
  }
  mViews.Empty(false);
  for (int i = 0; i < kept.GetSize(); ++i)
    mViews.Add(kept.Get(i));
}

void IFxController::SetAllGUIParamsFromPlug() {}
void IFxController::SetAllGUIControlsDirty() {}
void IFxController::SetGUIParameterFromPlug(int, bool, double) {}
bool IFxController::GetMidiNoteText(int, char* name) {
  if (name)
    name[0] = 0;
  return false;
}
void IFxController::OnMidiMsg(IMidiMsg*) {}
void IFxController::OnSysEx(ISysEx*) {}
bool IFxController::OnMessage(IMessage*) {
  return false;
}
void IFxController::OnGUIOpen() {}
void IFxController::OnGUIClose() {}
void IFxController::OnStateRestored() {}
