#pragma once
// The controller of a plug-in with an editor: the framework's edit controller with one IEditor.
// It answers the host's createView with an IEditorView, carries parameter values from the
// plug-in side to the controls (never echoed back), carries the editor's edits to the host
// inside its edit gestures, and runs a control's right-click menu either in the host (VST 3,
// when the host offers one) or as the toolkit's own pop-up. Plug-in controllers derive from it,
// create their back end's editor, AttachGraphics it and build their layout on it. UI thread
// only.

#include <vector>

#include "framework/IFxController.h"
#include "gui/AAXView_Interface.h"
#include "gui/IEditorDelegate.h"

class IControl;
class IEditor;
class IEditorView;
class IPopupMenu;

class IEditorController : public IFxController, public AAXView_Interface, public IEditorDelegate {
public:
  static constexpr const char* kEditorViewName = "editor";

  IEditorController(const Steinberg::FUID& processorClass, int nParams, int nPresets,
                    const char* effectName, const char* productName, const char* makerName,
                    const char* subCategory, int effectVersion, int uniqueID, int makerID,
                    int latency, bool doesMidiIn, bool doesMidiOut, bool isInst, int api);
  // Deletes the editor and with it every control.
  ~IEditorController() override;

  // Takes ownership: gives every control the parameters' current values, makes the draw
  // bitmaps and keeps the editor (deleting one attached before). Null does nothing.
  void AttachGraphics(IEditor* graphics);

  // A new view for "editor" once an editor is attached; null for any other name, and while
  // another view shows the editor (the one editor has one window).
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;
  void SetAllGUIParamsFromPlug() override;
  void SetAllGUIControlsDirty() override;
  void SetGUIParameterFromPlug(int idx, bool isNormalized, double value) override;
  // A plug-in controller builds its controls on the current editor here.
  void LayoutGUI() override {}
  // The AAX build's editor keeps the host's view container; the other builds ignore it.
  void SetViewContainer(AAX_VViewContainer* container) override;
  void SetControlHighlight(int32_t paramIdx, bool on, int32_t colorIdx) override;

  // ---- what the editor and its controls need ----
  IParam* GetParam(int idx) const override { return IFxBase::GetParam(idx); }
  int NParams() const override { return IFxBase::NParams(); }
  void BeginEdit(int paramIdx) override;
  void EndEdit(int paramIdx) override;
  void SetParameterFromGUI(int paramIdx, double normalized) override;
  void PopupHostContextMenu(int controlIdx, int paramIdx, int x, int y) override;
  IEditor* GetGUI() override { return mGraphics; }

  // True while one of this controller's views is attached to a host window.
  bool HasAttachedView() const;

  // Views report their end here: a released view leaves the open-view lists.
  void editorDestroyed(Steinberg::Vst::EditorView* view) override;

  OBJ_METHODS(IEditorController, IFxController)

private:
  // The view a host menu is asked for: the first attached one, else the first created.
  IEditorView* HostMenuView() const;
  // The host's menu for the parameter, filled from menu; false when the host offers none.
  bool PopupInHost(const IPopupMenu& menu, IControl* target, int paramIdx, int x, int y);
  void PopupInEditor(IPopupMenu& menu, IControl* control, int x, int y);

  IEditor* mGraphics = nullptr;     // owned
  std::vector<IEditorView*> mViews; // created and not yet destroyed, in creation order
};
