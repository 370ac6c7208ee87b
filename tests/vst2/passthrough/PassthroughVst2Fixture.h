// The pass-through test plug-in loaded as a VST 2.4 effect through the VST 2.4 test host.
#pragma once

#include "tests/hosts/vst2/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace passthroughvst2 {

inline const char* const kLibrary = ORVANE_PASSTHROUGH_VST2_LIBRARY;
inline const char* const kBundle = ORVANE_PASSTHROUGH_VST2_BUNDLE;
inline constexpr VstInt32 kUniqueID = 0x6F765054; // 'ovPT'
inline constexpr VstInt32 kGain = 0;
inline constexpr VstInt32 kInvert = 1;

inline std::unique_ptr<orvane::vst2host::Vst2Plugin> load(orvane::vst2host::HostOptions o = {}) {
  std::string error;
  auto plugin = orvane::vst2host::Vst2Plugin::load(kLibrary, error, std::move(o));
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

class PassthroughVst2 : public ::testing::Test {
protected:
  void SetUp() override {
    plugin = load();
    ASSERT_TRUE(plugin);
  }
  std::unique_ptr<orvane::vst2host::Vst2Plugin> plugin;
};

} // namespace passthroughvst2
