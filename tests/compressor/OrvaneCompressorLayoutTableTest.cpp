// The compressor's editor against its layout written out here from the editor's description
// (not from the code's table): every control's class, parameter, bitmap, rectangle and frame
// band at the drawing scales, the three meters and the version label, the resources asked for,
// and the scales printed on the background sitting around the knobs drawn over them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorRenderSupport.h"
#include "LayoutChecks.h"
#include "Projects/compressor/IOrvaneSwitchControl.h"
#include "Projects/compressor/OrvaneCompressorController.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/IVersionControl.h"
#include "gui/StaticBitmapCache.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;

namespace {

const Strip kBackground{102, "background.png", 103, "background2x.png", 1};
const Strip kVu{124, "vu.png", 125, "vu2x.png", 61};
const Strip kNeedle{126, "vu_rd.png", 127, "vu_rd2x.png", 61};
const Strip kLarge{120, "knob_lrg.png", 121, "knob_lrg2x.png", 61};
const Strip kMedium{122, "knob_med.png", 123, "knob_med2x.png", 61};
const Strip kCrimson{112, "btn_rd.png", 113, "btn_rd2x.png", 2};
const Strip kYellow{114, "btn_yel.png", 115, "btn_yel2x.png", 2};
const Strip* const kStrips[] = {&kBackground, &kVu,      &kNeedle, &kLarge,
                                &kMedium,     &kCrimson, &kYellow};

// Controls 1 to 9 in attach order: parameter, switch or knob, strip, top-left in 1x pixels.
struct Row {
  int param;
  bool isSwitch;
  const Strip* strip;
  int x, y;
};
const Row kRows[] = {
    {0, false, &kLarge, 51, 180},   // InputGain
    {1, false, &kLarge, 300, 68},   // Threshold
    {2, false, &kLarge, 173, 68},   // Ratio
    {3, false, &kLarge, 173, 180},  // Attack
    {4, false, &kLarge, 300, 180},  // Release
    {5, true, &kCrimson, 244, 131}, // AutoRelease
    {6, false, &kLarge, 793, 68},   // MakeUpGain
    {7, true, &kYellow, 440, 199},  // I/O Metering
    {8, false, &kMedium, 796, 186}, // Blend
};
// Controls 10 to 12: the threshold needle, the level meter, the gain-reduction meter, each
// with its band of frames (first, last).
struct MeterRow {
  const Strip* strip;
  int x, y;
  int first, last;
};
const MeterRow kMeters[] = {
    {&kNeedle, 418, 92, 10, 51}, {&kVu, 418, 92, 0, 61}, {&kVu, 626, 138, 0, 61}};
constexpr int kNeedleIndex = 10, kLevelIndex = 11, kReductionIndex = 12, kVersionIndex = 13;
constexpr int kControlCount = 14;

int Scaled(int v, double s) {
  return (int)std::trunc(v * s);
}

struct CompressorLayoutTable : ::testing::Test {
  void SetUp() override {
    controller = new OrvaneCompressorController();
    controller->initialize(nullptr);
    StaticBitmapCache::Shared().Empty();
    editor = new RecordingFolderEditor(controller, OrvaneCompressorController::kEditorWidth,
                                       OrvaneCompressorController::kEditorHeight,
                                       ORVANE_COMP_BITMAPS_DIR);
    controller->AttachGraphics(editor);
    controller->BuildControls(editor);
  }
  void TearDown() override {
    controller->terminate();
    controller->release();
    StaticBitmapCache::Shared().Empty();
  }
  void BuildAt(double scale) {
    if (scale == editor->GetDrawScale())
      return; // as built, every resource decoded afresh at the start
    editor->SetDrawScale(scale);
    editor->Resize(int(920 * scale), int(315 * scale));
    StaticBitmapCache::Shared().Empty();
    editor->loads.clear();
    controller->LayoutGUI();
  }
  PIX_IBitmap* Decoded(const Strip& s, double scale) const {
    return editor->Loaded(scale == 2.0 ? s.id2x : s.id1x);
  }
  void SendMeters(double level, double reduction) {
    IPtr<HostMessage> gain = owned(new HostMessage());
    gain->setMessageID("GAIN");
    gain->getAttributes()->setFloat("GAIN", level);
    gain->getAttributes()->setFloat("GAIN_REDUCTION", reduction);
    controller->OnMessage(gain);
  }
  void DrawAll() { DrawWholeEditor(editor); }
  OrvaneCompressorController* controller = nullptr;
  RecordingFolderEditor* editor = nullptr;
};

TEST_F(CompressorLayoutTable, EveryControlHasItsClassParameterBitmapAndRectangle) {
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

    for (int i = 0; i < 9; ++i) {
      const Row& row = kRows[i];
      SCOPED_TRACE(testing::Message() << "control " << i + 1 << " (parameter " << row.param << ")");
      IControl* c = editor->GetControl(i + 1);
      EXPECT_EQ(dynamic_cast<IOrvaneSwitchControl*>(c) != nullptr, row.isSwitch);
      EXPECT_EQ(dynamic_cast<IOrvaneKnobControl*>(c) != nullptr, !row.isSwitch);
      EXPECT_EQ(c->ParamIdx(), row.param);
      const IBitmap& bitmap = row.isSwitch ? dynamic_cast<IBitmapControl*>(c)->GetBitmap()
                                           : dynamic_cast<IKnobMultiControl*>(c)->GetBitmap();
      PIX_IBitmap* strip = Decoded(*row.strip, scale);
      ASSERT_NE(strip, nullptr);
      EXPECT_EQ(bitmap.mData, strip);
      EXPECT_EQ(bitmap.Frames(), row.strip->frames);
      EXPECT_EQ(*c->GetRECT(),
                IRECT(Scaled(row.x, scale), Scaled(row.y, scale),
                      Scaled(row.x, scale) + strip->getWidth(),
                      Scaled(row.y, scale) + strip->getHeight() / row.strip->frames));
      EXPECT_EQ(c->GetText()->mSize, 10);
      EXPECT_STREQ(c->GetText()->mFont, "Monaco");
    }

    for (int m = 0; m < 3; ++m) {
      const MeterRow& row = kMeters[m];
      SCOPED_TRACE(testing::Message() << "meter " << m);
      auto* meter = dynamic_cast<IMeterControl*>(editor->GetControl(kNeedleIndex + m));
      ASSERT_NE(meter, nullptr);
      EXPECT_EQ(meter->ParamIdx(), -1);
      PIX_IBitmap* strip = Decoded(*row.strip, scale);
      ASSERT_NE(strip, nullptr);
      EXPECT_EQ(meter->GetBitmap().mData, strip);
      EXPECT_EQ(*meter->GetRECT(), IRECT(Scaled(row.x, scale), Scaled(row.y, scale),
                                         Scaled(row.x, scale) + strip->getWidth(),
                                         Scaled(row.y, scale) + strip->getHeight() / 61));
    }
    EXPECT_EQ(controller->ThresholdNeedle(), editor->GetControl(kNeedleIndex));
    EXPECT_EQ(controller->LevelMeter(), editor->GetControl(kLevelIndex));
    EXPECT_EQ(controller->GainReductionMeter(), editor->GetControl(kReductionIndex));

    auto* version = dynamic_cast<IVersionControl*>(editor->GetControl(kVersionIndex));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(*version->GetRECT(),
              IRECT(Scaled(53, scale), Scaled(53, scale), Scaled(100, scale), Scaled(147, scale)));
    EXPECT_STREQ(version->GetText()->mFont, "Arial");
  }
}

// Each control shows, at its own rectangle, the frame its own parameter's value picks; each
// meter the frame of its band for its reading: the band ends at 0 and 1, and values no two
// parameters share.
TEST_F(CompressorLayoutTable, EachControlShowsTheFrameOfItsOwnParameter) {
  struct Values {
    double param[9];
    double level, reduction;
  } sets[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0, 0.0},
      {{1, 1, 1, 1, 1, 1, 1, 0, 1}, 1.0, 1.0}, // metering the input: the needle shows
      {{0.1, 0.2, 0.3, 0.4, 0.5, 1, 0.7, 0, 0.9}, 0.25, 0.6},
      {{0.15, 0.85, 0.65, 0.45, 0.35, 0, 0.25, 1, 0.55}, 0.8, 0.1},
  };
  for (double scale : {1.0, 2.0}) {
    BuildAt(scale);
    for (const Values& set : sets) {
      for (int p = 0; p < 9; ++p)
        controller->setParamNormalized(p, set.param[p]);
      SendMeters(set.level, set.reduction);
      DrawAll();
      for (int i = 0; i < 9; ++i) {
        const Row& row = kRows[i];
        const double v = set.param[row.param];
        SCOPED_TRACE(testing::Message()
                     << "scale " << scale << " control " << i + 1 << " value " << v);
        IControl* c = editor->GetControl(i + 1);
        const IBitmap& strip = row.isSwitch ? dynamic_cast<IBitmapControl*>(c)->GetBitmap()
                                            : dynamic_cast<IKnobMultiControl*>(c)->GetBitmap();
        EXPECT_EQ(FramesShownAt(editor, strip, Scaled(row.x, scale), Scaled(row.y, scale)),
                  std::vector<int>{StripFrame(row.strip->frames, v)});
      }
      // The needle follows the threshold's value and hides while the meters tap the output.
      const double readings[3] = {set.param[1], set.level, set.reduction};
      const bool needleShown = set.param[7] < 0.5;
      EXPECT_EQ(editor->GetControl(kNeedleIndex)->IsHidden(), !needleShown);
      for (int m = needleShown ? 0 : 1; m < 3; ++m) {
        const MeterRow& row = kMeters[m];
        SCOPED_TRACE(testing::Message()
                     << "scale " << scale << " meter " << m << " reading " << readings[m]);
        const IBitmap& strip =
            dynamic_cast<IMeterControl*>(editor->GetControl(kNeedleIndex + m))->GetBitmap();
        const std::vector<int> shown =
            FramesShownAt(editor, strip, Scaled(row.x, scale), Scaled(row.y, scale));
        const int frame = BandFrame(row.first, row.last, readings[m]);
        // The level meter is drawn over the needle at the same place: where their needles
        // cross, the needle's own pixels may be covered.
        if (m == 0 && shown.empty())
          continue;
        EXPECT_EQ(shown, std::vector<int>{frame});
      }
    }
  }
}

// The band ends the description names: the needle shows frame 11 at 0 and 51 at 1, the level
// meter frames 1 and 61.
TEST_F(CompressorLayoutTable, MeterBandsStopAtTheirEnds) {
  struct End {
    double threshold, level;
    int needleFrame, levelFrame;
  } ends[] = {{0.0, 1.0, 11, 61}, {1.0, 0.0, 51, 1}};
  for (const End& e : ends) {
    controller->setParamNormalized(7, 0.0);
    controller->setParamNormalized(1, e.threshold);
    SendMeters(e.level, 0.5);
    DrawAll();
    const IBitmap& needle =
        dynamic_cast<IMeterControl*>(editor->GetControl(kNeedleIndex))->GetBitmap();
    const IBitmap& level =
        dynamic_cast<IMeterControl*>(editor->GetControl(kLevelIndex))->GetBitmap();
    EXPECT_EQ(FramesShownAt(editor, needle, 418, 92), std::vector<int>{e.needleFrame})
        << "threshold " << e.threshold;
    EXPECT_EQ(FramesShownAt(editor, level, 418, 92), std::vector<int>{e.levelFrame})
        << "level " << e.level;
  }
}

TEST_F(CompressorLayoutTable, ArtworkScalesSitAroundTheKnobs) {
  for (double scale : {1.0, 2.0}) {
    BuildAt(scale);
    PIX_IBitmap* background = Decoded(kBackground, scale);
    ASSERT_NE(background, nullptr);
    for (int i = 0; i < 9; ++i) {
      if (kRows[i].isSwitch)
        continue;
      IControl* c = editor->GetControl(i + 1);
      const IBitmap& strip = dynamic_cast<IKnobMultiControl*>(c)->GetBitmap();
      ExpectScaleAroundKnob(background, strip, *c->GetRECT(), scale,
                            "scale " + std::to_string(scale) + " control " + std::to_string(i + 1));
    }
  }
}

} // namespace
