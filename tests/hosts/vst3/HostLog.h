// What a plug-in asked of the test host, in the order it asked.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/hosts/vst3/HostMessage.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testhost {

struct EditCall {
  enum class Kind { Begin, Perform, End };
  Kind kind;
  Steinberg::Vst::ParamID id;
  Steinberg::Vst::ParamValue value; // Perform only
};

// A message that passed between the halves (recorded when the host connects them through
// its own connection proxies).
struct RecordedMessage {
  enum class Direction { ToController, ToProcessor };
  Direction direction;
  std::string id;
  std::map<std::string, AttributeList::Value> attributes;
  // What the receiving half answered (kResultFalse when it was no longer connected).
  Steinberg::tresult answer = Steinberg::kNotInitialized;
};

struct ContextMenuRecord {
  std::optional<Steinberg::Vst::ParamID> paramId;
  std::vector<Steinberg::Vst::IContextMenuItem> items;
  std::vector<bool> itemHasTarget;
  std::optional<std::pair<Steinberg::UCoord, Steinberg::UCoord>> popupAt;
  // Tag the host executed after the popup, if any.
  std::optional<Steinberg::int32> executedTag;
};

struct HostLog {
  std::vector<EditCall> edits;
  std::vector<Steinberg::int32> restarts;
  std::vector<bool> dirtyCalls;
  std::vector<std::string> openEditorRequests;
  int groupEditsStarted = 0;
  int groupEditsFinished = 0;
  std::vector<RecordedMessage> messages;
  int messagesCreated = 0;
  int attributeListsCreated = 0;
  std::vector<Steinberg::Vst::UnitID> unitSelections;
  std::vector<std::pair<Steinberg::Vst::ProgramListID, Steinberg::int32>> programListChanges;
  std::vector<Steinberg::ViewRect> resizeRequests;
  std::vector<Steinberg::Linux::TimerInterval> timersRegistered;
  int timersUnregistered = 0;
  std::vector<int> eventHandlersRegistered;
  int eventHandlersUnregistered = 0;
  std::vector<ContextMenuRecord> contextMenus;

  // Scripted user choice for host context menus: given the items, the index of the item the
  // "user" picks, or nothing for no pick.
  std::function<std::optional<size_t>(const std::vector<Steinberg::Vst::IContextMenuItem>&)>
      pickContextMenuItem;

  // Only the edits of one kind, in order.
  std::vector<EditCall> editsOf(EditCall::Kind kind) const {
    std::vector<EditCall> result;
    for (const EditCall& e : edits)
      if (e.kind == kind)
        result.push_back(e);
    return result;
  }
};

} // namespace orvane::testhost
