// The plug-ins the fuzz targets feed, loaded once per process from their built bundles
// through the VST 3 test host, set up and active as in a host.
#pragma once

#include "tests/hosts/vst3/Module.h"
#include "tests/hosts/vst3/Plugin.h"

#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>

namespace fuzzplugins {

struct Loaded {
  std::unique_ptr<orvane::testhost::Module> module;
  std::unique_ptr<orvane::testhost::Plugin> plugin;
};

constexpr int kBlock = 64;

// Loads, creates and activates one plug-in; stops the process when that fails, since a target
// without its plug-in would fuzz nothing.
inline Loaded Load(const char* bundle, const Steinberg::FUID& processor) {
  Loaded loaded;
  std::string error;
  loaded.module = orvane::testhost::Module::load(bundle, error);
  if (loaded.module)
    loaded.plugin = orvane::testhost::Plugin::create(*loaded.module, processor, error);
  if (!loaded.plugin) {
    std::fprintf(stderr, "cannot load %s: %s\n", bundle, error.c_str());
    std::abort();
  }
  loaded.plugin->activate(48000.0, kBlock);
  return loaded;
}

inline const Steinberg::FUID kEQ(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0);
inline const Steinberg::FUID kCompressor(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);

} // namespace fuzzplugins
