#include "public.sdk/source/vst/vstparameter.h"

#include "base/source/fstring.h"
#include "public.sdk/source/vst/vststring128.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Steinberg {
namespace Vst {

namespace {
ParamValue clampNormalized(ParamValue v) {
  return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}
} // namespace

Parameter::Parameter() : info{} {}

Parameter::Parameter(const ParameterInfo& info_) : info(info_) {
  info.defaultNormalizedValue =
      std::isnan(info.defaultNormalizedValue) ? 0.0 : clampNormalized(info.defaultNormalizedValue);
  valueNormalized = info.defaultNormalizedValue;
}

Parameter::Parameter(const TChar* title, ParamID tag, const TChar* units,
                     ParamValue defaultValueNormalized, int32 stepCount, int32 flags, UnitID unitID,
                     const TChar* shortTitle)
    : info{} {
  info.id = tag;
  copyString128(info.title, title);
  copyString128(info.shortTitle, shortTitle);
  copyString128(info.units, units);
  info.stepCount = stepCount < 0 ? 0 : stepCount;
  info.defaultNormalizedValue =
      std::isnan(defaultValueNormalized) ? 0.0 : clampNormalized(defaultValueNormalized);
  info.unitId = unitID;
  info.flags = flags;
  valueNormalized = info.defaultNormalizedValue;
}

Parameter::~Parameter() = default;

bool Parameter::setNormalized(ParamValue v) {
  if (std::isnan(v))
    return false;
  v = clampNormalized(v);
  if (v == valueNormalized)
    return false;
  valueNormalized = v;
  changed();
  return true;
}

void Parameter::toString(ParamValue value, String128 string) const {
  if (!string)
    return;
  char8 text[128];
  if (info.stepCount == 1)
    std::snprintf(text, sizeof(text), "%s", value > 0.5 ? "On" : "Off");
  else
    std::snprintf(text, sizeof(text), "%.*f", std::clamp(precision, 0, 16), value);
  utf8ToUtf16(text, string, 128);
}

bool Parameter::fromString(const TChar* string, ParamValue& value) const {
  if (!string)
    return false;
  char8 text[128];
  utf16ToAscii(string, text);
  char8* end = nullptr;
  const double parsed = std::strtod(text, &end);
  if (end == text || std::isnan(parsed))
    return false;
  value = parsed;
  return true;
}

ParamValue Parameter::toPlain(ParamValue value) const {
  return value;
}

ParamValue Parameter::toNormalized(ParamValue plainValue) const {
  return plainValue;
}

} // namespace Vst
} // namespace Steinberg
