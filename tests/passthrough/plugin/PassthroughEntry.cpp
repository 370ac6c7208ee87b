// The module glue: the factory with its two classes, and the module hooks.
#include "tests/passthrough/plugin/PassthroughController.h"
#include "tests/passthrough/plugin/PassthroughIDs.h"
#include "tests/passthrough/plugin/PassthroughProcessor.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/main/moduleentry.h"
#include "public.sdk/source/main/pluginfactory.h"

using namespace Steinberg;
using namespace orvane::passthrough;

bool InitModule() {
  return true;
}
bool DeinitModule() {
  return true;
}

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* GetPluginFactory() {
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  static const PFactoryInfo info("Quenmark", "https://quenmark.example/orvane",
                                 "support@quenmark.example", PFactoryInfo::kUnicode);
  static const PClassInfo2 processorClass(
      kProcessorUID.toTUID(), PClassInfo::kManyInstances, Vst::kVstAudioEffectClass, kProcessorName,
      Vst::kDistributable, Vst::PlugType::kFx, "", "1.1", Vst::kVstVersionString);
  static const PClassInfo2 controllerClass(kControllerUID.toTUID(), PClassInfo::kManyInstances,
                                           Vst::kVstComponentControllerClass, kControllerName, 0,
                                           "", "", "1.1", Vst::kVstVersionString);
  auto* factory = new CPluginFactory(info);
  factory->registerClass(&processorClass, PassthroughProcessor::createInstance);
  factory->registerClass(&controllerClass, PassthroughController::createInstance);
  gPluginFactory = factory;
  return gPluginFactory;
}
