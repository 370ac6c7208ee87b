// A VST 2.4 host for tests: dlopens a plug-in library, calls VSTPluginMain with a recording
// host callback and drives the effect's dispatcher and process calls the way Linux hosts do.
//
//   std::string error;
//   auto plugin = Vst2Plugin::load(path, error);   // dlopen, VSTPluginMain, effect record
//   plugin->open(48000, 512);                       // effOpen, sample rate, block size
//   plugin->resume();                               // effMainsChanged 1
//   plugin->setParameter(0, 0.25f);
//   plugin->process<float>(512);                    // processReplacing on the host's buffers
//   auto chunk = plugin->chunk(true);               // effGetChunk, copied
//   plugin->log().count(audioMasterAutomate);       // what the plug-in asked of the host
//
// The host callback answers the version (2400), time information when the test gives it,
// the sample rate, block size, process level and its product name, and records every call,
// noting those that came before VSTPluginMain returned.
#pragma once

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane::vst2host {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  bool duringCreation; // before VSTPluginMain had returned the effect
  bool withEffect;     // the effect pointer was given
};

class HostLog {
public:
  void add(const HostCall& call) { calls.push_back(call); }
  void clear() { calls.clear(); }
  const std::vector<HostCall>& all() const { return calls; }
  size_t count(VstInt32 opcode) const;
  // The calls of one opcode, in order.
  std::vector<HostCall> of(VstInt32 opcode) const;
  // The opcodes of the edit calls (begin, automate, end) in order.
  std::vector<VstInt32> editSequence() const;

private:
  std::vector<HostCall> calls;
};

struct HostOptions {
  // Answer to audioMasterVersion (0 plays a host that is not a VST 2 host).
  VstIntPtr version = kVstVersion;
  std::string productName = "Orvane VST2 Test Host";
  VstInt32 processLevel = kVstProcessLevelRealtime;
};

class Vst2Plugin {
public:
  // Null, with the reason in error, when the library cannot be loaded, has no entry point or
  // returns no effect.
  static std::unique_ptr<Vst2Plugin> load(const std::string& libraryPath, std::string& error,
                                          HostOptions options = {});
  ~Vst2Plugin();
  Vst2Plugin(const Vst2Plugin&) = delete;
  Vst2Plugin& operator=(const Vst2Plugin&) = delete;

  AEffect* effect() const { return effect_; }
  HostLog& log() { return log_; }
  HostOptions& options() { return options_; }
  // Time information handed to the plug-in (audioMasterGetTime); null answers when unset.
  void setTimeInfo(const VstTimeInfo* info);

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f);

  // ---- life cycle ----
  // The buffers hold bufferFrames samples (the block size when 0): a host that processes
  // more than it announced is played with a larger value.
  void open(float sampleRate = 44100.f, VstInt32 blockSize = 512, VstInt32 bufferFrames = 0);
  void resume();
  void suspend();
  bool setPrecision64(bool on);
  // effClose; the record stays readable (hosts ask it things after close).
  void close();
  bool closed() const { return closed_; }

  // ---- programs, chunks, parameters ----
  VstInt32 program();
  void setProgram(VstInt32 program);
  std::string programName();
  std::string programNameIndexed(VstInt32 index);
  // effGetChunk: a copy of the plug-in's bytes (empty for 0 bytes).
  std::vector<uint8_t> chunk(bool isPreset);
  VstIntPtr setChunk(const std::vector<uint8_t>& bytes, bool isPreset);
  VstIntPtr setChunk(const void* bytes, VstInt32 size, bool isPreset);
  float parameter(VstInt32 index);
  void setParameter(VstInt32 index, float value);
  std::string parameterName(VstInt32 index);
  std::string parameterLabel(VstInt32 index);
  std::string parameterDisplay(VstInt32 index);
  std::string effectName();
  std::string vendorString();
  std::string productString();
  VstIntPtr canDo(const char* text);
  VstIntPtr plugCategory();

  // ---- processing ----
  // Buffers of numInputs and numOutputs channels of `frames` samples; inputs filled by the
  // test, outputs written by the plug-in.
  template <class Sample> Sample* input(VstInt32 channel);
  template <class Sample> Sample* output(VstInt32 channel);
  // processReplacing (float) or processDoubleReplacing (double), with the events queued by
  // queueMidi delivered first through effProcessEvents.
  template <class Sample> void process(VstInt32 frames);
  void queueMidi(VstInt32 deltaFrames, uint8_t status, uint8_t data1, uint8_t data2);
  // The deprecated effIdle and the editor's effEditIdle.
  void idle();
  void editIdle();

  static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);

private:
  Vst2Plugin() = default;
  VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt,
                   bool duringCreation, bool withEffect);
  void allocate(VstInt32 frames);
  void deliverMidi();
  std::string textOf(VstInt32 opcode, VstInt32 index, size_t size);

  void* library = nullptr;
  AEffect* effect_ = nullptr;
  bool opened = false;
  bool closed_ = false;
  bool resumed = false;
  HostOptions options_;
  HostLog log_;
  float sampleRate = 44100.f;
  VstInt32 blockSize = 512;
  bool hasTimeInfo = false;
  VstTimeInfo timeInfo{};

  VstInt32 allocatedFrames = 0;
  std::vector<std::vector<float>> in32, out32;
  std::vector<std::vector<double>> in64, out64;
  std::vector<float*> inPtr32, outPtr32;
  std::vector<double*> inPtr64, outPtr64;

  std::vector<VstMidiEvent> pendingMidi;
  std::vector<uint8_t> eventsStorage;
};

template <> float* Vst2Plugin::input<float>(VstInt32 channel);
template <> double* Vst2Plugin::input<double>(VstInt32 channel);
template <> float* Vst2Plugin::output<float>(VstInt32 channel);
template <> double* Vst2Plugin::output<double>(VstInt32 channel);
template <> void Vst2Plugin::process<float>(VstInt32 frames);
template <> void Vst2Plugin::process<double>(VstInt32 frames);

} // namespace orvane::vst2host
