// The controller base in-process: the preset parameter and the edits a restore sends, the
// framework parameters' values, latency, the preset bank, GUI edits and the processor's timer
// messages.
#include "support/InProcessHost.h"

#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace inprocess;

constexpr ParamID kBypass = 0x10000, kPreset = 0x10001;

// Two presets: the steps 0 and 0.5 each select the slot they begin; 1.0 the last slot.
TEST(PresetParameter, SelectsTheSlotOfItsStepAndAnswersTheCurrentOne) {
  Rig rig;
  const struct {
    double value;
    int preset;
  } table[] = {{0.0, 0},
               {0.5, 1},
               {0.26, 0},
               {0.74, 1},
               {0.49, 0},
               {1.0, 1},
               {std::numeric_limits<double>::quiet_NaN(), 1}};
  for (const auto& row : table) {
    rig.controller->setParamNormalized(kPreset, row.value);
    EXPECT_EQ(rig.controller->GetCurrentPresetIdx(), row.preset) << row.value;
    EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(kPreset), row.preset / 2.0);
  }
}

// Nine slots, each holding its own index as the value of its one parameter.
class NineSlots : public IFxController {
public:
  NineSlots()
      : IFxController(FUID(), 1, 9, "Nine", "Nine", "Orvane", "Fx", 0x10000, 0x4E696E65, 0x4F52564E,
                      0, false, false, false, kAPIVST3) {
    GetParam(0)->InitDouble("Slot", "", "", false, 0.0, 0.0, 8.0, 1.0);
    for (int k = 0; k < 9; ++k)
      MakePreset("slot", double(k));
  }
};

// Ardour 7 sends program / (count - 1) for a factory preset picked from the program list; a
// plain host sends program / count, the preset parameter's own steps. Both pick the program.
TEST(PresetParameter, EitherSpacingOfTheValuesPicksTheSameSlot) {
  auto* nine = new NineSlots;
  for (int k = 0; k < 9; ++k) {
    for (const double v : {k / 8.0, double(float(k / 8.0)), k / 9.0, double(float(k / 9.0))}) {
      nine->setParamNormalized(kPreset, v);
      EXPECT_EQ(nine->GetCurrentPresetIdx(), k) << v;
      EXPECT_DOUBLE_EQ(nine->GetParam(0)->Value(), k) << v;
    }
  }
  // Where the grids meet: 1.0 ends the program list, so it is the last slot.
  nine->setParamNormalized(kPreset, 1.0);
  EXPECT_EQ(nine->GetCurrentPresetIdx(), 8);
  // Off both grids: the parameter's own step, (int)(value x count).
  for (const auto& [v, slot] : {std::pair{0.99, 8}, {0.3, 2}, {0.4, 3}}) {
    nine->setParamNormalized(kPreset, v);
    EXPECT_EQ(nine->GetCurrentPresetIdx(), slot) << v;
  }
  // Values no host may send select nothing.
  nine->setParamNormalized(kPreset, 1.5);
  EXPECT_EQ(nine->GetCurrentPresetIdx(), 3);
  nine->release();
}

TEST(PresetParameter, ARestoreIsOneGroupOfBracketedEditsThenTheHooks) {
  Rig rig;
  rig.handler->calls.clear();
  const int hooks = rig.controller->hookCalls[bare::kGain];
  rig.controller->setParamNormalized(kPreset, 0.5);
  const auto& calls = rig.handler->calls;
  ASSERT_EQ(calls.size(), 2u + 3u * bare::kNumParams);
  EXPECT_EQ(calls.front(), "group");
  EXPECT_EQ(calls.back(), "endgroup");
  EXPECT_EQ(calls[1], "begin 0");
  EXPECT_EQ(calls[2], "perform 0 0.333333"); // -12 dB
  EXPECT_EQ(calls[3], "end 0");
  EXPECT_EQ(calls[2 + 3 * bare::kMode], "perform 5 1.000000");
  // Loading the slot and pushing it each run the hook once.
  EXPECT_EQ(rig.controller->hookCalls[bare::kGain], hooks + 2);
  EXPECT_EQ(rig.controller->statesRestored, 1);
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kGain)->Value(), -12.0);
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kFreq)->Value(), 1000.0);
}

TEST(Presets, TheFactorySlotsHoldWhatTheirMakersSay) {
  Rig rig;
  ASSERT_EQ(rig.controller->NPresets(), 2);
  EXPECT_STREQ(rig.controller->GetPresetName(0), "Unity");
  EXPECT_STREQ(rig.controller->GetPresetName(1), "Quiet");
  EXPECT_STREQ(rig.controller->GetPresetName(2), "");
  // Processor chunk: version word, then the six stored parameters.
  const IPreset* unity = rig.controller->GetPreset(0);
  ASSERT_EQ(unity->procChunk.GetSize(), 4 + 6 * 8);
  ASSERT_EQ(unity->ctrlChunk.GetSize(), 4);
  double values[6];
  std::memcpy(values, unity->procChunk.Bytes() + 4, sizeof values);
  const double expected[6] = {0.0, 1000.0, 100.0, 0.0, 4.0, 0.0};
  for (int i = 0; i < 6; ++i)
    EXPECT_DOUBLE_EQ(values[i], expected[i]) << i;

  ASSERT_TRUE(rig.controller->RestorePresetByName("Quiet"));
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kMode)->Value(), 2.0);
  EXPECT_FALSE(rig.controller->RestorePresetByName("Loud"));
  EXPECT_FALSE(rig.controller->RestorePreset(2));
  EXPECT_EQ(rig.controller->GetCurrentPresetIdx(), 1);
}

TEST(Presets, TheBankRoundTripsThroughAnotherController) {
  Rig rig;
  rig.controller->RestorePreset(1);
  rig.controller->GetParam(bare::kSteps)->Set(7.0);
  ASSERT_TRUE(rig.controller->ModifyCurrentPreset("Seven"));
  KIT_HeapBuf bank(4096);
  ASSERT_TRUE(rig.controller->SerializePresets(bank));

  Rig other;
  EXPECT_EQ(other.controller->UnserializePresets(bank, 0), bank.GetSize());
  EXPECT_STREQ(other.controller->GetPresetName(1), "Seven");
  ASSERT_TRUE(other.controller->RestorePreset(1));
  EXPECT_DOUBLE_EQ(other.controller->GetParam(bare::kSteps)->Value(), 7.0);
  EXPECT_DOUBLE_EQ(other.controller->GetParam(bare::kGain)->Value(), -12.0);
}

TEST(FrameworkParameters, BypassAndMidiControllersKeepTheirValues) {
  Rig rig;
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(kBypass), 0.0);
  rig.controller->setParamNormalized(kBypass, 1.0);
  EXPECT_TRUE(rig.controller->GetBypassed());
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(kBypass), 1.0);
  const ParamID bend = 0x10002 + 130 * 2 + 129;
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(bend), 0.5);
  rig.controller->setParamNormalized(bend, 0.25);
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(bend), 0.25);
  // An ID past the parameters and below the framework's reaches only the SDK.
  EXPECT_EQ(rig.controller->setParamNormalized(100, 0.5), kResultFalse);
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(100), 0.0);
}

TEST(Edits, FromTheEditorAndLatency) {
  Rig rig;
  rig.handler->calls.clear();
  const int hooks = rig.controller->hookCalls[bare::kMix];
  rig.controller->SetParameterFromGUI(bare::kMix, 0.5);
  EXPECT_DOUBLE_EQ(rig.controller->GetParam(bare::kMix)->Value(), 20.0);
  EXPECT_DOUBLE_EQ(rig.controller->getParamNormalized(bare::kMix), 0.5);
  EXPECT_EQ(rig.controller->hookCalls[bare::kMix], hooks + 1);
  rig.controller->SetLatency(128);
  EXPECT_EQ(rig.controller->GetLatency(), 128);
  ASSERT_EQ(rig.handler->calls.size(), 2u);
  EXPECT_EQ(rig.handler->calls[0], "perform 2 0.500000");
  EXPECT_EQ(rig.handler->calls[1], "restart 8");
  rig.controller->setComponentHandler(nullptr);
  rig.controller->SetLatency(64); // no handler: nothing to tell
  EXPECT_EQ(rig.controller->GetLatency(), 64);
}

// The processor's 40 ms timer on the run loop carries what the audio thread queued.
TEST(Messages, TheProcessorTimerSendsNotesAndSysExToTheController) {
  Rig rig;
  rig.Activate(kSample32, 64);
  Event on{};
  on.type = Event::kNoteOnEvent;
  on.noteOn = {4, 61, 0.0f, 1.0f, -1, -1};
  rig.inEvents.addEvent(on);
  const uint8_t bytes[] = {0xF0, 0x11, 0x22, 0xF7};
  Event data{};
  data.type = Event::kDataEvent;
  data.data = {4, DataEvent::kMidiSysEx, bytes};
  rig.inEvents.addEvent(data);
  rig.Process(64);
  EXPECT_TRUE(rig.controller->midiFromProcessor.empty());
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  loop.pump(loop.now() + 1000);
  ASSERT_EQ(rig.controller->midiFromProcessor.size(), 1u);
  EXPECT_EQ(rig.controller->midiFromProcessor[0].NoteNumber(), 61);
  EXPECT_EQ(rig.controller->midiFromProcessor[0].Velocity(), 127);
  EXPECT_EQ(rig.controller->midiFromProcessor[0].Channel(), 4);
  ASSERT_EQ(rig.controller->sysExFromProcessor.size(), 1u);
  EXPECT_EQ(rig.controller->sysExFromProcessor[0], std::vector<uint8_t>(bytes, bytes + 4));
}

} // namespace
