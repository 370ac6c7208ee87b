#pragma once

#include "framework/IFxController.h"
#include "tests/bareplugin/BarePluginIDs.h"

#include <cstdint>
#include <vector>

namespace bare {

// Presets "Unity" (every parameter at its default) and "Quiet" (gain -12 dB, mode "Hot"); a
// note name for middle C in the program list; records what the processor sends.
class BareController : public IFxController {
public:
  BareController();
  static Steinberg::FUnknown* Create(void* context);

  void OnParamChange(int paramIdx, int sampleOffset) override;
  bool GetMidiNoteText(int note, char* name) override;
  void OnMidiMsg(IMidiMsg* msg) override;
  void OnSysEx(ISysEx* sysex) override;
  void OnStateRestored() override;

  int hookCalls[kNumParams] = {};
  int statesRestored = 0;
  std::vector<IMidiMsg> midiFromProcessor;
  std::vector<std::vector<uint8_t>> sysExFromProcessor;
};

} // namespace bare
