#include "public.sdk/source/vst/hosting/hostmessage.h"

#include "public.sdk/source/vst/hosting/hostattributelist.h"

namespace Steinberg {
namespace Vst {

HostMessage::HostMessage() = default;

HostMessage::~HostMessage() {
  if (attributeList)
    attributeList->release();
}

FIDString PLUGIN_API HostMessage::getMessageID() {
  return hasId ? messageId.c_str() : nullptr;
}

void PLUGIN_API HostMessage::setMessageID(FIDString id) {
  hasId = id != nullptr;
  messageId = id ? id : "";
}

IAttributeList* PLUGIN_API HostMessage::getAttributes() {
  if (!attributeList)
    attributeList = new HostAttributeList();
  return attributeList;
}

} // namespace Vst
} // namespace Steinberg
