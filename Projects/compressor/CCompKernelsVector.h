#pragma once
// The compressor's vector kernels, written once over registers of CCOMP_VECTOR_BYTES bytes and
// compiled once per instruction set (CCompKernelsSSE2.cpp, CCompKernelsAVX2.cpp). Everything
// here has internal linkage and uses only the compiler's vector types and builtins, so that no
// inline function compiled for a wider set can stand in for the baseline's. Only those two
// files include it.
//
// The logarithm splits x into 2^k * m with m in [sqrt(1/2), sqrt(2)) and takes ln m from the
// odd series of s = (m - 1) / (m + 1), as the classic scalar libraries do; exp2 splits its
// argument into an integer n and r in [-1/2, 1/2] and evaluates e^(r ln 2) by its Taylor
// polynomial, whose first neglected term is below 5e-18. Both stay within a few units in the
// last place of the maths library over the ranges the engine feeds them.

#ifndef CCOMP_VECTOR_BYTES
#error "CCOMP_VECTOR_BYTES must be 16 or 32"
#endif

#include "Projects/compressor/CCompKernels.h"

namespace {

constexpr size_t kLanes = CCOMP_VECTOR_BYTES / sizeof(double);
typedef double VD __attribute__((vector_size(CCOMP_VECTOR_BYTES)));
typedef long long VI __attribute__((vector_size(CCOMP_VECTOR_BYTES)));
typedef unsigned long long VU __attribute__((vector_size(CCOMP_VECTOR_BYTES)));

inline VD Splat(double x) {
  return VD{} + x;
}
inline VD Load(const double* p) {
  VD v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}
inline void Store(double* p, VD v) {
  __builtin_memcpy(p, &v, sizeof v);
}
inline VD Select(VI mask, VD yes, VD no) {
  return (VD)((mask & (VI)yes) | (~mask & (VI)no));
}
inline VD Min(VD a, VD b) {
  return Select(a < b, a, b);
}
inline VD Max(VD a, VD b) {
  return Select(a > b, a, b);
}

inline bool AllSet(VI mask) {
  long long all = mask[0];
  for (size_t i = 1; i < kLanes; ++i)
    all &= mask[i];
  return all != 0;
}
inline bool AnySet(VI mask) {
  long long any = mask[0];
  for (size_t i = 1; i < kLanes; ++i)
    any |= mask[i];
  return any != 0;
}

// |x|, and 0 for a non-finite x.
inline VD Level(VD x) {
  const VD magnitude = (VD)((VI)x & 0x7fffffffffffffffLL);
  return Select(magnitude <= Splat(1.7976931348623157e308), magnitude, VD{});
}

// ln x for finite, normal, positive x.
inline VD Log(VD x) {
  constexpr long long kSqrtHalfBits = 0x3fe6a09e667f3bcdLL;
  constexpr long long kExponentMask = static_cast<long long>(0xfff0000000000000ULL);
  constexpr long long kExponentBias = 1024LL << 52;
  constexpr long long kTwoPow52Bits = 0x4330000000000000LL;
  const VI bits = (VI)x;
  const VI shifted = bits - kSqrtHalfBits;
  // m = x / 2^k in [sqrt(1/2), sqrt(2)); k + 1024 read from the top bits, as a double.
  const VD m = (VD)(bits - (shifted & kExponentMask));
  const VU biasedK = (VU)(shifted + kExponentBias) >> 52;
  const VD k = (VD)((VI)biasedK | kTwoPow52Bits) - Splat(4503599627370496.0 + 1024.0);

  const VD f = m - 1.0;
  const VD s = f / (f + 2.0);
  const VD z = s * s;
  const VD w = z * z;
  const VD t1 = w * (3.999999999940941908e-01 +
                     w * (2.222219843214978396e-01 + w * 1.531383769920937332e-01));
  const VD t2 = z * (6.666666666666735130e-01 +
                     w * (2.857142874366239149e-01 +
                          w * (1.818357216161805012e-01 + w * 1.479819860511658591e-01)));
  const VD r = t2 + t1;
  const VD halfSquare = 0.5 * f * f;
  constexpr double kLn2High = 6.93147180369123816490e-01;
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  return k * kLn2High - ((halfSquare - (s * (halfSquare + r) + k * kLn2Low)) - f);
}

// The capped and floored static curve of detector values v >= 0.
inline VD CurveOf(VD v) {
  using namespace CCompCurve;
  const VI belowKnee = v < Splat(kKnee);
  if (AllSet(belowKnee))
    return VD{}; // quiet frames, the common case between notes, take no logarithm
  const VD clamped = Min(v, Splat(kLargestValue));
  const VD fit = kLinear * clamped + kLog * Log(kLogScale * clamped + kLogOffset) + kOffset;
  return Select(belowKnee, VD{}, Max(Min(fit, VD{}), Splat(kFloor)));
}

// 2^e for e <= 0: exactly 1 at 0, and 0 below -1022.
inline VD Exp2(VD e) {
  constexpr double kRound = 6755399441055744.0; // 1.5 * 2^52: adding it rounds to an integer
  const VI vanishes = e < Splat(-1022.0);
  e = Max(e, Splat(-1022.0));
  const VD rounded = e + kRound;
  const VD n = rounded - kRound;
  const VD x = (e - n) * 0.6931471805599453;
  // 2^n from n's integer in the low bits of the rounded sum.
  const VD scale = (VD)(((VI)rounded - (VI)Splat(kRound) + 1023) << 52);
  VD p = Splat(1.0 / 6227020800.0);
  p = p * x + 1.0 / 479001600.0;
  p = p * x + 1.0 / 39916800.0;
  p = p * x + 1.0 / 3628800.0;
  p = p * x + 1.0 / 362880.0;
  p = p * x + 1.0 / 40320.0;
  p = p * x + 1.0 / 5040.0;
  p = p * x + 1.0 / 720.0;
  p = p * x + 1.0 / 120.0;
  p = p * x + 1.0 / 24.0;
  p = p * x + 1.0 / 6.0;
  p = p * x + 0.5;
  p = p * x + 1.0;
  p = p * x + 1.0;
  return Select(vanishes, VD{}, p * scale);
}

template <bool kTwoChannels>
void CurveRun(const double* l, const double* r, double* out, size_t n, double scale) {
  const VD s = Splat(scale);
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    VD level = Level(Load(l + i));
    if constexpr (kTwoChannels)
      level = Max(level, Level(Load(r + i)));
    Store(out + i, CurveOf(s * level));
  }
  if (i < n) {
    // The last frames in a register of their own, padded with silence.
    double tailL[kLanes] = {}, tailR[kLanes] = {}, tailOut[kLanes];
    for (size_t j = 0; i + j < n; ++j) {
      tailL[j] = l[i + j];
      if constexpr (kTwoChannels)
        tailR[j] = r[i + j];
    }
    VD level = Level(Load(tailL));
    if constexpr (kTwoChannels)
      level = Max(level, Level(Load(tailR)));
    Store(tailOut, CurveOf(s * level));
    for (size_t j = 0; i + j < n; ++j)
      out[i + j] = tailOut[j];
  }
}

void Curve(const double* l, const double* r, double* out, size_t n, double scale) {
  if (r)
    CurveRun<true>(l, r, out, n, scale);
  else
    CurveRun<false>(l, nullptr, out, n, scale);
}

inline VD GainOf(VD a, VD factor) {
  using namespace CCompCurve;
  const VD exponent = a * factor + kGainOffset;
  const VI below = exponent < VD{};
  if (!AnySet(below))
    return Splat(1.0); // no reduction on any of these frames
  return Exp2(Select(below, exponent, VD{}));
}

double Gain(double* stage, size_t n, double gainFactor, double peak) {
  // The factor of the plain set's a * G * kScale, rounded the same way.
  const VD g = Splat(gainFactor);
  VD lowest = Splat(peak);
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    const VD gain = GainOf(Load(stage + i) * g, Splat(CCompCurve::kScale));
    Store(stage + i, gain);
    lowest = Min(lowest, gain);
  }
  if (i < n) {
    // Padded with a value of gain 1, which leaves the peak as it is.
    double tail[kLanes] = {};
    for (size_t j = 0; i + j < n; ++j)
      tail[j] = stage[i + j];
    const VD gain = GainOf(Load(tail) * g, Splat(CCompCurve::kScale));
    lowest = Min(lowest, gain);
    Store(tail, gain);
    for (size_t j = 0; i + j < n; ++j)
      stage[i + j] = tail[j];
  }
  double result = lowest[0];
  for (size_t j = 1; j < kLanes; ++j)
    result = lowest[j] < result ? lowest[j] : result;
  return result;
}

template <bool kTwoChannels>
double MeterPeakRun(const double* l, const double* r, size_t n, double peak) {
  // Two registers of running maxima, so that no frame waits for the compare before it.
  VD a = Splat(peak), b = a;
  size_t i = 0;
  for (; i + 2 * kLanes <= n; i += 2 * kLanes) {
    VD first = Load(l + i), second = Load(l + i + kLanes);
    if constexpr (kTwoChannels) {
      const VD firstR = Load(r + i), secondR = Load(r + i + kLanes);
      first = Select(first < firstR, firstR, first);
      second = Select(second < secondR, secondR, second);
    } else {
      first = Select(first < VD{}, VD{}, first);
      second = Select(second < VD{}, VD{}, second);
    }
    a = Select(first > a, first, a);
    b = Select(second > b, second, b);
  }
  a = Select(b > a, b, a);
  double result = a[0];
  for (size_t j = 1; j < kLanes; ++j)
    result = a[j] > result ? a[j] : result;
  for (; i < n; ++i) {
    const double right = kTwoChannels ? r[i] : 0.0;
    const double sample = l[i] < right ? right : l[i];
    if (sample > result)
      result = sample;
  }
  return result;
}

double MeterPeak(const double* l, const double* r, size_t n, double peak) {
  return r ? MeterPeakRun<true>(l, r, n, peak) : MeterPeakRun<false>(l, nullptr, n, peak);
}

} // namespace
