#include "Projects/compressor/OrvaneCompressorModule.h"

#include "Projects/compressor/OrvaneCompressorCids.h"

#include "public.sdk/source/main/moduleentry.h"

bool InitModule() {
  return true;
}

bool DeinitModule() {
  return true;
}

Steinberg::FUID& GetProcessorUID(Steinberg::FUID& out) {
  out = OrvaneCompressor::kProcessorUID;
  return out;
}

Steinberg::int32 GetUniqueID() {
  return OrvaneCompressor::kUniqueID;
}
