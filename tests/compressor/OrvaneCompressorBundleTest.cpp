// OrvaneCompressor.vst3 through the VST 3 test host: the factory a host scans, the parameters
// it shows as generated controls, and the processing and state roads.
#include "tests/compressor/CompressorSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace compressor_test {
namespace {

const char* const kBundle = ORVANE_COMPRESSOR_BUNDLE;
constexpr double kRate = 48000.0;

// ---- Factory -------------------------------------------------------------------------------

TEST(CompressorFactory, NamesTheProcessorThenTheController) {
  std::string error;
  auto module = Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  EXPECT_EQ(module->factoryInfoResult(), kResultOk);
  EXPECT_EQ(fieldText(module->factoryInfo().vendor, sizeof module->factoryInfo().vendor),
            "Quenmark");
  EXPECT_EQ(module->factoryInfo().flags, 16);

  ASSERT_EQ(module->classes().size(), 2u);
  const ClassRecord& p = module->classes()[0];
  EXPECT_EQ(p.cid, FUID(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E));
  EXPECT_EQ(p.cardinality, 0x7FFFFFFF);
  EXPECT_EQ(p.category, "Audio Module Class");
  EXPECT_EQ(p.name, "Orvane Compressor");
  ASSERT_TRUE(p.hasInfo2);
  EXPECT_EQ(p.classFlags, 1u);
  EXPECT_EQ(p.subCategories, "Fx|Dynamics");
  EXPECT_EQ(p.vendor, "Quenmark");
  EXPECT_EQ(p.vendorW, u"Quenmark");
  EXPECT_EQ(p.version, "1.1");
  EXPECT_EQ(p.sdkVersion, "VST 3.6.5");
  EXPECT_TRUE(p.hasInfoW);
  EXPECT_EQ(p.nameW, u"Orvane Compressor");

  const ClassRecord& c = module->classes()[1];
  EXPECT_EQ(c.cid, FUID(0x223071DC, 0xE0744ED6, 0xA01FBAB0, 0xED1B361E));
  EXPECT_EQ(c.cardinality, 0x7FFFFFFF);
  EXPECT_EQ(c.category, "Component Controller Class");
  EXPECT_EQ(c.name, "Orvane CompressorController");
  EXPECT_EQ(c.classFlags, 0u);
  EXPECT_EQ(c.subCategories, "");
  EXPECT_EQ(c.vendor, "");
  EXPECT_EQ(c.version, "1.1");
  EXPECT_EQ(c.sdkVersion, "VST 3.6.5");
}

TEST(CompressorFactory, EveryCallHandsOutTheSameFactory) {
  std::string error;
  auto module = Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  using GetFactory = IPluginFactory* (*)();
  auto get = reinterpret_cast<GetFactory>(module->symbol("GetPluginFactory"));
  ASSERT_TRUE(get);
  IPluginFactory* again = get();
  EXPECT_EQ(again, module->factory());
  EXPECT_EQ(again->countClasses(), 2); // not registered twice
  again->release();
}

TEST(CompressorFactory, ProcessorNamesItsController) {
  std::string error;
  auto module = Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  IComponent* component = nullptr;
  const FUID processorId(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);
  ASSERT_EQ(module->factory()->createInstance(processorId.toTUID(), IComponent::iid,
                                              reinterpret_cast<void**>(&component)),
            kResultOk);
  TUID controllerId{};
  EXPECT_EQ(component->getControllerClassId(controllerId), kResultOk);
  EXPECT_EQ(FUID(controllerId), module->classes()[1].cid);
  component->release();
}

// ---- Parameters as the host shows them ----------------------------------------------------

struct ShownParam {
  ParamID id;
  const char16_t* title;
  const char16_t* units;
  int32 stepCount;
  double defaultNormalized;
  bool automatable;
};

const ShownParam kShownParams[] = {
    {kInputGain, u"InputGain", u"dB", 0, 0.5, true},
    {kThreshold, u"Threshold", u"dB", 0, 1.0, true},
    {kRatio, u"Ratio", u"", 0, 0.0, true},
    {kAttack, u"Attack", u"s", 0, 0.5, true},
    {kRelease, u"Release", u"s", 0, 0.9 / 3.9, true},
    {kAutoRelease, u"AutoRelease", u"", 1, 1.0, true},
    {kMakeUpGain, u"MakeUpGain", u"dB", 0, 0.0, true},
    {kIOMetering, u"I/O Metering", u"", 1, 0.0, false},
    {kBlend, u"Blend", u"", 0, 1.0, true},
};

TEST(CompressorParameters, HostSeesTheNineParametersAndBypass) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(session) << error;
  const std::vector<ParameterInfo> infos = session->host().parameters();
  ASSERT_EQ(infos.size(), std::size(kShownParams) + 1); // no preset parameter: no presets
  for (size_t i = 0; i < std::size(kShownParams); ++i) {
    const ShownParam& want = kShownParams[i];
    const ParameterInfo& info = infos[i];
    SCOPED_TRACE(toUtf8(want.title));
    EXPECT_EQ(info.id, want.id);
    EXPECT_EQ(fieldText(info.title, 128), want.title);
    EXPECT_EQ(fieldText(info.units, 128), want.units);
    EXPECT_EQ(info.stepCount, want.stepCount);
    EXPECT_NEAR(info.defaultNormalizedValue, want.defaultNormalized, 1e-12);
    EXPECT_EQ((info.flags & ParameterInfo::kCanAutomate) != 0, want.automatable);
  }
  EXPECT_EQ(infos.back().id, 0x10000u);
  EXPECT_NE(infos.back().flags & ParameterInfo::kIsBypass, 0);
}

// The bundle's controller has its editor: "editor" gives a plug view of 920 x 315 points for
// an NSView parent; any other name gives none.
TEST(CompressorParameters, TheControllerOffersItsEditorView) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(session) << error;
  EXPECT_EQ(session->host().controller()->createView("inspector"), nullptr);
  IPlugView* view = session->host().controller()->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultTrue);
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 920);
  EXPECT_EQ(size.getHeight(), 315);
  view->release();
}

TEST(CompressorParameters, RatioKnobCoversOneSegmentPerFifth) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(session) << error;
  IEditController* controller = session->host().controller();
  const double points[][2] = {{0.0, 1.5}, {0.2, 2}, {0.4, 3}, {0.6, 5}, {0.8, 10}, {1.0, 50}};
  for (const auto& [normalized, ratio] : points) {
    EXPECT_NEAR(controller->plainParamToNormalized(kRatio, ratio), normalized, 1e-12);
    EXPECT_NEAR(controller->normalizedParamToPlain(kRatio, normalized), ratio, 1e-12);
  }
  EXPECT_NEAR(controller->normalizedParamToPlain(kRatio, 0.5), 4.0, 1e-12);
}

// ---- Processing ------------------------------------------------------------------------------

std::vector<std::vector<double>> Sine(double amplitude, size_t n, double hz = 1000.0) {
  std::vector<std::vector<double>> s(2, std::vector<double>(n));
  for (size_t i = 0; i < n; ++i) {
    s[0][i] = amplitude * std::sin(2 * M_PI * hz * double(i) / kRate);
    s[1][i] = 0.5 * s[0][i];
  }
  return s;
}

double PeakOfTail(const std::vector<double>& x, size_t tail) {
  double peak = 0;
  for (size_t i = x.size() - tail; i < x.size(); ++i)
    peak = std::max(peak, std::fabs(x[i]));
  return peak;
}

// Hard compression, so that every output sample differs from its input.
void Compress(CompressorSession& s) {
  s.setPlain(kThreshold, -50);
  s.setPlain(kRatio, 10);
  s.setPlain(kMakeUpGain, 6);
}

class CompressorProcessing : public ::testing::TestWithParam<int32> {};

// A host may feed one input buffer to several plug-ins: the plug-in must leave it alone.
TEST_P(CompressorProcessing, NeverWritesIntoTheHostsInputs) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error, GetParam());
  ASSERT_TRUE(session) << error;
  Compress(*session);
  Plugin& host = session->host();
  const int32 n = session->blockSize();
  for (int block = 0; block < 20; ++block) {
    std::vector<double> written(2 * size_t(n));
    for (int32 c = 0; c < 2; ++c) {
      for (int32 i = 0; i < n; ++i) {
        const double x = 0.9 * std::sin(0.05 * (block * n + i) + c);
        written[size_t(c * n + i)] = x;
        if (GetParam() == kSample64)
          host.input<double>(0, size_t(c))[i] = x;
        else
          host.input<float>(0, size_t(c))[i] = float(x);
      }
    }
    ASSERT_EQ(host.process(n), kResultOk);
    for (int32 c = 0; c < 2; ++c) {
      for (int32 i = 0; i < n; ++i) {
        const double kept = GetParam() == kSample64 ? host.input<double>(0, size_t(c))[i]
                                                    : host.input<float>(0, size_t(c))[i];
        const double x = written[size_t(c * n + i)];
        ASSERT_EQ(kept, GetParam() == kSample64 ? x : double(float(x)));
      }
    }
  }
  // And the outputs carry the compressed signal, not the input.
  const double out =
      GetParam() == kSample64 ? host.output<double>(0, 0)[n / 2] : host.output<float>(0, 0)[n / 2];
  const double in =
      GetParam() == kSample64 ? host.input<double>(0, 0)[n / 2] : host.input<float>(0, 0)[n / 2];
  EXPECT_NE(out, in);
}

INSTANTIATE_TEST_SUITE_P(SampleSizes, CompressorProcessing,
                         ::testing::Values(kSample32, kSample64));

// A host that passes one buffer as input and output (processing in place) gets exactly what
// separate buffers give.
TEST(CompressorProcessingBuffers, OneBufferForInputAndOutputMatchesSeparateBuffers) {
  std::string error;
  auto shared = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(shared) << error;
  auto separate = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(separate) << error;
  for (CompressorSession* s : {shared.get(), separate.get()}) {
    Compress(*s);
    s->host().process(0); // the parameter changes
  }
  const int32 n = 512;
  const auto signal = Sine(0.8, 40 * size_t(n), 440.0);
  std::vector<double> l(n), r(n), inL(n), inR(n), outL(n), outR(n);
  for (size_t pos = 0; pos < signal[0].size(); pos += size_t(n)) {
    std::copy_n(signal[0].data() + pos, n, l.data());
    std::copy_n(signal[1].data() + pos, n, r.data());
    inL = l;
    inR = r;
    double* inPlace[2] = {l.data(), r.data()};
    double* ins[2] = {inL.data(), inR.data()};
    double* outs[2] = {outL.data(), outR.data()};
    ASSERT_EQ(processBuffers(shared->host().processor(), inPlace, inPlace, 2, n), kResultOk);
    ASSERT_EQ(processBuffers(separate->host().processor(), ins, outs, 2, n), kResultOk);
    ASSERT_EQ(std::memcmp(l.data(), outL.data(), sizeof(double) * size_t(n)), 0) << pos;
    ASSERT_EQ(std::memcmp(r.data(), outR.data(), sizeof(double) * size_t(n)), 0) << pos;
  }
}

TEST(CompressorProcessingBuffers, BlendZeroReturnsTheInputBitForBit) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(session) << error;
  Compress(*session);
  session->setPlain(kInputGain, 12);
  session->setPlain(kBlend, 0);
  const auto in = Sine(0.7, 48000);
  const auto out = session->run(in);
  // The blend slews from 1 to 0 at 5 per second: after 0.2 s it rests at 0.
  for (size_t i = 12000; i < in[0].size(); ++i) {
    ASSERT_EQ(out[0][i], in[0][i]) << i;
    ASSERT_EQ(out[1][i], in[1][i]) << i;
  }
}

TEST(CompressorProcessingBuffers, HostBypassPassesTheInputThrough) {
  std::string error;
  auto session = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(session) << error;
  Compress(*session);
  session->host().setParameter(0x10000, 1.0);
  const auto in = Sine(0.7, 4096);
  const auto out = session->run(in);
  EXPECT_EQ(out, in);
}

// A non-finite sample (a broken upstream plug-in) may not leave the compressor broken: once
// the input is finite again the output is, and it settles where a fresh instance settles.
TEST(CompressorProcessingBuffers, RecoversFromNonFiniteInput) {
  std::string error;
  auto hit = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(hit) << error;
  auto fresh = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(fresh) << error;
  for (CompressorSession* s : {hit.get(), fresh.get()}) {
    s->setPlain(kThreshold, -40);
    s->setPlain(kRatio, 5);
    s->setPlain(kAutoRelease, 0);
    s->setPlain(kRelease, 0.1);
  }
  auto poisoned = Sine(0.5, 4096);
  poisoned[0][100] = std::numeric_limits<double>::quiet_NaN();
  poisoned[1][200] = std::numeric_limits<double>::infinity();
  poisoned[0][300] = -std::numeric_limits<double>::infinity();
  poisoned[1][400] = 1e300;
  hit->run(poisoned);

  const auto after = Sine(0.5, 96000);
  const auto outHit = hit->run(after);
  const auto outFresh = fresh->run(after);
  for (size_t c = 0; c < 2; ++c)
    for (double x : outHit[c])
      ASSERT_TRUE(std::isfinite(x));
  const double hitDb = 20 * std::log10(PeakOfTail(outHit[0], 4800));
  const double freshDb = 20 * std::log10(PeakOfTail(outFresh[0], 4800));
  EXPECT_NEAR(hitDb, freshDb, 0.01);
  EXPECT_LT(freshDb, 20 * std::log10(0.5) - 1.0); // it does compress
}

// ---- State ---------------------------------------------------------------------------------

struct PlainSetting {
  ParamID id;
  double plain;
};
const PlainSetting kNonDefaults[] = {
    {kInputGain, 3.5}, {kThreshold, -32.5}, {kRatio, 7.0},      {kAttack, 0.25}, {kRelease, 2.5},
    {kAutoRelease, 0}, {kMakeUpGain, 4.5},  {kIOMetering, 1.0}, {kBlend, 60.0},
};

TEST(CompressorState, RestoredSessionSoundsLikeTheSavedOne) {
  std::string error;
  auto saved = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(saved) << error;
  auto direct = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(direct) << error;
  for (const PlainSetting& s : kNonDefaults) {
    saved->setPlain(s.id, s.plain);
    direct->setPlain(s.id, s.plain);
  }
  saved->host().process(0);
  const auto processorState = saved->host().processorState();
  const auto controllerState = saved->host().controllerState();
  ASSERT_FALSE(processorState.empty());

  auto restored = CompressorSession::open(kBundle, error);
  ASSERT_TRUE(restored) << error;
  ASSERT_EQ(restored->host().restoreState(processorState, controllerState), kResultOk);
  for (const PlainSetting& s : kNonDefaults) {
    EXPECT_NEAR(restored->host().controller()->normalizedParamToPlain(
                    s.id, restored->host().parameter(s.id)),
                s.plain, 1e-9)
        << s.id;
  }
  const auto in = Sine(0.6, 24000, 300.0);
  EXPECT_EQ(restored->run(in), direct->run(in));
}

} // namespace
} // namespace compressor_test
