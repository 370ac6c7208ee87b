// The road of Ardour's VST 3 scanner, as one call: load the bundle, read the factory, and
// for every "Audio Module Class" create an instance, initialize it, ask it for its audio
// processor, sample sizes and buses, switch it off, terminate and release it; unload.
#pragma once

#include "pluginterfaces/vst/ivstcomponent.h"
#include "tests/hosts/vst3/Module.h"

#include <string>
#include <vector>

namespace orvane::testhost {

struct ScannedClass {
  ClassRecord record;
  bool created = false;
  Steinberg::tresult initialize = Steinberg::kNotInitialized;
  bool hasAudioProcessor = false;
  bool can32 = false;
  bool can64 = false;
  std::vector<Steinberg::Vst::BusInfo> audioInputs;
  std::vector<Steinberg::Vst::BusInfo> audioOutputs;
  Steinberg::int32 eventInputs = 0;
  Steinberg::int32 eventOutputs = 0;
  Steinberg::tresult setProcessingOff = Steinberg::kNotInitialized;
  Steinberg::tresult setActiveOff = Steinberg::kNotInitialized;
  Steinberg::tresult terminate = Steinberg::kNotInitialized;
};

struct ScanReport {
  bool loaded = false;
  std::string error;
  Steinberg::tresult factoryInfo = Steinberg::kNotInitialized;
  std::string vendor;
  std::string url;
  std::string email;
  Steinberg::int32 factoryFlags = 0;
  bool hasFactory2 = false;
  bool hasFactory3 = false;
  std::vector<ClassRecord> classes;
  std::vector<ScannedClass> audioModules;
};

ScanReport scanBundle(const std::string& bundlePath);

} // namespace orvane::testhost
