// A VST 3 controller with fixed, hand-checkable conversions for the wrapper delegates: plain
// values are the normalised value times 100, texts are the plain value with one decimal,
// ParamID 3 has the unit "dB", ParamID 4 none, other IDs have no info.
#pragma once

#include "base/source/fstring.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

class FakeVst3Controller : public Steinberg::Vst::EditController {
public:
  using ParamID = Steinberg::Vst::ParamID;
  using ParamValue = Steinberg::Vst::ParamValue;

  ParamValue PLUGIN_API normalizedParamToPlain(ParamID, ParamValue normalized) override {
    return normalized * 100.0;
  }
  ParamValue PLUGIN_API plainParamToNormalized(ParamID, ParamValue plain) override {
    return plain / 100.0;
  }
  Steinberg::tresult PLUGIN_API getParamStringByValue(ParamID, ParamValue normalized,
                                                      Steinberg::Vst::String128 text) override {
    char narrow[64];
    std::snprintf(narrow, sizeof narrow, "%.1f", normalized * 100.0);
    Steinberg::utf8ToUtf16(narrow, text, 128);
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API getParamValueByString(ParamID, Steinberg::Vst::TChar* text,
                                                      ParamValue& normalized) override {
    char narrow[1100];
    Steinberg::utf16ToUtf8(text, narrow, sizeof narrow);
    lastParsedLength = std::strlen(narrow);
    char* end = nullptr;
    const double plain = std::strtod(narrow, &end);
    if (end == narrow)
      return Steinberg::kResultFalse;
    normalized = plain / 100.0;
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 index,
                                                 Steinberg::Vst::ParameterInfo& info) override {
    if (index != 3 && index != 4)
      return Steinberg::kResultFalse;
    std::memset(&info, 0, sizeof info);
    info.id = ParamID(index);
    Steinberg::utf8ToUtf16(index == 3 ? "dB" : "", info.units, 128);
    return Steinberg::kResultOk;
  }

  size_t lastParsedLength = 0;
};
