// The compressor bundle in the recording AAX host: loaded, started and registered once per
// test; effect instances made from the recorded description, with field blocks for the
// process procedure. The same bundle also drives the VST 3 test host, the independent road
// the AAX one is compared with.
#pragma once

#include "FakeAAXBundle.h"
#include "FakeEffectInstance.h"
#include "FakeHostString.h"
#include "FakeInstanceBlock.h"
#include "tests/hosts/vst3/Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace aax_bundle_test {

const char* const kBundle = ORVANE_COMPRESSOR_BUNDLE;
constexpr AAX_CTypeID kChunkID = AAX_FourCC('o', 'v', 'C', 'P');
constexpr float kRate = 48000.0f;
constexpr int32_t kBlock = 512;
const Steinberg::FUID kProcessorUID(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);

// A test signal with some dynamics: a tone whose level steps every 2400 samples, plus noise
// from a fixed generator, on channel c (channels differ).
inline float TestSignal(int64_t n, int channel) {
  uint32_t state = uint32_t(n * 2654435761u + uint32_t(channel) * 40503u);
  state ^= state >> 13;
  state *= 0x5bd1e995u;
  state ^= state >> 15;
  const double noise = double(state & 0xFFFF) / 65535.0 - 0.5;
  const double level = ((n / 2400) % 3 == 0) ? 0.9 : ((n / 2400) % 3 == 1 ? 0.05 : 0.4);
  return float(level * std::sin(0.031 * double(n) * (1 + channel)) + 0.02 * noise);
}

class BundleSession : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    bundle = aaxhost::FakeAAXBundle::Load(kBundle, error);
    ASSERT_TRUE(bundle) << error;
    ASSERT_EQ(bundle->Startup(&host), AAX_SUCCESS);
    IACFUnknown* registered = nullptr;
    registerResult = bundle->RegisterPlugin(&host, &registered);
    ASSERT_EQ(registerResult, AAX_SUCCESS);
    ASSERT_NE(registered, nullptr);
    registered->Release();
    ASSERT_EQ(host.factory.Collections().size(), 1u);
    collection = host.factory.Collections()[0];
    ASSERT_EQ(collection->effects.size(), 1u);
    effect = collection->effects[0].second;
  }

  void TearDown() override {
    instance.reset();
    if (bundle) {
      EXPECT_EQ(bundle->CanUnloadNow(&host), 0);
      EXPECT_EQ(bundle->Shutdown(&host), AAX_SUCCESS);
      EXPECT_EQ(host.OutstandingReferences(), 0);
    }
  }

  // An instance on stems of this many channels (1 mono, 2 stereo).
  void MakeInstance(int channels) {
    const uint32_t stem = channels == 1 ? 0x00000001u : 0x00010002u;
    host.controller.inputStemFormat = stem;
    host.controller.outputStemFormat = stem;
    host.controller.sampleRate = kRate;
    instance = std::make_unique<aaxhost::FakeEffectInstance>(host, *effect);
    ASSERT_EQ(instance->InitializeResult(), AAX_SUCCESS);
    ASSERT_NE(instance->Parameters(), nullptr);
  }

  AAX_IACFEffectParameters& Effect() { return *instance->Parameters(); }

  AAX_CProcessProc ProcessProc(size_t component = 1) const {
    return effect->components.at(component)->processProcs.at(0).proc;
  }

  double Normalized(const char* id) {
    double value = -1.0;
    EXPECT_EQ(Effect().GetParameterNormalizedValue(id, &value), AAX_SUCCESS) << id;
    return value;
  }

  aaxhost::FakeAAXHost host;
  std::unique_ptr<aaxhost::FakeAAXBundle> bundle;
  ACFRESULT registerResult = -1;
  aaxhost::FakeCollection* collection = nullptr;
  aaxhost::FakeEffectDescriptor* effect = nullptr;
  std::unique_ptr<aaxhost::FakeEffectInstance> instance;
};

} // namespace aax_bundle_test
