// The bundle's factory: the bare processor and its controller.
#include "public.sdk/source/main/moduleentry.h"
#include "public.sdk/source/main/pluginfactory.h"
#include "tests/bareplugin/BareController.h"
#include "tests/bareplugin/BareProcessor.h"

using namespace Steinberg;

bool InitModule() {
  return true;
}

bool DeinitModule() {
  return true;
}

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory() {
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  auto* factory = new CPluginFactory(PFactoryInfo("Orvane", "", "", PFactoryInfo::kUnicode));
  const PClassInfo2 processor(bare::kProcessorUID.toTUID(), PClassInfo::kManyInstances,
                              Vst::kVstAudioEffectClass, "OrvaneBare", Vst::kDistributable, "Fx",
                              "Orvane", "1.2.3", "VST 3.7.0");
  const PClassInfo2 controller(bare::kControllerUID.toTUID(), PClassInfo::kManyInstances,
                               Vst::kVstComponentControllerClass, "OrvaneBare Controller", 0, "",
                               "Orvane", "1.2.3", "VST 3.7.0");
  factory->registerClass(&processor, bare::BareProcessor::Create);
  factory->registerClass(&controller, bare::BareController::Create);
  gPluginFactory = factory;
  return factory;
}
