#include "tests/passthrough/plugin/PassthroughController.h"

#include "tests/passthrough/plugin/PassthroughIDs.h"
#include "tests/passthrough/plugin/PassthroughState.h"
#include "tests/passthrough/plugin/PassthroughView.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace orvane::passthrough {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void copyText(String128 to, const char* from) {
  int i = 0;
  for (; from[i] != 0 && i < 127; ++i)
    to[i] = static_cast<TChar>(static_cast<unsigned char>(from[i]));
  to[i] = 0;
}

std::string narrow(const TChar* text) {
  std::string result;
  for (int i = 0; text && text[i] != 0 && i < 128; ++i)
    result += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return result;
}

bool isParam(ParamID id) {
  return id < kNumParams;
}

} // namespace

FUnknown* PassthroughController::createInstance(void*) {
  return static_cast<IEditController*>(new PassthroughController);
}

PassthroughController::PassthroughController()
    : normalized{kDefaultGainNormalized, 0.0}, width(PassthroughView::kDefaultWidth),
      height(PassthroughView::kDefaultHeight){FUNKNOWN_CTOR}

      PassthroughController::~PassthroughController() {
  if (handler)
    handler->release();
}

IMPLEMENT_REFCOUNT(PassthroughController)

tresult PLUGIN_API PassthroughController::queryInterface(const TUID _iid, void** obj) {
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, IEditController)
  QUERY_INTERFACE(_iid, obj, IPluginBase::iid, IEditController)
  QUERY_INTERFACE(_iid, obj, IEditController::iid, IEditController)
  QUERY_INTERFACE(_iid, obj, IConnectionPoint::iid, IConnectionPoint)
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API PassthroughController::initialize(FUnknown*) {
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::terminate() {
  setComponentHandler(nullptr);
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::setComponentState(IBStream* state) {
  std::uint8_t blob[kProcessorStateSize];
  if (!readExactly(state, blob, sizeof blob) || std::memcmp(blob, kProcessorStateMagic, 4) != 0)
    return kResultFalse;
  const double gain = getF64(blob + 4);
  const double invert = getF64(blob + 12);
  for (double v : {gain, invert})
    if (!std::isfinite(v) || v < 0.0 || v > 1.0)
      return kResultFalse;
  normalized[kGainId] = gain;
  normalized[kInvertId] = invert;
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::setState(IBStream* state) {
  std::uint8_t blob[kControllerStateSize];
  if (!readExactly(state, blob, sizeof blob) || std::memcmp(blob, kControllerStateMagic, 4) != 0)
    return kResultFalse;
  const int32 w = getI32(blob + 4);
  const int32 h = getI32(blob + 8);
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
    return kResultFalse;
  width = w;
  height = h;
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::getState(IBStream* state) {
  std::uint8_t blob[kControllerStateSize];
  std::memcpy(blob, kControllerStateMagic, 4);
  putI32(blob + 4, width);
  putI32(blob + 8, height);
  return writeExactly(state, blob, sizeof blob) ? kResultOk : kResultFalse;
}

int32 PLUGIN_API PassthroughController::getParameterCount() {
  return kNumParams;
}

tresult PLUGIN_API PassthroughController::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  if (paramIndex < 0 || paramIndex >= static_cast<int32>(kNumParams))
    return kInvalidArgument;
  info = {};
  info.id = static_cast<ParamID>(paramIndex);
  info.unitId = kRootUnitId;
  info.flags = ParameterInfo::kCanAutomate;
  if (info.id == kGainId) {
    copyText(info.title, "Gain");
    copyText(info.shortTitle, "Gain");
    copyText(info.units, "dB");
    info.stepCount = 0;
    info.defaultNormalizedValue = kDefaultGainNormalized;
  } else {
    copyText(info.title, "Invert");
    copyText(info.shortTitle, "Inv");
    info.stepCount = 1;
    info.defaultNormalizedValue = 0.0;
    info.flags |= ParameterInfo::kIsList;
  }
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::getParamStringByValue(ParamID id,
                                                                ParamValue valueNormalized,
                                                                String128 string) {
  if (!isParam(id) || !string)
    return kInvalidArgument;
  char text[32];
  if (id == kGainId)
    std::snprintf(text, sizeof text, "%.1f", normalizedParamToPlain(id, valueNormalized));
  else
    std::snprintf(text, sizeof text, "%s", valueNormalized >= 0.5 ? "On" : "Off");
  copyText(string, text);
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::getParamValueByString(ParamID id, TChar* string,
                                                                ParamValue& valueNormalized) {
  if (!isParam(id) || !string)
    return kInvalidArgument;
  const std::string text = narrow(string);
  if (id == kInvertId) {
    if (text != "On" && text != "Off")
      return kResultFalse;
    valueNormalized = text == "On" ? 1.0 : 0.0;
    return kResultOk;
  }
  char* end = nullptr;
  const double db = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(db))
    return kResultFalse;
  valueNormalized = normalizedFromGainDb(db);
  return kResultOk;
}

ParamValue PLUGIN_API PassthroughController::normalizedParamToPlain(ParamID id,
                                                                    ParamValue valueNormalized) {
  const double n = std::clamp(valueNormalized, 0.0, 1.0);
  if (id == kGainId)
    return gainDbFromNormalized(n);
  if (id == kInvertId)
    return n >= 0.5 ? 1.0 : 0.0;
  return valueNormalized;
}

ParamValue PLUGIN_API PassthroughController::plainParamToNormalized(ParamID id,
                                                                    ParamValue plainValue) {
  if (id == kGainId)
    return normalizedFromGainDb(plainValue);
  if (id == kInvertId)
    return plainValue >= 0.5 ? 1.0 : 0.0;
  return plainValue;
}

ParamValue PLUGIN_API PassthroughController::getParamNormalized(ParamID id) {
  return isParam(id) ? normalized[id] : 0.0;
}

tresult PLUGIN_API PassthroughController::setParamNormalized(ParamID id, ParamValue value) {
  if (!isParam(id) || !std::isfinite(value))
    return kInvalidArgument;
  normalized[id] = std::clamp(value, 0.0, 1.0);
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::setComponentHandler(IComponentHandler* newHandler) {
  if (newHandler)
    newHandler->addRef();
  if (handler)
    handler->release();
  handler = newHandler;
  return kResultOk;
}

IPlugView* PLUGIN_API PassthroughController::createView(FIDString name) {
  if (!name || std::strcmp(name, ViewType::kEditor) != 0)
    return nullptr;
  return new PassthroughView(this);
}

tresult PLUGIN_API PassthroughController::connect(IConnectionPoint* other) {
  if (!other || peer)
    return kResultFalse;
  peer = other;
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::disconnect(IConnectionPoint* other) {
  if (!peer || other != peer)
    return kResultFalse;
  peer = nullptr;
  return kResultOk;
}

tresult PLUGIN_API PassthroughController::notify(IMessage* message) {
  if (!message)
    return kInvalidArgument;
  const char* id = message->getMessageID();
  if (!id || std::strcmp(id, kActivatedMessage) != 0)
    return kResultFalse;
  double rate = 0;
  if (IAttributeList* attributes = message->getAttributes())
    if (attributes->getFloat("sampleRate", rate) == kResultOk)
      sampleRate = rate;
  return kResultOk;
}

void PassthroughController::rememberViewSize(int32 w, int32 h) {
  width = w;
  height = h;
}

} // namespace orvane::passthrough
