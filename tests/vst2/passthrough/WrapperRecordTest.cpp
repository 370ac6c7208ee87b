// The effect record and the identity the wrapper presents for a VST 3 plug-in, and its life
// from VSTPluginMain to after effClose.
#include "tests/vst2/passthrough/PassthroughVst2Fixture.h"

using namespace passthroughvst2;
using orvane::vst2host::HostOptions;

TEST_F(PassthroughVst2, RecordDescribesThePlugin) {
  const AEffect* e = plugin->effect();
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->uniqueID, kUniqueID);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->numParams, 2);
  EXPECT_EQ(e->numPrograms, 0); // the plug-in has no program list
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->flags & (effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks),
            effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks);
  // The controller offers an editor view: the host is offered the editor.
  EXPECT_EQ(e->flags & effFlagsHasEditor, effFlagsHasEditor);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
}

TEST_F(PassthroughVst2, NamesComeFromTheFactory) {
  EXPECT_EQ(plugin->effectName(), "Orvane Passthrough");
  EXPECT_EQ(plugin->productString(), "Orvane Passthrough");
  EXPECT_EQ(plugin->vendorString(), "Quenmark");
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect); // sub-category "Fx"
  EXPECT_EQ(plugin->dispatch(effGetVstVersion), kVstVersion);
  EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), -1); // no event bus
  EXPECT_EQ(plugin->canDo("bypass"), -1);
  EXPECT_EQ(plugin->canDo("somethingNobodyAsks"), 0);
}

TEST_F(PassthroughVst2, PinsAreOneStereoPair) {
  VstPinProperties pin{};
  ASSERT_EQ(plugin->dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.arrangementType, kSpeakerArrStereo);
  EXPECT_TRUE(pin.flags & kVstPinIsStereo);
  ASSERT_EQ(plugin->dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_FALSE(pin.flags & kVstPinIsStereo); // second of the pair
  EXPECT_EQ(plugin->dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(plugin->dispatch(effGetInputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(plugin->dispatch(effGetInputProperties, 0, 0, nullptr), 0);
}

// qtractor asks the category before effOpen and again after effClose.
TEST_F(PassthroughVst2, CategoryIsAnsweredBeforeOpenAndAfterClose) {
  const VstIntPtr before = plugin->plugCategory();
  plugin->open(48000, 256);
  plugin->resume();
  plugin->suspend();
  plugin->close();
  EXPECT_EQ(plugin->plugCategory(), before);
  // Everything else after close is answered harmlessly.
  EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
  EXPECT_EQ(plugin->dispatch(effClose), 0);
  EXPECT_EQ(plugin->parameter(0), 0.f);
  plugin->setParameter(0, 0.5f);
  plugin->output<float>(0)[0] = 1.f;
  plugin->process<float>(16);
  EXPECT_EQ(plugin->output<float>(0)[0], 0.f);
}

TEST(PassthroughVst2Entry, HostWithoutVersionGetsNoEffect) {
  std::string error;
  HostOptions options;
  options.version = 0;
  EXPECT_FALSE(orvane::vst2host::Vst2Plugin::load(kLibrary, error, options));
  EXPECT_EQ(error, "VSTPluginMain returned no effect");
}

TEST(PassthroughVst2Entry, InstancesAreIndependent) {
  auto a = load();
  auto b = load();
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->effect(), b->effect());
  a->setParameter(kGain, 0.25f);
  EXPECT_FLOAT_EQ(a->parameter(kGain), 0.25f);
  EXPECT_FLOAT_EQ(b->parameter(kGain), float(60.0 / 72.0));
}

TEST_F(PassthroughVst2, EditorOpcodesAreAnsweredSafely) {
  ERect* rect = reinterpret_cast<ERect*>(0x1);
  plugin->dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
  plugin->dispatch(effEditClose);
  plugin->editIdle();
  plugin->idle();
  EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, nullptr), 0);
}
