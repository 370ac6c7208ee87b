// The wrapper and the bare plug-in in one process, so that the controller can be watched
// and driven directly: the transfer timer on the run loop pumped by the host's idle calls,
// the controller's edit gestures turned into host calls, and the direct program road.
#include "tests/bareplugin/BarePluginIDs.h"

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

VstIntPtr VSTCALLBACK recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                    float opt) {
  gCalls.push_back({opcode, index, opt});
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
