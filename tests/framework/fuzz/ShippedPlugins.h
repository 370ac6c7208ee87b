// The plug-ins the fuzz targets feed, loaded once per process from their built bundles
// through the VST 3 test host, set up and active as in a host.
#pragma once

#include "tests/hosts/vst3/ShippedPlugins.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzplugins {

constexpr int kBlock = 64;

// Loads, creates and activates one plug-in; stops the process when that fails, since a target
// without its plug-in would fuzz nothing. Lives as long as the process.
inline orvane::testhost::Plugin& Load(const char* bundle, const Steinberg::FUID& processor) {
  std::string error;
  auto* loaded =
      new orvane::testhost::LoadedPlugin(orvane::testhost::LoadPlugin(bundle, processor, error));
  if (!loaded->plugin) {
    std::fprintf(stderr, "cannot load %s: %s\n", bundle, error.c_str());
    std::abort();
  }
  loaded->plugin->activate(48000.0, kBlock);
  return *loaded->plugin;
}

} // namespace fuzzplugins
