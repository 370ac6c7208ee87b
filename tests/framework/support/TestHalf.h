#pragma once

#include "framework/ChunkIO.h"
#include "framework/IFxBase.h"
#include "framework/IPresetBank.h"

#include <vector>

// A plug-in half as small as the framework allows: it reads the parameter block the way
// both real halves do (values clamped and stored, then the change hook for every
// parameter) and lends its state to a preset bank as a controller does (processor chunk =
// version word and parameters, controller chunk = version word). It records the change
// hook calls and the restores so that tests see what the framework asked of it.
class TestHalf : public IFxBase, public IPresetState {
public:
  explicit TestHalf(int nParams, int effectVersion = 0x10100)
      : IFxBase(nParams, effectVersion, 0x6F764551 /* ovEQ */, 0x514E4D4B /* QNMK */, 0, false,
                false, false, kAPIVST3) {}

  int UnserializeParams(const KIT_HeapBuf& chunk, int pos) override {
    pos = UnserializeParamBlock(chunk, pos);
    for (int i = 0; i < NParams(); ++i)
      OnParamChange(i, 0);
    return pos;
  }
  void SetLatency(int samples) override { mLatency = samples; }
  void OnParamChange(int paramIdx, int) override { changes.push_back(paramIdx); }

  bool CaptureProcessorChunk(KIT_HeapBuf& chunk) override {
    return failCaptures ? false : IFxBase::SerializeState(chunk);
  }
  bool CaptureControllerChunk(KIT_HeapBuf& chunk) override {
    return failCaptures ? false : ChunkPutInt32(chunk, GetEffectVersion(false));
  }
  int LoadProcessorChunk(const KIT_HeapBuf& chunk, int pos) override {
    return IFxBase::UnserializeState(chunk, pos);
  }
  int LoadControllerChunk(const KIT_HeapBuf& chunk, int pos) override {
    int32_t version = 0;
    return ChunkGetInt32(chunk, pos, &version);
  }
  void OnPresetRestored() override { ++restores; }

  void SetBypassed(bool b) { mBypassed = b; }
  std::vector<double> Values() const {
    std::vector<double> v;
    for (int i = 0; i < NParams(); ++i)
      v.push_back(GetParam(i)->Value());
    return v;
  }

  std::vector<int> changes;
  int restores = 0;
  bool failCaptures = false;
};
