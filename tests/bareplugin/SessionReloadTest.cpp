// A session reloaded the way Ardour 7 reloads one (observed with a tracing build of this
// plug-in): after syncing the controller with the fresh processor, Ardour selects the
// session's last preset through the preset parameter, and only then hands over the saved
// processor and controller states. The edits of that preset restore are queued for the
// processor's first block, which comes after its state, and Ardour echoes every edit back to
// the controller. The saved values must survive all of that.
#include "support/InProcessHost.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

namespace {

using namespace inprocess;

constexpr ParamID kPreset = 0x10001;

std::vector<uint8_t> ControllerState(IEditController& controller) {
  auto* stream = new MemoryStream();
  std::vector<uint8_t> bytes;
  if (controller.getState(stream) == kResultOk)
    bytes.assign(stream->getData(), stream->getData() + stream->getSize());
  stream->release();
  return bytes;
}

enum class Road { kComponentState, kControllerState };

tresult LoadIntoController(IEditController& controller, const std::vector<uint8_t>& bytes,
                           Road road) {
  auto* stream = new MemoryStream(static_cast<const void*>(bytes.data()), TSize(bytes.size()));
  const tresult result = road == Road::kComponentState ? controller.setComponentState(stream)
                                                       : controller.setState(stream);
  stream->release();
  return result;
}

// What Ardour does with the controller's edits: the last value of each parameter goes to the
// processor's next block, and the controller is told the value it performed.
void ForwardEdits(Rig& rig) {
  const auto edits = rig.handler->edits;
  rig.handler->edits.clear();
  for (const auto& [id, value] : edits) {
    int32 index = 0;
    IParamValueQueue* queue = rig.inChanges.addParameterData(id, index);
    ASSERT_NE(queue, nullptr);
    queue->addPoint(0, value, index);
    rig.controller->setParamNormalized(id, value);
  }
}

struct Saved {
  std::vector<uint8_t> processor;
  std::vector<uint8_t> controller;
};

// The session as it was saved: preset "Quiet" (gain -12 dB, mode "Hot") chosen, then the gain
// turned to +3.5 dB.
Saved QuietThenGainEdited() {
  Rig rig;
  rig.Activate(kSample32, 64);
  rig.controller->setParamNormalized(kPreset, 1.0);
  ForwardEdits(rig);
  rig.Process(64);
  const double gain = rig.controller->GetParam(bare::kGain)->ToNormalized(3.5);
  rig.controller->setParamNormalized(ParamID(bare::kGain), gain);
  int32 index = 0;
  rig.inChanges.addParameterData(ParamID(bare::kGain), index)->addPoint(0, gain, index);
  rig.Process(64);
  return {GetState(*rig.processor), ControllerState(*rig.controller)};
}

TEST(SessionReload, APresetSelectedBeforeTheSavedStatesLeavesTheEditedValues) {
  const Saved saved = QuietThenGainEdited();
  Rig rig;
  rig.Activate(kSample32, 64);
  ASSERT_EQ(LoadIntoController(*rig.controller, GetState(*rig.processor), Road::kComponentState),
            kResultOk);
  rig.controller->setParamNormalized(kPreset, 1.0);
  ForwardEdits(rig);
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kGain)->Value(), -12.0);

  ASSERT_EQ(SetState(*rig.processor, saved.processor), kResultOk);
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.processor, Road::kComponentState), kResultOk);
  // Only the parameter the state holds differently from the preset goes out again.
  EXPECT_EQ(rig.handler->edits.size(), 1u);
  EXPECT_TRUE(!rig.handler->edits.empty() && rig.handler->edits[0].first == bare::kGain);
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.controller, Road::kControllerState),
            kResultOk);
  ForwardEdits(rig);
  rig.Process(64);

  EXPECT_NEAR(rig.processor->GetParam(bare::kGain)->Value(), 3.5, 1e-9);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kMode)->Value(), 2.0);
  EXPECT_NEAR(rig.controller->GetParam(bare::kGain)->Value(), 3.5, 1e-9);
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kMode)->Value(), 2.0);
  EXPECT_EQ(GetState(*rig.processor), saved.processor);
  // The preset still counts as chosen; picking the other one switches.
  EXPECT_EQ(rig.controller->GetCurrentPresetIdx(), 1);
  rig.controller->setParamNormalized(kPreset, 0.0);
  ForwardEdits(rig);
  rig.Process(64);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kGain)->Value(), 0.0);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kMode)->Value(), 0.0);
}

// A state load with no preset restore before it sends the host nothing, and neither does a
// second one after the restore's edits were followed.
TEST(SessionReload, OtherStateLoadsSendNoEdits) {
  const Saved saved = QuietThenGainEdited();
  Rig rig;
  rig.Activate(kSample32, 64);
  rig.handler->calls.clear();
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.processor, Road::kComponentState), kResultOk);
  EXPECT_TRUE(rig.handler->calls.empty());

  // A preset restore still waiting for a block: the load sends again what it changed (the
  // gain and the mode differ from "Default"), and nothing else.
  rig.controller->setParamNormalized(kPreset, 0.0);
  ForwardEdits(rig);
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.processor, Road::kComponentState), kResultOk);
  std::vector<ParamID> sent;
  for (const auto& edit : rig.handler->edits)
    sent.push_back(edit.first);
  EXPECT_EQ(sent, (std::vector<ParamID>{ParamID(bare::kGain), ParamID(bare::kMode)}));
  ForwardEdits(rig);
  rig.handler->calls.clear();
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.processor, Road::kComponentState), kResultOk);
  EXPECT_TRUE(rig.handler->calls.empty());
}

// A preset chosen long before a load (an undo, a preset browser): its edits reached the
// processor many blocks ago, so the load is no edit and sends the host nothing, while the
// processor takes the loaded values.
TEST(SessionReload, ALoadLongAfterAPresetChoiceSendsNoEdits) {
  const Saved saved = QuietThenGainEdited();
  Rig rig;
  rig.Activate(kSample32, 64);
  rig.controller->setParamNormalized(kPreset, 0.0);
  ForwardEdits(rig);
  for (int block = 0; block < 50; ++block)
    rig.Process(64);
  rig.handler->calls.clear();
  ASSERT_EQ(SetState(*rig.processor, saved.processor), kResultOk);
  ASSERT_EQ(LoadIntoController(*rig.controller, saved.processor, Road::kComponentState), kResultOk);
  EXPECT_TRUE(rig.handler->calls.empty());
  EXPECT_TRUE(rig.handler->edits.empty());
  rig.Process(64);
  EXPECT_NEAR(rig.processor->GetParam(bare::kGain)->Value(), 3.5, 1e-9);
  EXPECT_NEAR(rig.controller->GetParam(bare::kGain)->Value(), 3.5, 1e-9);
  EXPECT_EQ(GetState(*rig.processor), saved.processor);
}

} // namespace
