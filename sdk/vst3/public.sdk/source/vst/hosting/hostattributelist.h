// HostAttributeList: the attribute list a host (or an in-process adapter) hands out with its
// messages. Integer, float, UTF-16 string and binary values under 8-bit IDs.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstattributes.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace Steinberg {
namespace Vst {

class HostAttributeList : public FObject, public IAttributeList {
public:
  HostAttributeList();
  ~HostAttributeList() override;

  // Setters replace any earlier value under the same ID, whatever its type. A null ID (or a
  // null string, or null data with a non-zero size) is refused with kInvalidArgument.
  tresult PLUGIN_API setInt(AttrID aid, int64 value) override;
  tresult PLUGIN_API getInt(AttrID aid, int64& value) override;
  tresult PLUGIN_API setFloat(AttrID aid, double value) override;
  tresult PLUGIN_API getFloat(AttrID aid, double& value) override;
  tresult PLUGIN_API setString(AttrID aid, const TChar* string) override;
  // Copies at most sizeInBytes / 2 - 1 units and a terminator.
  tresult PLUGIN_API getString(AttrID aid, TChar* string, uint32 sizeInBytes) override;
  tresult PLUGIN_API setBinary(AttrID aid, const void* data, uint32 sizeInBytes) override;
  // The data stays owned by the list and valid until the attribute is set again or the list
  // dies.
  tresult PLUGIN_API getBinary(AttrID aid, const void*& data, uint32& sizeInBytes) override;

  // Removes one attribute; false when there was none.
  bool removeAttrID(AttrID aid);

  OBJ_METHODS(HostAttributeList, FObject)
  FUNKNOWN_METHODS(IAttributeList, FObject)

private:
  using Binary = std::vector<uint8>;
  using Value = std::variant<int64, double, std::u16string, Binary>;

  template <class T> const T* find(AttrID aid) const;

  std::map<std::string, Value, std::less<>> attributes;
};

} // namespace Vst
} // namespace Steinberg
