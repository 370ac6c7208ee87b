// The plug-ins the fuzz targets feed, loaded once per process from their built bundles
// through the VST 3 test host, set up and active as in a host.
#pragma once

#include "tests/hosts/vst3/ShippedPlugins.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace fuzzplugins {

constexpr int kBlock = 64;

// Loads, creates and activates one plug-in; stops the process when that fails, since a target
// without its plug-in would fuzz nothing. Lives as long as the process.
inline orvane::testhost::Plugin& Load(const char* bundle, const Steinberg::FUID& processor) {
  // Held where the leak checker sees them, and never torn down.
  static auto* kept = new std::vector<std::unique_ptr<orvane::testhost::LoadedPlugin>>;
  std::string error;
  kept->push_back(std::make_unique<orvane::testhost::LoadedPlugin>(
      orvane::testhost::LoadPlugin(bundle, processor, error)));
  orvane::testhost::LoadedPlugin* loaded = kept->back().get();
  if (!loaded->plugin) {
    std::fprintf(stderr, "cannot load %s: %s\n", bundle, error.c_str());
    std::abort();
  }
  loaded->plugin->activate(48000.0, kBlock);
  return *loaded->plugin;
}

} // namespace fuzzplugins
