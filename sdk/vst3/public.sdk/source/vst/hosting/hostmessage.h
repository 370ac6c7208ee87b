// HostMessage: a message between the two plug-in halves, made by the host (or an in-process
// adapter) on request: an 8-bit message ID and an attribute list created on first use.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <string>

namespace Steinberg {
namespace Vst {

class HostAttributeList;

class HostMessage : public FObject, public IMessage {
public:
  HostMessage();
  ~HostMessage() override;

  // Null until an ID is set.
  FIDString PLUGIN_API getMessageID() override;
  // Copies the ID; null clears it.
  void PLUGIN_API setMessageID(FIDString id) override;
  // The message keeps the list; the caller gets it without a reference of its own.
  IAttributeList* PLUGIN_API getAttributes() override;

  OBJ_METHODS(HostMessage, FObject)
  FUNKNOWN_METHODS(IMessage, FObject)

private:
  std::string messageId;
  bool hasId = false;
  HostAttributeList* attributeList = nullptr;
};

} // namespace Vst
} // namespace Steinberg
