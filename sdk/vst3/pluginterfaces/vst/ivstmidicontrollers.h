// MIDI controller numbers a host maps onto parameters.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

// 0-127 are the MIDI control changes; aftertouch and pitch bend follow.
enum ControllerNumbers : int16 {
  kCtrlBankSelectMSB = 0,
  kCtrlModWheel = 1,
  kCtrlBreath = 2,
  kCtrlFoot = 4,
  kCtrlPortaTime = 5,
  kCtrlDataEntryMSB = 6,
  kCtrlVolume = 7,
  kCtrlBalance = 8,
  kCtrlPan = 10,
  kCtrlExpression = 11,
  kCtrlEffect1 = 12,
  kCtrlEffect2 = 13,
  kCtrlBankSelectLSB = 32,
  kCtrlSustainOnOff = 64,
  kCtrlAllSoundsOff = 120,
  kCtrlResetAllCtrlers = 121,
  kCtrlLocalCtrlOnOff = 122,
  kCtrlAllNotesOff = 123,
  kAfterTouch = 128,
  kPitchBend = 129,
  kCountCtrlNumber
};

} // namespace Vst
} // namespace Steinberg
