#include "tests/hosts/vst3/ConnectionProxy.h"

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API ConnectionProxy::connect(IConnectionPoint*) {
  return kResultOk;
}

tresult PLUGIN_API ConnectionProxy::disconnect(IConnectionPoint*) {
  return kResultOk;
}

tresult PLUGIN_API ConnectionProxy::notify(IMessage* message) {
  if (!message)
    return kInvalidArgument;
  RecordedMessage record{direction, message->getMessageID() ? message->getMessageID() : "", {}};
  // Only attributes of our own lists can be read back; a plug-in may send its own lists.
  if (IAttributeList* attributes = message->getAttributes()) {
    if (auto* ours = dynamic_cast<AttributeList*>(attributes))
      record.attributes = ours->values();
  }
  record.answer = to ? to->notify(message) : kResultFalse;
  log->messages.push_back(record);
  return record.answer;
}

} // namespace orvane::testhost
