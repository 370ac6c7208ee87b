// The state road of IFxProcessor: the processor state (framework header, bypass word, version
// word, parameter block) written and restored on the host's UI thread. Included once by
// IFxProcessor.cpp.

#include <thread>

#include "framework/ChunkIO.h"
#include "framework/StateStream.h"

// While a restored state waits for the audio thread, it is what the processor's state is;
// otherwise, while processing, the values of the audio thread's last block; while inactive the
// parameters themselves, which then no other thread touches.
template <class T> bool IFxProcessor<T>::SerializeProcessorState(KIT_HeapBuf& chunk) {
  if (!mActive.load(std::memory_order_acquire))
    return InitChunkWithFxVer(chunk) && SerializeBypass(chunk) && SerializeState(chunk);
  if (mPendingState.load(std::memory_order_acquire) != kNoPendingState)
    return SerializeValues(chunk, mPendingBypassed, mPendingValues.data());
  std::vector<double> values(static_cast<size_t>(NParams()));
  bool bypassed = false;
  mSnapshot.Read(&bypassed, values.data());
  return SerializeValues(chunk, bypassed, values.data());
}

template <class T>
bool IFxProcessor<T>::SerializeValues(KIT_HeapBuf& chunk, bool bypassed, const double* values) {
  bool ok = InitChunkWithFxVer(chunk) && ChunkPutInt32(chunk, bypassed ? 1 : 0) &&
            ChunkPutInt32(chunk, GetEffectVersion(false));
  for (int i = 0; ok && i < NParams(); ++i) {
    if (!GetParam(i)->ReadOnly())
      ok = ChunkPutDouble(chunk, values[i]);
  }
  return ok;
}

template <class T> tresult PLUGIN_API IFxProcessor<T>::getState(IBStream* stream) {
  if (!stream)
    return kInvalidArgument;
  KIT_HeapBuf chunk(4096);
  {
    std::lock_guard<std::mutex> turn(mStateCallMutex);
    if (!SerializeProcessorState(chunk))
      return kResultFalse;
  }
  if (!StateStream::WriteChunk(stream, chunk))
    return kResultFalse;
  return kResultOk;
}

// A state is read whole into scratch first: one of another header, cut inside a value or
// holding a non-finite value is refused and no parameter changes. A state of a version with
// fewer or more parameters loads what the two versions share.
template <class T> tresult PLUGIN_API IFxProcessor<T>::setState(IBStream* stream) {
  KIT_HeapBuf chunk(4096);
  ProcessorState state;
  if (!StateStream::ReadChunk(stream, chunk) || !state.Read(*this, chunk))
    return kResultFalse;
  std::lock_guard<std::mutex> turn(mStateCallMutex);
  if (mActive.load(std::memory_order_acquire))
    HandOffState(state);
  else
    ApplyState(state);
  return kResultOk;
}

template <class T> void IFxProcessor<T>::ApplyState(const ProcessorState& state) {
  SetBypassedFromHost(state.bypassed);
  for (int i = 0; i < NParams(); ++i) {
    if (!GetParam(i)->ReadOnly())
      GetParam(i)->Set(state.values[size_t(i)]);
  }
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
}

// The audio thread may be inside a block: the values go to it through the pending record,
// which only setState writes (one caller at a time). A record the audio thread has not taken
// yet is taken back and replaced; one it is applying right now is waited for (a few
// microseconds): the audio thread itself never waits.
template <class T> void IFxProcessor<T>::HandOffState(const ProcessorState& state) {
  for (;;) {
    int seen = kStateReady;
    if (mPendingState.compare_exchange_strong(seen, kNoPendingState, std::memory_order_acquire))
      break;
    if (seen == kNoPendingState)
      break;
    std::this_thread::yield();
  }
  mPendingBypassed = state.bypassed;
  for (int i = 0; i < NParams(); ++i)
    mPendingValues[size_t(i)] = state.values[size_t(i)];
  mPendingState.store(kStateReady, std::memory_order_release);
}

template <class T> int IFxProcessor<T>::UnserializeParams(const KIT_HeapBuf& chunk, int pos) {
  pos = UnserializeParamBlock(chunk, pos);
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
  return pos;
}
