#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"
#include "tests/bareplugin/BareController.h"
#include "tests/bareplugin/BareProcessor.h"

#include <string>
#include <utility>
#include <vector>

// Both halves of the bare plug-in made directly, with a host of hand-made objects built from
// the SDK's hosting classes, whose containers are sized before processing so that the host side
// of a process call allocates nothing either.
namespace inprocess {

using namespace Steinberg;
using namespace Steinberg::Vst;

class HostApp : public FObject, public IHostApplication {
public:
  tresult PLUGIN_API getName(String128 name) override;
  tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override;
  OBJ_METHODS(HostApp, FObject)
  FUNKNOWN_METHODS(IHostApplication, FObject)
};

// Records edits as "begin 3", "perform 3 0.5", "end 3", "group", "endgroup", "restart 8".
class Handler : public FObject, public IComponentHandler, public IComponentHandler2 {
public:
  std::vector<std::string> calls;
  // The performed edits with their exact values, in order.
  std::vector<std::pair<ParamID, ParamValue>> edits;
  tresult PLUGIN_API beginEdit(ParamID id) override;
  tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override;
  tresult PLUGIN_API endEdit(ParamID id) override;
  tresult PLUGIN_API restartComponent(int32 flags) override;
  tresult PLUGIN_API setDirty(TBool) override { return kResultOk; }
  tresult PLUGIN_API requestOpenEditor(FIDString) override { return kResultOk; }
  tresult PLUGIN_API startGroupEdit() override;
  tresult PLUGIN_API finishGroupEdit() override;
  OBJ_METHODS(Handler, FObject)
  FUNKNOWN_METHODS2(IComponentHandler, IComponentHandler2, FObject)
};

struct Rig {
  Rig();
  ~Rig();
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  // setupProcessing, bus arrangements (stereo), setActive; the process record gets buffers.
  void Activate(int32 sampleSize, int32 maxBlock, double rate = 48000.0);
  void Deactivate();
  // One block of numSamples with the changes and events queued so far (cleared after).
  tresult Process(int32 numSamples);

  float* In32(int c) { return data.inputs[0].channelBuffers32[c]; }
  float* Out32(int c) { return data.outputs[0].channelBuffers32[c]; }
  double* In64(int c) { return data.inputs[0].channelBuffers64[c]; }
  double* Out64(int c) { return data.outputs[0].channelBuffers64[c]; }

  HostApp* host;
  Handler* handler;
  bare::BareProcessor* processor;
  bare::BareController* controller;
  HostProcessData data;
  ParameterChanges inChanges{64, 16};
  ParameterChanges outChanges{64, 16};
  EventList inEvents{64};
  EventList outEvents{64};
  int32 sampleSize = kSample32;
  bool active = false;
};

// A state blob as the processor writes it.
std::vector<uint8_t> GetState(IComponent& component);
tresult SetState(IComponent& component, const std::vector<uint8_t>& bytes);

} // namespace inprocess
