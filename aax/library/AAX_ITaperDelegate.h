// Taper delegates: the mapping between a parameter's real value and its normalised value, its
// range and its constraint. Normalised values are doubles, real values are of the parameter's
// type. Clone always answers a heap copy that the caller owns.
#pragma once

class AAX_ITaperDelegateBase {
public:
  virtual ~AAX_ITaperDelegateBase() = default;
};

template <class T> class AAX_ITaperDelegate : public AAX_ITaperDelegateBase {
public:
  virtual AAX_ITaperDelegate* Clone() const = 0;
  virtual T GetMaximumValue() const = 0;
  virtual T GetMinimumValue() const = 0;
  virtual T ConstrainRealValue(T value) const = 0;
  virtual T NormalizedToReal(double normalizedValue) const = 0;
  virtual double RealToNormalized(T realValue) const = 0;
};
