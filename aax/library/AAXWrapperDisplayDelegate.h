// A display that takes its texts from a VST 3 controller parameter: the controller's value
// text, followed by the parameter's units.
#pragma once

#include "aax/library/AAX_IDisplayDelegate.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

template <class T> class AAXWrapperDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
  // The controller is not owned; it outlives every parameter made from it.
  AAXWrapperDisplayDelegate(Steinberg::Vst::IEditController* controller, Steinberg::Vst::ParamID id)
      : mController(controller), mParamID(id) {}

  AAXWrapperDisplayDelegate* Clone() const override { return new AAXWrapperDisplayDelegate(*this); }
  // The units follow the value directly ("12.0dB").
  bool ValueToString(T value, AAX_CString* text) const override;
  // The units follow after one blank, when there are any ("12.0 dB"); the length is not used.
  bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const override;
  bool StringToValue(const AAX_CString& text, T* value) const override;

private:
  bool ValueText(T value, AAX_CString* text) const;
  // The units of the parameter. The controller is asked with the ParamID as index: the
  // parameters that get this display are the plug-in's own, registered first, whose ParamID
  // equals their index.
  bool Units(AAX_CString* units) const;

  Steinberg::Vst::IEditController* mController;
  Steinberg::Vst::ParamID mParamID;
};

extern template class AAXWrapperDisplayDelegate<double>;
