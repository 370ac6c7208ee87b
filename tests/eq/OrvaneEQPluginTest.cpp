// Both halves of the equaliser made in process and connected directly, with a host of the
// SDK's hosting classes: the host's buffers, mono and stereo, the "GAIN" message from the
// processor's timer to the controller's meter, the controller's messages and bypass, and the
// factory presets.
#include "Projects/eq/OrvaneEQController.h"
#include "Projects/eq/OrvaneEQDsp.h"
#include "Projects/eq/OrvaneEQParams.h"
#include "Projects/eq/OrvaneEQProcessor.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

struct FactoryBlob {
  const char* name;
  const char* base64;
  double values[13];
};

#include "factory_blobs.inc"

class HostApp : public FObject, public IHostApplication {
public:
  tresult PLUGIN_API getName(String128 name) override {
    const char16_t text[] = u"EQ Test Host";
    std::copy(std::begin(text), std::end(text), name);
    return kResultOk;
  }
  tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override {
    *obj = nullptr;
    if (FUID::fromTUID(cid) == IMessage::iid && FUID::fromTUID(iid) == IMessage::iid) {
      *obj = static_cast<IMessage*>(new HostMessage());
      return kResultOk;
    }
    return kResultFalse;
  }
  OBJ_METHODS(HostApp, FObject)
  FUNKNOWN_METHODS(IHostApplication, FObject)
};

// Every stage engaged.
constexpr double kEngaged[kNumOrvaneEQParams] = {80,  90,  4.5,  400,  -6,    1.2, 3000,
                                                 5.0, 2.2, 8000, -3.0, 12000, -4.0};

std::vector<double> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> v(n);
  for (double& x : v) {
    x = dist(rng);
  }
  return v;
}

class EqRig : public ::testing::Test {
protected:
  EqRig() {
    processor->initialize(static_cast<IHostApplication*>(host));
    controller->initialize(static_cast<IHostApplication*>(host));
    processor->connect(controller);
    controller->connect(processor);
  }
  ~EqRig() override {
    if (active) {
      processor->setProcessing(false);
      processor->setActive(false);
    }
    data.unprepare();
    processor->disconnect(controller);
    controller->disconnect(processor);
    controller->terminate();
    processor->terminate();
    controller->release();
    processor->release();
    host->release();
  }

  void Activate(SpeakerArrangement arrangement, int32 sampleSize, int32 maxBlock = 512) {
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(processor->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultTrue);
    processor->activateBus(kAudio, kInput, 0, true);
    processor->activateBus(kAudio, kOutput, 0, true);
    ASSERT_TRUE(data.prepare(*processor, maxBlock, sampleSize));
    data.inputParameterChanges = &inChanges;
    data.outputParameterChanges = &outChanges;
    data.inputEvents = &inEvents;
    data.outputEvents = &outEvents;
    ASSERT_EQ(processor->setActive(true), kResultOk);
    processor->setProcessing(true);
    active = true;
  }

  // Values as the host sends them: normalised, in the next block's queue.
  void QueueParams(const double (&plain)[kNumOrvaneEQParams]) {
    for (int i = 0; i < kNumOrvaneEQParams; ++i) {
      int32 index = 0;
      IParamValueQueue* queue = inChanges.addParameterData(ParamID(i), index);
      queue->addPoint(0, controller->plainParamToNormalized(ParamID(i), plain[i]), index);
    }
  }

  tresult Process(int32 n) {
    data.numSamples = n;
    outChanges.clearQueue();
    const tresult result = processor->process(data);
    inChanges.clearQueue();
    return result;
  }

  HostApp* host = new HostApp;
  OrvaneEQProcessor* processor = new OrvaneEQProcessor;
  OrvaneEQController* controller = new OrvaneEQController;
  HostProcessData data;
  ParameterChanges inChanges{kNumOrvaneEQParams}, outChanges{kNumOrvaneEQParams};
  EventList inEvents, outEvents;
  bool active = false;
};

// A processor of its own, set up as a host sets it up, with every stage engaged by the first
// block's parameter queue. `shareBuffers` hands one buffer per channel for input and output.
struct LoneProcessor {
  LoneProcessor(IHostApplication* host, IEditController& controller, SpeakerArrangement arrangement,
                int32 sampleSize, bool shareBuffers = false) {
    eq->initialize(host);
    ProcessSetup setup{kRealtime, sampleSize, 512, 48000.0};
    eq->setupProcessing(setup);
    arranged = eq->setBusArrangements(&arrangement, 1, &arrangement, 1) == kResultTrue;
    eq->activateBus(kAudio, kInput, 0, true);
    eq->activateBus(kAudio, kOutput, 0, true);
    prepared = data.prepare(*eq, 512, sampleSize);
    const int channels = arrangement == SpeakerArr::kStereo ? 2 : 1;
    if (prepared && shareBuffers) {
      for (int c = 0; c < channels; ++c) {
        std::swap(original[c], data.outputs[0].channelBuffers64[c]);
        data.outputs[0].channelBuffers64[c] = data.inputs[0].channelBuffers64[c];
      }
    }
    for (int i = 0; i < kNumOrvaneEQParams; ++i) {
      int32 index = 0;
      changes.addParameterData(ParamID(i), index)
          ->addPoint(0, controller.plainParamToNormalized(ParamID(i), kEngaged[i]), index);
    }
    data.inputParameterChanges = &changes;
    eq->setActive(true);
    eq->setProcessing(true);
  }
  ~LoneProcessor() {
    eq->setProcessing(false);
    eq->setActive(false);
    for (int c = 0; c < 2; ++c) {
      if (original[c]) {
        data.outputs[0].channelBuffers64[c] = original[c]; // prepare()'s own, to be freed
      }
    }
    data.unprepare();
    eq->terminate();
    eq->release();
  }
  tresult Process(int32 n) {
    data.numSamples = n;
    const tresult result = eq->process(data);
    changes.clearQueue();
    return result;
  }

  OrvaneEQProcessor* eq = new OrvaneEQProcessor;
  HostProcessData data;
  ParameterChanges changes{kNumOrvaneEQParams};
  double* original[2] = {};
  bool arranged = false;
  bool prepared = false;
};

// The DSP the processor should match, fed the values the processor holds.
void MatchSettings(OrvaneEQDsp& dsp, const OrvaneEQProcessor& processor) {
  dsp.SetSampleRate(48000.0);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    dsp.ApplyParam(i, processor.GetParam(i)->Value());
  }
}

// 64-bit hosts hand their own buffers through; one buffer for input and output must give the
// same sound as two, and separate inputs stay as the host wrote them.
TEST_F(EqRig, HostBuffersSharedOrSeparateSoundTheSame) {
  LoneProcessor separate(host, *controller, SpeakerArr::kStereo, kSample64);
  LoneProcessor shared(host, *controller, SpeakerArr::kStereo, kSample64, true);
  ASSERT_TRUE(separate.prepared && shared.prepared);
  for (int block = 0; block < 4; ++block) {
    const std::vector<double> left = Noise(512, 1 + block), right = Noise(512, 11 + block);
    for (LoneProcessor* p : {&separate, &shared}) {
      std::copy(left.begin(), left.end(), p->data.inputs[0].channelBuffers64[0]);
      std::copy(right.begin(), right.end(), p->data.inputs[0].channelBuffers64[1]);
      ASSERT_EQ(p->Process(512), kResultOk);
    }
    double** in = separate.data.inputs[0].channelBuffers64;
    EXPECT_TRUE(std::equal(left.begin(), left.end(), in[0]));
    EXPECT_TRUE(std::equal(right.begin(), right.end(), in[1]));
    for (int c = 0; c < 2; ++c) {
      const double* a = separate.data.outputs[0].channelBuffers64[c];
      const double* b = shared.data.outputs[0].channelBuffers64[c];
      EXPECT_TRUE(std::equal(a, a + 512, b)) << "block " << block << " channel " << c;
      EXPECT_FALSE(std::equal(a, a + 512, c ? right.begin() : left.begin()));
    }
  }
}

// 32-bit stereo and mono blocks come out as the DSP makes them from the widened samples; a
// mono bus filters and meters channel 0 alone.
TEST_F(EqRig, StereoAndMonoBlocksAreTheDspsSound) {
  for (SpeakerArrangement arrangement : {SpeakerArr::kStereo, SpeakerArr::kMono}) {
    const int channels = arrangement == SpeakerArr::kStereo ? 2 : 1;
    SCOPED_TRACE(channels);
    LoneProcessor lone(host, *controller, arrangement, kSample32);
    ASSERT_TRUE(lone.arranged && lone.prepared);
    OrvaneEQDsp reference;
    for (int block = 0; block < 6; ++block) {
      std::vector<std::vector<double>> x(2);
      for (int c = 0; c < channels; ++c) {
        const std::vector<double> noise = Noise(512, 10 * block + c);
        for (int i = 0; i < 512; ++i) {
          lone.data.inputs[0].channelBuffers32[c][i] = static_cast<float>(noise[i]);
          x[c].push_back(static_cast<float>(noise[i]));
        }
      }
      ASSERT_EQ(lone.Process(512), kResultOk);
      if (block == 0) {
        MatchSettings(reference, *lone.eq);
      }
      const double* in[2] = {x[0].data(), x[1].data()};
      double* out[2] = {x[0].data(), x[1].data()};
      reference.Process(in, out, channels, 512);
      for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < 512; ++i) {
          ASSERT_EQ(lone.data.outputs[0].channelBuffers32[c][i], static_cast<float>(x[c][i]))
              << "block " << block << " channel " << c << " sample " << i;
        }
      }
    }
    EXPECT_EQ(lone.eq->Dsp().MeterCounter(), reference.MeterCounter());
    EXPECT_EQ(lone.eq->Dsp().MeterValue(), reference.MeterValue());
  }
}

// The timer tick sends the meter reading; the controller's meter follows it, and drops to 0
// whatever arrives while the host bypasses the plug-in.
TEST_F(EqRig, TimerSendsTheMeterToTheController) {
  Activate(SpeakerArr::kStereo, kSample32);
  for (int block = 0; block < 8; ++block) {
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < 512; ++i) {
        data.inputs[0].channelBuffers32[c][i] =
            static_cast<float>(0.5 * std::sin(2 * M_PI * 1000.0 * (block * 512 + i) / 48000.0));
      }
    }
    ASSERT_EQ(Process(512), kResultOk);
  }
  const double meter = processor->Dsp().MeterValue();
  EXPECT_NEAR(meter, 20 * std::log10(0.5) / 60 + 1, 0.01); // the flat default EQ
  EXPECT_EQ(controller->MeterValue(), 0.0);
  processor->onTimer(nullptr);
  EXPECT_EQ(controller->MeterValue(), meter);

  controller->setParamNormalized(0x10000, 1.0); // the host's bypass
  processor->onTimer(nullptr);
  EXPECT_EQ(controller->MeterValue(), 0.0);
}

IMessage* MakeMessage(const char* id) {
  auto* message = new HostMessage();
  message->setMessageID(id);
  return message;
}

TEST_F(EqRig, ControllerHandlesOnlyTheGainMessage) {
  IMessage* gain = MakeMessage("GAIN");
  gain->getAttributes()->setFloat("GAIN", 0.75);
  EXPECT_TRUE(controller->OnMessage(gain));
  EXPECT_EQ(controller->MeterValue(), 0.75);

  IMessage* unreadable = MakeMessage("GAIN");
  unreadable->getAttributes()->setInt("GAIN", 1); // not a float
  EXPECT_FALSE(controller->OnMessage(unreadable));
  IMessage* foreign = MakeMessage("Other");
  foreign->getAttributes()->setFloat("GAIN", 0.25);
  EXPECT_FALSE(controller->OnMessage(foreign));
  EXPECT_EQ(controller->MeterValue(), 0.75);

  controller->setParamNormalized(0x10000, 1.0);
  EXPECT_FALSE(controller->OnMessage(foreign));
  EXPECT_EQ(controller->MeterValue(), 0.0);
  EXPECT_TRUE(controller->OnMessage(gain));
  EXPECT_EQ(controller->MeterValue(), 0.0);
  controller->setParamNormalized(0x10000, 0.0);
  EXPECT_TRUE(controller->OnMessage(gain));
  EXPECT_EQ(controller->MeterValue(), 0.75);
  for (IMessage* m : {gain, unreadable, foreign}) {
    m->release();
  }
}

TEST_F(EqRig, FactoryPresetsLoadTheirValues) {
  ASSERT_EQ(controller->NPresets(), 9);
  EXPECT_STREQ(controller->GetPresetName(0), "Default");
  for (int p = 0; p < 8; ++p) {
    const FactoryBlob& expected = kFactoryBlobs[p];
    SCOPED_TRACE(expected.name);
    EXPECT_STREQ(controller->GetPresetName(p + 1), expected.name);
    ASSERT_TRUE(controller->RestorePreset(p + 1));
    for (int i = 0; i < kNumOrvaneEQParams; ++i) {
      EXPECT_EQ(controller->GetParam(i)->Value(), expected.values[i]) << i;
    }
  }
  // "DRUM Snare" carries a high-shelf gain of 7.10543e-15 dB, shown as 0.0.
  ASSERT_TRUE(controller->RestorePresetByName("DRUM Snare"));
  char display[128];
  controller->GetParam(kHiShelfGain)->GetDisplayForHost(display);
  EXPECT_STREQ(display, "0.0");
  // "Default" brings every parameter back to its default.
  ASSERT_TRUE(controller->RestorePreset(0));
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    EXPECT_EQ(controller->GetParam(i)->Value(), kOrvaneEQParamSpecs[i].defaultValue);
  }
}

} // namespace
