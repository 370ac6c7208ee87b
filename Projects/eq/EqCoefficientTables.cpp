#include "Projects/eq/EqCoefficientTables.h"

#include <cmath>

namespace eqtables {

int32_t RateSetIndex(double sampleRate) {
  for (int32_t set = 0; set < kRateCount; ++set) {
    if (std::fabs(sampleRate - kRates[set]) < 1.0) {
      return set;
    }
  }
  return 0; // unlisted (or non-finite) rates use the 44100 Hz set
}

} // namespace eqtables
