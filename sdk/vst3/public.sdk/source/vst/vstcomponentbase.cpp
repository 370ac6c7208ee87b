#include "public.sdk/source/vst/vstcomponentbase.h"

#include "base/source/fstring.h"
#include "pluginterfaces/vst/ivstattributes.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

ComponentBase::ComponentBase() = default;
ComponentBase::~ComponentBase() = default;

tresult PLUGIN_API ComponentBase::initialize(FUnknown* context) {
  if (hostContext)
    return kResultFalse;
  hostContext = context;
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::terminate() {
  // Tell the peer first so it does not keep sending to a terminated half.
  if (IPtr<IConnectionPoint> peer = peerConnection) {
    peerConnection = nullptr;
    peer->disconnect(this);
  }
  hostContext = nullptr;
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::connect(IConnectionPoint* other) {
  if (!other)
    return kInvalidArgument;
  if (peerConnection)
    return kResultFalse;
  peerConnection = other;
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::disconnect(IConnectionPoint* other) {
  if (!peerConnection || other != peerConnection.get())
    return kResultFalse;
  peerConnection = nullptr;
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::notify(IMessage* message) {
  if (!message)
    return kInvalidArgument;
  const FIDString id = message->getMessageID();
  if (!id || std::strcmp(id, "TextMessage") != 0)
    return kResultFalse;
  IAttributeList* attributes = message->getAttributes();
  if (!attributes)
    return kResultFalse;
  String128 text = {};
  if (attributes->getString("Text", text, sizeof(text)) != kResultOk)
    return kResultFalse;
  char8 utf8[128 * 3 + 1];
  utf16ToUtf8(text, utf8);
  return receiveText(utf8);
}

tresult ComponentBase::receiveText(const char8* /*text*/) {
  return kResultOk;
}

IMessage* ComponentBase::allocateMessage() const {
  FUnknownPtr<IHostApplication> host(hostContext);
  if (!host)
    return nullptr;
  TUID iid;
  IMessage::iid.toTUID(iid);
  void* obj = nullptr;
  if (host->createInstance(iid, iid, &obj) != kResultOk || !obj)
    return nullptr;
  return static_cast<IMessage*>(obj);
}

tresult ComponentBase::sendMessage(IMessage* message) const {
  if (!message)
    return kInvalidArgument;
  if (!peerConnection)
    return kResultFalse;
  return peerConnection->notify(message);
}

tresult ComponentBase::sendTextMessage(const char8* text) const {
  IPtr<IMessage> message = owned(allocateMessage());
  if (!message)
    return kResultFalse;
  message->setMessageID("TextMessage");
  String128 wide;
  utf8ToUtf16(text, wide);
  if (IAttributeList* attributes = message->getAttributes())
    attributes->setString("Text", wide);
  return sendMessage(message);
}

tresult ComponentBase::sendMessageID(const char8* messageID) const {
  if (!messageID)
    return kInvalidArgument;
  IPtr<IMessage> message = owned(allocateMessage());
  if (!message)
    return kResultFalse;
  message->setMessageID(messageID);
  return sendMessage(message);
}

} // namespace Vst
} // namespace Steinberg
