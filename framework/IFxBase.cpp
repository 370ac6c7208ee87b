#include "framework/IFxBase.h"

#include <algorithm>
#include <cmath>

#include "framework/ChunkIO.h"
#include "framework/EffectVersion.h"
#include "framework/HostFromName.h"
#include "framework/StringUtils.h"

namespace {
// Undoes a writer's partial append so that a failed write leaves the chunk as it was.
bool Commit(KIT_HeapBuf& chunk, int sizeBefore, bool ok) {
  if (!ok)
    chunk.Resize(sizeBefore);
  return ok;
}
} // namespace

IFxBase::IFxBase(int nParams, int effectVersion, int uniqueID, int makerID, int latency,
                 bool doesMidiIn, bool doesMidiOut, bool isInst, int api)
    : mIsInst(isInst), mDoesMidiIn(doesMidiIn), mDoesMidiOut(doesMidiOut),
      mEffectVersion(effectVersion), mUniqueID(uniqueID), mMakerID(makerID), mLatency(latency),
      mAPI(api) {
  // The list does not own its elements on destruction, so a constructor that throws half
  // way must free the parameters it made itself.
  try {
    for (int i = 0; i < nParams; ++i) {
      IParam* param = new IParam();
      if (!mParams.Add(param)) {
        delete param;
        break;
      }
    }
  } catch (...) {
    mParams.Empty(true);
    throw;
  }
}

IFxBase::~IFxBase() {
  mParams.Empty(true);
}

void IFxBase::OnParamChange(int, int) {}
void IFxBase::OnHostIdentified() {}

int IFxBase::NStoredParams() const {
  int n = 0;
  for (int i = 0; i < NParams(); ++i)
    n += GetParam(i)->ReadOnly() ? 0 : 1;
  return n;
}

int IFxBase::GetEffectVersion(bool decimal) const {
  return decimal ? GetDecimalVersion(mEffectVersion) : mEffectVersion;
}

void IFxBase::GetEffectVersionStr(char* out) const {
  GetVersionStr(mEffectVersion, out);
}

const char* IFxBase::GetAPIString() const {
  switch (mAPI) {
  case kAPIVST2:
    return "VST2";
  case kAPIVST3:
    return "VST3";
  case kAPIAU:
    return "AU";
  case kAPIAAX:
    return "AAX";
  case kAPISA:
    return "Standalone";
  default:
    return "API undefined";
  }
}

void IFxBase::SetHost(const char* hostName, int hostVersion) {
  mHost = LookUpHost(hostName);
  mHostVersion = hostVersion;
  if (mHost == kHostProTools)
    mAPI = kAPIAAX;
  else if (mHost == kHostVST3AUWrapper)
    mAPI = kAPIAU;
  char version[kVersionStrSize];
  GetVersionStr(hostVersion, version);
  ORVANE_TRACE("host_%sknown:%s:%s", mHost == kHostUnknown ? "un" : "", hostName ? hostName : "",
               version);
}

bool IFxBase::AppendFxVer(KIT_HeapBuf& chunk) {
  const int before = chunk.GetSize();
  return Commit(chunk, before,
                ChunkPutInt32(chunk, kChunkMagic) && ChunkPutInt32(chunk, kChunkVersion));
}

bool IFxBase::InitChunkWithFxVer(KIT_HeapBuf& chunk) {
  chunk.Resize(0);
  return AppendFxVer(chunk);
}

int IFxBase::GetFxVerFromChunk(const KIT_HeapBuf& chunk, int* pos) {
  int32_t magic = 0;
  if (!pos || ChunkGetInt32(chunk, *pos, &magic) < 0 || magic != kChunkMagic)
    return 0;
  int32_t version = 0;
  *pos = ChunkGetInt32(chunk, *pos + 4, &version);
  return *pos < 0 ? 0 : version;
}

bool IFxBase::SerializeBypass(KIT_HeapBuf& chunk) const {
  return ChunkPutInt32(chunk, GetBypassed() ? 1 : 0);
}

void IFxBase::UnserializeBypass(const KIT_HeapBuf& chunk, int* pos) {
  int32_t word = 0;
  *pos = ChunkGetInt32(chunk, *pos, &word);
  if (*pos >= 0)
    mBypassed = word != 0;
}

bool IFxBase::SerializeParams(KIT_HeapBuf& chunk) const {
  const int before = chunk.GetSize();
  bool ok = true;
  for (int i = 0; ok && i < NParams(); ++i) {
    const IParam* param = GetParam(i);
    ORVANE_TRACE("%d %s %f", i, param->GetNameForHost(), param->Value());
    if (!param->ReadOnly())
      ok = ChunkPutDouble(chunk, param->Value());
  }
  return Commit(chunk, before, ok);
}

bool IFxBase::SerializeState(KIT_HeapBuf& chunk) {
  const int before = chunk.GetSize();
  return Commit(chunk, before, ChunkPutInt32(chunk, mEffectVersion) && SerializeParams(chunk));
}

int IFxBase::UnserializeState(const KIT_HeapBuf& chunk, int pos) {
  int32_t versionWord = 0;
  return UnserializeParams(chunk, ChunkGetInt32(chunk, pos, &versionWord));
}

int IFxBase::UnserializeParamBlock(const KIT_HeapBuf& chunk, int pos) {
  for (int i = 0; pos >= 0 && i < NParams(); ++i) {
    IParam* param = GetParam(i);
    if (param->ReadOnly())
      continue;
    double v = 0.0;
    pos = ChunkGetDouble(chunk, pos, &v);
    if (pos < 0)
      v = 0.0;
    if (!std::isnan(v))
      param->Set(std::clamp(v, param->Min(), std::max(param->Min(), param->Max())));
  }
  return pos;
}
