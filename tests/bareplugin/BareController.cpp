#include "tests/bareplugin/BareController.h"

#include "tests/bareplugin/BareParams.h"

#include <cstring>

namespace bare {

BareController::BareController()
    : IFxController(kProcessorUID, kNumParams, kNPresets, "OrvaneBare", "Orvane Bare", "Orvane",
                    "Fx", kEffectVersion, kUniqueID, kMakerID, kLatency, true, true, false,
                    kAPIVST3) {
  InitParams(*this);
  // Gain, freq, mix (doubles), mute, steps, mode (ints), meter (double).
  MakePreset("Unity", 0.0, 1000.0, 100.0, 0, 4, 0, 0.0);
  MakePresetFromNamedParams("Quiet", 2, kGain, -12.0, kMode, 2);
}

Steinberg::FUnknown* BareController::Create(void*) {
  return static_cast<Steinberg::Vst::IEditController*>(new BareController());
}

void BareController::OnParamChange(int idx, int) {
  if (idx >= 0 && idx < kNumParams)
    ++hookCalls[idx];
}

bool BareController::GetMidiNoteText(int note, char* name) {
  if (note != 60)
    return IFxController::GetMidiNoteText(note, name);
  std::strcpy(name, "Middle C");
  return true;
}

void BareController::OnMidiMsg(IMidiMsg* msg) {
  midiFromProcessor.push_back(*msg);
}

void BareController::OnSysEx(ISysEx* sysex) {
  sysExFromProcessor.emplace_back(sysex->data, sysex->data + sysex->size);
}

void BareController::OnStateRestored() {
  ++statesRestored;
}

} // namespace bare
