#include "public.sdk/source/vst2.x/audioeffectx.h"

#include "public.sdk/source/vst2.x/aeffeditor.h"

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms,
                           VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

VstPlugCategory AudioEffectX::getPlugCategory() {
  return (cEffect->flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  const bool paramIndexValid = index >= 0 && index < numParams;
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
  case effProcessEvents:
    return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
  case effCanBeAutomated:
    return paramIndexValid && canParameterBeAutomated(index) ? 1 : 0;
  case effString2Parameter:
    return paramIndexValid && string2parameter(index, text) ? 1 : 0;
  case effGetProgramNameIndexed:
    if (!ptr)
      return 0;
    *text = 0;
    return index >= 0 && index < numPrograms && getProgramNameIndexed(VstInt32(value), index, text)
               ? 1
               : 0;
  case effGetInputProperties:
    return ptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
  case effGetOutputProperties:
    return ptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
  case effGetPlugCategory:
    return getPlugCategory();
  case effSetSpeakerArrangement:
    if (!value || !ptr)
      return 0;
    return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                 static_cast<VstSpeakerArrangement*>(ptr))
               ? 1
               : 0;
  case effGetSpeakerArrangement:
    if (!value || !ptr)
      return 0;
    return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                 static_cast<VstSpeakerArrangement**>(ptr))
               ? 1
               : 0;
  case effSetBypass:
    return setBypass(value != 0) ? 1 : 0;
  case effGetEffectName:
    return ptr && getEffectName(text) ? 1 : 0;
  case effGetVendorString:
    return ptr && getVendorString(text) ? 1 : 0;
  case effGetProductString:
    return ptr && getProductString(text) ? 1 : 0;
  case effGetVendorVersion:
    return getVendorVersion();
  case effVendorSpecific:
    return vendorSpecific(index, value, ptr, opt);
  case effCanDo:
    return ptr ? canDo(text) : 0;
  case effGetTailSize:
    return getGetTailSize();
  case effIdle:
    return fxIdle();
  case effGetParameterProperties:
    return ptr && paramIndexValid &&
                   getParameterProperties(index, static_cast<VstParameterProperties*>(ptr))
               ? 1
               : 0;
  case effGetVstVersion:
    return getVstVersion();
  case effEditKeyDown:
  case effEditKeyUp: {
    if (!editor)
      return 0;
    VstKeyCode key{index, static_cast<unsigned char>(value), static_cast<unsigned char>(opt)};
    const bool taken = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
    return taken ? 1 : 0;
  }
  case effSetEditKnobMode:
    return editor && editor->setKnobMode(VstInt32(value)) ? 1 : 0;
  case effGetMidiProgramName:
    return getMidiProgramName(index, ptr);
  case effGetCurrentMidiProgram:
    return getCurrentMidiProgram(index, ptr);
  case effBeginSetProgram:
    return beginSetProgram() ? 1 : 0;
  case effEndSetProgram:
    return endSetProgram() ? 1 : 0;
  case effStartProcess:
    return startProcess();
  case effStopProcess:
    return stopProcess();
  case effSetTotalSampleToProcess:
    return setTotalSampleToProcess(VstInt32(value));
  case effSetPanLaw:
    return setPanLaw(VstInt32(value), opt) ? 1 : 0;
  case effBeginLoadBank:
    return ptr ? beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
  case effBeginLoadProgram:
    return ptr ? beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
  case effSetProcessPrecision:
    return setProcessPrecision(VstInt32(value));
  case effGetNumMidiInputChannels:
    return getNumMidiInputChannels();
  case effGetNumMidiOutputChannels:
    return getNumMidiOutputChannels();
  default:
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::ioChanged() {
  return callHost(audioMasterIOChanged) != 0;
}

bool AudioEffectX::updateDisplay() {
  return callHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::beginEdit(VstInt32 index) {
  return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) {
  return callHost(audioMasterEndEdit, index) != 0;
}

VstInt32 AudioEffectX::canHostDo(const char* text) {
  return VstInt32(callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

bool AudioEffectX::getHostProductString(char* text) {
  if (!text)
    return false;
  *text = 0;
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::getHostVendorVersion() {
  return VstInt32(callHost(audioMasterGetVendorVersion));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return VstInt32(callHost(audioMasterGetCurrentProcessLevel));
}
