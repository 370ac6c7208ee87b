// The VST 2.4 binary interface, part 2: the opcodes VST 2 added on both sides, events, time
// information, pin and parameter properties, speaker arrangements, categories and limits.
// Layouts as in aeffect.h: little-endian x86-64, never to change.
#pragma once

#include "pluginterfaces/vst2.x/aeffect.h"

// ---- string limits (characters, the terminator not counted) ----
enum Vst2StringConstants : VstInt32 {
  kVstMaxProgNameLen = 24,
  kVstMaxParamStrLen = 8,
  kVstMaxVendorStrLen = 64,
  kVstMaxProductStrLen = 64,
  kVstMaxEffectNameLen = 32,
  kVstMaxNameLen = 64,
  kVstMaxLabelLen = 64,
  kVstMaxShortLabelLen = 8,
  kVstMaxCategLabelLen = 24,
  kVstMaxFileNameLen = 100
};

// ---- host callback opcodes of VST 2 ----
enum AudioMasterOpcodesX : VstInt32 {
  audioMasterWantMidi = 6,      // deprecated
  audioMasterGetTime = 7,       // value: VstTimeInfoFlags wanted; answer VstTimeInfo*
  audioMasterProcessEvents = 8, // ptr: VstEvents*
  audioMasterSetTime = 9,       // deprecated
  audioMasterTempoAt = 10,      // deprecated
  audioMasterGetNumAutomatableParameters = 11, // deprecated
  audioMasterGetParameterQuantization = 12,    // deprecated
  audioMasterIOChanged = 13,                   // counts, flags or latency changed
  audioMasterNeedIdle = 14,                    // deprecated
  audioMasterSizeWindow = 15,                  // index: width, value: height
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetInputLatency = 18,
  audioMasterGetOutputLatency = 19,
  audioMasterGetPreviousPlug = 20,         // deprecated
  audioMasterGetNextPlug = 21,             // deprecated
  audioMasterWillReplaceOrAccumulate = 22, // deprecated
  audioMasterGetCurrentProcessLevel = 23,  // answer VstProcessLevels
  audioMasterGetAutomationState = 24,      // answer VstAutomationStates
  audioMasterOfflineStart = 25,
  audioMasterOfflineRead = 26,
  audioMasterOfflineWrite = 27,
  audioMasterOfflineGetCurrentPass = 28,
  audioMasterOfflineGetCurrentMetaPass = 29,
  audioMasterSetOutputSampleRate = 30,         // deprecated
  audioMasterGetOutputSpeakerArrangement = 31, // deprecated
  audioMasterGetVendorString = 32,             // ptr: char[kVstMaxVendorStrLen + 1]
  audioMasterGetProductString = 33,            // ptr: char[kVstMaxProductStrLen + 1]
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterSetIcon = 36, // deprecated
  audioMasterCanDo = 37,   // ptr: text
  audioMasterGetLanguage = 38,
  audioMasterOpenWindow = 39,  // deprecated
  audioMasterCloseWindow = 40, // deprecated
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43, // index: parameter
  audioMasterEndEdit = 44,   // index: parameter
  audioMasterOpenFileSelector = 45,
  audioMasterCloseFileSelector = 46,
  audioMasterEditFile = 47,                  // deprecated
  audioMasterGetChunkFile = 48,              // deprecated
  audioMasterGetInputSpeakerArrangement = 49 // deprecated
};

// ---- dispatcher opcodes of VST 2 ----
enum AEffectXOpcodes : VstInt32 {
  effProcessEvents = effSetChunk + 1, // 25, ptr: VstEvents*
  effCanBeAutomated = 26,             // index
  effString2Parameter = 27,           // index, ptr: text
  effGetNumProgramCategories = 28,    // deprecated
  effGetProgramNameIndexed = 29,      // index: program, ptr: char[kVstMaxProgNameLen + 1]
  effCopyProgram = 30,                // deprecated
  effConnectInput = 31,               // deprecated
  effConnectOutput = 32,              // deprecated
  effGetInputProperties = 33,         // index, ptr: VstPinProperties*
  effGetOutputProperties = 34,        // index, ptr: VstPinProperties*
  effGetPlugCategory = 35,            // answer VstPlugCategory
  effGetCurrentPosition = 36,         // deprecated
  effGetDestinationBuffer = 37,       // deprecated
  effOfflineNotify = 38,
  effOfflinePrepare = 39,
  effOfflineRun = 40,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,     // value: VstSpeakerArrangement* in, ptr: out
  effSetBlockSizeAndSampleRate = 43, // deprecated
  effSetBypass = 44,                 // value: on/off
  effGetEffectName = 45,             // ptr: char[kVstMaxEffectNameLen + 1]
  effGetErrorText = 46,              // deprecated
  effGetVendorString = 47,           // ptr: char[kVstMaxVendorStrLen + 1]
  effGetProductString = 48,          // ptr: char[kVstMaxProductStrLen + 1]
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,                  // ptr: text; answer 1 yes, -1 no, 0 don't know
  effGetTailSize = 52,            // answer: samples (1 no tail, 0 unknown)
  effIdle = 53,                   // deprecated: idle call of hosts that still send it
  effGetIcon = 54,                // deprecated
  effSetViewPosition = 55,        // deprecated
  effGetParameterProperties = 56, // index, ptr: VstParameterProperties*
  effKeysRequired = 57,           // deprecated
  effGetVstVersion = 58,
  effEditKeyDown = 59, // index: ASCII, value: virtual key, opt: modifiers
  effEditKeyUp = 60,
  effSetEditKnobMode = 61, // value: knob mode
  effGetMidiProgramName = 62,
  effGetCurrentMidiProgram = 63,
  effGetMidiProgramCategory = 64,
  effHasMidiProgramsChanged = 65,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69, // value: VstSpeakerArrangement** in, ptr: ** out
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetTotalSampleToProcess = 73, // value: frames
  effSetPanLaw = 74,               // value: law, opt: gain
  effBeginLoadBank = 75,           // ptr: VstPatchChunkInfo*
  effBeginLoadProgram = 76,        // ptr: VstPatchChunkInfo*
  effSetProcessPrecision = 77,     // value: VstProcessPrecision
  effGetNumMidiInputChannels = 78,
  effGetNumMidiOutputChannels = 79
};

// ---- events ----
enum VstEventTypes : VstInt32 {
  kVstMidiType = 1,
  kVstAudioType = 2,     // deprecated
  kVstVideoType = 3,     // deprecated
  kVstParameterType = 4, // deprecated
  kVstTriggerType = 5,   // deprecated
  kVstSysExType = 6
};

// The common head of every event; byteSize counts the bytes after the first 8.
struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames; // sample offset in the next block
  VstInt32 flags;
  char data[16];
};

// The events of the next block; the host sizes the array to numEvents (the 2 is the
// declaration's minimum).
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

enum VstMidiEventFlags : VstInt32 { kVstMidiEventIsRealtime = 1 << 0 };

struct VstMidiEvent {
  VstInt32 type; // kVstMidiType
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;      // VstMidiEventFlags
  VstInt32 noteLength; // in sample frames, 0 when unknown
  VstInt32 noteOffset;
  char midiData[4]; // status, data 1, data 2, 0
  char detune;      // -64 .. +63 cents (note on)
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct VstMidiSysexEvent {
  VstInt32 type; // kVstSysExType
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes; // size of sysexDump
  VstIntPtr resvd1;
  char* sysexDump; // F0 ... F7, owned by the sender
  VstIntPtr resvd2;
};

// ---- time information (audioMasterGetTime) ----
enum VstTimeInfoFlags : VstInt32 {
  kVstTransportChanged = 1 << 0,
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstTransportRecording = 1 << 3,
  kVstAutomationWriting = 1 << 6,
  kVstAutomationReading = 1 << 7,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
  kVstSmpteValid = 1 << 14,
  kVstClockValid = 1 << 15
};

enum VstSmpteFrameRate : VstInt32 {
  kVstSmpte24fps = 0,
  kVstSmpte25fps = 1,
  kVstSmpte2997fps = 2,
  kVstSmpte30fps = 3,
  kVstSmpte2997dfps = 4,
  kVstSmpte30dfps = 5,
  kVstSmpteFilm16mm = 6,
  kVstSmpteFilm35mm = 7,
  kVstSmpte239fps = 10,
  kVstSmpte249fps = 11,
  kVstSmpte599fps = 12,
  kVstSmpte60fps = 13
};

struct VstTimeInfo {
  double samplePos;          // always valid
  double sampleRate;         // always valid
  double nanoSeconds;        // kVstNanosValid
  double ppqPos;             // kVstPpqPosValid: quarter notes
  double tempo;              // kVstTempoValid: BPM
  double barStartPos;        // kVstBarsValid: quarter notes of the last bar start
  double cycleStartPos;      // kVstCyclePosValid
  double cycleEndPos;        // kVstCyclePosValid
  VstInt32 timeSigNumerator; // kVstTimeSigValid
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;        // kVstSmpteValid: subframes (1/80 of a frame)
  VstInt32 smpteFrameRate;     // VstSmpteFrameRate
  VstInt32 samplesToNextClock; // kVstClockValid: to the next 24 ppq MIDI clock
  VstInt32 flags;              // VstTimeInfoFlags
};

enum VstProcessLevels : VstInt32 {
  kVstProcessLevelUnknown = 0,
  kVstProcessLevelUser = 1,
  kVstProcessLevelRealtime = 2,
  kVstProcessLevelPrefetch = 3,
  kVstProcessLevelOffline = 4
};

enum VstAutomationStates : VstInt32 {
  kVstAutomationUnsupported = 0,
  kVstAutomationOff = 1,
  kVstAutomationRead = 2,
  kVstAutomationWrite = 3,
  kVstAutomationReadWrite = 4
};

enum VstProcessPrecision : VstInt32 { kVstProcessPrecision32 = 0, kVstProcessPrecision64 = 1 };

// ---- plug-in categories (effGetPlugCategory) ----
enum VstPlugCategory : VstInt32 {
  kPlugCategUnknown = 0,
  kPlugCategEffect,
  kPlugCategSynth,
  kPlugCategAnalysis,
  kPlugCategMastering,
  kPlugCategSpacializer,
  kPlugCategRoomFx,
  kPlugSurroundFx,
  kPlugCategRestoration,
  kPlugCategOfflineProcess,
  kPlugCategShell,
  kPlugCategGenerator,
  kPlugCategMaxCount
};

// ---- editor rectangle (effEditGetRect) ----
struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};

// ---- pins (effGetInputProperties, effGetOutputProperties) ----
enum VstPinPropertiesFlags : VstInt32 {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1, // first pin of a stereo pair
  kVstPinUseSpeaker = 1 << 2
};

struct VstPinProperties {
  char label[kVstMaxLabelLen];
  VstInt32 flags;           // VstPinPropertiesFlags
  VstInt32 arrangementType; // VstSpeakerArrangementType
  char shortLabel[kVstMaxShortLabelLen];
  char future[48];
};

// ---- parameter properties (effGetParameterProperties) ----
enum VstParameterFlags : VstInt32 {
  kVstParameterIsSwitch = 1 << 0,
  kVstParameterUsesIntegerMinMax = 1 << 1,
  kVstParameterUsesFloatStep = 1 << 2,
  kVstParameterUsesIntStep = 1 << 3,
  kVstParameterSupportsDisplayIndex = 1 << 4,
  kVstParameterSupportsDisplayCategory = 1 << 5,
  kVstParameterCanRamp = 1 << 6
};

struct VstParameterProperties {
  float stepFloat;
  float smallStepFloat;
  float largeStepFloat;
  char label[kVstMaxLabelLen];
  VstInt32 flags; // VstParameterFlags
  VstInt32 minInteger;
  VstInt32 maxInteger;
  VstInt32 stepInteger;
  VstInt32 largeStepInteger;
  char shortLabel[kVstMaxShortLabelLen];
  VstInt16 displayIndex;
  VstInt16 category;
  VstInt16 numParametersInCategory;
  VstInt16 reserved;
  char categoryLabel[kVstMaxCategLabelLen];
  char future[16];
};

// ---- speaker arrangements (effSetSpeakerArrangement, effGetSpeakerArrangement) ----
enum VstSpeakerArrangementType : VstInt32 {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[kVstMaxNameLen];
  VstInt32 type;
  char future[28];
};

// The host sizes the speaker array to numChannels (8 is the declaration's default).
struct VstSpeakerArrangement {
  VstInt32 type; // VstSpeakerArrangementType
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

// ---- preset file loading (effBeginLoadBank, effBeginLoadProgram) ----
struct VstPatchChunkInfo {
  VstInt32 version;
  VstInt32 pluginUniqueID;
  VstInt32 pluginVersion;
  VstInt32 numElements; // programs in a bank, parameters in a program
  char future[48];
};

// ---- knob modes (effSetEditKnobMode) ----
enum VstKnobMode : VstInt32 { kCircularMode = 0, kRelativCircularMode, kLinearMode };

// ---- keys (effEditKeyDown, effEditKeyUp: index character, value virt, opt modifier) ----
struct VstKeyCode {
  VstInt32 character;
  unsigned char virt;     // virtual key
  unsigned char modifier; // shift 1, alternate 2, command 4, control 8
};
