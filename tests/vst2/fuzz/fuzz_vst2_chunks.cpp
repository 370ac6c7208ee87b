// Program and bank chunks from a VST 2.4 host, through OrvaneEQ's shipped VST 2.4 face
// (effSetChunk), each followed by a block. First byte: bit 0 set for a program chunk, clear
// for a bank; the rest is the chunk. A refused chunk changes nothing (both chunks the effect
// gives stay as they were); after an accepted one every stored value is finite and so is the
// sound.
#include "tests/framework/fuzz/FuzzBytes.h"
#include "tests/hosts/vst2/RawEffect.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr VstInt32 kBlock = 64;
orvane::vst2host::RawEffect* gEQ = nullptr;

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
  gEQ->effect()->processReplacing(gEQ->effect(), inputs, outputs, kBlock);
  for (auto& channel : out)
    for (float x : channel)
      if (!std::isfinite(x))
        return false;
  return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gEQ = new orvane::vst2host::RawEffect(ORVANE_EQ_VST2_LIBRARY);
  if (!gEQ->effect()) {
    std::fprintf(stderr, "%s\n", gEQ->error().c_str());
    std::abort();
  }
  gEQ->Start(48000.f, kBlock);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(data, size);
  const bool isPreset = in.Byte() & 1;
  const auto programBefore = gEQ->Chunk(true);
  const auto bankBefore = gEQ->Chunk(false);
  const VstIntPtr loaded = gEQ->SetChunk(in.Rest(), isPreset);
  gEQ->Dispatch(effEditIdle);
  if (!loaded && (gEQ->Chunk(true) != programBefore || gEQ->Chunk(false) != bankBefore))
    std::abort(); // a refused chunk changed something
  if (!ProgramValuesFinite(gEQ->Chunk(true)) || !BlockFinite())
    std::abort();
  return 0;
}
