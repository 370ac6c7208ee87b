// The message road of the controller: "MidiMsg" and "SysEx" from and to the processor.
#include "framework/IFxController.h"

#include <cstring>

#include "pluginterfaces/vst/ivstattributes.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool IsMessage(IMessage* message, const char* id) {
  const char* got = message->getMessageID();
  return got && std::strcmp(got, id) == 0;
}

bool GetData(IMessage* message, const void*& data, uint32& size) {
  IAttributeList* attributes = message->getAttributes();
  return attributes && attributes->getBinary("data", data, size) == kResultOk;
}

} // namespace

tresult PLUGIN_API IFxController::notify(IMessage* message) {
  if (!message)
    return kInvalidArgument;
  const void* data = nullptr;
  uint32 size = 0;
  if (IsMessage(message, "MidiMsg")) {
    if (!GetData(message, data, size))
      return kResultFalse;
    if (data && size == sizeof(IMidiMsg)) {
      IMidiMsg msg;
      std::memcpy(&msg, data, sizeof msg);
      OnMidiMsg(&msg);
    }
    return kResultOk;
  }
  if (IsMessage(message, "PresetEditsTaken")) {
    mPresetEditsSent = false;
    return kResultOk;
  }
  if (IsMessage(message, "SysEx")) {
    if (!GetData(message, data, size))
      return kResultFalse;
    ISysEx sysex;
    sysex.size = data ? int32_t(std::min<uint32>(size, INT32_MAX)) : 0;
    sysex.data = static_cast<const uint8_t*>(data);
    OnSysEx(&sysex);
    return kResultOk;
  }
  if (OnMessage(message))
    return kResultOk;
  return EditControllerEx1::notify(message);
}

bool IFxController::SendMidiMsg(const IMidiMsg& msg) {
  IPtr<IMessage> message = owned(allocateMessage());
  if (!message)
    return false;
  message->setMessageID("MidiMsg");
  IAttributeList* attributes = message->getAttributes();
  if (!attributes || attributes->setBinary("data", &msg, sizeof msg) != kResultOk)
    return false;
  return sendMessage(message) == kResultOk;
}

bool IFxController::SendSysEx(const ISysEx& sysex) {
  if (sysex.size < 0 || (sysex.size > 0 && !sysex.data))
    return false;
  IPtr<IMessage> message = owned(allocateMessage());
  if (!message)
    return false;
  message->setMessageID("SysEx");
  IAttributeList* attributes = message->getAttributes();
  if (!attributes || attributes->setInt("offset", sysex.offset) != kResultOk ||
      attributes->setBinary("data", sysex.data, uint32(sysex.size)) != kResultOk)
    return false;
  return sendMessage(message) == kResultOk;
}
