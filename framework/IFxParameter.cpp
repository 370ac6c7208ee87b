#include "framework/IFxParameter.h"

#include "base/source/fstring.h"

#include <algorithm>
#include <climits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
// Discrete types step through every whole value of their range; the rest are continuous.
int32 StepCountOf(const IParam& p) {
  const IParam::EParamType t = p.Type();
  if (t != IParam::kTypeBool && t != IParam::kTypeInt && t != IParam::kTypeEnum)
    return 0;
  return int32(std::clamp(p.Max() - p.Min(), 0.0, double(INT_MAX)));
}
} // namespace

IFxParameter::IFxParameter(IParam* param, ParamID id, int32 flags, UnitID unitId) : mParam(param) {
  info.id = id;
  info.flags = flags;
  info.unitId = unitId;
  if (!mParam)
    return;
  // The UTF-16 fields hold 127 units and the terminator.
  utf8ToUtf16(mParam->GetNameForHost(), info.title);
  utf8ToUtf16(mParam->GetLabelForHost(), info.units);
  precision = mParam->DisplayPrecision();
  info.stepCount = StepCountOf(*mParam);
  info.defaultNormalizedValue = mParam->ToNormalized(mParam->Default());
  valueNormalized = info.defaultNormalizedValue;
}

void IFxParameter::toString(ParamValue value, String128 string) const {
  if (!string)
    return;
  if (!mParam) {
    string[0] = 0;
    return;
  }
  char text[IParam::kDisplaySize];
  mParam->GetDisplayForHost(true, text, true, value);
  utf8ToUtf16(text, string, 128);
}

bool IFxParameter::fromString(const TChar* string, ParamValue& value) const {
  if (!string || !mParam)
    return false;
  char text[IParam::kDisplaySize];
  utf16ToAscii(string, text);
  double normalized = 0.0;
  if (!mParam->ParseDisplayString(text, &normalized))
    return false;
  value = normalized;
  return true;
}

ParamValue IFxParameter::toPlain(ParamValue value) const {
  return mParam ? mParam->FromNormalized(value) : value;
}

ParamValue IFxParameter::toNormalized(ParamValue plain) const {
  return mParam ? mParam->ToNormalized(plain) : plain;
}
