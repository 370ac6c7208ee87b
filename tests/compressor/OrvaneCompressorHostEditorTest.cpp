// OrvaneCompressor.vst3's editor opened by the VST 3 test host on its off-screen windows:
// createView("editor") attached at backing scale 1 and 2 with every knob, switch and the
// threshold needle showing the strip frame its value selects (renders left as PNG), both meters
// following audio processed in the same host, the needle moved by Threshold and hidden by
// "I/O Metering", and a knob drag and wheel reaching the processor.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "HostedEditorSupport.h"
#include "Projects/compressor/OrvaneCompressorEditorLayout.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;
namespace layout = OrvaneCompressorLayout;

namespace {

constexpr ParamID kBypass = 0x10000;

// What the meters show, as the host last sent them.
struct Meters {
  double level = 0.0, gainReduction = 1.0;
};

struct HostedCompressorEditor : ::testing::Test {
  HostedEditor host{ORVANE_COMPRESSOR_BUNDLE, kVstAudioEffectClass};

  const Strip& StripOf(const IBitmapResource& r, double scale) { return strips.of(r, scale); }

  Screen Shot(const orvane::testhost::OffscreenWindow& window, double scale) {
    Screen screen = ReadScreen(window);
    screen.background = &StripOf(layout::kBackground, scale);
    return screen;
  }

  // In drawing order: the nine controls, the needle, the level and gain-reduction meters.
  std::vector<ShownFrame> Expected(double scale, Meters meters) {
    std::vector<ShownFrame> shown;
    for (const layout::Placement& p : layout::kControls) {
      const IBitmapResource& r = p.kind == layout::kLargeKnobControl    ? layout::kLargeKnob
                                 : p.kind == layout::kMediumKnobControl ? layout::kMediumKnob
                                 : p.kind == layout::kCrimsonSwitch     ? layout::kCrimsonButton
                                                                        : layout::kYellowButton;
      shown.push_back({&StripOf(r, scale), int(p.x * scale), int(p.y * scale),
                       StripFrame(r.frames, host.plugin->parameter(p.param)),
                       "control " + std::to_string(p.param)});
    }
    const int meterX = int(layout::kLevelMeterX * scale),
              meterY = int(layout::kLevelMeterY * scale);
    shown.push_back({&StripOf(layout::kNeedleStrip, scale), meterX, meterY,
                     BandFrame(layout::kNeedleFirstFrame, layout::kNeedleLastFrame,
                               host.plugin->parameter(kThreshold)),
                     "needle"});
    shown.push_back({&StripOf(layout::kMeterStrip, scale), meterX, meterY,
                     StripFrame(61, meters.level), "level meter"});
    shown.push_back({&StripOf(layout::kMeterStrip, scale),
                     int(layout::kGainReductionMeterX * scale),
                     int(layout::kGainReductionMeterY * scale),
                     StripFrame(61, meters.gainReduction), "gain-reduction meter"});
    return shown;
  }
  static constexpr size_t kNeedle = std::size(layout::kControls);
  static constexpr size_t kLevel = kNeedle + 1, kReduction = kNeedle + 2;

  Meters LastReadings() const {
    return {host.LastSent("GAIN", "GAIN"), host.LastSent("GAIN", "GAIN_REDUCTION")};
  }

  BundleStrips strips{host.bundle};
};

TEST_F(HostedCompressorEditor, OpensAtBothScalesShowingEachControlsFrame) {
  ASSERT_TRUE(host.plugin);
  const double values[] = {0.1, 0.8, 0.45, 0.3, 0.66, 1.0, 0.25, 0.0, 0.9};
  for (int p = 0; p < kNumOrvaneCompressorParams; ++p)
    host.plugin->setParameter(p, values[p]);
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    OffscreenWindowPtr window = host.Open(scale);
    ASSERT_NE(window, nullptr);
    const Screen screen = Shot(*window, scale);
    ASSERT_EQ(screen.width, int(920 * scale));
    ASSERT_EQ(screen.height, int(315 * scale));
    ExpectFramesOnScreen(screen, Expected(scale, {})); // no reading yet: the meters at rest
    screen.save(std::string(ORVANE_TEST_OUTPUT) + "/compressor_host_editor_" +
                std::to_string(int(scale)) + "x.png");
    host.plugin->closeView();
  }
}

TEST_F(HostedCompressorEditor, MetersAndNeedleFollowTheHost) {
  ASSERT_TRUE(host.plugin);
  host.plugin->setParameter(kThreshold, 0.2); // -42 dB: a -12 dB sine is compressed
  host.plugin->setParameter(kRatio, 0.8);
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    OffscreenWindowPtr window = host.Open(scale);
    ASSERT_NE(window, nullptr);
    host.plugin->setParameter(kBypass, 0.0);
    host.plugin->setParameter(kIOMetering, 0.0);
    host.Play(400, 0.25);
    const Meters readings = LastReadings();
    EXPECT_GT(readings.level, 0.0);
    EXPECT_LT(readings.gainReduction, 1.0);
    std::vector<ShownFrame> shown = Expected(scale, readings);
    Screen screen = Shot(*window, scale);
    EXPECT_EQ(FrameOnScreen(screen, shown, kLevel), StripFrame(61, readings.level));
    EXPECT_EQ(FrameOnScreen(screen, shown, kReduction), StripFrame(61, readings.gainReduction));
    EXPECT_EQ(MismatchedPixels(screen, shown, kNeedle), 0) << "needle at its threshold frame";

    // Threshold moves the needle; "I/O Metering" on hides it.
    host.plugin->setParameter(kThreshold, 0.7);
    host.Play(100, 0.25);
    screen = Shot(*window, scale);
    shown = Expected(scale, LastReadings());
    EXPECT_EQ(MismatchedPixels(screen, shown, kNeedle), 0) << "needle moved";
    host.plugin->setParameter(kIOMetering, 1.0);
    host.Play(100, 0.25);
    screen = Shot(*window, scale);
    shown = Expected(scale, LastReadings());
    EXPECT_GT(MismatchedPixels(screen, shown, kNeedle), 0) << "needle hidden";

    host.plugin->setParameter(kBypass, 1.0);
    host.Play(200, 0.25);
    screen = Shot(*window, scale);
    EXPECT_EQ(FrameOnScreen(screen, shown, kLevel), 1);
    EXPECT_EQ(FrameOnScreen(screen, shown, kReduction), 61);
    host.plugin->closeView();
  }
}

// A drag on Make-Up Gain (70 high: 14 points are 0.1; Command ten times finer, Shift no
// finer) and the wheel (0.01 a notch, Control alone 0.001): the host queues the values and the
// next blocks sound louder by the gain the parameter's mapping gives.
TEST_F(HostedCompressorEditor, KnobDragAndWheelReachTheProcessor) {
  ASSERT_TRUE(host.plugin);
  OffscreenWindowPtr window = host.Open(1.0);
  ASSERT_NE(window, nullptr);
  host.plugin->setParameter(kThreshold, 1.0); // -10 dB: a -12 dB sine is left alone
  host.plugin->setParameter(kBlend, 1.0);
  host.plugin->setParameter(kMakeUpGain, 0.2);
  const double before = host.Play(300, 0.25);

  const double x = 793 + 35, y = 315 - (68 + 35);
  struct Step {
    double up;
    std::uint64_t flags;
    double expected;
  } steps[] = {{14, 0, 0.3}, {28, NSShiftKeyMask, 0.4}, {42, NSCommandKeyMask, 0.41}};
  window->press(x, y);
  for (const Step& s : steps)
    window->drag(x, y + s.up, s.flags);
  window->release(x, y + steps[2].up);
  std::vector<double> performed = host.PerformedValues(kMakeUpGain);
  ASSERT_EQ(performed.size(), std::size(steps));
  for (size_t i = 0; i < performed.size(); ++i)
    EXPECT_NEAR(performed[i], steps[i].expected, 1e-12) << i;
  const std::vector<std::string> gesture = GestureOf(host.plugin->log());
  ASSERT_GE(gesture.size(), 2u);
  EXPECT_EQ(gesture.front(), "begin 6");
  EXPECT_EQ(gesture.back(), "end 6");

  struct Wheel {
    std::uint64_t flags;
    double step;
  } wheels[] = {{0, 0.01}, {NSShiftKeyMask, 0.01}, {NSControlKeyMask, 0.001}};
  for (const Wheel& w : wheels) {
    window->scroll(x, y, 2.0, w.flags);
    const std::vector<double> now = host.PerformedValues(kMakeUpGain);
    ASSERT_GT(now.size(), performed.size());
    EXPECT_NEAR(now.back() - performed.back(), 2 * w.step, 1e-12) << w.flags;
    performed = now;
  }

  for (double v : performed)
    host.plugin->inputChanges().add(kMakeUpGain, 0, v);
  const double after = host.Play(400, 0.25);
  auto* controller = host.plugin->controller();
  const double gainDb = controller->normalizedParamToPlain(kMakeUpGain, performed.back()) -
                        controller->normalizedParamToPlain(kMakeUpGain, 0.2);
  EXPECT_GT(gainDb, 3.0);
  EXPECT_NEAR(20 * std::log10(after / before), gainDb, 0.1);
  host.plugin->closeView();
}

} // namespace
