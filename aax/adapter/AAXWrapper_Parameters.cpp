#include "aax/adapter/AAXWrapper_Parameters.h"

#include "aax/adapter/AAXWrapper_ModuleHooks.h"
#include "aax/library/AAXWrapperDisplayDelegate.h"
#include "aax/library/AAXWrapperTaperDelegate.h"
#include "aax/library/AAX_CBinaryDisplayDelegate.h"
#include "aax/library/AAX_CBinaryTaperDelegate.h"
#include "aax/library/AAX_CLinearTaperDelegate.h"
#include "aax/library/AAX_CParameter.h"
#include "aax/library/AAX_CStringDisplayDelegate.h"
#include "aax/library/AAX_CatchAll.h"

#include "base/source/fstring.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostattributelist.h"
#include "public.sdk/source/vst/hosting/hostmessage.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const char* const kHostName = "ProTools";
const char* const kMasterBypassName = "Master Bypass";
constexpr int32_t kContinuousSteps = 55;
constexpr ParamID kHighestAAXParamID = 65535;

std::string Utf8(const String128 text) {
  String128 copy;
  std::memcpy(copy, text, sizeof copy);
  copy[127] = 0;
  char narrow[128 * 3 + 1];
  utf16ToUtf8(copy, narrow, sizeof narrow);
  return narrow;
}

// The arrangement for a stem of the host: mono and stereo only.
SpeakerArrangement ArrangementForStem(uint32_t stemFormat) {
  switch (stemFormat & 0xFFFF) {
  case 1:
    return SpeakerArr::kMono;
  case 2:
    return SpeakerArr::kStereo;
  default:
    return SpeakerArr::kEmpty;
  }
}

int32_t ChannelsOfStem(uint32_t stemFormat) {
  // The "none" stem carries no channels; otherwise the low half is the channel count.
  return stemFormat == 0xFF9C0000u ? 0 : int32_t(stemFormat & 0xFFFF);
}

template <class Interface> Interface* Query(FUnknown* object) {
  void* out = nullptr;
  if (!object || object->queryInterface(Interface::iid, &out) != kResultOk)
    return nullptr;
  return static_cast<Interface*>(out);
}

} // namespace

// ---- creation and teardown ------------------------------------------------------------

IACFUnknown* AAXWrapper_Parameters::Create() {
  try {
    if (!InitModule())
      return nullptr;
    IPtr<IPluginFactory> factory = owned(GetPluginFactory());
    if (!factory) {
      DeinitModule();
      return nullptr;
    }
    FUID processorID;
    GetProcessorUID(processorID);
    IAudioProcessor* processor = nullptr;
    if (factory->createInstance(processorID.toTUID(), IAudioProcessor::iid,
                                reinterpret_cast<void**>(&processor)) != kResultOk ||
        !processor) {
      DeinitModule();
      return nullptr;
    }
    IEditController* controller = Query<IEditController>(processor);
    if (!controller) {
      IComponent* component = Query<IComponent>(processor);
      TUID controllerID{};
      if (component && component->getControllerClassId(controllerID) == kResultOk)
        factory->createInstance(controllerID, IEditController::iid,
                                reinterpret_cast<void**>(&controller));
      if (component)
        component->release();
    }
    if (!controller) {
      processor->release();
      DeinitModule();
      return nullptr;
    }
    // From here the wrapper owns both references (and undoes InitModule when it goes).
    auto* wrapper = new AAXWrapper_Parameters(processor, controller, AAX_CTypeID(GetUniqueID()));
    if (!wrapper->Init()) {
      delete wrapper;
      return nullptr;
    }
    return wrapper->GetOuter();
  } catch (...) {
    return nullptr;
  }
}

AAXWrapper_Parameters::AAXWrapper_Parameters(IAudioProcessor* processor,
                                             IEditController* controller, AAX_CTypeID chunkID)
    : mProcessor(processor), mController(controller), mChunkID(chunkID) {}

bool AAXWrapper_Parameters::ControllerIsSeparate() const {
  return mController && mComponent &&
         static_cast<FUnknown*>(mController) != static_cast<FUnknown*>(mComponent) &&
         static_cast<FUnknown*>(mController) != static_cast<FUnknown*>(mProcessor);
}

bool AAXWrapper_Parameters::Init() {
  mComponent = Query<IComponent>(mProcessor);
  if (!mComponent || mComponent->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
    return false;
  if (ControllerIsSeparate()) {
    if (mController->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
      return false;
    mController->setComponentHandler(static_cast<IComponentHandler*>(this));
    ConnectHalves(true);
  }
  CopyProcessorStateToController();
  mUnitInfo = Query<IUnitInfo>(mController);
  mMidiMapping = Query<IMidiMapping>(mController);
  if (!mTimer)
    mTimer = Timer::create(this, kTimerIntervalMs);
  BuildMidiControllerMap();
  return true;
}

void AAXWrapper_Parameters::ConnectHalves(bool connect) {
  IConnectionPoint* processorPoint = Query<IConnectionPoint>(mComponent);
  IConnectionPoint* controllerPoint = Query<IConnectionPoint>(mController);
  if (processorPoint && controllerPoint) {
    if (connect) {
      processorPoint->connect(controllerPoint);
      controllerPoint->connect(processorPoint);
    } else {
      processorPoint->disconnect(controllerPoint);
      controllerPoint->disconnect(processorPoint);
    }
  }
  if (processorPoint)
    processorPoint->release();
  if (controllerPoint)
    controllerPoint->release();
}

void AAXWrapper_Parameters::CopyProcessorStateToController() {
  MemoryStream state;
  if (mComponent->getState(&state) != kResultOk)
    return;
  state.seek(0, IBStream::kIBSeekSet, nullptr);
  mController->setComponentState(&state);
}

AAXWrapper_Parameters::~AAXWrapper_Parameters() {
  if (mTimer) {
    mTimer->stop();
    mTimer->release();
    mTimer = nullptr;
  }
  StopProcessing();
  const bool separate = ControllerIsSeparate();
  if (separate) {
    ConnectHalves(false);
    mController->setComponentHandler(nullptr);
  }
  if (mComponent)
    mComponent->terminate();
  if (separate)
    mController->terminate();
  if (mUnitInfo)
    mUnitInfo->release();
  if (mMidiMapping)
    mMidiMapping->release();
  if (mComponent)
    mComponent->release();
  if (mController)
    mController->release();
  if (mProcessor)
    mProcessor->release();
  mInputEvents = nullptr;
  mOutputEvents = nullptr;
  mProcessData.unprepare();
  DeinitModule();
}

// The halves go from processing to inactive before they are terminated.
void AAXWrapper_Parameters::StopProcessing() {
  if (mProcessingStarted && mProcessor)
    mProcessor->setProcessing(false);
  mProcessingStarted = false;
  if (mActive && mComponent)
    mComponent->setActive(false);
  mActive = false;
}

void AAXWrapper_Parameters::BuildMidiControllerMap() {
  if (!mMidiMapping)
    return;
  if (!mMidiControllerTables)
    mMidiControllerTables =
        std::make_unique<std::array<std::array<int32, kMidiControllers>, kMidiChannels>>();
  for (int32 channel = 0; channel < kMidiChannels; ++channel) {
    for (int32 controller = 0; controller < kMidiControllers; ++controller) {
      ParamID id = 0;
      const bool assigned = mMidiMapping->getMidiControllerAssignment(
                                0, int16(channel), CtrlNumber(controller), id) == kResultOk;
      (*mMidiControllerTables)[size_t(channel)][size_t(controller)] = assigned ? int32(id) : -1;
    }
  }
}

// ---- effect initialisation ------------------------------------------------------------

void AAXWrapper_Parameters::MapParameter(ParamID paramID, const std::string& aaxID, int32 index) {
  mParamIDToAAXID[paramID] = aaxID;
  mAAXIDToParamID[aaxID] = paramID;
  mParamIDToIndex[paramID] = index;
}

// The switch reads as what the plug-in does: "on" while it processes, "bypass" while bypassed.
void AAXWrapper_Parameters::AddMasterBypassParameter() {
  auto* bypass = new AAX_CParameter<bool>(
      mMasterBypassID->c_str(), AAX_CString(kMasterBypassName), AAX_CBinaryTaperDelegate<bool>(),
      AAX_CBinaryDisplayDelegate<bool>("on", "bypass"), true, false);
  bypass->SetNumberOfSteps(2);
  bypass->SetType(AAX_eParameterType_Discrete);
  mMasterBypass = bypass;
  Parameters().AddParameter(bypass);
}

void AAXWrapper_Parameters::AddParameterFor(const ParameterInfo& info, const std::string& aaxID) {
  const AAX_CString title(Utf8(info.title).c_str());
  const bool automatable = (info.flags & ParameterInfo::kCanAutomate) != 0;
  const ParamValue plainDefault =
      mController->normalizedParamToPlain(info.id, info.defaultNormalizedValue);
  if (info.flags & ParameterInfo::kIsList) {
    const int32 steps = info.stepCount;
    std::map<int, AAX_CString> texts;
    for (int32 s = 0; s <= steps; ++s) {
      String128 text{};
      const ParamValue normalized = steps > 0 ? double(s) / double(steps) : 0.0;
      if (mController->getParamStringByValue(info.id, normalized, text) == kResultOk)
        texts[s] = AAX_CString(Utf8(text).c_str());
    }
    auto* parameter = new AAX_CParameter<int>(
        aaxID.c_str(), title, AAX_CLinearTaperDelegate<int, 1>(0, steps > 0 ? steps : 1),
        AAX_CStringDisplayDelegate<int>(texts), automatable, int(plainDefault));
    parameter->SetNumberOfSteps(steps + 1);
    parameter->SetType(AAX_eParameterType_Discrete);
    Parameters().AddParameter(parameter);
    return;
  }
  if (info.id > kHighestAAXParamID)
    return;
  auto* parameter = new AAX_CParameter<double>(
      aaxID.c_str(), title, AAXWrapperTaperDelegate<double>(mController, info.id),
      AAXWrapperDisplayDelegate<double>(mController, info.id), automatable, plainDefault);
  parameter->SetNumberOfSteps(kContinuousSteps);
  parameter->SetType(AAX_eParameterType_Continuous);
  Parameters().AddParameter(parameter);
}

// What the host's controller tells about the instance; EffectInit reads it before it makes
// anything, so that a host that cannot answer gets a failure and no half-made instance.
struct AAXWrapper_Parameters::HostSetup {
  uint32_t inputStem = 0;
  uint32_t outputStem = 0;
  float sampleRate = 0.0f;
};

AAX_Result AAXWrapper_Parameters::ReadHostSetup(HostSetup& setup) {
  if (!Controller())
    return AAX_ERROR_NULL_OBJECT;
  const AAX_Result result = Controller()->GetInputStemFormat(&setup.inputStem) |
                            Controller()->GetOutputStemFormat(&setup.outputStem) |
                            Controller()->GetSampleRate(&setup.sampleRate);
  if (result != AAX_SUCCESS)
    return result;
  // Known from here, so that even a refused instance silences every channel it is given.
  mHostInputChannels = ChannelsOfStem(setup.inputStem);
  mHostOutputChannels = ChannelsOfStem(setup.outputStem);
  // A rate the processor cannot run at (none, negative, not a number) is refused.
  if (!(setup.sampleRate > 0.0f) || !std::isfinite(setup.sampleRate))
    return AAX_ERROR_UNIMPLEMENTED;
  return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::EffectInit() {
  if (!mController)
    return AAX_SUCCESS;
  HostSetup setup;
  const AAX_Result hostResult = ReadHostSetup(setup);
  if (hostResult != AAX_SUCCESS)
    return hostResult;
  const AAX_Result result = BuildInstance(setup);
  if (result != AAX_SUCCESS)
    UndoEffectInit();
  return result;
}

AAX_Result AAXWrapper_Parameters::BuildInstance(const HostSetup& setup) {
  AAX_CString bypassID;
  GetMasterBypassParameter(&bypassID);
  mMasterBypassID = bypassID.StdString();
  AddMasterBypassParameter();

  const int32 count = mController->getParameterCount();
  std::vector<ParamID> ids;
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, info) != kResultOk)
      continue;
    ids.push_back(info.id);
    if (info.flags & ParameterInfo::kIsBypass) {
      MapParameter(info.id, *mMasterBypassID, i);
      continue;
    }
    if (info.flags & (ParameterInfo::kIsReadOnly | ParameterInfo::kIsProgramChange))
      continue;
    char text[16];
    std::snprintf(text, sizeof text, "%i", int(info.id));
    MapParameter(info.id, text, i);
    AddParameterFor(info, text);
  }
  // The all-notes-off change of the master bypass travels beside the controller's own.
  ids.push_back(kAllNotesOffParamID);
  mHostToProcessor.Resize(ids);
  mProcessorOutput.Resize(ids);
  mHostToController.Resize(ids);
  mInputChanges.setMaxParameters(int32(ids.size()));
  mOutputChanges.setMaxParameters(int32(ids.size()));

  if (!SetBusArrangementsFromHost(setup.inputStem, setup.outputStem))
    return AAX_ERROR_UNIMPLEMENTED;
  Controller()->SetSignalLatency(int32_t(mProcessor->getLatencySamples()));
  if (!SetupProcessing(setup.sampleRate) || !PrepareBuses())
    return AAX_ERROR_UNIMPLEMENTED;
  return AAX_SUCCESS;
}

// A failed initialisation leaves the object as it was made: no parameters, no maps, the
// processor inactive; render calls then write silence.
void AAXWrapper_Parameters::UndoEffectInit() {
  StopProcessing();
  Parameters().RemoveAllParameters();
  mMasterBypass = nullptr;
  mMasterBypassID.reset();
  mParamIDToAAXID.clear();
  mAAXIDToParamID.clear();
  mParamIDToIndex.clear();
  mInputEvents = nullptr;
  mOutputEvents = nullptr;
  mMidiInputEnabled = false;
  mMidiOutputEnabled = false;
}

// The processor answers kResultFalse for an arrangement it cannot take and keeps its own
// buses (a stem of six channels); the process path then connects what both have and silences
// the host's other channels. Any other answer is a failure.
bool AAXWrapper_Parameters::SetBusArrangementsFromHost(uint32_t inputStem, uint32_t outputStem) {
  SpeakerArrangement input = ArrangementForStem(inputStem);
  SpeakerArrangement output = ArrangementForStem(outputStem);
  const tresult result = mProcessor->setBusArrangements(&input, 1, &output, 1);
  return result == kResultOk || result == kResultFalse;
}

bool AAXWrapper_Parameters::SetupProcessing(float sampleRate) {
  ProcessSetup setup{};
  setup.processMode = kRealtime;
  setup.symbolicSampleSize = kSample32;
  setup.maxSamplesPerBlock = kMaxSamplesPerBlock;
  setup.sampleRate = double(sampleRate);
  return mProcessor->setupProcessing(setup) == kResultOk;
}

// ---- host to plug-in --------------------------------------------------------------------

const std::string* AAXWrapper_Parameters::AAXIDOf(ParamID paramID) const {
  const auto found = mParamIDToAAXID.find(paramID);
  return found == mParamIDToAAXID.end() ? nullptr : &found->second;
}

const AAXWrapper_Parameters::ParamID* AAXWrapper_Parameters::ParamIDOf(AAX_CParamID id) const {
  if (!id)
    return nullptr;
  const auto found = mAAXIDToParamID.find(id);
  return found == mAAXIDToParamID.end() ? nullptr : &found->second;
}

AAX_Result AAXWrapper_Parameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                                 int32_t) {
  return AAX_CatchAll([&]() -> AAX_Result {
    AAX_IParameter* parameter = id ? Parameters().GetParameterByID(id) : nullptr;
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    parameter->UpdateNormalizedValue(value);
    if (mMasterBypassID && *mMasterBypassID == id) {
      mHostToProcessor.Add(kAllNotesOffParamID, 1.0);
      mHostToController.Add(kAllNotesOffParamID, 1.0);
    }
    if (const ParamID* paramID = ParamIDOf(id))
      mHostToProcessor.Add(*paramID, value);
    IncrementUpdateCounter();
    return AAX_SUCCESS;
  });
}

AAX_Result AAXWrapper_Parameters::PushParameterToController(AAX_CParamID id) {
  return AAX_CatchAll([&]() -> AAX_Result {
    const ParamID* paramID = ParamIDOf(id);
    if (!paramID || (mCurrentGesture && *mCurrentGesture == id))
      return AAX_SUCCESS;
    if (const AAX_IParameter* parameter = Parameters().GetParameterByID(id))
      mController->setParamNormalized(*paramID, parameter->GetNormalizedValue());
    return AAX_SUCCESS;
  });
}

bool AAXWrapper_Parameters::IndexFromAAXID(AAX_CParamID id, int32& index) const {
  const ParamID* paramID = ParamIDOf(id);
  if (!paramID)
    return false;
  const auto found = mParamIDToIndex.find(*paramID);
  if (found == mParamIDToIndex.end())
    return false;
  index = found->second;
  return true;
}

void AAXWrapper_Parameters::onTimer(Timer*) {
  if (!mController)
    return;
  ParamID id = 0;
  ParamValue value = 0.0;
  while (mProcessorOutput.Next(id, value))
    mController->setParamNormalized(id, value);
  while (mHostToController.Next(id, value))
    mController->setParamNormalized(id, value);
}

// ---- plug-in to host --------------------------------------------------------------------

tresult PLUGIN_API AAXWrapper_Parameters::beginEdit(ParamID id) {
  if (const std::string* aaxID = AAXIDOf(id)) {
    mCurrentGesture = *aaxID;
    TouchParameter(aaxID->c_str());
  }
  return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::performEdit(ParamID id, ParamValue value) {
  if (const std::string* aaxID = AAXIDOf(id))
    SetParameterNormalizedValue(aaxID->c_str(), value);
  return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::endEdit(ParamID id) {
  if (const std::string* aaxID = AAXIDOf(id)) {
    mCurrentGesture.reset();
    ReleaseParameter(aaxID->c_str());
  }
  return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::restartComponent(int32 flags) {
  bool handled = false;
  if ((flags & kLatencyChanged) && mProcessor) {
    if (Controller())
      Controller()->SetSignalLatency(int32_t(mProcessor->getLatencySamples()));
    handled = true;
  }
  if (flags & kMidiCCAssignmentChanged) {
    BuildMidiControllerMap();
    handled = true;
  }
  return handled ? kResultOk : kResultFalse;
}

// ---- host application and interfaces ----------------------------------------------------

tresult PLUGIN_API AAXWrapper_Parameters::getName(String128 name) {
  if (!name)
    return kInvalidArgument;
  utf8ToUtf16(kHostName, name, 128);
  return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::createInstance(TUID, TUID iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  const FUID wanted = FUID::fromTUID(iid);
  if (wanted == IMessage::iid) {
    *obj = static_cast<IMessage*>(new (std::nothrow) HostMessage);
  } else if (wanted == IAttributeList::iid) {
    *obj = static_cast<IAttributeList*>(new (std::nothrow) HostAttributeList);
  }
  return *obj ? kResultOk : kResultFalse;
}

tresult PLUGIN_API AAXWrapper_Parameters::queryInterface(const TUID iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  const FUID wanted = FUID::fromTUID(iid);
  if (wanted == FUnknown::iid || wanted == IHostApplication::iid)
    *obj = static_cast<IHostApplication*>(this);
  else if (wanted == IComponentHandler::iid)
    *obj = static_cast<IComponentHandler*>(this);
  else if (wanted == IUnitHandler::iid)
    *obj = static_cast<IUnitHandler*>(this);
  else {
    *obj = nullptr;
    return kNoInterface;
  }
  return kResultOk;
}
