// The bare test plug-in loaded as a VST 2.4 effect (Vst2WrapperExt) through the test host.
#pragma once

#include "tests/bareplugin/BarePluginIDs.h"
#include "tests/hosts/vst2/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace barevst2 {

inline const char* const kLibrary = ORVANE_BARE_VST2_LIBRARY;
inline const char* const kBundle = ORVANE_BARE_VST2_BUNDLE;

// The exported parameters: the bare plug-in's own ones but the read-only meter, then its
// MIDI controller parameters (16 channels of 128 controllers, aftertouch and pitch bend).
inline constexpr VstInt32 kOwnParams = 6;
inline constexpr VstInt32 kExportedParams = kOwnParams + 16 * 130;

// Normalised values of the bare parameters' plain values.
inline float gainNormalized(double db) {
  return float((db + 24.0) / 36.0);
}

inline std::unique_ptr<orvane::vst2host::Vst2Plugin> load() {
  std::string error;
  auto plugin = orvane::vst2host::Vst2Plugin::load(kLibrary, error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

class BareVst2 : public ::testing::Test {
protected:
  void SetUp() override {
    plugin = load();
    ASSERT_TRUE(plugin);
    plugin->open(48000, 256);
  }
  std::unique_ptr<orvane::vst2host::Vst2Plugin> plugin;
};

// Little-endian chunk bytes assembled by hand.
struct Bytes {
  std::vector<uint8_t> data;
  Bytes& i32(int32_t v) { return raw(&v, 4); }
  Bytes& f64(double v) { return raw(&v, 8); }
  Bytes& u8(uint8_t v) { return raw(&v, 1); }
  Bytes& text(const char* s) { return raw(s, std::strlen(s)); }
  Bytes& raw(const void* p, size_t n) {
    const size_t at = data.size();
    data.resize(at + n);
    std::memcpy(data.data() + at, p, n);
    return *this;
  }
};

inline constexpr int32_t kMagic = 0x70666674; // 'pfft'
inline constexpr int32_t kFrameworkVersion = 0x00020000;

// A processor chunk of the bare plug-in: version word, then gain, freq, mix, mute, steps,
// mode as plain values (the meter is read-only and not stored).
inline Bytes& processorChunk(Bytes& b, double gain, double freq, double mix, double mute,
                             double steps, double mode) {
  return b.i32(bare::kEffectVersion).f64(gain).f64(freq).f64(mix).f64(mute).f64(steps).f64(mode);
}

} // namespace barevst2
