// Parameters through the wrapper: names, labels and display texts from the controller, the
// host's values read back at once, and indices outside the list refused.
#include "tests/vst2/passthrough/PassthroughVst2Fixture.h"

#include <cmath>
#include <cstring>

using namespace passthroughvst2;

TEST_F(PassthroughVst2, NamesLabelsAndDisplay) {
  plugin->open(48000, 256);
  EXPECT_EQ(plugin->parameterName(kGain), "Gain");
  EXPECT_EQ(plugin->parameterLabel(kGain), "dB");
  EXPECT_EQ(plugin->parameterDisplay(kGain), "0.0");
  EXPECT_EQ(plugin->parameterName(kInvert), "Invert");
  EXPECT_EQ(plugin->parameterDisplay(kInvert), "Off");

  // -6 dB is (−6 + 60) / 72 normalised.
  plugin->setParameter(kGain, float(54.0 / 72.0));
  EXPECT_EQ(plugin->parameterDisplay(kGain), "-6.0");
  plugin->setParameter(kInvert, 1.f);
  EXPECT_EQ(plugin->parameterDisplay(kInvert), "On");
}

TEST_F(PassthroughVst2, HostValuesReadBackAtOnceAndAreClamped) {
  plugin->setParameter(kGain, 0.125f);
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), 0.125f);
  plugin->setParameter(kGain, 7.f);
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), 1.f);
  plugin->setParameter(kGain, -1.f);
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), 0.f);
  plugin->setParameter(kGain, std::nanf(""));
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), 0.f);
}

TEST_F(PassthroughVst2, IndicesOutsideTheListAreRefused) {
  for (VstInt32 index : {-1, 2, 1000}) {
    plugin->setParameter(index, 0.5f);
    EXPECT_EQ(plugin->parameter(index), 0.f);
    EXPECT_EQ(plugin->parameterName(index), "");
    EXPECT_EQ(plugin->parameterDisplay(index), "");
    EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), 0);
    VstParameterProperties p{};
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, index, 0, &p), 0);
  }
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), float(60.0 / 72.0));
}

TEST_F(PassthroughVst2, PropertiesAndTextEntry) {
  VstParameterProperties p{};
  ASSERT_EQ(plugin->dispatch(effGetParameterProperties, kInvert, 0, &p), 1);
  EXPECT_STREQ(p.label, "Invert");
  EXPECT_TRUE(p.flags & kVstParameterIsSwitch);
  EXPECT_EQ(p.maxInteger, 1);
  ASSERT_EQ(plugin->dispatch(effGetParameterProperties, kGain, 0, &p), 1);
  EXPECT_FALSE(p.flags & kVstParameterIsSwitch);
  EXPECT_EQ(plugin->dispatch(effCanBeAutomated, kGain), 1);

  char text[] = "-12";
  EXPECT_EQ(plugin->dispatch(effString2Parameter, kGain, 0, text), 1);
  EXPECT_FLOAT_EQ(plugin->parameter(kGain), float(48.0 / 72.0));
}
