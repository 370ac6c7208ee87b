#include "tests/hosts/vst3/HostApplication.h"

#include <algorithm>

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API HostApplication::getName(String128 out) {
  if (!out)
    return kInvalidArgument;
  const size_t count = std::min<size_t>(name.size(), 127);
  std::copy_n(name.data(), count, out);
  out[count] = 0;
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID cid, TUID iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid)
    return kInvalidArgument;
  if (iidEqual(cid, IMessage::iid) && iidEqual(iid, IMessage::iid)) {
    *obj = static_cast<IMessage*>(new Message);
    ++log->messagesCreated;
    return kResultOk;
  }
  if (iidEqual(cid, IAttributeList::iid) && iidEqual(iid, IAttributeList::iid)) {
    *obj = static_cast<IAttributeList*>(new AttributeList);
    ++log->attributeListsCreated;
    return kResultOk;
  }
  return kResultFalse;
}

} // namespace orvane::testhost
