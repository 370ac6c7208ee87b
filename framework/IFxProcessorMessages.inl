// The message road of IFxProcessor: "MidiMsg" and "SysEx" from the controller (UI thread into
// the rings), and the timer that sends what the audio thread queued for the controller.
// Included once by IFxProcessor.cpp.

#include "pluginterfaces/vst/ivstattributes.h"

namespace {

bool IsMessage(IMessage* message, const char* id) {
  const char* got = message->getMessageID();
  return got && std::strcmp(got, id) == 0;
}

} // namespace

template <class T> tresult PLUGIN_API IFxProcessor<T>::notify(IMessage* message) {
  if (!message)
    return kInvalidArgument;
  // The controller queued preset edits with the host, and later asks whether they can still
  // be waiting for a block. A block that had begun before the edits were queued may end
  // after the mark without them, so two blocks must have ended since.
  if (IsMessage(message, "PresetEditsQueued")) {
    mPresetEditsMark = mBlocksDone.load(std::memory_order_acquire);
    return kResultOk;
  }
  if (IsMessage(message, "PresetEditsTaken?")) {
    if (mBlocksDone.load(std::memory_order_acquire) - mPresetEditsMark >= 2)
      sendMessageID("PresetEditsTaken");
    return kResultOk;
  }
  IAttributeList* attributes = message->getAttributes();
  if (attributes && IsMessage(message, "MidiMsg")) {
    const void* data = nullptr;
    uint32 size = 0;
    if (attributes->getBinary("data", data, size) == kResultOk) {
      if (data && size == sizeof(IMidiMsg)) {
        IMidiMsg msg;
        std::memcpy(&msg, data, sizeof msg);
        mMidiFromController.Write(msg);
      }
      return kResultOk;
    }
  } else if (attributes && IsMessage(message, "SysEx")) {
    const void* data = nullptr;
    uint32 size = 0;
    int64 offset = 0;
    if (attributes->getInt("offset", offset) == kResultOk &&
        attributes->getBinary("data", data, size) == kResultOk) {
      // A block larger than a slot is dropped whole: a cut SysEx would be a different one.
      if ((data || size == 0) && size <= sizeof(SysExSlot::data)) {
        if (SysExSlot* slot = mSysExFromController.BeginWrite()) {
          slot->offset = int32_t(std::clamp<int64>(offset, 0, INT32_MAX));
          slot->size = int32_t(size);
          if (size)
            std::memcpy(slot->data, data, size);
          mSysExFromController.Publish();
        }
      }
      return kResultOk;
    }
  }
  if (OnMessage(message))
    return kResultOk;
  return AudioEffect::notify(message);
}

template <class T> bool IFxProcessor<T>::QueueMidiForController(const IMidiMsg& msg) {
  return mMidiToController.Write(msg);
}

template <class T> bool IFxProcessor<T>::QueueSysExForController(const ISysEx& sysex) {
  if (sysex.size < 0 || sysex.size > int(sizeof(SysExSlot::data)) || (sysex.size && !sysex.data))
    return false;
  SysExSlot* slot = mSysExToController.BeginWrite();
  if (!slot)
    return false;
  slot->offset = sysex.offset;
  slot->size = sysex.size;
  if (sysex.size)
    std::memcpy(slot->data, sysex.data, size_t(sysex.size));
  mSysExToController.Publish();
  return true;
}

template <class T> void IFxProcessor<T>::onTimer(Timer*) {
  SendMidiToController();
  SendSysExToController();
  OnIdle();
}

// A message is made before an item leaves its ring, so that a host that makes none loses
// nothing.
template <class T> void IFxProcessor<T>::SendMidiToController() {
  for (;;) {
    if (!mMidiToController.Peek())
      return;
    IPtr<IMessage> message = owned(allocateMessage());
    if (!message)
      return;
    IMidiMsg msg;
    mMidiToController.Read(msg);
    message->setMessageID("MidiMsg");
    if (IAttributeList* attributes = message->getAttributes())
      attributes->setBinary("data", &msg, sizeof msg);
    sendMessage(message);
  }
}

template <class T> void IFxProcessor<T>::SendSysExToController() {
  for (;;) {
    const SysExSlot* entry = mSysExToController.Peek();
    if (!entry)
      return;
    IPtr<IMessage> message = owned(allocateMessage());
    if (!message)
      return;
    message->setMessageID("SysEx");
    if (IAttributeList* attributes = message->getAttributes())
      attributes->setBinary("data", entry->data, uint32(entry->size));
    mSysExToController.Pop();
    sendMessage(message);
  }
}
