#include "framework/IPresetBank.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/Base64.h"
#include "framework/ChunkIO.h"

namespace {

const char* const kUserPresetPhrase = "user preset";

bool TakesIntArgument(const IParam& param) {
  const IParam::EParamType t = param.Type();
  return t == IParam::kTypeBool || t == IParam::kTypeInt || t == IParam::kTypeEnum;
}

double NextValueFor(const IParam& param, va_list& args) {
  return TakesIntArgument(param) ? double(va_arg(args, int)) : va_arg(args, double);
}

std::vector<double> CurrentValues(const IFxBase& params) {
  std::vector<double> values(size_t(params.NParams()));
  for (int i = 0; i < params.NParams(); ++i)
    values[size_t(i)] = params.GetParam(i)->Value();
  return values;
}

bool CopySlot(IPreset& dst, const IPreset& src) {
  dst.initialized = src.initialized;
  std::memcpy(dst.name, src.name, sizeof dst.name);
  return dst.procChunk.CopyFrom(src.procChunk) && dst.ctrlChunk.CopyFrom(src.ctrlChunk);
}

void SwapSlot(IPreset& a, IPreset& b) {
  std::swap(a.initialized, b.initialized);
  std::swap(a.name, b.name);
  a.procChunk.Swap(b.procChunk);
  a.ctrlChunk.Swap(b.ctrlChunk);
}

} // namespace

IPresetBank::IPresetBank(int nPresets) {
  // The list does not free its elements by itself: a constructor that throws half way frees
  // the slots it made.
  try {
    for (int i = 0; i < nPresets; ++i) {
      IPreset* slot = new IPreset();
      if (!mPresets.Add(slot)) {
        delete slot;
        break;
      }
    }
  } catch (...) {
    mPresets.Empty(true);
    throw;
  }
}

IPresetBank::~IPresetBank() {
  mPresets.Empty(true);
}

IPreset* IPresetBank::GetFirstFreePreset() const {
  for (int i = 0; i < NPresets(); ++i) {
    if (!GetPreset(i)->initialized)
      return GetPreset(i);
  }
  return nullptr;
}

const char* IPresetBank::GetPresetName(int idx) const {
  const IPreset* slot = GetPreset(idx);
  return slot ? slot->name : "";
}

// Both chunks are captured aside first, so a failed capture leaves the slot as it was.
bool IPresetBank::Capture(IPreset& slot, IPresetState& state) {
  KIT_HeapBuf proc(4096), ctrl(4096);
  if (!state.CaptureProcessorChunk(proc) || !state.CaptureControllerChunk(ctrl))
    return false;
  slot.procChunk.Swap(proc);
  slot.ctrlChunk.Swap(ctrl);
  return true;
}

int IPresetBank::MakeDefaultPreset(const char* name, int count, IPresetState& state) {
  int made = 0;
  for (; made < count; ++made) {
    IPreset* slot = GetFirstFreePreset();
    if (!slot || !Capture(*slot, state))
      break;
    slot->initialized = true;
    slot->SetName(name ? name : "Empty");
  }
  return made;
}

bool IPresetBank::MakePresetFromBlob(const char* name, const char* base64, int bufSize,
                                     int procChunkSize) {
  if (!GetFirstFreePreset() || bufSize < 0 || procChunkSize < 0 || procChunkSize > bufSize)
    return false;
  std::vector<uint8_t> buffer(size_t(bufSize), 0);
  DecodeBase64(base64, buffer.data(), bufSize);
  return MakePresetFromChunk(name, procChunkSize, buffer.data(), bufSize);
}

bool IPresetBank::MakePresetFromChunk(const char* name, int procChunkSize, const uint8_t* buffer,
                                      int bufSize) {
  IPreset* slot = GetFirstFreePreset();
  if (!slot || bufSize < 0 || procChunkSize < 0 || procChunkSize > bufSize ||
      (!buffer && bufSize > 0))
    return false;
  KIT_HeapBuf proc(4096), ctrl(4096);
  if (!proc.Append(buffer, procChunkSize) ||
      !ctrl.Append(buffer ? buffer + procChunkSize : nullptr, bufSize - procChunkSize))
    return false;
  slot->procChunk.Swap(proc);
  slot->ctrlChunk.Swap(ctrl);
  slot->initialized = true;
  slot->SetName(name ? name : "Empty");
  return true;
}

// The values stand in for the current ones only while the chunks are captured.
bool IPresetBank::MakePresetWithValues(IFxBase& params, IPresetState& state, const char* name,
                                       const double* values) {
  IPreset* slot = GetFirstFreePreset();
  if (!slot)
    return false;
  const std::vector<double> saved = CurrentValues(params);
  for (int i = 0; i < params.NParams(); ++i)
    params.GetParam(i)->Set(values[i]);
  const bool ok = Capture(*slot, state);
  for (int i = 0; i < params.NParams(); ++i)
    params.GetParam(i)->Set(saved[size_t(i)]);
  if (!ok)
    return false;
  slot->initialized = true;
  slot->SetName(name ? name : "Empty");
  return true;
}

bool IPresetBank::MakePreset(IFxBase& params, IPresetState& state, const char* name,
                             const double* values, int nValues) {
  if (!values || nValues < params.NParams())
    return false;
  return MakePresetWithValues(params, state, name, values);
}

bool IPresetBank::MakePresetV(IFxBase& params, IPresetState& state, const char* name,
                              va_list args) {
  va_list list;
  va_copy(list, args);
  std::vector<double> values(size_t(params.NParams()));
  for (int i = 0; i < params.NParams(); ++i)
    values[size_t(i)] = NextValueFor(*params.GetParam(i), list);
  va_end(list);
  return MakePresetWithValues(params, state, name, values.data());
}

bool IPresetBank::MakePresetFromNamedParams(IFxBase& params, IPresetState& state, const char* name,
                                            const NamedValue* named, int n) {
  if (n < 0 || (n > 0 && !named))
    return false;
  std::vector<double> values = CurrentValues(params);
  for (int k = 0; k < n; ++k) {
    if (!params.GetParam(named[k].paramIdx))
      return false;
    values[size_t(named[k].paramIdx)] = named[k].value;
  }
  return MakePresetWithValues(params, state, name, values.data());
}

bool IPresetBank::MakePresetFromNamedParamsV(IFxBase& params, IPresetState& state, const char* name,
                                             int n, va_list args) {
  va_list list;
  va_copy(list, args);
  std::vector<double> values = CurrentValues(params);
  bool ok = n >= 0;
  for (int k = 0; ok && k < n; ++k) {
    const int idx = va_arg(list, int);
    const IParam* param = params.GetParam(idx);
    // Without the parameter the type of the value that follows is unknown, so the rest of
    // the list cannot be read.
    ok = param != nullptr;
    if (ok)
      values[size_t(idx)] = NextValueFor(*param, list);
  }
  va_end(list);
  return ok && MakePresetWithValues(params, state, name, values.data());
}

bool IPresetBank::RestorePreset(int idx, IPresetState& state) {
  IPreset* slot = GetPreset(idx);
  if (!slot)
    return false;
  if (slot->initialized) {
    // A slot whose chunks do not load whole (a short blob) would leave the parameters half
    // loaded; they are put back from a capture taken first.
    KIT_HeapBuf liveProc(4096), liveCtrl(4096);
    const bool captured =
        state.CaptureProcessorChunk(liveProc) && state.CaptureControllerChunk(liveCtrl);
    if (state.LoadProcessorChunk(slot->procChunk, 0) < 1 ||
        state.LoadControllerChunk(slot->ctrlChunk, 0) < 1) {
      if (captured) {
        state.LoadProcessorChunk(liveProc, 0);
        state.LoadControllerChunk(liveCtrl, 0);
      }
      return false;
    }
  } else {
    char name[IPreset::kMaxNameLen];
    MakeDefaultUserPresetName(name);
    if (!Capture(*slot, state))
      return false;
    slot->initialized = true;
    slot->SetName(name);
  }
  mCurrentIndex = idx;
  state.OnPresetRestored();
  return true;
}

bool IPresetBank::RestorePresetByName(const char* name, IPresetState& state) {
  if (!name || !*name)
    return false;
  for (int i = 0; i < NPresets(); ++i) {
    if (std::strcmp(GetPreset(i)->name, name) == 0)
      return RestorePreset(i, state);
  }
  return false;
}

bool IPresetBank::ModifyCurrentPreset(const char* newName, IPresetState& state) {
  IPreset* slot = GetPreset(mCurrentIndex);
  if (!slot || !Capture(*slot, state))
    return false;
  slot->initialized = true;
  if (newName && *newName)
    slot->SetName(newName);
  return true;
}

void IPresetBank::MakeDefaultUserPresetName(char* out) const {
  int n = 0;
  for (int i = 0; i < NPresets(); ++i)
    n += std::strstr(GetPreset(i)->name, kUserPresetPhrase) ? 1 : 0;
  std::snprintf(out, IPreset::kMaxNameLen, "%s %d", kUserPresetPhrase, n + 1);
}

bool IPresetBank::SerializePresets(KIT_HeapBuf& chunk) const {
  const int before = chunk.GetSize();
  bool ok = true;
  for (int i = 0; ok && i < NPresets(); ++i) {
    const IPreset* slot = GetPreset(i);
    const int n = int(std::strlen(slot->name));
    const uint8_t flag = slot->initialized ? 1 : 0;
    ok = ChunkPutInt32(chunk, n) && chunk.Append(slot->name, n) && chunk.Append(&flag, 1);
    if (ok && slot->initialized)
      ok = chunk.Append(slot->procChunk.Get(), slot->procChunk.GetSize()) &&
           chunk.Append(slot->ctrlChunk.Get(), slot->ctrlChunk.GetSize());
  }
  if (!ok)
    chunk.Resize(before);
  return ok;
}

// The slots are read into copies and take their new contents only once the bank has been
// accepted, so a refused bank changes nothing. Loading a slot goes through the controller's
// own readers (which set its parameters); the parameters are put back from a capture taken
// first whenever the reading stops inside a slot.
int IPresetBank::UnserializePresets(const KIT_HeapBuf& chunk, int pos, IPresetState& state) {
  if (pos < 0)
    return -1;
  const int n = NPresets();
  std::vector<IPreset> staged(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    if (!CopySlot(staged[size_t(i)], *GetPreset(i)))
      return -1;
  }
  KIT_HeapBuf liveProc(4096), liveCtrl(4096);
  if (!state.CaptureProcessorChunk(liveProc) || !state.CaptureControllerChunk(liveCtrl))
    return -1;

  bool refused = false;
  bool stoppedInSlot = false;
  for (int i = 0; i < n && pos >= 0; ++i) {
    IPreset& slot = staged[size_t(i)];
    int32_t nameLen = 0;
    int p = ChunkGetInt32(chunk, pos, &nameLen);
    if (p < 0) {
      pos = -1;
      break;
    }
    if (nameLen < 0 || nameLen > ChunkBytesLeft(chunk, p)) {
      refused = true;
      break;
    }
    char oldName[IPreset::kMaxNameLen];
    std::memcpy(oldName, slot.name, sizeof oldName);
    slot.SetName(reinterpret_cast<const char*>(chunk.Bytes()) + p, nameLen);
    p += nameLen;

    uint8_t flag = 0;
    p = ChunkGetBytes(chunk, p, &flag, 1);
    if (p < 0) {
      pos = -1;
      break;
    }
    if (!flag) {
      slot.initialized = false;
      pos = p;
      continue;
    }
    p = state.LoadProcessorChunk(chunk, p);
    if (p > 0)
      p = state.LoadControllerChunk(chunk, p);
    // A slot whose data ends early keeps what it had rather than a half-read capture.
    if (p <= 0 || !Capture(slot, state)) {
      std::memcpy(slot.name, oldName, sizeof oldName);
      stoppedInSlot = true;
      pos = -1;
      break;
    }
    slot.initialized = true;
    pos = p;
  }

  if (refused || stoppedInSlot) {
    state.LoadProcessorChunk(liveProc, 0);
    state.LoadControllerChunk(liveCtrl, 0);
  }
  if (refused)
    return -1;
  for (int i = 0; i < n; ++i)
    SwapSlot(*GetPreset(i), staged[size_t(i)]);
  RestorePreset(mCurrentIndex, state);
  return pos;
}

namespace {
// Within this distance of a grid point (in grid steps) a value counts as that point.
constexpr double kGridSlack = 1e-4;

bool NearInteger(double x) {
  return std::fabs(x - std::round(x)) <= kGridSlack;
}
} // namespace

int IPresetBank::PresetIndexFromNormalized(double v, int count) {
  if (count < 1 || !(v >= 0.0 && v <= 1.0))
    return -1;
  const double onSteps = v * count;
  const double onList = v * (count - 1);
  const bool onAStep = NearInteger(onSteps) && std::round(onSteps) < count;
  if (count >= 2 && NearInteger(onList) && !onAStep)
    return int(std::lround(onList));
  const int idx = int(onSteps + kGridSlack);
  return idx < count ? idx : -1;
}
