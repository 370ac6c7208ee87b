// The equaliser's editor against its layout written out here from the editor's description
// (not from the code's table): every control's class, parameter, bitmap, rectangle and frame
// band at the drawing scales, the meter and the version label, the resources asked for, and
// the scales printed on the background sitting around the knobs drawn over them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EditorRenderSupport.h"
#include "LayoutChecks.h"
#include "Projects/eq/OrvaneEQController.h"
#include "gui/IClampedKnobControl.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/IVersionControl.h"
#include "gui/StaticBitmapCache.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;

namespace {

const Strip kBackground{102, "background.png", 103, "background2x.png", 1};
const Strip kVu{122, "vu.png", 123, "vu2x.png", 61};
const Strip kLarge{116, "knob_lrg.png", 117, "knob_lrg2x.png", 61};
const Strip kMedium{118, "knob_med.png", 119, "knob_med2x.png", 61};
const Strip kSmall{120, "knob_sml.png", 121, "knob_sml2x.png", 61};
const Strip* const kStrips[] = {&kBackground, &kVu, &kLarge, &kMedium, &kSmall};

// The knobs in attach order (controls 1 to 13): parameter, strip, top-left corner in 1x
// pixels, and for a clamped knob its band of frames (first, last); 0, 0 for the whole strip.
struct KnobRow {
  int param;
  const Strip* strip;
  int x, y;
  int first, last;
};

const KnobRow kKnobRows[] = {
    {0, &kMedium, 52, 177, 16, 43},   // HiPassFreq, clamped
    {1, &kMedium, 175, 213, 0, 0},    // LowShelfFreq
    {2, &kLarge, 173, 56, 0, 0},      // LowShelfGain
    {3, &kMedium, 302, 213, 0, 0},    // LowMidFreq
    {5, &kSmall, 308, 146, 0, 0},     // LowMidQ
    {4, &kLarge, 300, 56, 0, 0},      // LowMidGain
    {6, &kMedium, 426, 213, 0, 0},    // HiMidFreq
    {8, &kSmall, 432, 146, 0, 0},     // HiMidQ
    {7, &kLarge, 424, 56, 0, 0},      // HiMidGain
    {9, &kMedium, 552, 213, 0, 0},    // HiShelfFreq
    {10, &kLarge, 550, 56, 0, 0},     // HiShelfGain
    {11, &kMedium, 668, 177, 18, 46}, // LowPassFreq, clamped
    {12, &kLarge, 811, 207, 0, 0},    // Gain
};
constexpr int kMeterIndex = 14, kVersionIndex = 15, kControlCount = 16;
constexpr int kMeterX = 750, kMeterY = 87;
constexpr int kVersionL = 53, kVersionT = 53, kVersionR = 100, kVersionB = 147;

int Scaled(int v, double s) {
  return (int)std::trunc(v * s);
}

struct EqLayoutTable : ::testing::Test {
  void SetUp() override {
    controller = new OrvaneEQController();
    controller->initialize(nullptr);
    StaticBitmapCache::Shared().Empty();
    editor = new RecordingFolderEditor(controller, OrvaneEQController::kEditorWidth,
                                       OrvaneEQController::kEditorHeight, ORVANE_EQ_BITMAPS_DIR);
    controller->AttachGraphics(editor);
    controller->BuildControls(editor);
  }
  void TearDown() override {
    controller->terminate();
    controller->release();
    StaticBitmapCache::Shared().Empty();
  }
  // The editor rebuilt at a drawing scale, every resource decoded afresh, as the toolkit
  // rebuilds it after a change of backing scale.
  void BuildAt(double scale) {
    if (scale == editor->GetDrawScale())
      return; // as built, every resource decoded afresh at the start
    editor->SetDrawScale(scale);
    editor->Resize(int(920 * scale), int(315 * scale));
    StaticBitmapCache::Shared().Empty();
    editor->loads.clear();
    controller->LayoutGUI();
  }
  // The strip's bitmap as decoded for this scale's resource.
  PIX_IBitmap* Decoded(const Strip& s, double scale) const {
    return editor->Loaded(scale == 2.0 ? s.id2x : s.id1x);
  }
  void DrawAll() { DrawWholeEditor(editor); }
  OrvaneEQController* controller = nullptr;
  RecordingFolderEditor* editor = nullptr;
};

TEST_F(EqLayoutTable, EveryControlHasItsClassParameterBitmapAndRectangle) {
  for (double scale : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(testing::Message() << "scale " << scale);
    BuildAt(scale);
    const bool twice = scale == 2.0;
    // The resources of this density, each under its own id and name, and no other.
    ExpectEachStripLoadedOnce(*editor, kStrips, twice);
    ASSERT_EQ(editor->NControls(), kControlCount);
    auto* background = dynamic_cast<IBitmapControl*>(editor->GetControl(0));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetBitmap().mData, Decoded(kBackground, scale));

    for (int i = 0; i < 13; ++i) {
      const KnobRow& row = kKnobRows[i];
      SCOPED_TRACE(testing::Message() << "knob " << i + 1 << " (parameter " << row.param << ")");
      IControl* c = editor->GetControl(i + 1);
      const bool clamped = row.last > 0;
      EXPECT_EQ(dynamic_cast<IClampedKnobControl*>(c) != nullptr, clamped);
      EXPECT_EQ(dynamic_cast<IOrvaneKnobControl*>(c) != nullptr, !clamped);
      auto* knob = dynamic_cast<IKnobMultiControl*>(c);
      ASSERT_NE(knob, nullptr);
      EXPECT_EQ(c->ParamIdx(), row.param);
      PIX_IBitmap* strip = Decoded(*row.strip, scale);
      ASSERT_NE(strip, nullptr);
      EXPECT_EQ(knob->GetBitmap().mData, strip);
      EXPECT_EQ(knob->GetBitmap().Frames(), row.strip->frames);
      const IRECT expected(Scaled(row.x, scale), Scaled(row.y, scale),
                           Scaled(row.x, scale) + strip->getWidth(),
                           Scaled(row.y, scale) + strip->getHeight() / row.strip->frames);
      EXPECT_EQ(*c->GetRECT(), expected);
      EXPECT_EQ(c->GetText()->mSize, 10);
      EXPECT_STREQ(c->GetText()->mFont, "Monaco");
    }

    IControl* meter = editor->GetControl(kMeterIndex);
    auto* meterControl = dynamic_cast<IMeterControl*>(meter);
    ASSERT_NE(meterControl, nullptr);
    EXPECT_EQ(controller->MeterControl(), meterControl);
    EXPECT_EQ(meter->ParamIdx(), -1);
    PIX_IBitmap* vu = Decoded(kVu, scale);
    ASSERT_NE(vu, nullptr);
    EXPECT_EQ(meterControl->GetBitmap().mData, vu);
    EXPECT_EQ(*meter->GetRECT(), IRECT(Scaled(kMeterX, scale), Scaled(kMeterY, scale),
                                       Scaled(kMeterX, scale) + vu->getWidth(),
                                       Scaled(kMeterY, scale) + vu->getHeight() / kVu.frames));

    auto* version = dynamic_cast<IVersionControl*>(editor->GetControl(kVersionIndex));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(*version->GetRECT(), IRECT(Scaled(kVersionL, scale), Scaled(kVersionT, scale),
                                         Scaled(kVersionR, scale), Scaled(kVersionB, scale)));
    EXPECT_EQ(version->GetText()->mSize, 12);
    EXPECT_STREQ(version->GetText()->mFont, "Arial");
  }
}

// Each control shows, at its own rectangle, the frame its own parameter's value picks through
// its band: the band's ends at 0 and 1, and a value per parameter that no other one shares.
TEST_F(EqLayoutTable, EachControlShowsTheFrameOfItsOwnParameter) {
  struct Values {
    double knob[13];
    double meter;
  } sets[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0},
      {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 1.0},
      {{0.05, 0.12, 0.2, 0.27, 0.35, 0.42, 0.5, 0.58, 0.65, 0.73, 0.8, 0.88, 0.95}, 0.3},
  };
  for (double scale : {1.0, 2.0}) {
    BuildAt(scale);
    for (const Values& set : sets) {
      for (int p = 0; p < 13; ++p)
        controller->setParamNormalized(p, set.knob[p]);
      IPtr<HostMessage> gain = owned(new HostMessage());
      gain->setMessageID("GAIN");
      gain->getAttributes()->setFloat("GAIN", set.meter);
      controller->OnMessage(gain);
      DrawAll();
      for (int i = 0; i < 13; ++i) {
        const KnobRow& row = kKnobRows[i];
        const double v = set.knob[row.param];
        SCOPED_TRACE(testing::Message()
                     << "scale " << scale << " knob " << i + 1 << " value " << v);
        const int frame = row.last > 0 ? BandFrame(row.first, row.last, v) : StripFrame(61, v);
        const IBitmap& strip =
            dynamic_cast<IKnobMultiControl*>(editor->GetControl(i + 1))->GetBitmap();
        EXPECT_EQ(FramesShownAt(editor, strip, Scaled(row.x, scale), Scaled(row.y, scale)),
                  std::vector<int>{frame});
      }
      const IBitmap& vu =
          dynamic_cast<IMeterControl*>(editor->GetControl(kMeterIndex))->GetBitmap();
      EXPECT_EQ(FramesShownAt(editor, vu, Scaled(kMeterX, scale), Scaled(kMeterY, scale)),
                std::vector<int>{StripFrame(61, set.meter)})
          << "meter at " << set.meter;
    }
  }
}

// The band ends the description names: the high-pass knob shows frame 17 at 0 and 43 at 1,
// the low-pass knob 19 and 46.
TEST_F(EqLayoutTable, ClampedKnobsStopAtTheirBandEnds) {
  struct End {
    int control, param;
    double value;
    int frame, x, y;
  } ends[] = {{1, 0, 0.0, 17, 52, 177},
              {1, 0, 1.0, 43, 52, 177},
              {12, 11, 0.0, 19, 668, 177},
              {12, 11, 1.0, 46, 668, 177}};
  for (const End& e : ends) {
    controller->setParamNormalized(e.param, e.value);
    DrawAll();
    const IBitmap& strip =
        dynamic_cast<IKnobMultiControl*>(editor->GetControl(e.control))->GetBitmap();
    EXPECT_EQ(FramesShownAt(editor, strip, e.x, e.y), std::vector<int>{e.frame})
        << "control " << e.control << " at " << e.value;
  }
}

// The background's scales are printed around the knobs: each travel arc is a circle about
// the cap of the knob drawn over it, at both densities.
TEST_F(EqLayoutTable, ArtworkScalesSitAroundTheKnobs) {
  for (double scale : {1.0, 2.0}) {
    BuildAt(scale);
    PIX_IBitmap* background = Decoded(kBackground, scale);
    ASSERT_NE(background, nullptr);
    for (int i = 0; i < 13; ++i) {
      IControl* c = editor->GetControl(i + 1);
      const IBitmap& strip = dynamic_cast<IKnobMultiControl*>(c)->GetBitmap();
      ExpectScaleAroundKnob(background, strip, *c->GetRECT(), scale,
                            "scale " + std::to_string(scale) + " knob " + std::to_string(i + 1));
    }
  }
}

} // namespace
