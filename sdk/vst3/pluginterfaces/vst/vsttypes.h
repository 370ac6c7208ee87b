// Scalar types of the VST 3 audio interfaces.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

// The interface version this layer presents; class records report it as their SDK version.
inline constexpr const char8* kVstVersionString = "VST 3.6.5";
inline constexpr int32 kVstVersionMajor = 3;
inline constexpr int32 kVstVersionMinor = 6;
inline constexpr int32 kVstVersionSub = 5;

using TChar = char16;
// A fixed UTF-16 text field of 128 units, terminator included.
using String128 = TChar[128];
using CString = const char8*;

using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ParamValue = double;
using ParamID = uint32;
using ProgramListID = int32;
using CtrlNumber = int16;
using TQuarterNotes = double;
using TSamples = int64;
using ColorSpec = uint32;

inline constexpr ParamID kNoParamId = 0xffffffff;

using Sample32 = float;
using Sample64 = double;
using SampleRate = double;

// One bit per speaker; see vstspeaker.h.
using SpeakerArrangement = uint64;
using Speaker = uint64;

} // namespace Vst
} // namespace Steinberg
