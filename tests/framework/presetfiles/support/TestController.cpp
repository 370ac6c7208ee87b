#include "support/TestController.h"

#include "framework/ChunkIO.h"

#include <cstdio>

namespace presetfiles {

const FUID kProcessorUID(0x5A1B2C3D, 0x4E5F6071, 0x8293A4B5, 0xC6D7E8F9);

TestController::TestController(int nPresets, bool fillPresets)
    : IFxController(kProcessorUID, kNumParams, nPresets, "OrvanePF", "Orvane Preset Files",
                    "Orvane", "Fx|EQ", kEffectVersion, kUniqueID, kMakerID, 0, false, false, false,
                    kAPIVST3) {
  GetParam(kGain)->InitDouble("Gain", "dB", "Main", false, 0.0, -24.0, 12.0, 0.1);
  GetParam(kSteps)->InitInt("Steps", 4, 1, 8, "", "Main");
  GetParam(kMode)->InitEnum("Mode", 0, 3);
  GetParam(kMute)->InitBool("Mute", false);
  GetParam(kMeter)->InitDouble("Meter", "", "", true, 0.0, 0.0, 1.0, 0.001);
  if (!fillPresets)
    return;
  MakePreset("Flat", 0.0, 4, 0, 0, 0.0);
  MakePreset("Warm Tape", -3.5, 2, 1, 0, 0.0);
  MakePresetFromNamedParams("Loud", 2, kGain, 9.25, kMute, 1);
}

bool TestController::SerializeState(KIT_HeapBuf& chunk) {
  return IFxController::SerializeState(chunk) && ChunkPutInt32(chunk, colour);
}

int TestController::UnserializeState(const KIT_HeapBuf& chunk, int pos) {
  pos = IFxController::UnserializeState(chunk, pos);
  int32_t c = 0;
  pos = ChunkGetInt32(chunk, pos, &c);
  if (pos >= 0)
    colour = c;
  return pos;
}

void TestController::OnParamChange(int, int) {
  ++hookCalls;
}

void TestController::OnStateRestored() {
  ++statesRestored;
}

std::vector<double> TestController::Values() const {
  std::vector<double> v;
  for (int i = 0; i < NParams(); ++i)
    v.push_back(GetParam(i)->Value());
  return v;
}

void TestController::SetValues(const std::vector<double>& values) {
  for (int i = 0; i < NParams(); ++i)
    GetParam(i)->Set(values[size_t(i)]);
}

tresult PLUGIN_API HostApp::getName(String128 name) {
  const char16_t text[] = u"Preset File Host";
  for (size_t i = 0; i < std::size(text); ++i)
    name[i] = text[i];
  return kResultOk;
}

tresult PLUGIN_API HostApp::createInstance(TUID, TUID, void** obj) {
  *obj = nullptr;
  return kResultFalse;
}

tresult PLUGIN_API Handler::beginEdit(ParamID id) {
  calls.push_back("begin " + std::to_string(id));
  return kResultOk;
}

tresult PLUGIN_API Handler::performEdit(ParamID id, ParamValue value) {
  char text[64];
  std::snprintf(text, sizeof text, "perform %u %.6f", id, value);
  calls.push_back(text);
  return kResultOk;
}

tresult PLUGIN_API Handler::endEdit(ParamID id) {
  calls.push_back("end " + std::to_string(id));
  return kResultOk;
}

tresult PLUGIN_API Handler::startGroupEdit() {
  calls.push_back("group");
  return kResultOk;
}

tresult PLUGIN_API Handler::finishGroupEdit() {
  calls.push_back("endgroup");
  return kResultOk;
}

tresult PLUGIN_API Handler::notifyProgramListChange(ProgramListID listId, int32 programIndex) {
  calls.push_back("programlist " + std::to_string(listId) + " " + std::to_string(programIndex));
  return kResultOk;
}

Rig::Rig(int nPresets, bool fillPresets)
    : host(new HostApp), handler(new Handler),
      controller(new TestController(nPresets, fillPresets)) {
  controller->initialize(static_cast<IHostApplication*>(host));
  controller->setComponentHandler(static_cast<IComponentHandler*>(handler));
}

Rig::~Rig() {
  controller->setComponentHandler(nullptr);
  controller->terminate();
  controller->release();
  handler->release();
  host->release();
}

Snapshot TakeSnapshot(Rig& rig) {
  TestController& c = *rig.controller;
  Snapshot s;
  s.values = c.Values();
  for (int i = 0; i < c.NParams(); ++i)
    s.hostValues.push_back(c.getParameterObject(ParamID(i))->getNormalized());
  KIT_HeapBuf bank, ctrl;
  c.SerializePresets(bank);
  c.SerializeState(ctrl);
  s.bank.assign(bank.Bytes(), bank.Bytes() + bank.GetSize());
  s.ctrlChunk.assign(ctrl.Bytes(), ctrl.Bytes() + ctrl.GetSize());
  s.currentPreset = c.GetCurrentPresetIdx();
  s.bypassed = c.GetBypassed();
  s.hostCalls = rig.handler->calls.size();
  s.hookCalls = c.hookCalls;
  s.statesRestored = c.statesRestored;
  return s;
}

} // namespace presetfiles
