// The plain loop's gain computer, shared by the engine and plug-in benchmarks: the engine's
// curve, release and attack arithmetic written straight down, frame by frame, with every
// factor evaluated on every frame and nothing flushed.
#pragma once

#include <algorithm>
#include <cmath>

struct PlainGain {
  // The gain for detector level x (the louder channel after the input gain), from k, the
  // engine's coefficient block.
  double Next(const double* k, double x, bool autoRelease) {
    const double v = k[7] * k[6] * x;
    double g =
        std::min(0.0, -0.138627144172033 * v -
                          0.640469614319393 * std::log(5.26701272074567 * v + 0.0178615460309078) -
                          2.38714128109653);
    if (autoRelease) {
      if (s0 + s1 > g) {
        s1 = s1 + k[4] * (0.789 * g - s1);
        s0 = g - s1;
      } else {
        const double n1 = (1.0 - k[5]) * s0 + (1.0 - k[4]) * s1;
        s0 = k[5] * s0;
        s1 = n1;
        g = s1 + s0;
      }
    } else {
      if (g > h)
        g = h * k[3];
      h = g;
    }
    a = k[1] * g - k[2] * a;
    return std::exp2(std::min(0.0, a * k[0] * 1.77 + 0.06));
  }

  // A step of at most step towards target, landing on it once within snap.
  static double Slew(double current, double target, double snap, double step) {
    if (std::fabs(current - target) < snap)
      return target;
    return current < target ? current + step : current - step;
  }

  double s0 = 0.0, s1 = 0.0, h = 0.0, a = 0.0;
};
