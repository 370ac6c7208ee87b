// The processing road of IFxProcessor: one block on the audio thread. Included once by
// IFxProcessor.cpp. Nothing here allocates, locks or throws.

#include <cmath>

#include "framework/DenormalGuard.h"

namespace {

// A 7-bit MIDI value from a host's scaled one; a NaN counts as 0 (converting it to an integer
// would be undefined).
int To7Bit(double scaled) {
  return scaled > 0.0 ? int(std::min(scaled, 127.0)) : 0;
}

// A host's float velocity k / 127 times 127 can land a hair above k; without the margin the
// ceiling would send k + 1.
int VelocityTo7Bit(double v) {
  return To7Bit(std::ceil(v * 127.0 - 1e-4));
}

int PressureTo7Bit(double v) {
  return To7Bit(v * 127.0);
}

} // namespace

template <class T> tresult PLUGIN_API IFxProcessor<T>::process(ProcessData& data) {
  DenormalGuard denormals;
  CopyProcessContext(data);
  const bool tookState = TakePendingState();
  ApplyParameterChanges(data.inputParameterChanges);
  // The values of this block, for getState, before a state taken above counts as applied.
  mSnapshot.Publish(*this);
  if (tookState)
    ReleasePendingState();
  if (DoesMidiIn())
    ReadInputEvents(data.inputEvents);
  ProcessAudio(data);
  FlushOutgoingChanges(data.outputParameterChanges);
  if (DoesMidiOut() && data.outputEvents)
    WriteOutputEvents(*data.outputEvents);
  mBlocksDone.store(mBlocksDone.load(std::memory_order_relaxed) + 1, std::memory_order_release);
  return kResultOk;
}

template <class T> void IFxProcessor<T>::CopyProcessContext(const ProcessData& data) {
  if (data.processContext)
    mProcessContext = *data.processContext;
  else
    mProcessContext = ProcessContext{};
}

// A state handed over by setState while processing: applied whole, at a block start, with the
// change hook for every parameter, as a restore on the UI thread would. While it is being
// applied, setState waits and getState reports it; ReleasePendingState ends that.
template <class T> bool IFxProcessor<T>::TakePendingState() {
  int expected = kStateReady;
  if (!mPendingState.compare_exchange_strong(expected, kStateApplying, std::memory_order_acquire,
                                             std::memory_order_relaxed))
    return false;
  SetBypassedFromHost(mPendingBypassed);
  for (int i = 0; i < NParams(); ++i) {
    if (!GetParam(i)->ReadOnly())
      GetParam(i)->Set(mPendingValues[size_t(i)]);
  }
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
  return true;
}

template <class T> void IFxProcessor<T>::ReleasePendingState() {
  mPendingState.store(kNoPendingState, std::memory_order_release);
}

template <class T> void IFxProcessor<T>::ApplyParameterChanges(IParameterChanges* changes) {
  if (!changes)
    return;
  const int32 nQueues = changes->getParameterCount();
  for (int32 q = 0; q < nQueues; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (!queue)
      continue;
    const ParamID id = queue->getParameterId();
    const int32 nPoints = queue->getPointCount();
    for (int32 p = 0; p < nPoints; ++p) {
      int32 offset = 0;
      ParamValue value = 0.0;
      if (queue->getPoint(p, offset, value) == kResultOk)
        ApplyParameterPoint(id, offset, value);
    }
  }
}

template <class T>
void IFxProcessor<T>::ApplyParameterPoint(ParamID id, int32 offset, double value) {
  if (std::isnan(value) || id == kFxPresetParamID)
    return;
  if (id == kFxBypassParamID) {
    SetBypassedFromHost(value > 0.5);
  } else if (id < uint32_t(NParams())) {
    GetParam(int(id))->SetNormalized(value);
    OnParamChange(int(id), offset);
  } else if (id >= kFxMidiCCParamBase) {
    const uint32_t k = id - kFxMidiCCParamBase;
    const int channel = int(k / kFxMidiCCsPerChannel);
    const int controller = int(k % kFxMidiCCsPerChannel);
    if (channel >= int(kFxMidiChannels))
      return;
    IMidiMsg msg;
    if (controller == 129)
      msg.MakePitchWheelMsg(value * 2.0 - 1.0, channel, offset);
    else if (controller == 128)
      msg.MakeChannelATMsg(PressureTo7Bit(value), offset, channel);
    else
      msg.MakeControlChangeMsg(controller, value, channel, offset);
    ProcessMidiMsg(&msg);
  }
}

// A bypass switched on starts from a silent delay line rather than audio of the last bypass.
template <class T> void IFxProcessor<T>::SetBypassedFromHost(bool bypassed) {
  if (bypassed == GetBypassed())
    return;
  if (bypassed)
    mDelayLine.Clear();
  mBypassed = bypassed;
}

template <class T> void IFxProcessor<T>::ReadInputEvents(IEventList* events) {
  const int32 n = events ? events->getEventCount() : 0;
  for (int32 i = 0; i < n; ++i) {
    Event e{};
    if (events->getEvent(i, e) != kResultOk)
      continue;
    IMidiMsg msg;
    switch (e.type) {
    case Event::kNoteOnEvent:
      msg.MakeNoteOnMsg(e.noteOn.pitch, VelocityTo7Bit(e.noteOn.velocity), e.sampleOffset,
                        e.noteOn.channel);
      ProcessMidiMsg(&msg);
      break;
    case Event::kNoteOffEvent:
      msg.MakeNoteOffMsg(e.noteOff.pitch, e.sampleOffset, e.noteOff.channel);
      ProcessMidiMsg(&msg);
      break;
    case Event::kPolyPressureEvent:
      msg.MakePolyATMsg(e.polyPressure.pitch, PressureTo7Bit(e.polyPressure.pressure),
                        e.sampleOffset, e.polyPressure.channel);
      ProcessMidiMsg(&msg);
      break;
    case Event::kDataEvent:
      if (e.data.bytes && e.data.size > 0 && e.data.size <= uint32(INT32_MAX)) {
        ISysEx sysex;
        sysex.offset = e.sampleOffset;
        sysex.size = int32_t(e.data.size);
        sysex.data = e.data.bytes;
        ProcessSysEx(&sysex);
      }
      break;
    default:
      break;
    }
  }
  IMidiMsg msg;
  while (mMidiFromController.Read(msg))
    ProcessMidiMsg(&msg);
}

// Blocks longer than the buffers set up for are processed in pieces of the set-up size.
template <class T> void IFxProcessor<T>::ProcessAudio(ProcessData& data) {
  const int32 n = data.numSamples;
  const bool is64 = data.symbolicSampleSize == kSample64;
  if (n <= 0 || (!is64 && data.symbolicSampleSize != kSample32))
    return;
  ConnectInputs(data, is64);
  ConnectOutputs(data, is64);
  for (int32 done = 0; done < n;) {
    const int32 m = std::min(n - done, mBlockSize);
    if (m <= 0) {
      // Never set up: nothing to process with, so the host hears silence.
      for (OutChannel& ch : mOutChannels) {
        if (!ch.connected)
          continue;
        if (is64)
          std::memset(ch.host64 + done, 0, sizeof(T) * size_t(n - done));
        else
          std::memset(ch.host32 + done, 0, sizeof(float) * size_t(n - done));
      }
      break;
    }
    PointSlotsAt(done, m, is64);
    if (GetBypassed())
      PassThrough(m);
    else
      ProcessDoubleReplacing(mInputPtrs.data(), mOutputPtrs.data(), m);
    WriteBackOutputs(done, m, is64);
    done += m;
  }
}

template <class T> void IFxProcessor<T>::ConnectInputs(const ProcessData& data, bool is64) {
  const AudioBusBuffers* bus = data.numInputs > 0 && data.inputs ? &data.inputs[0] : nullptr;
  void* const* buffers = nullptr;
  if (bus)
    buffers = is64 ? reinterpret_cast<void* const*>(bus->channelBuffers64)
                   : reinterpret_cast<void* const*>(bus->channelBuffers32);
  const int hostChannels = buffers ? std::max(bus->numChannels, 0) : 0;
  for (size_t c = 0; c < mInChannels.size(); ++c) {
    InChannel& ch = mInChannels[c];
    const void* p = int(c) < hostChannels ? buffers[c] : nullptr;
    ch.connected = p != nullptr;
    ch.host64 = is64 ? static_cast<const T*>(p) : nullptr;
    ch.host32 = is64 ? nullptr : static_cast<const float*>(p);
  }
}

// Host channels that no output channel of the plug-in serves get silence, so the host never
// plays what its buffers held before.
template <class T> void IFxProcessor<T>::ConnectOutputs(ProcessData& data, bool is64) {
  const size_t nOut = mOutChannels.size();
  size_t c = 0;
  const int32 nBuses = data.outputs ? std::max(data.numOutputs, 0) : 0;
  for (int32 b = 0; b < nBuses; ++b) {
    AudioBusBuffers& bus = data.outputs[b];
    void* const* buffers = is64 ? reinterpret_cast<void* const*>(bus.channelBuffers64)
                                : reinterpret_cast<void* const*>(bus.channelBuffers32);
    const AudioBus* ours = getAudioOutput(b);
    const bool active = ours && ours->isActive();
    const int32 channels = buffers ? std::max(bus.numChannels, 0) : 0;
    for (int32 k = 0; k < channels; ++k) {
      void* p = buffers[k];
      if (c < nOut) {
        OutChannel& ch = mOutChannels[c++];
        ch.connected = active && p;
        ch.host64 = ch.connected && is64 ? static_cast<T*>(p) : nullptr;
        ch.host32 = ch.connected && !is64 ? static_cast<float*>(p) : nullptr;
        if (ch.connected)
          continue;
      }
      if (p)
        std::memset(p, 0, (is64 ? sizeof(T) : sizeof(float)) * size_t(data.numSamples));
    }
  }
  for (; c < nOut; ++c) {
    mOutChannels[c].connected = false;
    mOutChannels[c].host64 = nullptr;
    mOutChannels[c].host32 = nullptr;
  }
}

// Unconnected channels read silence, never what an earlier block (or the plug-in, working in
// place) left in their scratch buffer.
template <class T> void IFxProcessor<T>::PointSlotsAt(int offset, int n, bool is64) {
  for (InChannel& ch : mInChannels) {
    T* scratch = ch.scratch.Get();
    if (ch.connected && is64) {
      *ch.slot = const_cast<T*>(ch.host64) + offset;
      continue;
    }
    if (ch.connected) {
      const float* src = ch.host32 + offset;
      for (int i = 0; i < n; ++i)
        scratch[i] = T(src[i]);
    } else {
      std::memset(scratch, 0, sizeof(T) * size_t(n));
    }
    *ch.slot = scratch;
  }
  for (OutChannel& ch : mOutChannels) {
    if (ch.connected && is64) {
      *ch.slot = ch.host64 + offset;
      continue;
    }
    if (!ch.connected)
      std::memset(ch.scratch.Get(), 0, sizeof(T) * size_t(n));
    *ch.slot = ch.scratch.Get();
  }
}

template <class T> void IFxProcessor<T>::WriteBackOutputs(int offset, int n, bool is64) {
  if (is64)
    return;
  for (OutChannel& ch : mOutChannels) {
    if (!ch.connected)
      continue;
    const T* src = ch.scratch.Get();
    float* dst = ch.host32 + offset;
    for (int i = 0; i < n; ++i)
      dst[i] = float(src[i]);
  }
}

template <class T> void IFxProcessor<T>::ProcessDoubleReplacing(T** inputs, T** outputs, int n) {
  const int nIn = NInChannels();
  for (int c = 0; c < NOutChannels(); ++c) {
    if (c < nIn) {
      if (outputs[c] != inputs[c])
        std::memmove(outputs[c], inputs[c], sizeof(T) * size_t(n));
    } else {
      std::memset(outputs[c], 0, sizeof(T) * size_t(n));
    }
  }
}

template <class T> void IFxProcessor<T>::PassThrough(int n) {
  if (GetLatency() > 0 && mDelayLine.Exists())
    mDelayLine.Process(mInputPtrs.data(), mOutputPtrs.data(), n, mDelayFrame.data());
  else
    IFxProcessor<T>::ProcessDoubleReplacing(mInputPtrs.data(), mOutputPtrs.data(), n);
}

template <class T> void IFxProcessor<T>::ProcessMidiMsg(IMidiMsg* msg) {
  if (msg)
    mMidiOut.Write(*msg);
}

template <class T> void IFxProcessor<T>::FlushOutgoingChanges(IParameterChanges* out) {
  const int32 nQueues = mOutgoingChanges.getParameterCount();
  for (int32 q = 0; out && q < nQueues; ++q) {
    IParamValueQueue* queue = mOutgoingChanges.getParameterData(q);
    const int32 nPoints = queue ? queue->getPointCount() : 0;
    int32 offset = 0;
    ParamValue value = 0.0;
    if (nPoints < 1 || queue->getPoint(nPoints - 1, offset, value) != kResultOk)
      continue;
    int32 index = 0;
    if (IParamValueQueue* dst = out->addParameterData(queue->getParameterId(), index))
      dst->addPoint(offset, value, index);
  }
  mOutgoingChanges.clearQueue();
}

template <class T> void IFxProcessor<T>::WriteOutputEvents(IEventList& out) {
  IMidiMsg msg;
  while (mMidiOut.Read(msg)) {
    Event e{};
    e.busIndex = 0;
    e.sampleOffset = msg.offset;
    const float velocity = float(msg.data2 * 0.007874016);
    if (msg.StatusMsg() == IMidiMsg::kNoteOn) {
      e.type = Event::kNoteOnEvent;
      e.noteOn = {int16(msg.Channel()), int16(msg.data1), 0.0f, velocity, -1, -1};
    } else if (msg.StatusMsg() == IMidiMsg::kNoteOff) {
      e.type = Event::kNoteOffEvent;
      e.noteOff = {int16(msg.Channel()), int16(msg.data1), velocity, -1, 0.0f};
    } else {
      continue;
    }
    out.addEvent(e);
  }
  // At most one entry per output buffer: entries written while this runs wait for the next
  // block instead of sharing a buffer the host has not read yet.
  for (SysExSlot& buffer : mSysExOut) {
    const SysExSlot* entry = mSysExFromController.Peek();
    if (!entry)
      break;
    buffer = *entry;
    mSysExFromController.Pop();
    Event e{};
    e.busIndex = 0;
    e.sampleOffset = buffer.offset;
    e.type = Event::kDataEvent;
    e.data.size = uint32(buffer.size);
    e.data.type = DataEvent::kMidiSysEx;
    e.data.bytes = buffer.data;
    out.addEvent(e);
  }
}
