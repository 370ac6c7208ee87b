#pragma once

#include "Projects/eq/CFilter.h"

// Low shelf: two biquads on a parallel path, output x + k * B2(B1(x)) with
// k = 10^(gain/20) - 1. Its tables hold a boost half and a cut half; the gain grid starts at
// 2 dB, below which the 2 dB shape is used and only k follows the gain.
class CLowShelf final : public CFilter {
public:
  static constexpr double kFreqGrid[] = {33, 56, 95, 160, 270, 460};
  static constexpr double kGainGrid[] = {2, 4, 6, 8, 10, 12, 14, 16};

  CLowShelf();
  void BindTables() override;
};
