#include "tests/hosts/vst3/ComponentHandler.h"

#include <cstring>

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj) {
  if (!offerContextMenus && iidEqual(iid, IComponentHandler3::iid)) {
    if (obj)
      *obj = nullptr;
    return kNoInterface;
  }
  return HostObject::queryInterface(iid, obj);
}

tresult PLUGIN_API ComponentHandler::beginEdit(ParamID id) {
  log->edits.push_back({EditCall::Kind::Begin, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(ParamID id, ParamValue value) {
  log->edits.push_back({EditCall::Kind::Perform, id, value});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(ParamID id) {
  log->edits.push_back({EditCall::Kind::End, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags) {
  log->restarts.push_back(flags);
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::setDirty(TBool state) {
  log->dirtyCalls.push_back(state != 0);
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::requestOpenEditor(FIDString name) {
  log->openEditorRequests.emplace_back(name ? name : "");
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::startGroupEdit() {
  ++log->groupEditsStarted;
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::finishGroupEdit() {
  ++log->groupEditsFinished;
  return kResultOk;
}

IContextMenu* PLUGIN_API ComponentHandler::createContextMenu(IPlugView*, const ParamID* paramID) {
  ContextMenuRecord record;
  if (paramID)
    record.paramId = *paramID;
  log->contextMenus.push_back(record);
  return new ContextMenu(log, log->contextMenus.size() - 1);
}

tresult PLUGIN_API ComponentHandler::notifyUnitSelection(UnitID unitId) {
  log->unitSelections.push_back(unitId);
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::notifyProgramListChange(ProgramListID listId,
                                                             int32 programIndex) {
  log->programListChanges.emplace_back(listId, programIndex);
  return kResultOk;
}

ContextMenu::~ContextMenu() {
  for (auto& entry : items)
    if (entry.second)
      entry.second->release();
}

int32 PLUGIN_API ContextMenu::getItemCount() {
  return static_cast<int32>(items.size());
}

tresult PLUGIN_API ContextMenu::getItem(int32 index, Item& item, IContextMenuTarget** target) {
  if (index < 0 || static_cast<size_t>(index) >= items.size())
    return kInvalidArgument;
  item = items[static_cast<size_t>(index)].first;
  if (target) {
    *target = items[static_cast<size_t>(index)].second;
    if (*target)
      (*target)->addRef();
  }
  return kResultOk;
}

tresult PLUGIN_API ContextMenu::addItem(const Item& item, IContextMenuTarget* target) {
  if (target)
    target->addRef();
  items.emplace_back(item, target);
  syncRecord();
  return kResultOk;
}

tresult PLUGIN_API ContextMenu::removeItem(const Item& item, IContextMenuTarget* target) {
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (it->first.tag == item.tag && it->second == target) {
      if (it->second)
        it->second->release();
      items.erase(it);
      syncRecord();
      return kResultOk;
    }
  }
  return kResultFalse;
}

tresult PLUGIN_API ContextMenu::popup(UCoord x, UCoord y) {
  ContextMenuRecord& r = log->contextMenus[record];
  r.popupAt = std::make_pair(x, y);
  if (!log->pickContextMenuItem)
    return kResultOk;
  const auto pick = log->pickContextMenuItem(r.items);
  if (!pick || *pick >= items.size())
    return kResultOk;
  const auto& [item, target] = items[*pick];
  r.executedTag = item.tag;
  if (target)
    target->executeMenuItem(item.tag);
  return kResultOk;
}

void ContextMenu::syncRecord() {
  ContextMenuRecord& r = log->contextMenus[record];
  r.items.clear();
  r.itemHasTarget.clear();
  for (const auto& entry : items) {
    r.items.push_back(entry.first);
    r.itemHasTarget.push_back(entry.second != nullptr);
  }
}

} // namespace orvane::testhost
