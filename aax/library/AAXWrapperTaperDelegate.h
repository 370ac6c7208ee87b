// A taper that takes range and mapping from a VST 3 controller parameter: real values are the
// controller's plain values.
#pragma once

#include "aax/library/AAX_ITaperDelegate.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

template <class T> class AAXWrapperTaperDelegate : public AAX_ITaperDelegate<T> {
public:
  // The controller is not owned; it outlives every parameter made from it.
  AAXWrapperTaperDelegate(Steinberg::Vst::IEditController* controller, Steinberg::Vst::ParamID id)
      : mController(controller), mParamID(id) {}

  AAXWrapperTaperDelegate* Clone() const override { return new AAXWrapperTaperDelegate(*this); }
  T GetMaximumValue() const override { return NormalizedToReal(1.0); }
  T GetMinimumValue() const override { return NormalizedToReal(0.0); }
  T ConstrainRealValue(T value) const override {
    const T maximum = GetMaximumValue();
    if (value > maximum)
      return maximum;
    const T minimum = GetMinimumValue();
    return value > minimum ? value : minimum;
  }
  T NormalizedToReal(double normalizedValue) const override {
    return mController ? T(mController->normalizedParamToPlain(mParamID, normalizedValue)) : T(0);
  }
  double RealToNormalized(T realValue) const override {
    return mController ? mController->plainParamToNormalized(mParamID, double(realValue)) : 0.0;
  }

private:
  Steinberg::Vst::IEditController* mController;
  Steinberg::Vst::ParamID mParamID;
};
