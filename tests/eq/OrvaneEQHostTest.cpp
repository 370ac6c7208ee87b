// OrvaneEQ.vst3 loaded from its bundle by the test host, as Ardour loads it: the scan road and
// the factory's records, the parameters the host sees, audio with parameter queues and bypass,
// presets chosen through the preset parameter, and both states saved and restored.
#include "Projects/eq/OrvaneEQDsp.h"
#include "Projects/eq/OrvaneEQParams.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/vst3/Scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace orvane::testhost;

constexpr ParamID kBypass = 0x10000, kPreset = 0x10001;
constexpr int32 kBlock = 512;
const FUID kProcessorCid(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0);
const FUID kControllerCid(0x71905626, 0xB07B4FDA, 0xACF00822, 0xDC0D64C1);

constexpr double kEngaged[kNumOrvaneEQParams] = {80,  90,  4.5,  400,  -6,    1.2, 3000,
                                                 5.0, 2.2, 8000, -3.0, 12000, -4.0};

std::vector<float> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
  std::vector<float> v(n);
  for (float& x : v) {
    x = dist(rng);
  }
  return v;
}

TEST(OrvaneEQBundle, ScansWithItsFactoryRecords) {
  const ScanReport report = scanBundle(ORVANE_EQ_BUNDLE);
  ASSERT_TRUE(report.loaded) << report.error;
  EXPECT_EQ(report.vendor, "Quenmark");
  EXPECT_EQ(report.url, "https://www.quenmark.com");
  EXPECT_EQ(report.email, "support@quenmark.com");
  EXPECT_EQ(report.factoryFlags, 16);
  EXPECT_TRUE(report.hasFactory2);
  EXPECT_TRUE(report.hasFactory3);
  ASSERT_EQ(report.classes.size(), 2u);

  const ClassRecord& processor = report.classes[0];
  EXPECT_EQ(processor.cid, kProcessorCid);
  EXPECT_EQ(processor.cardinality, 0x7fffffff);
  EXPECT_EQ(processor.category, "Audio Module Class");
  EXPECT_EQ(processor.name, "Orvane EQ");
  EXPECT_EQ(processor.classFlags, 1u);
  EXPECT_EQ(processor.subCategories, "Fx|EQ");
  EXPECT_EQ(processor.vendor, "Quenmark");
  EXPECT_EQ(processor.version, "1.1");
  EXPECT_EQ(processor.sdkVersion, "VST 3.6.5");
  EXPECT_EQ(processor.nameW, u"Orvane EQ");
  EXPECT_EQ(processor.sdkVersionW, u"VST 3.6.5");

  const ClassRecord& controller = report.classes[1];
  EXPECT_EQ(controller.cid, kControllerCid);
  EXPECT_EQ(controller.cardinality, 0x7fffffff);
  EXPECT_EQ(controller.category, "Component Controller Class");
  EXPECT_EQ(controller.name, "Orvane EQController");
  EXPECT_EQ(controller.classFlags, 0u);
  EXPECT_EQ(controller.subCategories, "");
  EXPECT_EQ(controller.vendor, "");
  EXPECT_EQ(controller.version, "1.1");
  EXPECT_EQ(controller.sdkVersion, "VST 3.6.5");
  ASSERT_EQ(report.audioModules.size(), 1u);
}

// One factory per module; every GetPluginFactory call hands out one more reference.
TEST(OrvaneEQBundle, OneFactoryWithAReferencePerCall) {
  std::string error;
  auto module = Module::load(ORVANE_EQ_BUNDLE, error);
  ASSERT_TRUE(module) << error;
  using GetFactory = IPluginFactory* (*)();
  auto get = reinterpret_cast<GetFactory>(module->symbol("GetPluginFactory"));
  ASSERT_TRUE(get);
  IPluginFactory* first = get();
  const uint32 afterFirst = first->addRef();
  first->release();
  IPluginFactory* second = get();
  EXPECT_EQ(second, first);
  EXPECT_EQ(second->addRef(), afterFirst + 1);
  second->release();
  second->release();
  first->release();
  // Both halves come from it by class ID; an unknown class gives nothing.
  void* obj = nullptr;
  EXPECT_EQ(first->createInstance(kControllerCid.toTUID(), IEditController::iid.toTUID(), &obj),
            kResultOk);
  ASSERT_TRUE(obj);
  static_cast<IEditController*>(obj)->release();
  obj = reinterpret_cast<void*>(1);
  const FUID unknown(1, 2, 3, 4);
  EXPECT_NE(first->createInstance(unknown.toTUID(), IComponent::iid.toTUID(), &obj), kResultOk);
  EXPECT_EQ(obj, nullptr);
}

class EqHost : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    module = Module::load(ORVANE_EQ_BUNDLE, error);
    ASSERT_TRUE(module) << error;
    plugin = Plugin::create(*module, kProcessorCid, error);
    ASSERT_TRUE(plugin) << error;
    for (const ParameterInfo& info : plugin->parameters()) {
      params.push_back(info);
    }
  }
  void TearDown() override {
    plugin.reset();
    module.reset();
  }

  void SetPlain(int idx, double plain) {
    plugin->setParameter(ParamID(idx),
                         plugin->controller()->plainParamToNormalized(ParamID(idx), plain));
  }
  double Plain(int idx) const {
    return plugin->controller()->normalizedParamToPlain(ParamID(idx),
                                                        plugin->parameter(ParamID(idx)));
  }

  std::unique_ptr<Module> module; // declared first: outlives the plug-in
  std::unique_ptr<Plugin> plugin;
  std::vector<ParameterInfo> params;
};

std::u16string Text(const String128 s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s));
}

TEST_F(EqHost, ShowsThirteenParametersThenBypassAndPreset) {
  ASSERT_EQ(params.size(), size_t(kNumOrvaneEQParams + 2));
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    const OrvaneEQParamSpec& spec = kOrvaneEQParamSpecs[i];
    const ParameterInfo& info = params[size_t(i)];
    SCOPED_TRACE(spec.name);
    EXPECT_EQ(info.id, ParamID(i));
    std::u16string name(spec.name, spec.name + std::strlen(spec.name));
    EXPECT_EQ(Text(info.title), name);
    std::u16string unit(spec.label, spec.label + std::strlen(spec.label));
    EXPECT_EQ(Text(info.units), unit);
    EXPECT_EQ(info.stepCount, 0);
    EXPECT_TRUE(info.flags & ParameterInfo::kCanAutomate);
    EXPECT_NEAR(plugin->controller()->normalizedParamToPlain(info.id, info.defaultNormalizedValue),
                spec.defaultValue, 1e-9 * std::fabs(spec.maxValue));
  }
  EXPECT_EQ(params[13].id, kBypass);
  EXPECT_TRUE(params[13].flags & ParameterInfo::kIsBypass);
  EXPECT_EQ(params[14].id, kPreset);
  EXPECT_EQ(params[14].stepCount, 9);
}

// Audio through the host's 32-bit buffers is the DSP's sound of the same samples; with the
// host's bypass on, the input comes out as it went in.
TEST_F(EqHost, FiltersStereoAsItsDspAndPassesWhenBypassed) {
  plugin->activate(48000, kBlock);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    SetPlain(i, kEngaged[i]);
  }
  OrvaneEQDsp reference;
  reference.SetSampleRate(48000);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    reference.ApplyParam(i, Plain(i));
  }
  for (int block = 0; block < 8; ++block) {
    std::vector<double> x[2];
    for (size_t c = 0; c < 2; ++c) {
      const std::vector<float> noise = Noise(kBlock, unsigned(2 * block + c));
      std::copy(noise.begin(), noise.end(), plugin->input<float>(0, c));
      x[c].assign(noise.begin(), noise.end());
    }
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    const double* in[2] = {x[0].data(), x[1].data()};
    double* out[2] = {x[0].data(), x[1].data()};
    reference.Process(in, out, 2, kBlock);
    for (size_t c = 0; c < 2; ++c) {
      for (int i = 0; i < kBlock; ++i) {
        ASSERT_EQ(plugin->output<float>(0, c)[i], static_cast<float>(x[c][size_t(i)]))
            << "block " << block << " channel " << c << " sample " << i;
      }
    }
  }

  plugin->setParameter(kBypass, 1.0);
  const std::vector<float> noise = Noise(kBlock, 99);
  std::copy(noise.begin(), noise.end(), plugin->input<float>(0, 0));
  std::copy(noise.begin(), noise.end(), plugin->input<float>(0, 1));
  ASSERT_EQ(plugin->process(kBlock), kResultOk);
  EXPECT_TRUE(std::equal(noise.begin(), noise.end(), plugin->output<float>(0, 0)));
  EXPECT_TRUE(std::equal(noise.begin(), noise.end(), plugin->output<float>(0, 1)));
}

// Choosing "DRUM Kick" through the preset parameter: the controller pushes its values to the
// host as edits, and the sound follows once the host has passed them on.
TEST_F(EqHost, PresetParameterLoadsAFactoryPreset) {
  plugin->activate(48000, kBlock);
  plugin->controller()->setParamNormalized(kPreset, 4.0 / 9.0);
  const double kick[kNumOrvaneEQParams] = {32.1739, 218.443, 4.07843, 581.506, -4.39216,
                                           2.333,   10071.2, 5.96078, 2.333,   4576.28,
                                           0,       22000,   0};
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    EXPECT_NEAR(Plain(i), kick[i], 1e-9 * std::max(1.0, std::fabs(kick[i]))) << i;
  }
  bool pushedLowShelf = false;
  for (const EditCall& edit : plugin->log().editsOf(EditCall::Kind::Perform)) {
    pushedLowShelf |= edit.id == ParamID(kLowShelfGain);
  }
  EXPECT_TRUE(pushedLowShelf);
}

// Hosts that show the preset parameter read the name of the preset a value selects, the
// same names the program list gives; a name typed back selects that preset's step.
TEST_F(EqHost, PresetParameterReadsAsThePresetsName) {
  FUnknownPtr<IUnitInfo> units(plugin->controller());
  ASSERT_TRUE(units);
  IEditController* controller = plugin->controller();
  String128 listed{}, shown{};
  for (int32 i = 0; i < 9; ++i) {
    ASSERT_EQ(units->getProgramName(kPreset, i, listed), kResultOk);
    for (const double v : {i / 9.0, (i + 0.5) / 9.0, i / 8.0}) {
      ASSERT_EQ(controller->getParamStringByValue(kPreset, v, shown), kResultTrue) << v;
      EXPECT_EQ(Text(shown), Text(listed)) << v;
    }
    ParamValue back = -1.0;
    ASSERT_EQ(controller->getParamValueByString(kPreset, listed, back), kResultTrue);
    EXPECT_DOUBLE_EQ(back, i / 9.0);
  }
  ASSERT_EQ(controller->getParamStringByValue(kPreset, 1.0, shown), kResultTrue);
  EXPECT_EQ(Text(shown), Text(listed)); // the last preset
  EXPECT_EQ(controller->getParamStringByValue(kPreset, 1.5, shown), kResultFalse);
  // The other parameters keep their own texts.
  ASSERT_EQ(controller->getParamStringByValue(kBypass, 1.0, shown), kResultTrue);
  EXPECT_NE(Text(shown), Text(listed));
}

// The 13 parameters survive the host's save and restore into a new instance.
TEST_F(EqHost, StateCarriesEveryParameter) {
  plugin->activate(48000, kBlock);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    SetPlain(i, kEngaged[i]);
  }
  plugin->process(kBlock);
  const auto processorState = plugin->processorState();
  const auto controllerState = plugin->controllerState();
  ASSERT_FALSE(processorState.empty());

  std::string error;
  auto restored = Plugin::create(*module, kProcessorCid, error);
  ASSERT_TRUE(restored) << error;
  ASSERT_EQ(restored->restoreState(processorState, controllerState), kResultOk);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    EXPECT_DOUBLE_EQ(restored->parameter(ParamID(i)), plugin->parameter(ParamID(i))) << i;
  }
  EXPECT_EQ(restored->processorState(), processorState);
}

} // namespace
