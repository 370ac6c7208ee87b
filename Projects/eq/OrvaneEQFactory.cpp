// The VST 3 factory of the equaliser: its two classes, the processor first. One factory per
// loaded module; each call hands out one reference.
#include "Projects/eq/OrvaneEQCids.h"
#include "Projects/eq/OrvaneEQController.h"
#include "Projects/eq/OrvaneEQProcessor.h"

#include "public.sdk/source/main/pluginfactory.h"

#include <mutex>
#include <new>

using namespace Steinberg;

namespace {

const PFactoryInfo& FactoryInfo() {
  static const PFactoryInfo info(OrvaneEQ::kMakerName, OrvaneEQ::kVendorUrl, OrvaneEQ::kVendorEmail,
                                 PFactoryInfo::kUnicode);
  return info;
}

// The processor class is what hosts list, and some of them show a class's own vendor field
// without falling back to the factory's: it carries the maker's name itself.
const PClassInfo2& ProcessorClass() {
  static const PClassInfo2 info(OrvaneEQ::kProcessorUID.toTUID(), PClassInfo::kManyInstances,
                                Vst::kVstAudioEffectClass, OrvaneEQ::kEffectName,
                                Vst::kDistributable, OrvaneEQ::kSubCategories, OrvaneEQ::kMakerName,
                                OrvaneEQ::kVersionString, OrvaneEQ::kSdkVersionString);
  return info;
}

const PClassInfo2& ControllerClass() {
  static const PClassInfo2 info(OrvaneEQ::kControllerUID.toTUID(), PClassInfo::kManyInstances,
                                Vst::kVstComponentControllerClass, OrvaneEQ::kControllerName, 0, "",
                                "", OrvaneEQ::kVersionString, OrvaneEQ::kSdkVersionString);
  return info;
}

} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory() {
  // Hosts may scan from several threads; only one of them makes the factory.
  static std::mutex creation;
  std::lock_guard<std::mutex> lock(creation);
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  auto* factory = new (std::nothrow) CPluginFactory(FactoryInfo());
  if (!factory) {
    return nullptr;
  }
  factory->registerClass(&ProcessorClass(), OrvaneEQProcessor::createInstance);
  factory->registerClass(&ControllerClass(), OrvaneEQController::createInstance);
  gPluginFactory = factory;
  return factory;
}
