#pragma once

#include "Projects/eq/CFilter.h"

// Low-pass: third order (a biquad, then a first-order section) on a frequency grid.
class CLowpass final : public CFilter {
public:
  static constexpr double kFreqGrid[] = {100,  160,  270,  460,  540,  800,   1150,  1600,
                                         2300, 3200, 4600, 6400, 6800, 10000, 15000, 18000};

  CLowpass();
  void BindTables() override;
};
