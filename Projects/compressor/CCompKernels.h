#pragma once
// The compressor's per-frame maths that does not depend on the frame before: the detector's
// static curve (a logarithm per frame), the linear gain of the attack output (an exp2 per
// frame) and the level meter's window peak (a maximum that would otherwise chain every frame to
// the one before). The engine runs them over a whole run of frames at once, in the stage buffer
// between its recurrences, so that they can work on several frames per instruction.
//
// Every set computes the same functions: the plain set frame by frame with the maths library,
// the vector sets with their own logarithm and exp2 on 2 (SSE2, the x86-64 baseline) or 4 (AVX2,
// chosen at run time when the processor has it) frames at once. The vector results
// are within a few units in the last place of the plain ones, not equal to them bit for bit.

#include <cfloat>
#include <cstddef>

// The static curve and the gain law, shared by every kernel set.
namespace CCompCurve {
// c(v) = min(0, kLinear * v + kLog * ln(kLogScale * v + kLogOffset) + kOffset), v >= 0.
constexpr double kLinear = -0.138627144172033;
constexpr double kLog = -0.640469614319393;
constexpr double kLogScale = 5.26701272074567;
constexpr double kLogOffset = 0.0178615460309078;
constexpr double kOffset = -2.38714128109653;
// The deepest curve value the detector passes on. Below about -675 the gain is already exactly
// zero for every ratio, so a deeper value changes no output sample; it would only keep the
// release and attack states away from zero for minutes after a single absurd sample.
constexpr double kFloor = -1000.0;
// Detector values above this are far past the floor (the linear term alone is below -1e5 there);
// the vector sets clamp to it so that their logarithm never meets an infinity.
constexpr double kLargestValue = 1e6;
// The curve value a turns into a log2 gain of a * G * kScale + kGainOffset, capped at 0.
constexpr double kScale = 1.77;
constexpr double kGainOffset = 0.06;

// The fitted curve before its cap at 0.
double Fit(double v);
// The fit falls monotonically through zero near v = 0.00118; below this bound (the crossing
// less a relative margin far above the rounding of the fit) the capped curve is exactly 0, so
// no set takes the logarithm there.
extern const double kKnee;
} // namespace CCompCurve

struct CCompKernels {
  const char* name;
  // out[i] = c(scale * max(|l[i]|, |r[i]|)), floored at kFloor; a non-finite sample carries no
  // level. r may be null (one channel, or a sidechain): then the level is |l[i]| alone. out may
  // not overlap the inputs.
  void (*curve)(const double* l, const double* r, double* out, size_t n, double scale);
  // stage[i] = 2^min(0, stage[i] * gainFactor * kScale + kGainOffset), in place; returns the
  // smaller of peak and the lowest of these gains.
  double (*gain)(double* stage, size_t n, double gainFactor, double peak);
  // The level meter's window peak over n frames: the larger of peak and of each frame's meter
  // sample, the larger of l[i] and r[i] taken as signed values (so that the meter reads positive
  // half-waves). r may be null: the one channel against silence. A NaN sample is passed over.
  double (*meterPeak)(const double* l, const double* r, size_t n, double peak);
};

// Frame by frame with the maths library.
const CCompKernels& CCompPlainKernels();
// SSE2, always present on x86-64.
const CCompKernels& CCompSSE2Kernels();
// AVX2, or null when the processor lacks it.
const CCompKernels* CCompAVX2Kernels();
// The widest set this processor runs, chosen once.
const CCompKernels& CCompFastKernels();
