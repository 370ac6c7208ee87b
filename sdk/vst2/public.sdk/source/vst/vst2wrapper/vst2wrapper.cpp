// Creation, life cycle and the host objects the wrapper plays for the two halves.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "public.sdk/source/vst/utility/stringconvert.h"
#include "public.sdk/source/vst/vst2wrapper/vst2editorwrapper.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

template <class I> I* queryFrom(FUnknown* object) {
  I* result = nullptr;
  if (object && object->queryInterface(I::iid, reinterpret_cast<void**>(&result)) == kResultOk)
    return result;
  return nullptr;
}

template <class I> void releaseAndClear(I*& object) {
  if (object)
    object->release();
  object = nullptr;
}

} // namespace

Vst2Wrapper::Vst2Wrapper(IComponent* processor, IEditController* controller,
                         audioMasterCallback audioMaster, const TUID vst3ComponentID,
                         VstInt32 vst2ID, IPluginFactory* factory)
    : ::AudioEffectX(audioMaster, 0, 0), mComponent(processor), mController(controller),
      mFactory(factory) {
  if (mFactory)
    mFactory->addRef();
  std::memcpy(mVst3EffectClassID, vst3ComponentID, sizeof(TUID));
  setUniqueID(vst2ID);
  setNumInputs(0);
  setNumOutputs(0);
  canProcessReplacing(true);
  programsAreChunks(true);
}

Vst2Wrapper::~Vst2Wrapper() {
  if (mTimer) {
    mTimer->stop();
    mTimer->release();
    mTimer = nullptr;
  }
  setEditor(nullptr);
  terminateHalves();
  releaseAndClear(mFactory);
}

// ---- creation ----

Vst2Wrapper* Vst2Wrapper::create(IPluginFactory* factory, const TUID vst3ComponentID,
                                 VstInt32 vst2ID, audioMasterCallback audioMaster) {
  if (!factory)
    return nullptr;
  IComponent* component = nullptr;
  if (factory->createInstance(vst3ComponentID, IComponent::iid,
                              reinterpret_cast<void**>(&component)) != kResultOk ||
      !component)
    return nullptr;
  IEditController* controller = queryFrom<IEditController>(component);
  if (!controller) {
    TUID controllerCID{};
    if (component->getControllerClassId(controllerCID) == kResultOk)
      factory->createInstance(controllerCID, IEditController::iid,
                              reinterpret_cast<void**>(&controller));
  }
  auto* wrapper =
      new Vst2Wrapper(component, controller, audioMaster, vst3ComponentID, vst2ID, factory);
  if (!wrapper->init()) {
    delete wrapper;
    return nullptr;
  }
  FUnknownPtr<IPluginFactory2> factory2(factory);
  if (factory2) {
    PFactoryInfo info{};
    if (factory2->getFactoryInfo(&info) == kResultOk)
      wrapper->setVendorName(info.vendor);
    for (int32 i = 0; i < factory2->countClasses(); ++i) {
      PClassInfo2 classInfo{};
      if (factory2->getClassInfo2(i, &classInfo) != kResultOk ||
          std::memcmp(classInfo.cid, vst3ComponentID, sizeof(TUID)) != 0)
        continue;
      wrapper->setSubCategories(classInfo.subCategories);
      wrapper->setEffectName(classInfo.name);
      if (classInfo.vendor[0])
        wrapper->setVendorName(classInfo.vendor);
      break;
    }
  }
  return wrapper;
}

bool Vst2Wrapper::init() {
  if (!mComponent)
    return false;
  mProcessor = queryFrom<IAudioProcessor>(mComponent);
  if (!mProcessor)
    return false;
  if (mController) {
    // A single-object plug-in: the processor is its own controller.
    FUnknownPtr<IEditController> fromComponent(mComponent);
    mControllerIsComponent = fromComponent && fromComponent.get() == mController;
  }
  if (!initializeHalves())
    return false;
  connectHalves();
  syncControllerWithProcessorState();
  if (!setupBuses())
    return false;
  setupParameters();
  setupPrograms();
  setupMidiMapping();

  canDoubleReplacing(mProcessor->canProcessSampleSize(kSample64) == kResultTrue);
  setEditor(new Vst2EditorWrapper(this, mController));
  hasEditor(Vst2EditorWrapper::controllerHasEditor(mController));
  updateLatency();
  mTimer = Timer::create(this, kTransferIntervalMs);
  return true;
}

bool Vst2Wrapper::initializeHalves() {
  if (mComponent->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
    return false;
  mComponentInitialized = true;
  if (!mController)
    return true;
  if (!mControllerIsComponent) {
    if (mController->initialize(static_cast<IHostApplication*>(this)) != kResultOk) {
      // A controller that cannot start is left out; the processor still works.
      releaseAndClear(mController);
      return true;
    }
    mControllerInitialized = true;
  }
  mController->setComponentHandler(static_cast<IComponentHandler*>(this));
  mUnitInfo = queryFrom<IUnitInfo>(mController);
  return true;
}

void Vst2Wrapper::connectHalves() {
  if (!mController || mControllerIsComponent)
    return;
  mComponentPoint = queryFrom<IConnectionPoint>(mComponent);
  mControllerPoint = queryFrom<IConnectionPoint>(mController);
  if (mComponentPoint && mControllerPoint) {
    mComponentPoint->connect(mControllerPoint);
    mControllerPoint->connect(mComponentPoint);
  }
}

void Vst2Wrapper::disconnectHalves() {
  if (mComponentPoint && mControllerPoint) {
    mComponentPoint->disconnect(mControllerPoint);
    mControllerPoint->disconnect(mComponentPoint);
  }
  releaseAndClear(mComponentPoint);
  releaseAndClear(mControllerPoint);
}

void Vst2Wrapper::syncControllerWithProcessorState() {
  if (!mController)
    return;
  MemoryStream stream;
  if (mComponent->getState(&stream) != kResultOk)
    return;
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  mController->setComponentState(&stream);
}

bool Vst2Wrapper::setupBuses() {
  mInputBusCount = mComponent->getBusCount(kAudio, kInput);
  mOutputBusCount = mComponent->getBusCount(kAudio, kOutput);
  // Confirm the halves' own arrangements, as a VST 3 host does before it activates.
  std::vector<SpeakerArrangement> ins(size_t(mInputBusCount), 0), outs(size_t(mOutputBusCount), 0);
  for (int32 i = 0; i < mInputBusCount; ++i)
    mProcessor->getBusArrangement(kInput, i, ins[size_t(i)]);
  for (int32 i = 0; i < mOutputBusCount; ++i)
    mProcessor->getBusArrangement(kOutput, i, outs[size_t(i)]);
  mProcessor->setBusArrangements(ins.data(), mInputBusCount, outs.data(), mOutputBusCount);

  // The VST 2.4 pins are the channels of the main buses.
  BusInfo info{};
  mMainInputChannels = 0;
  mMainOutputChannels = 0;
  if (mInputBusCount > 0 && mComponent->getBusInfo(kAudio, kInput, 0, info) == kResultOk)
    mMainInputChannels = info.channelCount;
  if (mOutputBusCount > 0 && mComponent->getBusInfo(kAudio, kOutput, 0, info) == kResultOk)
    mMainOutputChannels = info.channelCount;
  if (mInputBusCount > 0)
    mComponent->activateBus(kAudio, kInput, 0, true);
  if (mOutputBusCount > 0)
    mComponent->activateBus(kAudio, kOutput, 0, true);
  mTakesMidi = mComponent->getBusCount(kEvent, kInput) > 0;
  if (mTakesMidi)
    mComponent->activateBus(kEvent, kInput, 0, true);

  setNumInputs(mMainInputChannels);
  setNumOutputs(mMainOutputChannels);
  mInputPointers.assign(size_t(mMainInputChannels), nullptr);
  mOutputPointers.assign(size_t(mMainOutputChannels), nullptr);
  isSynth(mMainInputChannels == 0 && mTakesMidi);
  return mMainOutputChannels > 0;
}

void Vst2Wrapper::terminateHalves() {
  if (mProcessing.exchange(false))
    mProcessor->setProcessing(false);
  if (mActive) {
    mComponent->setActive(false);
    mActive = false;
  }
  disconnectHalves();
  if (mController)
    mController->setComponentHandler(nullptr);
  releaseAndClear(mUnitInfo);
  if (mController && mControllerInitialized)
    mController->terminate();
  mControllerInitialized = false;
  releaseAndClear(mController);
  releaseAndClear(mProcessor);
  if (mComponent && mComponentInitialized)
    mComponent->terminate();
  mComponentInitialized = false;
  releaseAndClear(mComponent);
}

// ---- identity ----

void Vst2Wrapper::setVendorName(const char* name) {
  vstStringCopy(mVendor, name, kVstMaxVendorStrLen);
}

void Vst2Wrapper::setEffectName(const char* name) {
  vstStringCopy(mName, name, kVstMaxEffectNameLen);
}

void Vst2Wrapper::setSubCategories(const char* categories) {
  vstStringCopy(mSubCategories, categories, sizeof(mSubCategories) - 1);
}

bool Vst2Wrapper::getEffectName(char* name) {
  vstStringCopy(name, mName, kVstMaxEffectNameLen);
  return mName[0] != 0;
}

bool Vst2Wrapper::getVendorString(char* text) {
  vstStringCopy(text, mVendor, kVstMaxVendorStrLen);
  return mVendor[0] != 0;
}

bool Vst2Wrapper::getProductString(char* text) {
  vstStringCopy(text, mName, kVstMaxProductStrLen);
  return mName[0] != 0;
}

VstInt32 Vst2Wrapper::getVendorVersion() {
  return cEffect->version;
}

VstPlugCategory Vst2Wrapper::getPlugCategory() {
  // The first sub-category that has a VST 2.4 counterpart decides.
  struct Match {
    const char* word;
    VstPlugCategory category;
  };
  static constexpr Match matches[] = {{"Instrument", kPlugCategSynth},
                                      {"Spatial", kPlugCategSpacializer},
                                      {"Analyzer", kPlugCategAnalysis},
                                      {"Mastering", kPlugCategMastering},
                                      {"Reverb", kPlugCategRoomFx},
                                      {"Restoration", kPlugCategRestoration},
                                      {"Generator", kPlugCategGenerator},
                                      {"Surround", kPlugSurroundFx},
                                      {"Fx", kPlugCategEffect}};
  for (const Match& m : matches)
    if (std::strstr(mSubCategories, m.word))
      return m.category;
  return (cEffect->flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategEffect;
}

VstInt32 Vst2Wrapper::canDo(char* text) {
  if (!text)
    return 0;
  if (!std::strcmp(text, "receiveVstEvents") || !std::strcmp(text, "receiveVstMidiEvent"))
    return mTakesMidi ? 1 : -1;
  if (!std::strcmp(text, "sendVstEvents") || !std::strcmp(text, "sendVstMidiEvent"))
    return -1;
  if (!std::strcmp(text, "receiveVstTimeInfo"))
    return 1;
  if (!std::strcmp(text, "bypass"))
    return mBypassSlot >= 0 ? 1 : -1;
  return 0;
}

VstInt32 Vst2Wrapper::getGetTailSize() {
  if (!mProcessor)
    return 0;
  const uint32 tail = mProcessor->getTailSamples();
  if (tail == kNoTail)
    return 1;
  return tail > uint32(kMaxInt32) ? kMaxInt32 : VstInt32(tail);
}

VstInt32 Vst2Wrapper::getNumMidiInputChannels() {
  return mTakesMidi ? 16 : 0;
}

// ---- pins ----

namespace {

bool pinProperties(IComponent* component, BusDirection dir, VstInt32 index, VstInt32 channels,
                   VstPinProperties* p) {
  if (!component || index < 0 || index >= channels)
    return false;
  std::memset(p, 0, sizeof(*p));
  BusInfo info{};
  std::string busName = dir == kInput ? "Input" : "Output";
  if (component->getBusInfo(kAudio, dir, 0, info) == kResultOk)
    busName = StringConvert::convert(info.name, 128);
  const std::string label = busName + " " + std::to_string(index + 1);
  vstStringCopy(p->label, label.c_str(), kVstMaxLabelLen - 1);
  vstStringCopy(p->shortLabel, label.c_str(), kVstMaxShortLabelLen - 1);
  p->flags = kVstPinIsActive;
  if (channels == 2) {
    p->arrangementType = kSpeakerArrStereo;
    if (index == 0)
      p->flags |= kVstPinIsStereo;
  } else if (channels == 1) {
    p->arrangementType = kSpeakerArrMono;
  } else {
    p->arrangementType = kSpeakerArrUserDefined;
  }
  return true;
}

} // namespace

bool Vst2Wrapper::getInputProperties(VstInt32 index, VstPinProperties* properties) {
  return pinProperties(mComponent, kInput, index, mMainInputChannels, properties);
}

bool Vst2Wrapper::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
  return pinProperties(mComponent, kOutput, index, mMainOutputChannels, properties);
}

namespace {

SpeakerArrangement vst3Arrangement(const VstSpeakerArrangement& arrangement) {
  switch (arrangement.numChannels) {
  case 1:
    return SpeakerArr::kMono;
  case 2:
    return SpeakerArr::kStereo;
  default:
    return 0;
  }
}

void fillArrangement(VstSpeakerArrangement& out, int32 channels) {
  std::memset(&out, 0, sizeof(out));
  out.numChannels = channels > 8 ? 8 : channels;
  out.type = channels == 1 ? kSpeakerArrMono
                           : (channels == 2 ? kSpeakerArrStereo : kSpeakerArrUserDefined);
}

} // namespace

bool Vst2Wrapper::setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) {
  // Only mono and stereo main buses, and only while suspended: the pin counts are fixed
  // while the host processes.
  if (mActive || !mProcessor)
    return false;
  SpeakerArrangement ins = vst3Arrangement(*in);
  SpeakerArrangement outs = vst3Arrangement(*out);
  if ((mInputBusCount > 0 && in->numChannels > 0 && !ins) || !outs)
    return false;
  const int32 numIns = mInputBusCount > 0 ? 1 : 0;
  if (mProcessor->setBusArrangements(&ins, numIns, &outs, 1) != kResultTrue)
    return false;
  BusInfo info{};
  if (mInputBusCount > 0 && mComponent->getBusInfo(kAudio, kInput, 0, info) == kResultOk)
    mMainInputChannels = info.channelCount;
  if (mComponent->getBusInfo(kAudio, kOutput, 0, info) == kResultOk)
    mMainOutputChannels = info.channelCount;
  setNumInputs(mMainInputChannels);
  setNumOutputs(mMainOutputChannels);
  mInputPointers.assign(size_t(mMainInputChannels), nullptr);
  mOutputPointers.assign(size_t(mMainOutputChannels), nullptr);
  return true;
}

bool Vst2Wrapper::getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) {
  fillArrangement(mInputArrangement, mMainInputChannels);
  fillArrangement(mOutputArrangement, mMainOutputChannels);
  *in = &mInputArrangement;
  *out = &mOutputArrangement;
  return true;
}

// ---- life cycle ----

VstIntPtr Vst2Wrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  noteHostCall();
  return ::AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

VstInt32 Vst2Wrapper::fxIdle() {
  orvane::RunLoop::instance().pump();
  return 1;
}

bool Vst2Wrapper::setupProcessing() {
  ProcessSetup setup{};
  setup.processMode = getCurrentProcessLevel() == kVstProcessLevelOffline ? kOffline : kRealtime;
  setup.symbolicSampleSize = mProcessPrecision == kVstProcessPrecision64 ? kSample64 : kSample32;
  setup.maxSamplesPerBlock = blockSize;
  setup.sampleRate = sampleRate;
  if (mProcessor->setupProcessing(setup) != kResultOk)
    return false;
  mSetupBlockSize = blockSize;
  mProcessData.processMode = setup.processMode;
  return true;
}

void Vst2Wrapper::resume() {
  if (mActive || !mProcessor)
    return;
  if (!setupProcessing())
    return;
  if (mComponent->setActive(true) != kResultOk)
    return;
  mActive = true;
  updateLatency();
  mProcessing.store(mProcessor->setProcessing(true) != kResultFalse);
}

void Vst2Wrapper::suspend() {
  if (!mActive)
    return;
  if (mProcessing.exchange(false))
    mProcessor->setProcessing(false);
  mComponent->setActive(false);
  mActive = false;
}

void Vst2Wrapper::setSampleRate(float rate) {
  ::AudioEffectX::setSampleRate(rate);
}

void Vst2Wrapper::setBlockSize(VstInt32 frames) {
  ::AudioEffectX::setBlockSize(frames);
}

VstInt32 Vst2Wrapper::setProcessPrecision(VstInt32 precision) {
  if (mActive)
    return 0;
  if (precision == kVstProcessPrecision64 &&
      (!mProcessor || mProcessor->canProcessSampleSize(kSample64) != kResultTrue))
    return 0;
  if (precision != kVstProcessPrecision32 && precision != kVstProcessPrecision64)
    return 0;
  mProcessPrecision = precision;
  return 1;
}

void Vst2Wrapper::updateLatency() {
  const uint32 latency = mProcessor ? mProcessor->getLatencySamples() : 0;
  const VstInt32 delay = latency > uint32(kMaxInt32) ? kMaxInt32 : VstInt32(latency);
  if (delay == cEffect->initialDelay)
    return;
  setInitialDelay(delay);
  if (hostHoldsEffect())
    ioChanged();
}

// ---- host application ----

tresult PLUGIN_API Vst2Wrapper::getName(String128 name) {
  char product[kVstMaxProductStrLen + 1] = {};
  // A question, not a notification: hosts answer it even for an effect they do not hold yet.
  if (!getHostProductString(product) || !product[0])
    vstStringCopy(product, "VST 2.4 host", kVstMaxProductStrLen);
  return StringConvert::convert(product, name, 128) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Vst2Wrapper::createInstance(TUID cid, TUID _iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (FUnknownPrivate::iidEqual(cid, IMessage::iid) &&
      FUnknownPrivate::iidEqual(_iid, IMessage::iid)) {
    *obj = static_cast<IMessage*>(new HostMessage);
    return kResultOk;
  }
  if (FUnknownPrivate::iidEqual(cid, IAttributeList::iid) &&
      FUnknownPrivate::iidEqual(_iid, IAttributeList::iid)) {
    *obj = static_cast<IAttributeList*>(new HostAttributeList);
    return kResultOk;
  }
  return kNoInterface;
}

tresult PLUGIN_API Vst2Wrapper::queryInterface(const TUID _iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, IHostApplication)
  QUERY_INTERFACE(_iid, obj, IHostApplication::iid, IHostApplication)
  QUERY_INTERFACE(_iid, obj, IComponentHandler::iid, IComponentHandler)
  QUERY_INTERFACE(_iid, obj, IComponentHandler2::iid, IComponentHandler2)
  QUERY_INTERFACE(_iid, obj, IUnitHandler::iid, IUnitHandler)
  *obj = nullptr;
  return kNoInterface;
}

// ---- component handler ----

tresult PLUGIN_API Vst2Wrapper::beginEdit(ParamID id) {
  const int32 index = vst2IndexOf(id);
  if (index >= 0 && hostHoldsEffect())
    ::AudioEffectX::beginEdit(index);
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::performEdit(ParamID id, ParamValue valueNormalized) {
  queueChangeToProcessor(id, valueNormalized);
  if (id == mBypassParameterID && mBypassSlot >= 0) {
    mHostValues.setFromController(mBypassSlot, float(valueNormalized));
    return kResultOk;
  }
  if (id == mProgramParameterID && mProgramParameterStepCount > 0) {
    const int32 program = int32(valueNormalized * mProgramParameterStepCount + 0.5);
    if (program >= 0 && program < numPrograms)
      curProgram = program;
    return kResultOk;
  }
  const int32 index = vst2IndexOf(id);
  if (index < 0)
    return kResultOk;
  mHostValues.setFromController(index, float(valueNormalized));
  if (hostHoldsEffect())
    callHost(audioMasterAutomate, index, 0, nullptr, float(valueNormalized));
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit(ParamID id) {
  const int32 index = vst2IndexOf(id);
  if (index >= 0 && hostHoldsEffect())
    ::AudioEffectX::endEdit(index);
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent(int32 flags) {
  if (flags & kParamValuesChanged)
    syncHostValuesFromController();
  if (flags & kParamTitlesChanged)
    refreshParameterInfos();
  if (flags & kLatencyChanged)
    updateLatency();
  if ((flags & (kParamValuesChanged | kParamTitlesChanged)) && hostHoldsEffect())
    updateDisplay();
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::setDirty(TBool) {
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::requestOpenEditor(FIDString) {
  return kNotImplemented;
}

tresult PLUGIN_API Vst2Wrapper::startGroupEdit() {
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::finishGroupEdit() {
  return kResultOk;
}

// ---- unit handler ----

tresult PLUGIN_API Vst2Wrapper::notifyUnitSelection(UnitID) {
  return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::notifyProgramListChange(ProgramListID, int32) {
  if (hostHoldsEffect())
    updateDisplay();
  return kResultOk;
}

// ---- transfer timer ----

void Vst2Wrapper::onTimer(Timer*) {
  transferHostChangesToController();
}

void Vst2Wrapper::transferHostChangesToController() {
  if (!mController)
    return;
  ParamID id;
  ParamValue value;
  int32 offset;
  while (mOutputTransfer.getNextChange(id, value, offset))
    mController->setParamNormalized(id, value);
  float hostValue;
  for (int32 i = 0; i < int32(mParameterIDs.size()); ++i)
    if (mHostValues.takeForController(i, hostValue))
      mController->setParamNormalized(mParameterIDs[size_t(i)], hostValue);
  if (mBypassSlot >= 0 && mHostValues.takeForController(mBypassSlot, hostValue))
    mController->setParamNormalized(mBypassParameterID, hostValue);
}

void Vst2Wrapper::queueChangeToProcessor(ParamID id, ParamValue value, int32 sampleOffset) {
  mInputTransfer.addChange(id, value, sampleOffset);
}

} // namespace Vst
} // namespace Steinberg
