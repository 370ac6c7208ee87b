#include "tests/hosts/vst2/Vst2Plugin.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace orvane::vst2host {

namespace {

using PluginMain = AEffect* (*)(audioMasterCallback);

// The host whose VSTPluginMain call is running on this thread: the effect has no host
// pointer of its own yet.
thread_local Vst2Plugin* creatingHost = nullptr;

// Host strings into the plug-in's buffer of kVstMaxProductStrLen + 1 bytes.
void vstStringCopyForHost(char* dst, const std::string& text) {
  const size_t n = std::min(text.size(), size_t(kVstMaxProductStrLen));
  std::memcpy(dst, text.data(), n);
  dst[n] = 0;
}

} // namespace

size_t HostLog::count(VstInt32 opcode) const {
  return size_t(std::count_if(calls.begin(), calls.end(),
                              [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

std::vector<HostCall> HostLog::of(VstInt32 opcode) const {
  std::vector<HostCall> result;
  for (const HostCall& c : calls)
    if (c.opcode == opcode)
      result.push_back(c);
  return result;
}

std::vector<VstInt32> HostLog::editSequence() const {
  std::vector<VstInt32> result;
  for (const HostCall& c : calls)
    if (c.opcode == audioMasterBeginEdit || c.opcode == audioMasterAutomate ||
        c.opcode == audioMasterEndEdit)
      result.push_back(c.opcode);
  return result;
}

std::unique_ptr<Vst2Plugin> Vst2Plugin::load(const std::string& libraryPath, std::string& error,
                                             HostOptions options) {
  std::unique_ptr<Vst2Plugin> plugin(new Vst2Plugin);
  plugin->options_ = std::move(options);
  plugin->library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!plugin->library) {
    const char* why = dlerror();
    error = "dlopen failed: " + std::string(why ? why : "?");
    return nullptr;
  }
  auto main = reinterpret_cast<PluginMain>(dlsym(plugin->library, "VSTPluginMain"));
  if (!main) {
    error = "no VSTPluginMain in " + libraryPath;
    return nullptr;
  }
  creatingHost = plugin.get();
  AEffect* effect = main(&Vst2Plugin::hostCallback);
  creatingHost = nullptr;
  if (!effect) {
    error = "VSTPluginMain returned no effect";
    return nullptr;
  }
  if (effect->magic != kEffectMagic) {
    error = "the effect record has no VstP magic";
    return nullptr;
  }
  effect->user = plugin.get();
  plugin->effect_ = effect;
  return plugin;
}

Vst2Plugin::~Vst2Plugin() {
  if (effect_ && !closed_) {
    if (resumed)
      suspend();
    close();
  }
  if (library)
    dlclose(library);
}

VstIntPtr VSTCALLBACK Vst2Plugin::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                               VstIntPtr value, void* ptr, float opt) {
  Vst2Plugin* host = effect && effect->user ? static_cast<Vst2Plugin*>(effect->user) : nullptr;
  const bool duringCreation = host == nullptr;
  if (!host)
    host = creatingHost;
  if (!host)
    return opcode == audioMasterVersion ? kVstVersion : 0;
  return host->answer(opcode, index, value, ptr, opt, duringCreation, effect != nullptr);
}

VstIntPtr Vst2Plugin::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt,
                             bool duringCreation, bool withEffect) {
  log_.add({opcode, index, value, opt, duringCreation, withEffect});
  switch (opcode) {
  case audioMasterVersion:
    return options_.version;
  case audioMasterGetTime:
    return hasTimeInfo ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
  case audioMasterGetSampleRate:
    return VstIntPtr(sampleRate);
  case audioMasterGetBlockSize:
    return blockSize;
  case audioMasterGetCurrentProcessLevel:
    return options_.processLevel;
  case audioMasterGetProductString:
    if (!ptr)
      return 0;
    vstStringCopyForHost(static_cast<char*>(ptr), options_.productName);
    return 1;
  case audioMasterGetVendorString:
    if (!ptr)
      return 0;
    vstStringCopyForHost(static_cast<char*>(ptr), "Orvane");
    return 1;
  case audioMasterGetVendorVersion:
    return 1000;
  case audioMasterCanDo: {
    const char* text = static_cast<const char*>(ptr);
    if (!text)
      return 0;
    for (const char* yes : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo"})
      if (!std::strcmp(text, yes))
        return 1;
    return 0;
  }
  case audioMasterAutomate:
  case audioMasterBeginEdit:
  case audioMasterEndEdit:
  case audioMasterUpdateDisplay:
  case audioMasterIOChanged:
    return 1;
  default:
    return 0;
  }
}

void Vst2Plugin::setTimeInfo(const VstTimeInfo* info) {
  hasTimeInfo = info != nullptr;
  if (info)
    timeInfo = *info;
}

VstIntPtr Vst2Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

// ---- life cycle ----

void Vst2Plugin::open(float rate, VstInt32 frames, VstInt32 bufferFrames) {
  sampleRate = rate;
  blockSize = frames;
  dispatch(effOpen);
  opened = true;
  dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  dispatch(effSetBlockSize, 0, frames);
  allocate(bufferFrames > 0 ? bufferFrames : frames);
}

void Vst2Plugin::resume() {
  dispatch(effMainsChanged, 0, 1);
  resumed = true;
}

void Vst2Plugin::suspend() {
  dispatch(effMainsChanged, 0, 0);
  resumed = false;
}

bool Vst2Plugin::setPrecision64(bool on) {
  return dispatch(effSetProcessPrecision, 0,
                  on ? kVstProcessPrecision64 : kVstProcessPrecision32) == 1;
}

void Vst2Plugin::close() {
  if (closed_)
    return;
  dispatch(effClose);
  closed_ = true;
}

// ---- programs, chunks, parameters ----

VstInt32 Vst2Plugin::program() {
  return VstInt32(dispatch(effGetProgram));
}

void Vst2Plugin::setProgram(VstInt32 program) {
  dispatch(effSetProgram, 0, program);
}

std::string Vst2Plugin::textOf(VstInt32 opcode, VstInt32 index, size_t size) {
  // Generous buffers with a fence: a plug-in that writes past its limit shows up.
  std::vector<char> buffer(size + 64, '\x7f');
  buffer[0] = 0;
  dispatch(opcode, index, 0, buffer.data());
  buffer.back() = 0;
  return std::string(buffer.data());
}

std::string Vst2Plugin::programName() {
  return textOf(effGetProgramName, 0, kVstMaxProgNameLen + 1);
}

std::string Vst2Plugin::programNameIndexed(VstInt32 index) {
  return textOf(effGetProgramNameIndexed, index, kVstMaxProgNameLen + 1);
}

std::vector<uint8_t> Vst2Plugin::chunk(bool isPreset) {
  void* data = nullptr;
  const VstIntPtr size = dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
  if (size <= 0 || !data)
    return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr Vst2Plugin::setChunk(const std::vector<uint8_t>& bytes, bool isPreset) {
  return setChunk(bytes.data(), VstInt32(bytes.size()), isPreset);
}

VstIntPtr Vst2Plugin::setChunk(const void* bytes, VstInt32 size, bool isPreset) {
  // The host's copy: the plug-in must not keep the pointer.
  std::vector<uint8_t> copy(static_cast<const uint8_t*>(bytes),
                            static_cast<const uint8_t*>(bytes) + (size > 0 ? size : 0));
  return dispatch(effSetChunk, isPreset ? 1 : 0, size, copy.empty() ? nullptr : copy.data());
}

float Vst2Plugin::parameter(VstInt32 index) {
  return effect_->getParameter(effect_, index);
}

void Vst2Plugin::setParameter(VstInt32 index, float value) {
  effect_->setParameter(effect_, index, value);
}

std::string Vst2Plugin::parameterName(VstInt32 index) {
  return textOf(effGetParamName, index, 64);
}

std::string Vst2Plugin::parameterLabel(VstInt32 index) {
  return textOf(effGetParamLabel, index, kVstMaxParamStrLen + 1);
}

std::string Vst2Plugin::parameterDisplay(VstInt32 index) {
  return textOf(effGetParamDisplay, index, 64);
}

std::string Vst2Plugin::effectName() {
  return textOf(effGetEffectName, 0, kVstMaxEffectNameLen + 1);
}

std::string Vst2Plugin::vendorString() {
  return textOf(effGetVendorString, 0, kVstMaxVendorStrLen + 1);
}

std::string Vst2Plugin::productString() {
  return textOf(effGetProductString, 0, kVstMaxProductStrLen + 1);
}

VstIntPtr Vst2Plugin::canDo(const char* text) {
  return dispatch(effCanDo, 0, 0, const_cast<char*>(text));
}

VstIntPtr Vst2Plugin::plugCategory() {
  return dispatch(effGetPlugCategory);
}

// ---- processing ----

void Vst2Plugin::allocate(VstInt32 frames) {
  allocatedFrames = frames;
  const size_t ins = size_t(std::max(0, effect_->numInputs));
  const size_t outs = size_t(std::max(0, effect_->numOutputs));
  in32.assign(ins, std::vector<float>(size_t(frames), 0.f));
  out32.assign(outs, std::vector<float>(size_t(frames), 0.f));
  in64.assign(ins, std::vector<double>(size_t(frames), 0.0));
  out64.assign(outs, std::vector<double>(size_t(frames), 0.0));
  inPtr32.clear();
  outPtr32.clear();
  inPtr64.clear();
  outPtr64.clear();
  for (auto& c : in32)
    inPtr32.push_back(c.data());
  for (auto& c : out32)
    outPtr32.push_back(c.data());
  for (auto& c : in64)
    inPtr64.push_back(c.data());
  for (auto& c : out64)
    outPtr64.push_back(c.data());
}

template <> float* Vst2Plugin::input<float>(VstInt32 channel) {
  return channel >= 0 && size_t(channel) < in32.size() ? in32[size_t(channel)].data() : nullptr;
}
template <> double* Vst2Plugin::input<double>(VstInt32 channel) {
  return channel >= 0 && size_t(channel) < in64.size() ? in64[size_t(channel)].data() : nullptr;
}
template <> float* Vst2Plugin::output<float>(VstInt32 channel) {
  return channel >= 0 && size_t(channel) < out32.size() ? out32[size_t(channel)].data() : nullptr;
}
template <> double* Vst2Plugin::output<double>(VstInt32 channel) {
  return channel >= 0 && size_t(channel) < out64.size() ? out64[size_t(channel)].data() : nullptr;
}

void Vst2Plugin::queueMidi(VstInt32 deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
  VstMidiEvent e{};
  e.type = kVstMidiType;
  e.byteSize = sizeof(VstMidiEvent);
  e.deltaFrames = deltaFrames;
  e.midiData[0] = char(status);
  e.midiData[1] = char(data1);
  e.midiData[2] = char(data2);
  pendingMidi.push_back(e);
}

void Vst2Plugin::deliverMidi() {
  if (pendingMidi.empty())
    return;
  const size_t n = pendingMidi.size();
  eventsStorage.assign(sizeof(VstEvents) + n * sizeof(VstEvent*), 0);
  auto* events = reinterpret_cast<VstEvents*>(eventsStorage.data());
  events->numEvents = VstInt32(n);
  for (size_t i = 0; i < n; ++i)
    events->events[i] = reinterpret_cast<VstEvent*>(&pendingMidi[i]);
  dispatch(effProcessEvents, 0, 0, events);
}

template <> void Vst2Plugin::process<float>(VstInt32 frames) {
  frames = std::min(frames, allocatedFrames);
  deliverMidi();
  effect_->processReplacing(effect_, inPtr32.data(), outPtr32.data(), frames);
  pendingMidi.clear();
}

template <> void Vst2Plugin::process<double>(VstInt32 frames) {
  frames = std::min(frames, allocatedFrames);
  deliverMidi();
  effect_->processDoubleReplacing(effect_, inPtr64.data(), outPtr64.data(), frames);
  pendingMidi.clear();
}

void Vst2Plugin::idle() {
  dispatch(effIdle);
}

void Vst2Plugin::editIdle() {
  dispatch(effEditIdle);
}

} // namespace orvane::vst2host
