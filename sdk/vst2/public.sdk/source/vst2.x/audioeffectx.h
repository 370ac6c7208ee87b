// AudioEffectX: the VST 2 extension of AudioEffect: events, pins, categories, names, host
// queries, speaker arrangements, precision and the remaining dispatcher opcodes, each routed
// to a virtual method whose default answers "not supported".
#pragma once

#include "public.sdk/source/vst2.x/audioeffect.h"

class AudioEffectX : public AudioEffect {
public:
  AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

  // ---- called by the host ----
  virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }
  virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
  // With a null text: whether the parameter can be set from text at all.
  virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }
  virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) {
    return false;
  }
  virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
  }
  virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
  }
  virtual VstPlugCategory getPlugCategory();
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*in*/,
                                     VstSpeakerArrangement* /*out*/) {
    return false;
  }
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** /*in*/,
                                     VstSpeakerArrangement** /*out*/) {
    return false;
  }
  virtual bool setBypass(bool /*onOff*/) { return false; }
  virtual bool getEffectName(char* /*name*/) { return false; }
  virtual bool getVendorString(char* /*text*/) { return false; }
  virtual bool getProductString(char* /*text*/) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                                   float /*opt*/) {
    return 0;
  }
  // 1 yes, -1 no, 0 don't know.
  virtual VstInt32 canDo(char* /*text*/) { return 0; }
  // Samples of tail; 0 for "unknown", 1 for none.
  virtual VstInt32 getGetTailSize() { return 0; }
  virtual bool getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/) {
    return false;
  }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual VstInt32 getMidiProgramName(VstInt32 /*channel*/, void* /*name*/) { return 0; }
  virtual VstInt32 getCurrentMidiProgram(VstInt32 /*channel*/, void* /*name*/) { return -1; }
  virtual bool beginSetProgram() { return false; }
  virtual bool endSetProgram() { return false; }
  virtual VstInt32 startProcess() { return 0; }
  virtual VstInt32 stopProcess() { return 0; }
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }
  virtual bool setPanLaw(VstInt32 /*type*/, float /*value*/) { return false; }
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* /*info*/) { return 0; }
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* /*info*/) { return 0; }
  // Answers 1 when the precision is taken.
  virtual VstInt32 setProcessPrecision(VstInt32 /*precision*/) { return 0; }
  virtual VstInt32 getNumMidiInputChannels() { return 0; }
  virtual VstInt32 getNumMidiOutputChannels() { return 0; }
  // effIdle, still sent by some hosts on their GUI thread.
  virtual VstInt32 fxIdle() { return 0; }

  // ---- calls to the host ----
  // The host's time information for the flags asked (VstTimeInfoFlags), or null.
  VstTimeInfo* getTimeInfo(VstInt32 filter);
  bool ioChanged();
  bool updateDisplay();
  bool sizeWindow(VstInt32 width, VstInt32 height);
  bool beginEdit(VstInt32 index);
  bool endEdit(VstInt32 index);
  // 1 yes, -1 no, 0 don't know.
  VstInt32 canHostDo(const char* text);
  bool getHostProductString(char* text);
  VstInt32 getHostVendorVersion();
  VstInt32 getCurrentProcessLevel();
};
