// A host-side connection point between the halves that records every message passing
// through it and forwards it unchanged.
#pragma once

#include "pluginterfaces/vst/ivstmessage.h"
#include "tests/hosts/vst3/HostLog.h"
#include "tests/hosts/vst3/HostObject.h"

#include <memory>

namespace orvane::testhost {

class ConnectionProxy : public HostObject<Steinberg::Vst::IConnectionPoint> {
public:
  // Messages the plug-in half `from` sends are recorded with `direction` and passed to `to`.
  ConnectionProxy(Steinberg::Vst::IConnectionPoint* to, RecordedMessage::Direction direction,
                  std::shared_ptr<HostLog> log)
      : to(to), direction(direction), log(std::move(log)) {}

  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

  // After this, messages are dropped (the receiving half is going away).
  void cut() { to = nullptr; }

private:
  Steinberg::Vst::IConnectionPoint* to;
  RecordedMessage::Direction direction;
  std::shared_ptr<HostLog> log;
};

} // namespace orvane::testhost
