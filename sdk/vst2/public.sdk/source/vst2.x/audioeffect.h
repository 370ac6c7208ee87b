// AudioEffect: the VST 1 base of a VST 2.4 effect. It fills the effect record the host sees
// (magic "VstP", counts, flags, defaults 44100 Hz and 1024 frames until the host sets its own)
// and routes the record's dispatcher and process calls to virtual methods.
//
// Lifetime: the host ends an effect with effClose; the effect then deletes itself. Hosts
// have been seen to call the dispatcher again after effClose (effGetPlugCategory), so the
// record outlives the object: it is retired with a dispatcher that answers from what it
// remembers and process calls that write silence, and freed once enough later effects were
// closed (or when the module unloads).
#pragma once

#include "pluginterfaces/vst2.x/aeffectx.h"

class AEffEditor;

class AudioEffect {
public:
  static constexpr float kDefaultSampleRate = 44100.f;
  static constexpr VstInt32 kDefaultBlockSize = 1024;

  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();

  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  // The record handed to the host.
  AEffect* getAeffect() { return cEffect; }

  // ---- called by the host through the record ----
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float rate) { sampleRate = rate; }
  virtual void setBlockSize(VstInt32 frames) { blockSize = frames; }

  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);

  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
  virtual float getParameter(VstInt32 /*index*/) { return 0.f; }
  virtual void getParameterLabel(VstInt32 /*index*/, char* label) { *label = 0; }
  virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { *text = 0; }
  virtual void getParameterName(VstInt32 /*index*/, char* text) { *text = 0; }

  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgramName(char* /*name*/) {}
  virtual void getProgramName(char* name) { *name = 0; }

  // Chunks: the effect owns the memory *data points at until its next getChunk.
  virtual VstInt32 getChunk(void** data, bool isPreset = false);
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false);

  // ---- set-up of the record ----
  void setUniqueID(VstInt32 id) { cEffect->uniqueID = id; }
  void setNumInputs(VstInt32 inputs) { cEffect->numInputs = inputs; }
  void setNumOutputs(VstInt32 outputs) { cEffect->numOutputs = outputs; }
  void setInitialDelay(VstInt32 delay) { cEffect->initialDelay = delay; }
  void setVersion(VstInt32 version) { cEffect->version = version; }
  void setNumParams(VstInt32 count) {
    cEffect->numParams = count;
    numParams = count;
  }
  void setNumPrograms(VstInt32 count) {
    cEffect->numPrograms = count;
    numPrograms = count;
  }
  void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
  void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
  void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
  void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }
  // The host opens an editor only when the flag says there is one.
  void hasEditor(bool state = true) { setFlag(effFlagsHasEditor, state); }
  // The effect owns its editor (deleted with it or when replaced).
  void setEditor(AEffEditor* newEditor);
  AEffEditor* getEditor() const { return editor; }

  float getSampleRate() const { return sampleRate; }
  VstInt32 getBlockSize() const { return blockSize; }
  VstInt32 getNumParams() const { return numParams; }
  VstInt32 getNumPrograms() const { return numPrograms; }

  // ---- calls to the host ----
  // The host's VST version (0 for a host before 2.0, or without callback).
  VstInt32 getMasterVersion();
  // setParameter, then tells the host the value changed (audioMasterAutomate).
  virtual void setParameterAutomated(VstInt32 index, float value);
  // The host callback with this effect's record.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f);

protected:
  void setFlag(VstInt32 flag, bool state);

  audioMasterCallback audioMaster;
  AEffEditor* editor = nullptr;
  float sampleRate = kDefaultSampleRate;
  VstInt32 blockSize = kDefaultBlockSize;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 curProgram = 0;
  AEffect* cEffect;
};

// Copies at most maxChars characters of src into dst and terminates it: dst must hold
// maxChars + 1 bytes. A null src gives "".
char* vstStringCopy(char* dst, const char* src, VstInt32 maxChars);

// Supplied by the plug-in: its effect for this host callback, or null. VSTPluginMain calls it.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
