#pragma once

#include "Projects/eq/CFilter.h"

// High shelf: one biquad on a gain x frequency grid. A cut is the exact inverse of the boost
// of the same |gain|.
class CHighShelf final : public CFilter {
public:
  static constexpr double kFreqGrid[] = {3300, 4700, 6800, 10000, 15000, 18000};
  static constexpr double kGainGrid[] = {0, 0.9154, 1.877, 2.94, 4.185, 5.736, 7.833, 11, 16};

  CHighShelf();
  void BindTables() override;
};
