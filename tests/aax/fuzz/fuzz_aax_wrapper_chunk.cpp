// The compressor's AAX chunk as a host hands it back, through the shipped bundle in the
// recording AAX host: any data is compared with the active state (CompareActiveChunk) and
// restored (SetChunk), and afterwards the effect still saves a chunk that it reads back.
#include "FakeAAXBundle.h"
#include "FakeAAXHost.h"
#include "FakeEffectInstance.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr AAX_CTypeID kChunkID = AAX_FourCC('o', 'v', 'C', 'P');

struct Session {
  aaxhost::FakeAAXHost host;
  std::unique_ptr<aaxhost::FakeAAXBundle> bundle;
  std::unique_ptr<aaxhost::FakeEffectInstance> instance;
};
Session* gSession = nullptr;

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gSession = new Session;
  std::string error;
  gSession->bundle = aaxhost::FakeAAXBundle::Load(ORVANE_COMPRESSOR_BUNDLE, error);
  if (!gSession->bundle || gSession->bundle->Startup(&gSession->host) != AAX_SUCCESS)
    Fail("the compressor bundle does not start");
  IACFUnknown* registered = nullptr;
  if (gSession->bundle->RegisterPlugin(&gSession->host, &registered) != AAX_SUCCESS || !registered)
    Fail("the compressor bundle registers nothing");
  registered->Release();
  const auto& collections = gSession->host.factory.Collections();
  if (collections.empty() || collections[0]->effects.empty())
    Fail("the compressor bundle describes no effect");
  gSession->host.controller.inputStemFormat = 0x00010002u;
  gSession->host.controller.outputStemFormat = 0x00010002u;
  gSession->host.controller.sampleRate = 48000.f;
  gSession->instance = std::make_unique<aaxhost::FakeEffectInstance>(
      gSession->host, *collections[0]->effects[0].second);
  if (gSession->instance->InitializeResult() != AAX_SUCCESS || !gSession->instance->Parameters())
    Fail("the compressor's effect does not initialise");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> chunk(data, data + size);
  aaxhost::FakeEffectInstance& instance = *gSession->instance;
  bool equal = false;
  instance.CompareChunk(kChunkID, chunk, &equal);
  instance.RestoreChunk(kChunkID, chunk);
  const std::vector<uint8_t> saved = instance.SaveChunk(kChunkID);
  if (saved.empty() || instance.RestoreChunk(kChunkID, saved) != AAX_SUCCESS)
    Fail("after a restore the effect no longer saves a chunk it reads back");
  return 0;
}
