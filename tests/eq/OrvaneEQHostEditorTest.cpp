// OrvaneEQ.vst3's editor opened by the VST 3 test host on its off-screen windows, as a Linux
// host opens it: createView("editor") attached at backing scale 1 and 2, every knob and the
// meter showing the strip frame its value selects (renders left as PNG), the meter following
// audio processed in the same host, and a knob drag reaching the processor.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "HostedEditorSupport.h"
#include "Projects/eq/OrvaneEQEditorLayout.h"
#include "Projects/eq/OrvaneEQParamIDs.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;

namespace {

constexpr ParamID kBypass = 0x10000;

struct HostedEqEditor : ::testing::Test {
  HostedEditor host{ORVANE_EQ_BUNDLE, kVstAudioEffectClass};

  const Strip& StripOf(const IBitmapResource& r, double scale) { return strips.of(r, scale); }
  Screen Shot(const orvane::testhost::OffscreenWindow& window, double scale) {
    Screen screen = ReadScreen(window);
    screen.background = &StripOf(OrvaneEQLayout::kBackground, scale);
    return screen;
  }

  // The knobs and the meter as the screen should show them at a scale; the meter at `meter`.
  std::vector<ShownFrame> Expected(double scale, double meter) {
    auto strip = [&](const IBitmapResource& r) -> const Strip& { return StripOf(r, scale); };
    std::vector<ShownFrame> shown;
    for (const OrvaneEQLayout::Knob& k : OrvaneEQLayout::kKnobs) {
      const IBitmapResource& r = k.size == OrvaneEQLayout::kLarge    ? OrvaneEQLayout::kLargeKnob
                                 : k.size == OrvaneEQLayout::kMedium ? OrvaneEQLayout::kMediumKnob
                                                                     : OrvaneEQLayout::kSmallKnob;
      const double v = host.plugin->parameter(k.param);
      shown.push_back(
          {&strip(r), int(k.x * scale), int(k.y * scale),
           k.lastFrame > 0 ? BandFrame(k.firstFrame, k.lastFrame, v) : StripFrame(61, v),
           "knob " + std::to_string(k.param)});
    }
    shown.push_back({&strip(OrvaneEQLayout::kMeterStrip), int(OrvaneEQLayout::kMeterX * scale),
                     int(OrvaneEQLayout::kMeterY * scale), StripFrame(61, meter), "meter"});
    return shown;
  }
  size_t MeterIndex() const { return std::size(OrvaneEQLayout::kKnobs); }

  BundleStrips strips{host.bundle};
};

TEST_F(HostedEqEditor, OpensAtBothScalesShowingEachControlsFrame) {
  ASSERT_TRUE(host.plugin);
  const double values[] = {0.1, 0.9, 0.25, 0.55, 0.0, 1.0, 0.4, 0.66, 0.33, 0.75, 0.5, 0.2, 0.95};
  for (int p = 0; p < kNumOrvaneEQParams; ++p)
    host.plugin->setParameter(p, values[p]);
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    OffscreenWindowPtr window = host.Open(scale);
    ASSERT_NE(window, nullptr);
    const Screen screen = Shot(*window, scale);
    ASSERT_EQ(screen.width, int(920 * scale));
    ASSERT_EQ(screen.height, int(315 * scale));
    ExpectFramesOnScreen(screen, Expected(scale, 0.0));
    screen.save(std::string(ORVANE_TEST_OUTPUT) + "/eq_host_editor_" + std::to_string(int(scale)) +
                "x.png");
    host.plugin->closeView();
    EXPECT_EQ(orvane::testhost::offscreen::openWindowCount(), 0u);
  }
}

// The processor's meter timer sends "GAIN" while audio plays; the meter shows the frame the
// last reading selects, and rests once the host bypasses the plug-in.
TEST_F(HostedEqEditor, MeterFollowsTheAudioTheHostProcesses) {
  ASSERT_TRUE(host.plugin);
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    OffscreenWindowPtr window = host.Open(scale);
    ASSERT_NE(window, nullptr);
    host.plugin->setParameter(kBypass, 0.0);
    host.Play(400, 0.5);
    const double reading = host.LastSent("GAIN", "GAIN");
    const int playing = FrameOnScreen(Shot(*window, scale), Expected(scale, reading), MeterIndex());
    EXPECT_EQ(playing, StripFrame(61, reading)) << reading;
    EXPECT_GT(playing, 1);

    host.plugin->setParameter(kBypass, 1.0);
    host.Play(200, 0.5);
    EXPECT_EQ(FrameOnScreen(Shot(*window, scale), Expected(scale, 0.0), MeterIndex()), 1);
    host.plugin->closeView();
  }
}

// A drag on Output Gain: one gesture whose values follow the gearing (the knob's height x 2
// for the whole travel, ten times finer with Shift or Control); the host queues them and the
// next blocks sound louder by the gain the parameter's mapping gives.
TEST_F(HostedEqEditor, KnobDragIsOneGestureThatTheProcessorApplies) {
  ASSERT_TRUE(host.plugin);
  OffscreenWindowPtr window = host.Open(1.0);
  ASSERT_NE(window, nullptr);
  host.plugin->setParameter(kOutputGain, 0.5);
  const double before = host.Play(300, 0.25);

  const OrvaneEQLayout::Knob& knob = OrvaneEQLayout::kKnobs[12];
  const double x = knob.x + 40, y = 315 - (knob.y + 40); // centre, window points
  struct Step {
    double up;
    std::uint64_t flags;
    double expected;
  } steps[] = {
      {16, 0, 0.6}, {36, NSShiftKeyMask, 0.6125}, {56, NSControlKeyMask, 0.625}, {72, 0, 0.725}};
  window->press(x, y);
  for (const Step& s : steps)
    window->drag(x, y + s.up, s.flags);
  window->release(x, y + steps[3].up);
  const std::vector<double> performed = host.PerformedValues(kOutputGain);
  ASSERT_EQ(performed.size(), std::size(steps));
  for (size_t i = 0; i < performed.size(); ++i)
    EXPECT_NEAR(performed[i], steps[i].expected, 1e-12) << i;
  const std::vector<std::string> gesture = GestureOf(host.plugin->log());
  ASSERT_GE(gesture.size(), 2u);
  EXPECT_EQ(gesture.front(), "begin 12");
  EXPECT_EQ(gesture.back(), "end 12");

  for (double v : performed)
    host.plugin->inputChanges().add(kOutputGain, 0, v);
  const double after = host.Play(300, 0.25);
  auto* controller = host.plugin->controller();
  const double gainDb = controller->normalizedParamToPlain(kOutputGain, performed.back()) -
                        controller->normalizedParamToPlain(kOutputGain, 0.5);
  EXPECT_GT(gainDb, 3.0);
  EXPECT_NEAR(20 * std::log10(after / before), gainDb, 0.05);
  host.plugin->closeView();
}

} // namespace
