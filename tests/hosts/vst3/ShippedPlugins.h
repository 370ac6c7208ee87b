// The shipped plug-ins' processor classes, and one plug-in made from its built bundle by the
// VST 3 test host: what the tests, fuzz targets and tools that drive the bundles share.
#pragma once

#include "tests/hosts/vst3/Module.h"
#include "tests/hosts/vst3/Plugin.h"

#include <memory>
#include <string>

namespace orvane::testhost {

inline const Steinberg::FUID kEQProcessor(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0);
inline const Steinberg::FUID kCompressorProcessor(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);

// The module lives as long as the plug-in made from it (members go in reverse order).
struct LoadedPlugin {
  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;
};

// Both halves of the processor class from the bundle; plugin is null, with the reason in
// error, when the bundle cannot be loaded or the plug-in cannot be made.
inline LoadedPlugin LoadPlugin(const std::string& bundle, const Steinberg::FUID& processor,
                               std::string& error) {
  LoadedPlugin loaded;
  loaded.module = Module::load(bundle, error);
  if (loaded.module)
    loaded.plugin = Plugin::create(*loaded.module, processor, error);
  return loaded;
}

} // namespace orvane::testhost
