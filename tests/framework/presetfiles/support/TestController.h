#pragma once

#include "framework/IFxController.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <string>
#include <vector>

// A controller as small as the framework allows, with one parameter of every kind, three
// presets and a fourth slot left empty, and a controller chunk that carries one word of its
// own (a colour), so that files are checked through the plug-in's own controller reader.
namespace presetfiles {

using namespace Steinberg;
using namespace Steinberg::Vst;

enum TestParam { kGain, kSteps, kMode, kMute, kMeter, kNumParams };

constexpr int kUniqueID = 0x6F765046;    // 'ovPF'
constexpr int kMakerID = 0x514E4D4B;     // 'QNMK'
constexpr int kEffectVersion = 0x010203; // decimal 10203
constexpr int kNPresets = 4;
extern const FUID kProcessorUID;

class TestController : public IFxController {
public:
  explicit TestController(int nPresets = kNPresets, bool fillPresets = true);

  bool SerializeState(KIT_HeapBuf& chunk) override;
  int UnserializeState(const KIT_HeapBuf& chunk, int pos) override;
  void OnParamChange(int paramIdx, int sampleOffset) override;
  void OnStateRestored() override;

  std::vector<double> Values() const;
  void SetValues(const std::vector<double>& values);

  int32_t colour = 7; // the controller's own state
  int hookCalls = 0;
  int statesRestored = 0;
};

class HostApp : public FObject, public IHostApplication {
public:
  tresult PLUGIN_API getName(String128 name) override;
  tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override;
  OBJ_METHODS(HostApp, FObject)
  FUNKNOWN_METHODS(IHostApplication, FObject)
};

// Records "begin 3", "perform 3 0.500000", "end 3", "group", "endgroup" and
// "programlist 65537 2".
class Handler : public FObject,
                public IComponentHandler,
                public IComponentHandler2,
                public IUnitHandler {
public:
  std::vector<std::string> calls;
  tresult PLUGIN_API beginEdit(ParamID id) override;
  tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override;
  tresult PLUGIN_API endEdit(ParamID id) override;
  tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
  tresult PLUGIN_API notifyUnitSelection(UnitID) override { return kResultOk; }
  tresult PLUGIN_API setDirty(TBool) override { return kResultOk; }
  tresult PLUGIN_API requestOpenEditor(FIDString) override { return kResultOk; }
  tresult PLUGIN_API startGroupEdit() override;
  tresult PLUGIN_API finishGroupEdit() override;
  tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) override;
  OBJ_METHODS(Handler, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IComponentHandler)
  DEF_INTERFACE(IComponentHandler2)
  DEF_INTERFACE(IUnitHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)
};

// A controller initialised by a host with a component handler, released at the end.
struct Rig {
  explicit Rig(int nPresets = kNPresets, bool fillPresets = true);
  ~Rig();
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  HostApp* host;
  Handler* handler;
  TestController* controller;
};

// Everything a refused file must leave as it was.
struct Snapshot {
  std::vector<double> values;
  std::vector<double> hostValues; // the host objects' normalised values
  std::vector<uint8_t> bank;
  std::vector<uint8_t> ctrlChunk;
  int currentPreset = 0;
  bool bypassed = false;
  size_t hostCalls = 0;
  int hookCalls = 0;
  int statesRestored = 0;

  bool operator==(const Snapshot&) const = default;
};
Snapshot TakeSnapshot(Rig& rig);

} // namespace presetfiles
