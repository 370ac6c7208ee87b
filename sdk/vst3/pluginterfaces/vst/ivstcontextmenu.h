// Host context menus that a plug-in's editor asks for and may add items to.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {

class IPlugView;

namespace Vst {

class IContextMenu;

// The host's handler gains a factory of context menus for a view (and a parameter under the
// mouse, or none).
class IComponentHandler3 : public FUnknown {
public:
  virtual IContextMenu* PLUGIN_API createContextMenu(IPlugView* plugView,
                                                     const ParamID* paramID) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IComponentHandler3, 0x69F11617, 0xD26B400D, 0xA4B6B964, 0x7B6EBBAB)

// Receives the tag of the item the user picked.
class IContextMenuTarget : public FUnknown {
public:
  virtual tresult PLUGIN_API executeMenuItem(int32 tag) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IContextMenuTarget, 0x3CDF2E75, 0x85D34144, 0xBF86D36B, 0xD7C4894D)

struct IContextMenuItem {
  enum Flags : int32 {
    kIsSeparator = 1 << 0,
    kIsDisabled = 1 << 1,
    kIsChecked = 1 << 2,
    kIsGroupStart = 1 << 3 | kIsDisabled,
    kIsGroupEnd = 1 << 4 | kIsSeparator
  };

  String128 name;
  int32 tag;
  int32 flags;
};

class IContextMenu : public FUnknown {
public:
  using Item = IContextMenuItem;

  virtual int32 PLUGIN_API getItemCount() = 0;
  virtual tresult PLUGIN_API getItem(int32 index, Item& item, IContextMenuTarget** target) = 0;
  virtual tresult PLUGIN_API addItem(const Item& item, IContextMenuTarget* target) = 0;
  virtual tresult PLUGIN_API removeItem(const Item& item, IContextMenuTarget* target) = 0;
  // x, y: relative to the top-left corner of the plug-in's view.
  virtual tresult PLUGIN_API popup(UCoord x, UCoord y) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IContextMenu, 0x2E93C863, 0x0C9C4588, 0x97DBECF5, 0xAD17817D)

} // namespace Vst
} // namespace Steinberg
