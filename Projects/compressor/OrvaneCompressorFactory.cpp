// The VST 3 factory of the compressor: its two classes, the processor first. One factory per
// loaded module, made on the first call; each call hands out one reference. The AAX face
// reaches the halves through this same function, in process.
#include "Projects/compressor/OrvaneCompressorCids.h"
#include "Projects/compressor/OrvaneCompressorController.h"
#include "Projects/compressor/OrvaneCompressorProcessor.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/main/pluginfactory.h"

#include <mutex>
#include <new>

using namespace Steinberg;

namespace {

const PFactoryInfo& FactoryInfo() {
  static const PFactoryInfo info(OrvaneCompressor::kMakerName, OrvaneCompressor::kVendorUrl,
                                 OrvaneCompressor::kVendorEmail, PFactoryInfo::kUnicode);
  return info;
}

// The processor class is what hosts list, and some of them show a class's own vendor field
// without falling back to the factory's: it carries the maker's name itself.
const PClassInfo2& ProcessorClass() {
  static const PClassInfo2 info(
      OrvaneCompressor::kProcessorUID.toTUID(), PClassInfo::kManyInstances,
      Vst::kVstAudioEffectClass, OrvaneCompressor::kEffectName, Vst::kDistributable,
      OrvaneCompressor::kSubCategories, OrvaneCompressor::kMakerName,
      OrvaneCompressor::kVersionString, OrvaneCompressor::kSdkVersionString);
  return info;
}

const PClassInfo2& ControllerClass() {
  static const PClassInfo2 info(
      OrvaneCompressor::kControllerUID.toTUID(), PClassInfo::kManyInstances,
      Vst::kVstComponentControllerClass, OrvaneCompressor::kControllerName, 0, "", "",
      OrvaneCompressor::kVersionString, OrvaneCompressor::kSdkVersionString);
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
  if (!factory)
    return nullptr;
  factory->registerClass(&ProcessorClass(), OrvaneCompressorProcessor::createInstance);
  factory->registerClass(&ControllerClass(), OrvaneCompressorController::createInstance);
  gPluginFactory = factory;
  return factory;
}
