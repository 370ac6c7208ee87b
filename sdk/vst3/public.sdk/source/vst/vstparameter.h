// Parameter: one parameter of an edit controller: its ParameterInfo for the host, its current
// normalised value, and the conversions between normalised, plain and display values, which
// subclasses replace. Setting a new value tells the parameter's dependents (changed()).
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace Steinberg {
namespace Vst {

class Parameter : public FObject {
public:
  Parameter();
  explicit Parameter(const ParameterInfo& info);
  // Texts are cut to 127 units; null texts are "". The default is clamped into 0..1 and is
  // also the starting value.
  Parameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
            ParamValue defaultValueNormalized = 0.0, int32 stepCount = 0,
            int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
            const TChar* shortTitle = nullptr);
  ~Parameter() override;

  virtual const ParameterInfo& getInfo() const { return info; }
  virtual ParameterInfo& getInfo() { return info; }

  virtual void setUnitID(UnitID id) { info.unitId = id; }
  virtual UnitID getUnitID() { return info.unitId; }

  virtual ParamValue getNormalized() const { return valueNormalized; }
  // Clamps into 0..1 and stores; true (and dependents told) when the value changed. NaN is
  // refused and changes nothing.
  virtual bool setNormalized(ParamValue v);

  // Display text of a normalised value: "On"/"Off" for a two-state parameter, otherwise the
  // value with `precision` decimals. Always terminated within String128.
  virtual void toString(ParamValue valueNormalized, String128 string) const;
  // Reads a number (the normalised value); false when the text is not one.
  virtual bool fromString(const TChar* string, ParamValue& valueNormalized) const;
  // Plain and normalised values are the same for the base class.
  virtual ParamValue toPlain(ParamValue valueNormalized) const;
  virtual ParamValue toNormalized(ParamValue plainValue) const;

  virtual int32 getPrecision() const { return precision; }
  virtual void setPrecision(int32 val) { precision = val; }

  OBJ_METHODS(Parameter, FObject)

protected:
  ParameterInfo info;
  ParamValue valueNormalized = 0.0;
  int32 precision = 4;
};

} // namespace Vst
} // namespace Steinberg
