// The wrapper and the bare plug-in in one process, so that the controller can be watched
// and driven directly: the transfer timer on the run loop pumped by the host's idle calls,
// the controller's edit gestures turned into host calls, and the direct program road.
#include "tests/bareplugin/BarePluginIDs.h"
#include "tests/bareplugin/BareProcessor.h"

#include "framework/IFxController.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "vst2/Vst2WrapperExt.h"

#include <gtest/gtest.h>

#include <vector>

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct Call {
  VstInt32 opcode;
  VstInt32 index;
  float opt;
};
std::vector<Call> gCalls;
VstTimeInfo gTime{};
bool gHasTime = false;

VstIntPtr VSTCALLBACK recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                    float opt) {
  gCalls.push_back({opcode, index, opt});
  if (opcode == audioMasterGetTime)
    return gHasTime ? reinterpret_cast<VstIntPtr>(&gTime) : 0;
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

std::vector<VstInt32> editCalls() {
  std::vector<VstInt32> result;
  for (const Call& c : gCalls)
    if (c.opcode == audioMasterBeginEdit || c.opcode == audioMasterAutomate ||
        c.opcode == audioMasterEndEdit)
      result.push_back(c.opcode);
  return result;
}

class ExtInProcess : public ::testing::Test {
protected:
  void SetUp() override {
    gCalls.clear();
    gHasTime = false;
    orvane::RunLoop::instance().setClock(clock.clock());
    factory = GetPluginFactory();
    IComponent* processor = nullptr;
    ASSERT_EQ(factory->createInstance(bare::kProcessorUID.toTUID(), IComponent::iid,
                                      reinterpret_cast<void**>(&processor)),
              kResultOk);
    ASSERT_EQ(factory->createInstance(bare::kControllerUID.toTUID(), IEditController::iid,
                                      reinterpret_cast<void**>(&controller)),
              kResultOk);
    controller->addRef(); // the test's own, to watch it
    processor->addRef();
    processorObject = processor;
    bareProcessor = dynamic_cast<bare::BareProcessor*>(processor);
    ASSERT_TRUE(bareProcessor);
    wrapper = new Vst2WrapperExt(processor, controller, recordingHost, bare::kProcessorUID.toTUID(),
                                 bare::kUniqueID, factory);
    ASSERT_TRUE(wrapper->init());
    effect = wrapper->getAeffect();
    fx = dynamic_cast<IFxController*>(controller);
    ASSERT_TRUE(fx);
  }
  void TearDown() override {
    if (effect)
      effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.f);
    if (controller)
      controller->release();
    if (processorObject)
      processorObject->release();
    if (factory)
      factory->release();
    orvane::RunLoop::instance().setClock({});
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0) {
    return effect->dispatcher(effect, opcode, index, value, nullptr, 0.f);
  }

  orvane::ManualClock clock{1000};
  IPluginFactory* factory = nullptr;
  IEditController* controller = nullptr;
  IFxController* fx = nullptr;
  IComponent* processorObject = nullptr;
  bare::BareProcessor* bareProcessor = nullptr;
  Vst2WrapperExt* wrapper = nullptr;
  AEffect* effect = nullptr;
};

} // namespace

TEST_F(ExtInProcess, HostValuesReachTheControllerOnTheIdlePumpedTimer) {
  const double before = controller->getParamNormalized(bare::kGain);
  effect->setParameter(effect, bare::kGain, 0.25f);
  dispatch(effIdle);
  EXPECT_EQ(controller->getParamNormalized(bare::kGain), before);
  clock.advance(49);
  dispatch(effIdle);
  EXPECT_EQ(controller->getParamNormalized(bare::kGain), before);
  clock.advance(1);
  dispatch(effIdle);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(bare::kGain), 0.25);

  // The editor's idle call pumps it as well.
  effect->setParameter(effect, bare::kMix, 0.5f);
  clock.advance(50);
  dispatch(effEditIdle);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(bare::kMix), 0.5);
}

TEST_F(ExtInProcess, EditGesturesBecomeHostCalls) {
  dispatch(effOpen); // the host holds the effect
  gCalls.clear();
  fx->beginEdit(bare::kGain);
  fx->SetParameterFromGUI(bare::kGain, 0.125);
  fx->endEdit(bare::kGain);
  EXPECT_EQ(editCalls(),
            (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}));
  for (const Call& c : gCalls)
    EXPECT_EQ(c.index, bare::kGain);
  EXPECT_FLOAT_EQ(gCalls[1].opt, 0.125f);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, bare::kGain), 0.125f);

  // An edit of a parameter the host does not see (the read-only meter) stays inside.
  gCalls.clear();
  fx->beginEdit(bare::kMeter);
  fx->SetParameterFromGUI(bare::kMeter, 0.5);
  fx->endEdit(bare::kMeter);
  EXPECT_TRUE(editCalls().empty());
}

TEST_F(ExtInProcess, NoHostCallsBeforeTheHostHoldsTheEffect) {
  fx->RestorePreset(1);
  fx->beginEdit(bare::kGain);
  fx->SetParameterFromGUI(bare::kGain, 0.5);
  fx->endEdit(bare::kGain);
  EXPECT_TRUE(editCalls().empty());
  // The values are there all the same.
  EXPECT_FLOAT_EQ(effect->getParameter(effect, bare::kGain), 0.5f);
}

TEST_F(ExtInProcess, ProgramRoadCallsGuardTheStepCount) {
  dispatch(effOpen);
  // Two presets: the program parameter has two steps, so program 2 is the value 1.0, which
  // selects no preset; program 3 only stores the number.
  wrapper->setProgram(1);
  EXPECT_EQ(fx->GetCurrentPresetIdx(), 1);
  wrapper->setProgram(2);
  EXPECT_EQ(wrapper->getProgram(), 2);
  EXPECT_EQ(fx->GetCurrentPresetIdx(), 1);
  gCalls.clear();
  wrapper->setProgram(3);
  EXPECT_EQ(wrapper->getProgram(), 3);
  EXPECT_EQ(fx->GetCurrentPresetIdx(), 1);
  EXPECT_TRUE(editCalls().empty());
}

namespace {

struct Block {
  std::vector<float> in[2], out[2];
  float* inputs[2];
  float* outputs[2];
  explicit Block(int frames) {
    for (int c = 0; c < 2; ++c) {
      in[c].assign(size_t(frames), 0.f);
      out[c].assign(size_t(frames), 0.f);
      inputs[c] = in[c].data();
      outputs[c] = out[c].data();
    }
  }
};

VstMidiEvent midiEvent(VstInt32 delta, uint8_t status, uint8_t d1, uint8_t d2) {
  VstMidiEvent e{};
  e.type = kVstMidiType;
  e.byteSize = sizeof(VstMidiEvent);
  e.deltaFrames = delta;
  e.midiData[0] = char(status);
  e.midiData[1] = char(d1);
  e.midiData[2] = char(d2);
  return e;
}

} // namespace

TEST_F(ExtInProcess, HostTimeReachesTheProcessContext) {
  dispatch(effOpen);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.f);
  dispatch(effSetBlockSize, 0, 64);
  dispatch(effMainsChanged, 0, 1);
  gTime = {};
  gTime.samplePos = 96000;
  gTime.sampleRate = 48000;
  gTime.ppqPos = 4.5;
  gTime.tempo = 132;
  gTime.barStartPos = 4;
  gTime.timeSigNumerator = 7;
  gTime.timeSigDenominator = 8;
  gTime.flags =
      kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  gHasTime = true;
  Block block(64);
  effect->processReplacing(effect, block.inputs, block.outputs, 64);
  const ProcessContext& c = bareProcessor->GetProcessContext();
  EXPECT_EQ(c.projectTimeSamples, 96000);
  EXPECT_EQ(c.sampleRate, 48000);
  EXPECT_EQ(c.projectTimeMusic, 4.5);
  EXPECT_EQ(c.tempo, 132);
  EXPECT_EQ(c.barPositionMusic, 4);
  EXPECT_EQ(c.timeSigNumerator, 7);
  EXPECT_EQ(c.timeSigDenominator, 8);
  const uint32 wanted = ProcessContext::kPlaying | ProcessContext::kProjectTimeMusicValid |
                        ProcessContext::kTempoValid | ProcessContext::kBarPositionValid |
                        ProcessContext::kTimeSigValid;
  EXPECT_EQ(c.state & wanted, wanted);
  EXPECT_EQ(c.state & ProcessContext::kCycleValid, 0u);
  dispatch(effMainsChanged, 0, 0);
}

TEST_F(ExtInProcess, MidiEventsReachTheProcessorAsNotesAndControllers) {
  dispatch(effOpen);
  dispatch(effSetBlockSize, 0, 64);
  dispatch(effMainsChanged, 0, 1);
  VstMidiEvent note = midiEvent(5, 0x92, 60, 127);
  VstMidiEvent cc = midiEvent(9, 0xB1, 7, 127);
  char dump[] = {char(0xF0), 0x7D, 0x01, char(0xF7)};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(VstMidiSysexEvent);
  sysex.dumpBytes = 4;
  sysex.sysexDump = dump;
  struct Events {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
  };
  Events first{2, 0, {reinterpret_cast<VstEvent*>(&note), reinterpret_cast<VstEvent*>(&sysex)}};
  EXPECT_EQ(effect->dispatcher(effect, effProcessEvents, 0, 0, &first, 0.f), 1);
  Block block(64);
  effect->processReplacing(effect, block.inputs, block.outputs, 64);
  EXPECT_EQ(bareProcessor->midiCount, 1);
  EXPECT_EQ(bareProcessor->lastMidi.status, 0x92);
  EXPECT_EQ(bareProcessor->lastMidi.data1, 60);
  EXPECT_EQ(bareProcessor->lastMidi.data2, 127);
  EXPECT_EQ(bareProcessor->lastMidi.offset, 5);
  EXPECT_EQ(bareProcessor->sysExCount, 1);

  // A controller goes through the MIDI mapping: a control change on channel 2 at its offset.
  Events second{1, 0, {reinterpret_cast<VstEvent*>(&cc), nullptr}};
  EXPECT_EQ(effect->dispatcher(effect, effProcessEvents, 0, 0, &second, 0.f), 1);
  effect->processReplacing(effect, block.inputs, block.outputs, 64);
  EXPECT_EQ(bareProcessor->midiCount, 2);
  EXPECT_EQ(bareProcessor->lastMidi.status, 0xB1);
  EXPECT_EQ(bareProcessor->lastMidi.data1, 7);
  EXPECT_EQ(bareProcessor->lastMidi.data2, 127);
  EXPECT_EQ(bareProcessor->lastMidi.offset, 9);

  // Nothing is carried into the next block.
  effect->processReplacing(effect, block.inputs, block.outputs, 64);
  EXPECT_EQ(bareProcessor->midiCount, 2);
  EXPECT_EQ(bareProcessor->sysExCount, 1);
  dispatch(effMainsChanged, 0, 0);
}
