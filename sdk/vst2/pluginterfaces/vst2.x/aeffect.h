// The VST 2.4 binary interface, part 1: the effect record a plug-in hands to its host, the
// dispatcher opcodes of VST 1 and the host callback's first opcodes.
//
// Our own declaration of a published binary interface: plain C layout, little-endian x86-64
// (pointers and VstIntPtr 8 bytes, enums and VstInt32 4 bytes). Field order, sizes and opcode
// numbers must never change: hosts and plug-ins built by others rely on every byte.
#pragma once

#include <cstdint>

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstInt64 = int64_t;
using VstIntPtr = intptr_t;

#define VSTCALLBACK

struct AEffect;

// The host's callback: (effect, opcode, index, value, ptr, opt) -> answer. The effect is null
// for questions asked before the host holds one (the version query of the entry point).
using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index,
                                                   float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// 'VstP', the first word of every effect record.
inline constexpr VstInt32 kEffectMagic = 0x56737450;

// The version a 2.4 host answers to audioMasterVersion, and a 2.4 plug-in to effGetVstVersion.
inline constexpr VstInt32 kVstVersion = 2400;

// The effect record. The plug-in owns it; the host reads the counts and flags and calls
// through the function pointers. `object` points back at the plug-in's own effect object,
// `user` belongs to the host, resvd1 and resvd2 are the host's too and start at 0.
struct AEffect {
  VstInt32 magic;                   // kEffectMagic
  AEffectDispatcherProc dispatcher; // every opcode below
  AEffectProcessProc process;       // accumulating process of VST 1 (not used by 2.4 hosts)
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags; // VstAEffectFlags
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;  // latency in samples
  VstInt32 realQualities; // unused
  VstInt32 offQualities;  // unused
  float ioRatio;          // unused (1.0)
  void* object;           // the plug-in's effect object
  void* user;             // the host's
  VstInt32 uniqueID;      // four-character plug-in ID
  VstInt32 version;       // plug-in version
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

enum VstAEffectFlags : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1, // deprecated
  effFlagsHasVu = 1 << 2,   // deprecated
  effFlagsCanMono = 1 << 3, // deprecated
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,   // deprecated
  effFlagsExtHasBuffer = 1 << 11, // deprecated
  effFlagsCanDoubleReplacing = 1 << 12
};

// Dispatcher opcodes of VST 1 (index, value, ptr, opt as noted; 0 where unused).
enum AEffectOpcodes : VstInt32 {
  effOpen = 0,
  effClose = 1,      // the effect deletes itself
  effSetProgram = 2, // value: program
  effGetProgram = 3,
  effSetProgramName = 4,  // ptr: char[kVstMaxProgNameLen + 1]
  effGetProgramName = 5,  // ptr: char[kVstMaxProgNameLen + 1]
  effGetParamLabel = 6,   // index, ptr: text
  effGetParamDisplay = 7, // index, ptr: text
  effGetParamName = 8,    // index, ptr: text
  effGetVu = 9,           // deprecated
  effSetSampleRate = 10,  // opt: rate
  effSetBlockSize = 11,   // value: frames
  effMainsChanged = 12,   // value: 0 suspend, 1 resume
  effEditGetRect = 13,    // ptr: ERect**
  effEditOpen = 14,       // ptr: parent window
  effEditClose = 15,
  effEditDraw = 16,  // deprecated
  effEditMouse = 17, // deprecated
  effEditKey = 18,   // deprecated
  effEditIdle = 19,
  effEditTop = 20,   // deprecated
  effEditSleep = 21, // deprecated
  effIdentify = 22,  // deprecated
  effGetChunk = 23,  // index: 0 bank, 1 program; ptr: void**; returns the byte size
  effSetChunk = 24,  // index: 0 bank, 1 program; value: byte size; ptr: data
  effNumOpcodes
};

// Host callback opcodes of VST 1.
enum AudioMasterOpcodes : VstInt32 {
  audioMasterAutomate = 0, // index: parameter, opt: value
  audioMasterVersion = 1,  // answer: host's VST version (2400)
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,        // deprecated
  audioMasterPinConnected = 4 // deprecated
};
