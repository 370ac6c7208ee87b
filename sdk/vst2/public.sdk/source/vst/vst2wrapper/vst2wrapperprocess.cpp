// The processing road: a VST 2.4 block becomes a VST 3 process call with the host's
// parameter changes, MIDI events and time information of that block. Runs on the audio
// thread: no allocation, no lock, no call into the controller.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kMidiControllersPerChannel = kPitchBend + 1;

template <class Sample> void zero(Sample** channels, int32 count, int32 frames) {
  if (!channels || frames <= 0)
    return;
  for (int32 c = 0; c < count; ++c)
    if (channels[c])
      std::memset(channels[c], 0, sizeof(Sample) * size_t(frames));
}

} // namespace

void Vst2Wrapper::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  processBlock(inputs, outputs, sampleFrames, kSample32);
}

void Vst2Wrapper::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
  processBlock(inputs, outputs, sampleFrames, kSample64);
}

template <class Sample>
void Vst2Wrapper::processBlock(Sample** inputs, Sample** outputs, int32 frames,
                               int32 symbolicSampleSize) {
  noteHostCall();
  if (!mProcessing.load(std::memory_order_acquire) || frames <= 0 || !outputs ||
      (mMainInputChannels > 0 && !inputs)) {
    // Not resumed, or nothing to process into: silence, and nothing carried over.
    zero(outputs, mMainOutputChannels, frames);
    mInputChanges.clearQueue();
    mInputEvents.clear();
    return;
  }

  collectHostChangesForProcessor();
  readTimeInfo();

  auto** in = reinterpret_cast<Sample**>(mInputPointers.data());
  auto** out = reinterpret_cast<Sample**>(mOutputPointers.data());
  mInputBus.numChannels = mMainInputChannels;
  mOutputBus.numChannels = mMainOutputChannels;
  mInputBus.silenceFlags = 0;
  if constexpr (sizeof(Sample) == 4) {
    mInputBus.channelBuffers32 = in;
    mOutputBus.channelBuffers32 = out;
  } else {
    mInputBus.channelBuffers64 = in;
    mOutputBus.channelBuffers64 = out;
  }
  mProcessData.symbolicSampleSize = symbolicSampleSize;
  mProcessData.numInputs = mInputBusCount > 0 ? 1 : 0;
  mProcessData.numOutputs = 1;
  mProcessData.inputs = &mInputBus;
  mProcessData.outputs = &mOutputBus;
  mProcessData.inputParameterChanges = &mInputChanges;
  mProcessData.outputParameterChanges = &mOutputChanges;
  mProcessData.inputEvents = mTakesMidi ? &mInputEvents : nullptr;
  mProcessData.outputEvents = nullptr;

  // A host that exceeds the block size it announced is served in blocks the processor was
  // set up for; changes and events go with the first of them.
  const int32 maxBlock = mSetupBlockSize > 0 ? mSetupBlockSize : frames;
  const TSamples projectTime = mProcessContext.projectTimeSamples;
  for (int32 done = 0; done < frames;) {
    const int32 n = std::min(maxBlock, frames - done);
    for (int32 c = 0; c < mMainInputChannels; ++c)
      in[c] = inputs[c] ? inputs[c] + done : nullptr;
    for (int32 c = 0; c < mMainOutputChannels; ++c)
      out[c] = outputs[c] ? outputs[c] + done : nullptr;
    mOutputBus.silenceFlags = 0;
    mProcessData.numSamples = n;
    mProcessContext.projectTimeSamples = projectTime + done;
    mProcessor->process(mProcessData);
    mOutputTransfer.transferChangesFrom(mOutputChanges);
    mOutputChanges.clearQueue();
    if (done == 0 && n < frames) {
      mInputChanges.clearQueue();
      mInputEvents.clear();
    }
    done += n;
  }
  mInputChanges.clearQueue();
  mInputEvents.clear();
}

void Vst2Wrapper::collectHostChangesForProcessor() {
  // First what the controller sent (programs, chunks, edits), then the host's own values at
  // the same offset, which replace them: a controller change made after a host value has
  // already withdrawn that value (Vst2ParameterSlots::setFromController), so a host value
  // still waiting here is the newer of the two.
  mInputTransfer.transferChangesTo(mInputChanges);
  int32 queueIndex = 0;
  float value;
  for (int32 i = 0; i < mHostValues.size(); ++i) {
    if (!mHostValues.takeForProcessor(i, value))
      continue;
    const ParamID id = i == mBypassSlot ? mBypassParameterID : mParameterIDs[size_t(i)];
    if (IParamValueQueue* queue = mInputChanges.addParameterData(id, queueIndex)) {
      int32 pointIndex = 0;
      queue->addPoint(0, value, pointIndex);
    }
  }
}

void Vst2Wrapper::readTimeInfo() {
  constexpr VstInt32 wanted = kVstNanosValid | kVstPpqPosValid | kVstTempoValid | kVstBarsValid |
                              kVstCyclePosValid | kVstTimeSigValid | kVstSmpteValid |
                              kVstClockValid;
  const VstTimeInfo* time = getTimeInfo(wanted);
  if (!time) {
    mProcessData.processContext = nullptr;
    return;
  }
  ProcessContext& c = mProcessContext;
  c = ProcessContext{};
  c.sampleRate = time->sampleRate > 0 ? time->sampleRate : sampleRate;
  c.projectTimeSamples = TSamples(time->samplePos);
  if (time->flags & kVstTransportPlaying)
    c.state |= ProcessContext::kPlaying;
  if (time->flags & kVstTransportCycleActive)
    c.state |= ProcessContext::kCycleActive;
  if (time->flags & kVstTransportRecording)
    c.state |= ProcessContext::kRecording;
  if (time->flags & kVstNanosValid) {
    c.systemTime = int64(time->nanoSeconds);
    c.state |= ProcessContext::kSystemTimeValid;
  }
  if (time->flags & kVstPpqPosValid) {
    c.projectTimeMusic = time->ppqPos;
    c.state |= ProcessContext::kProjectTimeMusicValid;
  }
  if (time->flags & kVstTempoValid) {
    c.tempo = time->tempo;
    c.state |= ProcessContext::kTempoValid;
  }
  if (time->flags & kVstBarsValid) {
    c.barPositionMusic = time->barStartPos;
    c.state |= ProcessContext::kBarPositionValid;
  }
  if (time->flags & kVstCyclePosValid) {
    c.cycleStartMusic = time->cycleStartPos;
    c.cycleEndMusic = time->cycleEndPos;
    c.state |= ProcessContext::kCycleValid;
  }
  if (time->flags & kVstTimeSigValid) {
    c.timeSigNumerator = time->timeSigNumerator;
    c.timeSigDenominator = time->timeSigDenominator;
    c.state |= ProcessContext::kTimeSigValid;
  }
  if (time->flags & kVstSmpteValid) {
    c.smpteOffsetSubframes = time->smpteOffset;
    c.state |= ProcessContext::kSmpteValid;
  }
  if (time->flags & kVstClockValid) {
    c.samplesToNextClock = time->samplesToNextClock;
    c.state |= ProcessContext::kClockValid;
  }
  mProcessData.processContext = &mProcessContext;
}

// ---- MIDI in ----

VstInt32 Vst2Wrapper::processEvents(VstEvents* events) {
  noteHostCall();
  if (!mTakesMidi || events->numEvents <= 0)
    return 0;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* e = events->events[i];
    if (!e)
      continue;
    if (e->type == kVstMidiType)
      addMidiEvent(*reinterpret_cast<const VstMidiEvent*>(e));
    else if (e->type == kVstSysExType)
      addSysexEvent(*reinterpret_cast<const VstMidiSysexEvent*>(e));
  }
  return 1;
}

void Vst2Wrapper::addMidiEvent(const VstMidiEvent& midi) {
  const uint8 status = uint8(midi.midiData[0]) & 0xF0;
  const int16 channel = int16(uint8(midi.midiData[0]) & 0x0F);
  const uint8 data1 = uint8(midi.midiData[1]) & 0x7F;
  const uint8 data2 = uint8(midi.midiData[2]) & 0x7F;
  const int32 offset = midi.deltaFrames > 0 ? midi.deltaFrames : 0;

  Event e{};
  e.busIndex = 0;
  e.sampleOffset = offset;
  if (midi.flags & kVstMidiEventIsRealtime)
    e.flags = Event::kIsLive;
  switch (status) {
  case 0x90:
    if (data2 != 0) {
      e.type = Event::kNoteOnEvent;
      e.noteOn = {channel, int16(data1), float(midi.detune), float(data2) / 127.f, midi.noteLength,
                  -1};
      mInputEvents.addEvent(e);
      return;
    }
    [[fallthrough]]; // note-on with velocity 0 is a note-off
  case 0x80:
    e.type = Event::kNoteOffEvent;
    e.noteOff = {channel, int16(data1),
                 float(status == 0x80 ? data2 : uint8(midi.noteOffVelocity) & 0x7F) / 127.f, -1,
                 0.f};
    mInputEvents.addEvent(e);
    return;
  case 0xA0:
    e.type = Event::kPolyPressureEvent;
    e.polyPressure = {channel, int16(data1), float(data2) / 127.f, -1};
    mInputEvents.addEvent(e);
    return;
  case 0xB0:
    addMidiControllerChange(channel, data1, float(data2) / 127.f, offset);
    return;
  case 0xD0:
    addMidiControllerChange(channel, kAfterTouch, float(data1) / 127.f, offset);
    return;
  case 0xE0:
    addMidiControllerChange(channel, kPitchBend, float((data2 << 7) | data1) / 16383.f, offset);
    return;
  default:
    return;
  }
}

void Vst2Wrapper::addSysexEvent(const VstMidiSysexEvent& sysex) {
  if (!sysex.sysexDump || sysex.dumpBytes <= 0)
    return;
  Event e{};
  e.busIndex = 0;
  e.sampleOffset = sysex.deltaFrames > 0 ? sysex.deltaFrames : 0;
  e.type = Event::kDataEvent;
  // The host keeps the dump valid until this block has been processed.
  e.data = {uint32(sysex.dumpBytes), DataEvent::kMidiSysEx,
            reinterpret_cast<const uint8*>(sysex.sysexDump)};
  mInputEvents.addEvent(e);
}

void Vst2Wrapper::addMidiControllerChange(int16 channel, int32 controller, ParamValue value,
                                          int32 offset) {
  const size_t slot = size_t(channel * kMidiControllersPerChannel + controller);
  if (slot >= mMidiControllerIDs.size() || mMidiControllerIDs[slot] == kNoParamId)
    return;
  int32 queueIndex = 0;
  if (IParamValueQueue* queue =
          mInputChanges.addParameterData(mMidiControllerIDs[slot], queueIndex)) {
    int32 pointIndex = 0;
    queue->addPoint(offset, value, pointIndex);
  }
}

template void Vst2Wrapper::processBlock<float>(float**, float**, int32, int32);
template void Vst2Wrapper::processBlock<double>(double**, double**, int32, int32);

} // namespace Vst
} // namespace Steinberg
