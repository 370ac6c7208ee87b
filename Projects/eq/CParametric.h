#pragma once

#include "Projects/eq/CFilter.h"

// Parametric mid band: one biquad on a gain x frequency x Q grid. A cut is the exact
// inverse of the boost of the same |gain|.
class CParametric final : public CFilter {
public:
  static constexpr double kFreqGrid[] = {33,   50,   75,   100,   150,   200,  300,
                                         400,  600,  800,  1200,  1600,  2400, 3200,
                                         4800, 6400, 9600, 12800, 15000, 18000};
  static constexpr double kGainGrid[] = {0,      1.4291,  2.8937,  4.4338, 6.1005,
                                         7.9658, 10.1446, 12.8457, 16};
  static constexpr double kQGrid[] = {0.667, 1, 2, 4};

  CParametric();
  void BindTables() override;
};
