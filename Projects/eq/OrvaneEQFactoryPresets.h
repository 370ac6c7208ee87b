#pragma once

// The equaliser's factory presets after "Default", as Base64 blobs generated at build time
// (tools/presets) from their value table. Each decodes to kBlobBytes bytes: the processor
// chunk (version word, the 13 parameter values) and then the controller chunk.
struct OrvaneEQFactoryPreset {
  static constexpr int kBlobBytes = 112;
  static constexpr int kProcessorChunkBytes = 108;

  const char* name;
  const char* base64;
};

constexpr int kNumOrvaneEQFactoryPresets = 8;
extern const OrvaneEQFactoryPreset kOrvaneEQFactoryPresets[kNumOrvaneEQFactoryPresets];
