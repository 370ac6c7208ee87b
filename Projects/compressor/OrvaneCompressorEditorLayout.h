#pragma once
// Where the compressor's editor puts its bitmaps and controls: resource IDs and names of the
// 1x and 2x bitmaps, and the controls in attach order with their top-left corners in 1x pixels.

#include "gui/IBitmapResource.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"

namespace OrvaneCompressorLayout {

inline constexpr IBitmapResource kBackground{102, "background.png", 103, "background2x.png", 1};
inline constexpr IBitmapResource kMeterStrip{124, "vu.png", 125, "vu2x.png", 61};
inline constexpr IBitmapResource kNeedleStrip{126, "vu_rd.png", 127, "vu_rd2x.png", 61};
inline constexpr IBitmapResource kLargeKnob{120, "knob_lrg.png", 121, "knob_lrg2x.png", 61};
inline constexpr IBitmapResource kMediumKnob{122, "knob_med.png", 123, "knob_med2x.png", 61};
inline constexpr IBitmapResource kCrimsonButton{112, "btn_rd.png", 113, "btn_rd2x.png", 2};
inline constexpr IBitmapResource kYellowButton{114, "btn_yel.png", 115, "btn_yel2x.png", 2};

enum ControlKind { kLargeKnobControl, kMediumKnobControl, kCrimsonSwitch, kYellowSwitch };

struct Placement {
  int param;
  ControlKind kind;
  int x, y;
};

inline constexpr Placement kControls[] = {
    {kInputGain, kLargeKnobControl, 51, 180},  {kThreshold, kLargeKnobControl, 300, 68},
    {kRatio, kLargeKnobControl, 173, 68},      {kAttack, kLargeKnobControl, 173, 180},
    {kRelease, kLargeKnobControl, 300, 180},   {kAutoRelease, kCrimsonSwitch, 244, 131},
    {kMakeUpGain, kLargeKnobControl, 793, 68}, {kIOMetering, kYellowSwitch, 440, 199},
    {kBlend, kMediumKnobControl, 796, 186},
};

// The threshold needle lies over the level meter; it uses frames 11 to 51 of its strip, the
// angles the level meter shows for -50 to -10 dB.
inline constexpr int kLevelMeterX = 418, kLevelMeterY = 92;
inline constexpr int kNeedleFirstFrame = 10, kNeedleLastFrame = 51;
inline constexpr int kGainReductionMeterX = 626, kGainReductionMeterY = 138;
// The version label's rectangle (left, top, right, bottom) in 1x pixels.
inline constexpr int kVersionRect[4] = {53, 53, 100, 147};

} // namespace OrvaneCompressorLayout
