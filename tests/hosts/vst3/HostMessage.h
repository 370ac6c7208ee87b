// The host's IAttributeList and IMessage, made for the plug-in through IHostApplication.
#pragma once

#include "pluginterfaces/vst/ivstattributes.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "tests/hosts/vst3/HostObject.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace orvane::testhost {

class AttributeList : public HostObject<Steinberg::Vst::IAttributeList> {
public:
  using Value = std::variant<std::int64_t, double, std::u16string, std::vector<std::uint8_t>>;

  Steinberg::tresult PLUGIN_API setInt(AttrID id, Steinberg::int64 value) override;
  Steinberg::tresult PLUGIN_API getInt(AttrID id, Steinberg::int64& value) override;
  Steinberg::tresult PLUGIN_API setFloat(AttrID id, double value) override;
  Steinberg::tresult PLUGIN_API getFloat(AttrID id, double& value) override;
  Steinberg::tresult PLUGIN_API setString(AttrID id, const Steinberg::Vst::TChar* string) override;
  // Copies at most sizeInBytes / 2 - 1 units and always terminates.
  Steinberg::tresult PLUGIN_API getString(AttrID id, Steinberg::Vst::TChar* string,
                                          Steinberg::uint32 sizeInBytes) override;
  Steinberg::tresult PLUGIN_API setBinary(AttrID id, const void* data,
                                          Steinberg::uint32 sizeInBytes) override;
  Steinberg::tresult PLUGIN_API getBinary(AttrID id, const void*& data,
                                          Steinberg::uint32& sizeInBytes) override;

  const std::map<std::string, Value>& values() const { return entries; }

private:
  template <class T> const T* find(AttrID id) const;

  std::map<std::string, Value> entries;
};

class Message : public HostObject<Steinberg::Vst::IMessage> {
public:
  Message();
  ~Message() override;

  Steinberg::FIDString PLUGIN_API getMessageID() override;
  void PLUGIN_API setMessageID(Steinberg::FIDString id) override;
  Steinberg::Vst::IAttributeList* PLUGIN_API getAttributes() override;

  const AttributeList& attributes() const { return *list; }

private:
  std::string id;
  bool hasId = false;
  AttributeList* list;
};

} // namespace orvane::testhost
