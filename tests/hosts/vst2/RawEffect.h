// A VST 2.4 effect from a library, called directly through its record with a host callback
// that answers only the version and records nothing, so that any thread may cause it to be
// called: for tests and tools that drive the effect from more than one thread or call it
// very often.
#pragma once

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <dlfcn.h>

#include <string>
#include <vector>

namespace orvane::vst2host {

class RawEffect {
public:
  // effect() is null, with the reason in error(), when the library or its effect is missing.
  explicit RawEffect(const char* library) {
    mLibrary = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    auto main =
        mLibrary
            ? reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(mLibrary, "VSTPluginMain"))
            : nullptr;
    mEffect = main ? main(Answer) : nullptr;
    if (!mLibrary)
      mError = dlerror();
    else if (!mEffect)
      mError = std::string(library) + " gives no effect";
    else
      Dispatch(effOpen);
  }
  ~RawEffect() {
    if (mEffect)
      Dispatch(effClose);
    if (mLibrary)
      dlclose(mLibrary);
  }
  RawEffect(const RawEffect&) = delete;
  RawEffect& operator=(const RawEffect&) = delete;

  AEffect* effect() const { return mEffect; }
  const std::string& error() const { return mError; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f) {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }
  // Sample rate, block size, and the effect switched on (effMainsChanged).
  void Start(float rate, VstInt32 block) {
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(effSetBlockSize, 0, block);
    Dispatch(effMainsChanged, 0, 1);
  }
  // effGetChunk, copied; empty when the effect gives none.
  std::vector<uint8_t> Chunk(bool isPreset) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
  }
  VstIntPtr SetChunk(std::vector<uint8_t> bytes, bool isPreset) {
    return Dispatch(effSetChunk, isPreset ? 1 : 0, VstIntPtr(bytes.size()), bytes.data());
  }

private:
  static VstIntPtr VSTCALLBACK Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                      float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
  }

  void* mLibrary = nullptr;
  AEffect* mEffect = nullptr;
  std::string mError;
};

} // namespace orvane::vst2host
