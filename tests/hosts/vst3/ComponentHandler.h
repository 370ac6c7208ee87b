// The host's component handler: records the controller's edits, restart requests, unit and
// program-list notifications and context-menu requests.
#pragma once

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/hosts/vst3/HostLog.h"
#include "tests/hosts/vst3/HostObject.h"

#include <memory>
#include <vector>

namespace orvane::testhost {

class ComponentHandler
    : public HostObject<Steinberg::Vst::IComponentHandler, Steinberg::Vst::IComponentHandler2,
                        Steinberg::Vst::IComponentHandler3, Steinberg::Vst::IUnitHandler> {
public:
  ComponentHandler(std::shared_ptr<HostLog> log, bool offerContextMenus)
      : log(std::move(log)), offerContextMenus(offerContextMenus) {}

  // Hides IComponentHandler3 from a plug-in when the host is set up without context menus.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  Steinberg::tresult PLUGIN_API setDirty(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API requestOpenEditor(Steinberg::FIDString name) override;
  Steinberg::tresult PLUGIN_API startGroupEdit() override;
  Steinberg::tresult PLUGIN_API finishGroupEdit() override;

  Steinberg::Vst::IContextMenu* PLUGIN_API createContextMenu(
      Steinberg::IPlugView* plugView, const Steinberg::Vst::ParamID* paramID) override;

  Steinberg::tresult PLUGIN_API notifyUnitSelection(Steinberg::Vst::UnitID unitId) override;
  Steinberg::tresult PLUGIN_API notifyProgramListChange(Steinberg::Vst::ProgramListID listId,
                                                        Steinberg::int32 programIndex) override;

private:
  std::shared_ptr<HostLog> log;
  bool offerContextMenus;
};

// A host context menu: records the items the plug-in adds; popup records the position and lets
// the log's scripted user pick an item, whose target is then executed.
class ContextMenu : public HostObject<Steinberg::Vst::IContextMenu> {
public:
  ContextMenu(std::shared_ptr<HostLog> log, size_t record) : log(std::move(log)), record(record) {}
  ~ContextMenu() override;

  Steinberg::int32 PLUGIN_API getItemCount() override;
  Steinberg::tresult PLUGIN_API getItem(Steinberg::int32 index, Item& item,
                                        Steinberg::Vst::IContextMenuTarget** target) override;
  Steinberg::tresult PLUGIN_API addItem(const Item& item,
                                        Steinberg::Vst::IContextMenuTarget* target) override;
  Steinberg::tresult PLUGIN_API removeItem(const Item& item,
                                           Steinberg::Vst::IContextMenuTarget* target) override;
  Steinberg::tresult PLUGIN_API popup(Steinberg::UCoord x, Steinberg::UCoord y) override;

private:
  void syncRecord();

  std::shared_ptr<HostLog> log;
  size_t record;
  std::vector<std::pair<Item, Steinberg::Vst::IContextMenuTarget*>> items;
};

} // namespace orvane::testhost
