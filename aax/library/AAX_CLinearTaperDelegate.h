// A straight-line taper between an integer minimum and maximum; real values are rounded to
// whole multiples of 1 / RealPrecision. Minimum and maximum must differ.
#pragma once

#include "aax/library/AAX_ITaperDelegate.h"

#include <cmath>

template <class T, int RealPrecision = 1>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T> {
public:
  AAX_CLinearTaperDelegate(T minimum, T maximum) : mMinimum(minimum), mMaximum(maximum) {}

  AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
  T GetMaximumValue() const override { return mMaximum; }
  T GetMinimumValue() const override { return mMinimum; }
  T ConstrainRealValue(T value) const override { return Constrain(double(value)); }
  T NormalizedToReal(double normalizedValue) const override {
    const double span = double(mMaximum) - double(mMinimum);
    return Constrain(std::floor(span * normalizedValue + double(mMinimum) + 0.5));
  }
  double RealToNormalized(T realValue) const override {
    const double span = double(mMaximum) - double(mMinimum);
    return (double(ConstrainRealValue(realValue)) - double(mMinimum)) / span;
  }

private:
  // Rounded, then clamped with the maximum tested first. The clamp is done in double, so that
  // a value outside the type's range (or not a number) never reaches the conversion to T.
  T Constrain(double value) const {
    const double rounded = std::floor(value * RealPrecision + 0.5) / RealPrecision;
    if (rounded > double(mMaximum))
      return mMaximum;
    if (!(rounded >= double(mMinimum)))
      return mMinimum;
    return T(rounded);
  }

  T mMinimum;
  T mMaximum;
};
