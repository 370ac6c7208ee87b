// Program and bank chunks from a VST 2.4 host, through OrvaneEQ's shipped VST 2.4 face
// (effSetChunk), each followed by a block. First byte: bit 0 set for a program chunk, clear
// for a bank; the rest is the chunk. A refused chunk changes nothing (both chunks the effect
// gives stay as they were); after an accepted one every stored value is finite and so is the
// sound.
#include "tests/framework/fuzz/FuzzBytes.h"

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr VstInt32 kBlock = 64;
AEffect* gEffect = nullptr;

VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.f) {
  return gEffect->dispatcher(gEffect, opcode, index, value, ptr, opt);
}

std::vector<uint8_t> Chunk(bool isPreset) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return size > 0 && bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
}

// The program chunk's stored values: after the 8-byte header and the version word, up to the
// controller's version word at the end.
bool ProgramValuesFinite(const std::vector<uint8_t>& program) {
  for (size_t at = 12; at + 8 + 4 <= program.size(); at += 8) {
    double v = 0;
    std::memcpy(&v, program.data() + at, 8);
    if (!std::isfinite(v))
      return false;
  }
  return true;
}

bool BlockFinite() {
  static float in[2][kBlock], out[2][kBlock];
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  for (int i = 0; i < kBlock; ++i)
    in[0][i] = in[1][i] = float(std::sin(0.1 * i));
  gEffect->processReplacing(gEffect, inputs, outputs, kBlock);
  for (auto& channel : out)
    for (float x : channel)
      if (!std::isfinite(x))
        return false;
  return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  void* library = dlopen(ORVANE_EQ_VST2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  auto main =
      library ? reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"))
              : nullptr;
  gEffect = main ? main(HostCallback) : nullptr;
  if (!gEffect) {
    std::fprintf(stderr, "cannot load %s\n", ORVANE_EQ_VST2_LIBRARY);
    std::abort();
  }
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.f);
  Dispatch(effSetBlockSize, 0, kBlock);
  Dispatch(effMainsChanged, 0, 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(data, size);
  const bool isPreset = in.Byte() & 1;
  std::vector<uint8_t> chunk = in.Rest();
  const auto programBefore = Chunk(true);
  const auto bankBefore = Chunk(false);
  const VstIntPtr loaded =
      Dispatch(effSetChunk, isPreset ? 1 : 0, VstIntPtr(chunk.size()), chunk.data());
  Dispatch(effEditIdle);
  if (!loaded && (Chunk(true) != programBefore || Chunk(false) != bankBefore))
    std::abort(); // a refused chunk changed something
  if (!ProgramValuesFinite(Chunk(true)) || !BlockFinite())
    std::abort();
  return 0;
}
