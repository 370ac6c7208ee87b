#include "gui/IEditorController.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "gui/IControl.h"
#include "gui/IEditor.h"
#include "gui/IEditorView.h"
#include "gui/IPopupMenu.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "public.sdk/source/vst/utility/stringconvert.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

IEditorController::IEditorController(const FUID& processorClass, int nParams, int nPresets,
                                     const char* effectName, const char* productName,
                                     const char* makerName, const char* subCategory,
                                     int effectVersion, int uniqueID, int makerID, int latency,
                                     bool doesMidiIn, bool doesMidiOut, bool isInst, int api)
    : IFxController(processorClass, nParams, nPresets, effectName, productName, makerName,
                    subCategory, effectVersion, uniqueID, makerID, latency, doesMidiIn, doesMidiOut,
                    isInst, api) {}

IEditorController::~IEditorController() {
  delete mGraphics;
  mGraphics = nullptr;
}

// Takes ownership of graphics, also when making its draw bitmaps fails.
void IEditorController::AttachGraphics(IEditor* graphics) {
  if (!graphics || graphics == mGraphics)
    return;
  std::unique_ptr<IEditor> owned(graphics);
  for (int i = 0; i < NParams(); ++i)
    graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  graphics->CreateDrawBitmaps();
  delete mGraphics;
  mGraphics = owned.release();
}

IPlugView* PLUGIN_API IEditorController::createView(FIDString name) {
  if (!name || std::strcmp(name, kEditorViewName) != 0 || !mGraphics || HasAttachedView())
    return nullptr;
  auto* view = new IEditorView(this);
  AddEditorView(view);
  mViews.push_back(view);
  return view;
}

bool IEditorController::HasAttachedView() const {
  return std::any_of(mViews.begin(), mViews.end(),
                     [](const IEditorView* view) { return view->isAttached(); });
}

void IEditorController::editorDestroyed(EditorView* view) {
  RemoveEditorView(view);
  mViews.erase(std::remove(mViews.begin(), mViews.end(), view), mViews.end());
  IFxController::editorDestroyed(view);
}

void IEditorController::SetAllGUIParamsFromPlug() {
  if (!mGraphics)
    return;
  for (int i = 0; i < NParams(); ++i)
    mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IEditorController::SetAllGUIControlsDirty() {
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void IEditorController::SetGUIParameterFromPlug(int idx, bool isNormalized, double value) {
  if (mGraphics)
    mGraphics->SetParameterFromPlug(idx, value, isNormalized);
}

void IEditorController::SetViewContainer(AAX_VViewContainer* container) {
  if (mGraphics)
    mGraphics->SetViewContainer(container);
}

void IEditorController::SetControlHighlight(int32_t paramIdx, bool on, int32_t colorIdx) {
  if (mGraphics)
    mGraphics->SetControlHighlight(paramIdx, on, colorIdx);
}

void IEditorController::BeginEdit(int paramIdx) {
  beginEdit(ParamID(paramIdx));
}

void IEditorController::EndEdit(int paramIdx) {
  endEdit(ParamID(paramIdx));
}

void IEditorController::SetParameterFromGUI(int paramIdx, double normalized) {
  IFxController::SetParameterFromGUI(paramIdx, normalized);
}

// ---- context menus ----

void IEditorController::PopupHostContextMenu(int controlIdx, int paramIdx, int x, int y) {
  if (!mGraphics)
    return;
  IControl* control = mGraphics->GetControl(controlIdx);
  IPopupMenu menu;
  if (control)
    control->CreateContextMenu(&menu);
  if (GetAPI() == kAPIVST3 && PopupInHost(menu, control, paramIdx, x, y))
    return;
  PopupInEditor(menu, control, x, y);
}

IEditorView* IEditorController::HostMenuView() const {
  for (IEditorView* view : mViews)
    if (view->isAttached())
      return view;
  return mViews.empty() ? nullptr : mViews.front();
}

// The host menu speaks view points and calls the control back with the item's index as tag.
bool IEditorController::PopupInHost(const IPopupMenu& menu, IControl* target, int paramIdx, int x,
                                    int y) {
  IEditorView* view = HostMenuView();
  FUnknownPtr<IComponentHandler3> handler(getComponentHandler());
  if (!view || !handler)
    return false;
  const ParamID param = ParamID(paramIdx);
  IPtr<IContextMenu> hostMenu = owned(handler->createContextMenu(view, &param));
  if (!hostMenu)
    return false;
  for (int i = 0; i < menu.GetNItems(); ++i) {
    const IPopupMenuItem* item = menu.GetItem(i);
    IContextMenuItem entry = {};
    StringConvert::convert(std::string(item->GetText()), entry.name);
    entry.tag = i;
    entry.flags = (item->IsDisabled() ? IContextMenuItem::kIsDisabled : 0) |
                  (item->IsChecked() ? IContextMenuItem::kIsChecked : 0) |
                  (item->IsSeparator() ? IContextMenuItem::kIsSeparator : 0);
    hostMenu->addItem(entry, target);
  }
  const double scale = mGraphics->GetDrawScale() > 0.0 ? mGraphics->GetDrawScale() : 1.0;
  // The right press that asked for the menu holds the pointer; the host's menu grabs it for
  // itself, which it cannot while the editor still has it.
  mGraphics->ReleaseMouseCapture();
  view->ReleasePointer();
  hostMenu->popup(UCoord(x / scale), UCoord(y / scale));
  return true;
}

void IEditorController::PopupInEditor(IPopupMenu& menu, IControl* control, int x, int y) {
  IRECT at(x, y, x, y);
  IPopupMenu* chosen = mGraphics->CreateIPopupMenu(&menu, &at);
  if (control)
    control->OnContextMenuItem(chosen ? chosen->GetChosenItemIdx() : -1);
}
