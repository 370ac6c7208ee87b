#include "tests/hosts/vst3/HostMessage.h"

#include <algorithm>
#include <cstring>

namespace orvane::testhost {

using namespace Steinberg;

template <class T> const T* AttributeList::find(AttrID id) const {
  if (!id)
    return nullptr;
  const auto it = entries.find(id);
  if (it == entries.end())
    return nullptr;
  return std::get_if<T>(&it->second);
}

tresult PLUGIN_API AttributeList::setInt(AttrID id, int64 value) {
  if (!id)
    return kInvalidArgument;
  entries[id] = std::int64_t{value};
  return kResultOk;
}

tresult PLUGIN_API AttributeList::getInt(AttrID id, int64& value) {
  const auto* found = find<std::int64_t>(id);
  if (!found)
    return kResultFalse;
  value = *found;
  return kResultOk;
}

tresult PLUGIN_API AttributeList::setFloat(AttrID id, double value) {
  if (!id)
    return kInvalidArgument;
  entries[id] = value;
  return kResultOk;
}

tresult PLUGIN_API AttributeList::getFloat(AttrID id, double& value) {
  const auto* found = find<double>(id);
  if (!found)
    return kResultFalse;
  value = *found;
  return kResultOk;
}

tresult PLUGIN_API AttributeList::setString(AttrID id, const Vst::TChar* string) {
  if (!id || !string)
    return kInvalidArgument;
  entries[id] = std::u16string(string);
  return kResultOk;
}

tresult PLUGIN_API AttributeList::getString(AttrID id, Vst::TChar* string, uint32 sizeInBytes) {
  const auto* found = find<std::u16string>(id);
  if (!found)
    return kResultFalse;
  const size_t units = sizeInBytes / sizeof(Vst::TChar);
  if (!string || units == 0)
    return kInvalidArgument;
  const size_t count = std::min(found->size(), units - 1);
  std::copy_n(found->data(), count, string);
  string[count] = 0;
  return kResultOk;
}

tresult PLUGIN_API AttributeList::setBinary(AttrID id, const void* data, uint32 sizeInBytes) {
  if (!id || (!data && sizeInBytes > 0))
    return kInvalidArgument;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  entries[id] = std::vector<std::uint8_t>(bytes, bytes + sizeInBytes);
  return kResultOk;
}

tresult PLUGIN_API AttributeList::getBinary(AttrID id, const void*& data, uint32& sizeInBytes) {
  const auto* found = find<std::vector<std::uint8_t>>(id);
  if (!found)
    return kResultFalse;
  data = found->data();
  sizeInBytes = static_cast<uint32>(found->size());
  return kResultOk;
}

Message::Message() : list(new AttributeList) {}

Message::~Message() {
  list->release();
}

FIDString PLUGIN_API Message::getMessageID() {
  return hasId ? id.c_str() : nullptr;
}

void PLUGIN_API Message::setMessageID(FIDString newId) {
  hasId = newId != nullptr;
  id = newId ? newId : "";
}

Vst::IAttributeList* PLUGIN_API Message::getAttributes() {
  return list;
}

} // namespace orvane::testhost
