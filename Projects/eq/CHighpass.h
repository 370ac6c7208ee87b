#pragma once

#include "Projects/eq/CFilter.h"

// High-pass: third order (a biquad, then a first-order section) on a frequency grid. Its
// tables are 16 long; the sixteenth entry is never read.
class CHighpass final : public CFilter {
public:
  static constexpr double kFreqGrid[] = {20,  33,   56,   95,   160,  270,  460, 540,
                                         800, 1150, 1600, 2300, 3200, 4600, 6400};

  CHighpass();
  void BindTables() override;
};
