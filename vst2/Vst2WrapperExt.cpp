// Creation, program changes and the version of the framework's VST 2.4 face.
#include "vst2/Vst2WrapperExt.h"

#include "framework/IFxController.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

IEditController* controllerFor(IPluginFactory* factory, IComponent* processor) {
  IEditController* controller = nullptr;
  if (processor->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller)) ==
          kResultOk &&
      controller)
    return controller;
  TUID controllerClass{};
  if (processor->getControllerClassId(controllerClass) != kResultOk)
    return nullptr;
  controller = nullptr;
  if (factory->createInstance(controllerClass, IEditController::iid,
                              reinterpret_cast<void**>(&controller)) != kResultOk)
    return nullptr;
  return controller;
}

void takeFactoryNames(Vst2WrapperExt& wrapper, IPluginFactory* factory, const TUID cid) {
  FUnknownPtr<IPluginFactory2> factory2(factory);
  if (!factory2)
    return;
  PFactoryInfo info{};
  if (factory2->getFactoryInfo(&info) == kResultOk)
    wrapper.setVendorName(info.vendor);
  for (int32 i = 0, n = factory2->countClasses(); i < n; ++i) {
    PClassInfo2 classInfo{};
    if (factory2->getClassInfo2(i, &classInfo) != kResultOk ||
        !FUnknownPrivate::iidEqual(classInfo.cid, cid))
      continue;
    wrapper.setSubCategories(classInfo.subCategories);
    wrapper.setEffectName(classInfo.name);
    if (classInfo.vendor[0])
      wrapper.setVendorName(classInfo.vendor);
    break;
  }
}

} // namespace

Vst2WrapperExt* Vst2WrapperExt::create(IPluginFactory* factory, const TUID processorClass,
                                       VstInt32 uniqueID, audioMasterCallback audioMaster) {
  if (!factory)
    return nullptr;
  IComponent* processor = nullptr;
  if (factory->createInstance(processorClass, IComponent::iid,
                              reinterpret_cast<void**>(&processor)) != kResultOk ||
      !processor) {
    factory->release();
    return nullptr;
  }
  IEditController* controller = controllerFor(factory, processor);
  auto* wrapper =
      new Vst2WrapperExt(processor, controller, audioMaster, processorClass, uniqueID, factory);
  if (!wrapper->init()) {
    delete wrapper;
    factory->release();
    return nullptr;
  }
  // Preset 0 is the starting program. The host does not hold the effect yet, so the values
  // reach the processor's queue but no host notification is sent.
  if (wrapper->mFxController)
    wrapper->mFxController->RestorePreset(0);
  wrapper->syncHostValuesFromController();
  takeFactoryNames(*wrapper, factory, processorClass);
  factory->release();
  return wrapper;
}

Vst2WrapperExt::Vst2WrapperExt(IComponent* processor, IEditController* controller,
                               audioMasterCallback audioMaster, const TUID processorClass,
                               VstInt32 uniqueID, IPluginFactory* factory)
    : Vst2Wrapper(processor, controller, audioMaster, processorClass, uniqueID, factory),
      mFxController(dynamic_cast<IFxController*>(controller)),
      mFxProcessor(dynamic_cast<IFxBase*>(processor)) {
  if (mFxController)
    setVersion(mFxController->GetEffectVersion(true));
}

Vst2WrapperExt::~Vst2WrapperExt() = default;

void Vst2WrapperExt::setProgram(VstInt32 program) {
  if (mProgramParameterID == kNoParamId || mProgramParameterIdx < 0 || !mController)
    return;
  curProgram = program;
  ParameterInfo info{};
  if (mController->getParameterInfo(mProgramParameterIdx, info) != kResultOk)
    return;
  const int32 steps = info.stepCount;
  if (steps < 1 || program < 0 || program > steps)
    return;
  const ParamValue value = ParamValue(program) / steps;
  mController->setParamNormalized(mProgramParameterID, value);
  queueChangeToProcessor(mProgramParameterID, value, 0);
}

VstInt32 Vst2WrapperExt::getVendorVersion() {
  return mFxController ? mFxController->GetEffectVersion(true) : Vst2Wrapper::getVendorVersion();
}
