#include "Projects/compressor/CCompKernels.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

// The AVX2 set, compiled for AVX2: to be called only once the processor is known to have it.
const CCompKernels& CCompAVX2KernelTable();

namespace CCompCurve {

double Fit(double v) {
  return kLinear * v + kLog * std::log(kLogScale * v + kLogOffset) + kOffset;
}

namespace {
double FindKnee() {
  double lo = 0.0, hi = 1.0; // Fit(0) > 0 > Fit(1)
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (Fit(mid) > 0.0 ? lo : hi) = mid;
  }
  return lo * (1.0 - 1e-6);
}
} // namespace

const double kKnee = FindKnee();

} // namespace CCompCurve

namespace {

using namespace CCompCurve;

inline double Level(double x) {
  const double level = std::fabs(x);
  return level <= DBL_MAX ? level : 0.0;
}

inline double Curve(double v) {
  if (v < kKnee)
    return 0.0;
  const double c = std::min(0.0, Fit(v));
  return c < kFloor ? kFloor : c;
}

void PlainCurve(const double* l, const double* r, double* out, size_t n, double scale) {
  if (r) {
    for (size_t i = 0; i < n; ++i)
      out[i] = Curve(scale * std::max(Level(l[i]), Level(r[i])));
  } else {
    for (size_t i = 0; i < n; ++i)
      out[i] = Curve(scale * Level(l[i]));
  }
}

double PlainGain(double* stage, size_t n, double gainFactor, double peak) {
  for (size_t i = 0; i < n; ++i) {
    const double exponent = stage[i] * gainFactor * kScale + kGainOffset;
    const double gain = exponent < 0.0 ? std::exp2(exponent) : 1.0;
    stage[i] = gain;
    if (gain < peak)
      peak = gain;
  }
  return peak;
}

double PlainMeterPeak(const double* l, const double* r, size_t n, double peak) {
  for (size_t i = 0; i < n; ++i) {
    const double right = r ? r[i] : 0.0;
    const double sample = l[i] < right ? right : l[i];
    if (sample > peak)
      peak = sample;
  }
  return peak;
}

const CCompKernels* ChooseFastest() {
  if (const CCompKernels* avx2 = CCompAVX2Kernels())
    return avx2;
  return &CCompSSE2Kernels();
}

} // namespace

const CCompKernels& CCompPlainKernels() {
  static const CCompKernels kernels = {"plain", PlainCurve, PlainGain, PlainMeterPeak};
  return kernels;
}

const CCompKernels* CCompAVX2Kernels() {
  return __builtin_cpu_supports("avx2") ? &CCompAVX2KernelTable() : nullptr;
}

const CCompKernels& CCompFastKernels() {
  static const CCompKernels* const fastest = ChooseFastest();
  return *fastest;
}
