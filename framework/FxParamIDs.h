#pragma once

#include <cstdint>

// Host parameter IDs beside the plug-in's own parameters (0 .. NParams - 1). Saved projects
// and host automation refer to them: they never change.
enum EFxParamID : uint32_t {
  kFxBypassParamID = 0x10000,
  kFxPresetParamID = 0x10001, // also the ID of the "Factory Presets" program list
  // First MIDI controller parameter: + channel x 130 + controller (0-127 control changes, 128
  // channel aftertouch, 129 pitch bend), channels 0-15.
  kFxMidiCCParamBase = 0x10002,
  kFxMidiCCsPerChannel = 130,
  kFxMidiChannels = 16
};
