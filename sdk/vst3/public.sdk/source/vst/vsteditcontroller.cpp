#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

KnobMode EditController::hostKnobMode = kCircularMode;

EditController::EditController() = default;
EditController::~EditController() = default;

tresult PLUGIN_API EditController::initialize(FUnknown* context) {
  return ComponentBase::initialize(context);
}

tresult PLUGIN_API EditController::terminate() {
  parameters.removeAll();
  componentHandler = nullptr;
  componentHandler2 = nullptr;
  return ComponentBase::terminate();
}

tresult PLUGIN_API EditController::setComponentState(IBStream* /*state*/) {
  return kNotImplemented;
}

tresult PLUGIN_API EditController::setState(IBStream* /*state*/) {
  return kNotImplemented;
}

tresult PLUGIN_API EditController::getState(IBStream* /*state*/) {
  return kNotImplemented;
}

int32 PLUGIN_API EditController::getParameterCount() {
  return parameters.getParameterCount();
}

tresult PLUGIN_API EditController::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  const Parameter* parameter = parameters.getParameterByIndex(paramIndex);
  if (!parameter)
    return kResultFalse;
  info = parameter->getInfo();
  return kResultTrue;
}

tresult PLUGIN_API EditController::getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                                         String128 string) {
  if (!string)
    return kInvalidArgument;
  const Parameter* parameter = getParameterObject(tag);
  if (!parameter)
    return kResultFalse;
  parameter->toString(valueNormalized, string);
  return kResultTrue;
}

tresult PLUGIN_API EditController::getParamValueByString(ParamID tag, TChar* string,
                                                         ParamValue& valueNormalized) {
  if (!string)
    return kInvalidArgument;
  const Parameter* parameter = getParameterObject(tag);
  if (!parameter)
    return kResultFalse;
  return parameter->fromString(string, valueNormalized) ? kResultTrue : kResultFalse;
}

ParamValue PLUGIN_API EditController::normalizedParamToPlain(ParamID tag,
                                                             ParamValue valueNormalized) {
  const Parameter* parameter = getParameterObject(tag);
  return parameter ? parameter->toPlain(valueNormalized) : valueNormalized;
}

ParamValue PLUGIN_API EditController::plainParamToNormalized(ParamID tag, ParamValue plainValue) {
  const Parameter* parameter = getParameterObject(tag);
  return parameter ? parameter->toNormalized(plainValue) : plainValue;
}

ParamValue PLUGIN_API EditController::getParamNormalized(ParamID tag) {
  const Parameter* parameter = getParameterObject(tag);
  return parameter ? parameter->getNormalized() : 0.0;
}

tresult PLUGIN_API EditController::setParamNormalized(ParamID tag, ParamValue value) {
  Parameter* parameter = getParameterObject(tag);
  if (!parameter)
    return kResultFalse;
  parameter->setNormalized(value);
  return kResultTrue;
}

tresult PLUGIN_API EditController::setComponentHandler(IComponentHandler* handler) {
  if (handler == componentHandler.get())
    return kResultTrue;
  componentHandler = handler;
  componentHandler2 = nullptr;
  if (handler) {
    FUnknownPtr<IComponentHandler2> second(handler);
    componentHandler2 = second.get();
  }
  return kResultTrue;
}

IPlugView* PLUGIN_API EditController::createView(FIDString /*name*/) {
  return nullptr;
}

tresult PLUGIN_API EditController::setKnobMode(KnobMode mode) {
  if (mode < kCircularMode || mode > kLinearMode)
    return kInvalidArgument;
  hostKnobMode = mode;
  return kResultTrue;
}

tresult PLUGIN_API EditController::openHelp(TBool /*onlyCheck*/) {
  return kResultFalse;
}

tresult PLUGIN_API EditController::openAboutBox(TBool /*onlyCheck*/) {
  return kResultFalse;
}

tresult EditController::beginEdit(ParamID tag) {
  return componentHandler ? componentHandler->beginEdit(tag) : kResultFalse;
}

tresult EditController::performEdit(ParamID tag, ParamValue valueNormalized) {
  return componentHandler ? componentHandler->performEdit(tag, valueNormalized) : kResultFalse;
}

tresult EditController::endEdit(ParamID tag) {
  return componentHandler ? componentHandler->endEdit(tag) : kResultFalse;
}

tresult EditController::restartComponent(int32 flags) {
  return componentHandler ? componentHandler->restartComponent(flags) : kResultFalse;
}

tresult EditController::startGroupEdit() {
  if (!componentHandler)
    return kResultFalse;
  return componentHandler2 ? componentHandler2->startGroupEdit() : kNotImplemented;
}

tresult EditController::finishGroupEdit() {
  if (!componentHandler)
    return kResultFalse;
  return componentHandler2 ? componentHandler2->finishGroupEdit() : kNotImplemented;
}

tresult EditController::setDirty(TBool state) {
  if (!componentHandler)
    return kResultFalse;
  return componentHandler2 ? componentHandler2->setDirty(state) : kNotImplemented;
}

tresult EditController::requestOpenEditor(FIDString name) {
  if (!componentHandler)
    return kResultFalse;
  return componentHandler2 ? componentHandler2->requestOpenEditor(name) : kNotImplemented;
}

} // namespace Vst
} // namespace Steinberg
