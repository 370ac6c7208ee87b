#pragma once
// Where the equaliser's editor puts its bitmaps and controls: resource IDs and names of the
// 1x and 2x bitmaps, and the knobs in attach order with their top-left corners in 1x pixels.

#include "gui/IBitmapResource.h"
#include "Projects/eq/OrvaneEQParamIDs.h"

namespace OrvaneEQLayout {

inline constexpr IBitmapResource kBackground{102, "background.png", 103, "background2x.png", 1};
inline constexpr IBitmapResource kMeterStrip{122, "vu.png", 123, "vu2x.png", 61};
inline constexpr IBitmapResource kLargeKnob{116, "knob_lrg.png", 117, "knob_lrg2x.png", 61};
inline constexpr IBitmapResource kMediumKnob{118, "knob_med.png", 119, "knob_med2x.png", 61};
inline constexpr IBitmapResource kSmallKnob{120, "knob_sml.png", 121, "knob_sml2x.png", 61};

enum KnobSize { kLarge, kMedium, kSmall };

struct Knob {
  int param;
  KnobSize size;
  int x, y;
  // The band of the strip a clamped knob shows (frames first + 1 to last); 0, 0 for the
  // whole strip.
  int firstFrame, lastFrame;
};

inline constexpr Knob kKnobs[] = {
    {kHiPassFreq, kMedium, 52, 177, 16, 43}, {kLowShelfFreq, kMedium, 175, 213, 0, 0},
    {kLowShelfGain, kLarge, 173, 56, 0, 0},  {kLowMidFreq, kMedium, 302, 213, 0, 0},
    {kLowMidQ, kSmall, 308, 146, 0, 0},      {kLowMidGain, kLarge, 300, 56, 0, 0},
    {kHiMidFreq, kMedium, 426, 213, 0, 0},   {kHiMidQ, kSmall, 432, 146, 0, 0},
    {kHiMidGain, kLarge, 424, 56, 0, 0},     {kHiShelfFreq, kMedium, 552, 213, 0, 0},
    {kHiShelfGain, kLarge, 550, 56, 0, 0},   {kLowPassFreq, kMedium, 668, 177, 18, 46},
    {kOutputGain, kLarge, 811, 207, 0, 0},
};

inline constexpr int kMeterX = 750, kMeterY = 87;
// The version label's rectangle (left, top, right, bottom) in 1x pixels.
inline constexpr int kVersionRect[4] = {53, 53, 100, 147};

} // namespace OrvaneEQLayout
