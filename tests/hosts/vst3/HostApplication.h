// The host context given to both halves: a name, and host objects made on request.
#pragma once

#include "pluginterfaces/vst/ivsthostapplication.h"
#include "tests/hosts/vst3/HostLog.h"
#include "tests/hosts/vst3/HostObject.h"

#include <memory>
#include <string>

namespace orvane::testhost {

class HostApplication : public HostObject<Steinberg::Vst::IHostApplication> {
public:
  HostApplication(std::u16string name, std::shared_ptr<HostLog> log)
      : name(std::move(name)), log(std::move(log)) {}

  // The name, cut to 127 units and terminated.
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  // Makes an IMessage or an IAttributeList (cid and iid naming the same interface);
  // anything else: kResultFalse and null.
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

private:
  std::u16string name;
  std::shared_ptr<HostLog> log;
};

} // namespace orvane::testhost
