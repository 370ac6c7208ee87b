#pragma once

#include "framework/IParam.h"

#include "public.sdk/source/vst/vstparameter.h"

// The VST 3 face of one IParam: the host's parameter info, display texts and conversions
// all come from the IParam, which the controller owns (this object does not).
class IFxParameter : public Steinberg::Vst::Parameter {
public:
  IFxParameter(IParam* param, Steinberg::Vst::ParamID id, Steinberg::int32 flags,
               Steinberg::Vst::UnitID unitId);

  void toString(Steinberg::Vst::ParamValue valueNormalized,
                Steinberg::Vst::String128 string) const override;
  // False for text that names no value of the parameter (see IParam::ParseDisplayString).
  bool fromString(const Steinberg::Vst::TChar* string,
                  Steinberg::Vst::ParamValue& valueNormalized) const override;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue valueNormalized) const override;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plainValue) const override;

  IParam* GetParam() const { return mParam; }

  OBJ_METHODS(IFxParameter, Parameter)

private:
  IParam* mParam;
};
