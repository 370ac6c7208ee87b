// ComponentBase: what both plug-in halves share: the host context from initialize, the peer
// connection point, and making and sending messages through them.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace Steinberg {
namespace Vst {

class ComponentBase : public FObject, public IPluginBase, public IConnectionPoint {
public:
  ComponentBase();
  ~ComponentBase() override;

  // The host's context object, held from initialize to terminate; null outside.
  FUnknown* getHostContext() const { return hostContext; }
  // The connected peer, or null.
  IConnectionPoint* getPeer() const { return peerConnection; }

  // A new message from the host (IHostApplication::createInstance), with one reference for
  // the caller; null without a host or when the host makes none.
  IMessage* allocateMessage() const;
  // Hands the message to the peer; kResultFalse without a peer, kInvalidArgument for null.
  tresult sendMessage(IMessage* message) const;
  // A message "TextMessage" with the string attribute "Text" (UTF-8 text, cut to 127 units).
  tresult sendTextMessage(const char8* text) const;
  // A message with only an ID.
  tresult sendMessageID(const char8* messageID) const;
  // Receives what sendTextMessage sends; the base ignores it.
  virtual tresult receiveText(const char8* text);

  // IPluginBase. initialize keeps the context with a reference of its own; a second
  // initialize before terminate is refused with kResultFalse. A null context is accepted
  // (there is then no host to make messages).
  tresult PLUGIN_API initialize(FUnknown* context) override;
  // Drops the context and the peer connection.
  tresult PLUGIN_API terminate() override;

  // IConnectionPoint. One peer at a time: connect while connected gives kResultFalse;
  // disconnect only from the connected peer.
  tresult PLUGIN_API connect(IConnectionPoint* other) override;
  tresult PLUGIN_API disconnect(IConnectionPoint* other) override;
  // Handles "TextMessage" (to receiveText); kResultFalse for anything else, kInvalidArgument
  // for null.
  tresult PLUGIN_API notify(IMessage* message) override;

  OBJ_METHODS(ComponentBase, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPluginBase)
  DEF_INTERFACE(IConnectionPoint)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

protected:
  IPtr<FUnknown> hostContext;
  IPtr<IConnectionPoint> peerConnection;
};

} // namespace Vst
} // namespace Steinberg
