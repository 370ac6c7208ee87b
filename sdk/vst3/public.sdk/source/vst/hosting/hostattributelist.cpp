#include "public.sdk/source/vst/hosting/hostattributelist.h"

#include "base/source/fstring.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Steinberg {
namespace Vst {

HostAttributeList::HostAttributeList() = default;
HostAttributeList::~HostAttributeList() = default;

template <class T> const T* HostAttributeList::find(AttrID aid) const {
  if (!aid)
    return nullptr;
  const auto it = attributes.find(std::string_view(aid));
  if (it == attributes.end())
    return nullptr;
  return std::get_if<T>(&it->second);
}

tresult PLUGIN_API HostAttributeList::setInt(AttrID aid, int64 value) {
  if (!aid)
    return kInvalidArgument;
  attributes.insert_or_assign(std::string(aid), Value(value));
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::getInt(AttrID aid, int64& value) {
  if (!aid)
    return kInvalidArgument;
  const int64* stored = find<int64>(aid);
  if (!stored)
    return kResultFalse;
  value = *stored;
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::setFloat(AttrID aid, double value) {
  if (!aid)
    return kInvalidArgument;
  attributes.insert_or_assign(std::string(aid), Value(value));
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::getFloat(AttrID aid, double& value) {
  if (!aid)
    return kInvalidArgument;
  const double* stored = find<double>(aid);
  if (!stored)
    return kResultFalse;
  value = *stored;
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::setString(AttrID aid, const TChar* string) {
  if (!aid || !string)
    return kInvalidArgument;
  attributes.insert_or_assign(
      std::string(aid), Value(std::u16string(string, static_cast<size_t>(utf16Length(string)))));
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::getString(AttrID aid, TChar* string, uint32 sizeInBytes) {
  if (!aid || !string || sizeInBytes < sizeof(TChar))
    return kInvalidArgument;
  const std::u16string* stored = find<std::u16string>(aid);
  if (!stored)
    return kResultFalse;
  const size_t capacity = sizeInBytes / sizeof(TChar);
  const size_t n = std::min(stored->size(), capacity - 1);
  std::copy_n(stored->data(), n, string);
  string[n] = 0;
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::setBinary(AttrID aid, const void* data, uint32 sizeInBytes) {
  if (!aid || (!data && sizeInBytes > 0))
    return kInvalidArgument;
  const uint8* bytes = static_cast<const uint8*>(data);
  attributes.insert_or_assign(std::string(aid),
                              Value(Binary(bytes, bytes ? bytes + sizeInBytes : bytes)));
  return kResultTrue;
}

tresult PLUGIN_API HostAttributeList::getBinary(AttrID aid, const void*& data,
                                                uint32& sizeInBytes) {
  if (!aid)
    return kInvalidArgument;
  const Binary* stored = find<Binary>(aid);
  if (!stored)
    return kResultFalse;
  data = stored->data();
  sizeInBytes = static_cast<uint32>(stored->size());
  return kResultTrue;
}

bool HostAttributeList::removeAttrID(AttrID aid) {
  if (!aid)
    return false;
  const auto it = attributes.find(std::string_view(aid));
  if (it == attributes.end())
    return false;
  attributes.erase(it);
  return true;
}

} // namespace Vst
} // namespace Steinberg
