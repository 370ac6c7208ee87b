// fst.h is GPL: it is a test reference only and is never linked into anything that ships.
#include "tests/vst2/abi/AbiFacts.h"

#include <cstddef>

// Its own build notes (#warning) and its marks on what it has not worked out (deprecated)
// are silenced for this file in CMakeLists.txt.
namespace fst {
#include <pluginterfaces/fst/fst.h>
}

#define FACT(name, value) facts[name] = (long long)(value)
#define OFFSET(name, type, field) facts[name] = (long long)offsetof(fst::type, field)

vst2abi::Facts vst2abi::fstFacts() {
  Facts facts;
  using namespace fst;
  FACT("kEffectMagic", kEffectMagic);
  FACT("kVstVersion", kVstVersion);

  // Host opcodes fst has worked out.
  FACT("audioMasterAutomate", audioMasterAutomate);
  FACT("audioMasterVersion", audioMasterVersion);
  FACT("audioMasterCurrentId", audioMasterCurrentId);
  FACT("audioMasterWantMidi", audioMasterWantMidi);
  FACT("audioMasterGetTime", audioMasterGetTime);
  FACT("audioMasterProcessEvents", audioMasterProcessEvents);
  FACT("audioMasterTempoAt", audioMasterTempoAt);
  FACT("audioMasterSizeWindow", audioMasterSizeWindow);
  FACT("audioMasterGetSampleRate", audioMasterGetSampleRate);
  FACT("audioMasterGetBlockSize", audioMasterGetBlockSize);
  FACT("audioMasterGetCurrentProcessLevel", audioMasterGetCurrentProcessLevel);
  FACT("audioMasterGetVendorString", audioMasterGetVendorString);
  FACT("audioMasterGetProductString", audioMasterGetProductString);
  FACT("audioMasterGetVendorVersion", audioMasterGetVendorVersion);
  FACT("audioMasterCanDo", audioMasterCanDo);
  FACT("audioMasterBeginEdit", audioMasterBeginEdit);
  FACT("audioMasterEndEdit", audioMasterEndEdit);

  // Effect opcodes fst has worked out.
  FACT("effOpen", effOpen);
  FACT("effClose", effClose);
  FACT("effSetProgram", effSetProgram);
  FACT("effGetProgram", effGetProgram);
  FACT("effSetProgramName", effSetProgramName);
  FACT("effGetProgramName", effGetProgramName);
  FACT("effGetParamLabel", effGetParamLabel);
  FACT("effGetParamDisplay", effGetParamDisplay);
  FACT("effGetParamName", effGetParamName);
  FACT("effSetSampleRate", effSetSampleRate);
  FACT("effSetBlockSize", effSetBlockSize);
  FACT("effMainsChanged", effMainsChanged);
  FACT("effEditGetRect", effEditGetRect);
  FACT("effEditOpen", effEditOpen);
  FACT("effEditClose", effEditClose);
  FACT("effEditIdle", effEditIdle);
  FACT("effIdentify", effIdentify);
  FACT("effGetChunk", effGetChunk);
  FACT("effSetChunk", effSetChunk);
  FACT("effProcessEvents", effProcessEvents);
  FACT("effCanBeAutomated", effCanBeAutomated);
  FACT("effString2Parameter", effString2Parameter);
  FACT("effGetProgramNameIndexed", effGetProgramNameIndexed);
  FACT("effGetInputProperties", effGetInputProperties);
  FACT("effGetOutputProperties", effGetOutputProperties);
  FACT("effGetPlugCategory", effGetPlugCategory);
  FACT("effSetSpeakerArrangement", effSetSpeakerArrangement);
  FACT("effGetEffectName", effGetEffectName);
  FACT("effGetVendorString", effGetVendorString);
  FACT("effGetProductString", effGetProductString);
  FACT("effGetVendorVersion", effGetVendorVersion);
  FACT("effVendorSpecific", effVendorSpecific);
  FACT("effCanDo", effCanDo);
  FACT("effGetVstVersion", effGetVstVersion);
  FACT("effGetCurrentMidiProgram", effGetCurrentMidiProgram);
  FACT("effGetMidiKeyName", fst_effGetMidiNoteName);
  FACT("effGetSpeakerArrangement", effGetSpeakerArrangement);
  FACT("effShellGetNextPlugin", effShellGetNextPlugin);
  FACT("effStartProcess", effStartProcess);
  FACT("effStopProcess", effStopProcess);
  FACT("effSetTotalSampleToProcess", effSetTotalSampleToProcess);
  FACT("effSetProcessPrecision", effSetProcessPrecision);

  // Flags and constants.
  FACT("effFlagsHasEditor", effFlagsHasEditor);
  FACT("effFlagsCanReplacing", effFlagsCanReplacing);
  FACT("effFlagsProgramChunks", effFlagsProgramChunks);
  FACT("effFlagsIsSynth", effFlagsIsSynth);
  FACT("effFlagsNoSoundInStop", effFlagsNoSoundInStop);
  FACT("effFlagsCanDoubleReplacing", effFlagsCanDoubleReplacing);
  FACT("kPlugCategSynth", kPlugCategSynth);
  FACT("kPlugCategAnalysis", kPlugCategAnalysis);
  FACT("kPlugCategMastering", kPlugCategMastering);
  FACT("kPlugCategSpacializer", kPlugCategSpacializer);
  FACT("kPlugCategRoomFx", kPlugCategRoomFx);
  FACT("kPlugSurroundFx", kPlugSurroundFx);
  FACT("kPlugCategRestoration", kPlugCategRestoration);
  FACT("kPlugCategOfflineProcess", kPlugCategOfflineProcess);
  FACT("kPlugCategShell", kPlugCategShell);
  FACT("kPlugCategGenerator", kPlugCategGenerator);
  FACT("kPlugCategMaxCount", kPlugCategMaxCount);
  FACT("kSpeakerArrEmpty", kSpeakerArrEmpty);
  FACT("kSpeakerArrMono", kSpeakerArrMono);
  FACT("kSpeakerArrStereo", kSpeakerArrStereo);
  FACT("kSpeakerArrUserDefined", kSpeakerArrUserDefined);
  FACT("kVstTransportChanged", kVstTransportChanged);
  FACT("kVstTransportPlaying", kVstTransportPlaying);
  FACT("kVstTransportCycleActive", kVstTransportCycleActive);
  FACT("kVstTransportRecording", kVstTransportRecording);
  FACT("kVstNanosValid", kVstNanosValid);
  FACT("kVstPpqPosValid", kVstPpqPosValid);
  FACT("kVstTempoValid", kVstTempoValid);
  FACT("kVstBarsValid", kVstBarsValid);
  FACT("kVstCyclePosValid", kVstCyclePosValid);
  FACT("kVstTimeSigValid", kVstTimeSigValid);
  FACT("kVstSmpteValid", kVstSmpteValid);
  FACT("kVstClockValid", kVstClockValid);
  FACT("kVstProcessPrecision32", kVstProcessPrecision32);
  FACT("kVstProcessPrecision64", kVstProcessPrecision64);
  FACT("kVstMidiType", kVstMidiType);
  FACT("kVstSysExType", kVstSysExType);
  FACT("kVstProcessLevelRealtime", kVstProcessLevelRealtime);
  FACT("kVstProcessLevelOffline", kVstProcessLevelOffline);
  FACT("kVstMaxParamStrLen", kVstMaxParamStrLen);

  // The effect record.
  OFFSET("AEffect.magic", AEffect, magic);
  OFFSET("AEffect.dispatcher", AEffect, dispatcher);
  OFFSET("AEffect.process", AEffect, process);
  OFFSET("AEffect.setParameter", AEffect, setParameter);
  OFFSET("AEffect.getParameter", AEffect, getParameter);
  OFFSET("AEffect.numPrograms", AEffect, numPrograms);
  OFFSET("AEffect.numParams", AEffect, numParams);
  OFFSET("AEffect.numInputs", AEffect, numInputs);
  OFFSET("AEffect.numOutputs", AEffect, numOutputs);
  OFFSET("AEffect.flags", AEffect, flags);
  OFFSET("AEffect.resvd1", AEffect, resvd1);
  OFFSET("AEffect.resvd2", AEffect, resvd2);
  OFFSET("AEffect.initialDelay", AEffect, initialDelay);
  OFFSET("AEffect.ioRatio", AEffect, float1);
  OFFSET("AEffect.object", AEffect, object);
  OFFSET("AEffect.user", AEffect, user);
  OFFSET("AEffect.uniqueID", AEffect, uniqueID);
  OFFSET("AEffect.version", AEffect, version);
  OFFSET("AEffect.processReplacing", AEffect, processReplacing);
  OFFSET("AEffect.processDoubleReplacing", AEffect, processDoubleReplacing);

  // Events.
  OFFSET("VstEvents.numEvents", VstEvents, numEvents);
  OFFSET("VstEvents.events", VstEvents, events);
  OFFSET("VstMidiEvent.deltaFrames", VstMidiEvent, deltaFrames);
  OFFSET("VstMidiEvent.flags", VstMidiEvent, flags);
  OFFSET("VstMidiEvent.midiData", VstMidiEvent, midiData);
  FACT("sizeof VstMidiEvent", sizeof(VstMidiEvent));
  OFFSET("VstMidiSysexEvent.dumpBytes", VstMidiSysexEvent, dumpBytes);
  OFFSET("VstMidiSysexEvent.sysexDump", VstMidiSysexEvent, sysexDump);
  FACT("sizeof VstMidiSysexEvent", sizeof(VstMidiSysexEvent));

  // Time information.
  OFFSET("VstTimeInfo.samplePos", VstTimeInfo, samplePos);
  OFFSET("VstTimeInfo.sampleRate", VstTimeInfo, sampleRate);
  OFFSET("VstTimeInfo.nanoSeconds", VstTimeInfo, nanoSeconds);
  OFFSET("VstTimeInfo.ppqPos", VstTimeInfo, ppqPos);
  OFFSET("VstTimeInfo.tempo", VstTimeInfo, tempo);
  OFFSET("VstTimeInfo.barStartPos", VstTimeInfo, barStartPos);
  OFFSET("VstTimeInfo.cycleStartPos", VstTimeInfo, cycleStartPos);
  OFFSET("VstTimeInfo.cycleEndPos", VstTimeInfo, cycleEndPos);
  OFFSET("VstTimeInfo.timeSigNumerator", VstTimeInfo, timeSigNumerator);
  OFFSET("VstTimeInfo.timeSigDenominator", VstTimeInfo, timeSigDenominator);
  OFFSET("VstTimeInfo.samplesToNextClock", VstTimeInfo, samplesToNextClock);
  OFFSET("VstTimeInfo.flags", VstTimeInfo, flags);

  // Rectangles, pins, speakers.
  OFFSET("ERect.top", ERect, top);
  OFFSET("ERect.left", ERect, left);
  OFFSET("ERect.bottom", ERect, bottom);
  OFFSET("ERect.right", ERect, right);
  FACT("sizeof ERect", sizeof(ERect));
  OFFSET("VstPinProperties.label", VstPinProperties, label);
  OFFSET("VstPinProperties.flags", VstPinProperties, flags);
  OFFSET("VstPinProperties.arrangementType", VstPinProperties, arrangementType);
  OFFSET("VstPinProperties.shortLabel", VstPinProperties, shortLabel);
  OFFSET("VstSpeakerProperties.name", VstSpeakerProperties, name);
  OFFSET("VstSpeakerProperties.type", VstSpeakerProperties, type);
  FACT("sizeof VstSpeakerProperties", sizeof(VstSpeakerProperties));
  OFFSET("VstSpeakerArrangement.numChannels", VstSpeakerArrangement, numChannels);
  OFFSET("VstSpeakerArrangement.speakers", VstSpeakerArrangement, speakers);
  return facts;
}
