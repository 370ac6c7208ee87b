#pragma once

#include "framework/IParam.h"
#include "framework/KIT_HeapBuf.h"
#include "framework/KIT_PtrList.h"

#include <atomic>
#include <cstdint>

// The plug-in API a half runs under.
enum EAPI : int32_t { kAPIVST2 = 0, kAPIVST3 = 1, kAPIAU = 2, kAPIAAX = 4, kAPISA = 5 };

// What the processor half and the controller half share: the parameter list, the
// plug-in's identity and flags, the API and host it runs in, and the chunk vocabulary
// every state and preset format is built from (header, bypass word, version word,
// parameter block).
class IFxBase {
public:
  static constexpr int32_t kChunkMagic = 0x70666674; // 'pfft', bytes 74 66 66 70
  static constexpr int32_t kChunkVersion = 0x00020000;

  IFxBase(int nParams, int effectVersion, int uniqueID, int makerID, int latency, bool doesMidiIn,
          bool doesMidiOut, bool isInst, int api);
  virtual ~IFxBase();

  IFxBase(const IFxBase&) = delete;
  IFxBase& operator=(const IFxBase&) = delete;

  // Reads the parameter block at pos; each half supplies it.
  virtual int UnserializeParams(const KIT_HeapBuf& chunk, int pos) = 0;
  virtual void SetLatency(int samples) = 0;
  // Plug-ins react to parameter changes here.
  virtual void OnParamChange(int paramIdx, int sampleOffset);
  // Appends the version word and the parameter block; false when the chunk cannot grow
  // (then the chunk is as it was).
  virtual bool SerializeState(KIT_HeapBuf& chunk);
  // Skips the version word and reads the parameter block.
  virtual int UnserializeState(const KIT_HeapBuf& chunk, int pos);
  // Called right after the host is known.
  virtual void OnHostIdentified();

  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int NParams() const { return mParams.GetSize(); }
  int NStoredParams() const;

  bool IsInst() const { return mIsInst; }
  bool DoesMidiIn() const { return mDoesMidiIn; }
  bool DoesMidiOut() const { return mDoesMidiOut; }
  bool GetBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* out) const;
  int GetHostVersion() const { return mHostVersion; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMakerID() const { return mMakerID; }
  int GetLatency() const { return mLatency; }
  int GetAPI() const { return mAPI; }
  int GetHost() const { return mHost; }
  const char* GetAPIString() const;
  const char* GetArchString() const { return "x64"; }
  void SetHost(const char* hostName, int hostVersion);

  // Chunk vocabulary. Writers append and return false when the chunk cannot grow (the
  // chunk is then left as it was); readers advance pos, or set it to -1 when bytes are
  // missing.
  static bool AppendFxVer(KIT_HeapBuf& chunk);
  static bool InitChunkWithFxVer(KIT_HeapBuf& chunk);
  // The framework chunk version after the header, or 0 (pos unchanged) when pos does not
  // start a header.
  static int GetFxVerFromChunk(const KIT_HeapBuf& chunk, int* pos);
  bool SerializeBypass(KIT_HeapBuf& chunk) const;
  void UnserializeBypass(const KIT_HeapBuf& chunk, int* pos);
  bool SerializeParams(KIT_HeapBuf& chunk) const;

protected:
  // The parameter block reader both halves build on: one f64 per stored parameter, clamped
  // into its range and stored (a NaN leaves the parameter as it is). When fewer than 8
  // bytes are left the parameter gets 0.0 (clamped) and the position becomes -1; later
  // parameters keep their values. Runs no change hook.
  int UnserializeParamBlock(const KIT_HeapBuf& chunk, int pos);

  KIT_PtrList<IParam> mParams{4096};
  bool mIsInst;
  bool mDoesMidiIn;
  bool mDoesMidiOut;
  // The processor's audio thread switches it (bypass automation) while the host's other
  // threads may ask for it, so it is one atomic word.
  std::atomic<bool> mBypassed{false};
  int32_t mEffectVersion;
  int32_t mHostVersion = 0;
  int32_t mUniqueID;
  int32_t mMakerID;
  int32_t mLatency;
  int32_t mAPI;
  int32_t mHost = -1;
};
