#pragma once
// What an editor and its controls need of the plug-in controller that owns them: the
// parameters, the host's edit gestures, user edits, the host context menu and the way back to
// the editor. The controller side of the editor bridge implements it on the framework's
// controller base (beginEdit / endEdit and SetParameterFromGUI of IFxController).

class IEditor;
class IParam;

class IEditorDelegate {
public:
  virtual ~IEditorDelegate() = default;

  // The parameter of that index, or null when there is none.
  virtual IParam* GetParam(int idx) const = 0;
  virtual int NParams() const = 0;
  // The host's edit gesture on a parameter: opened before the first change, closed after the
  // last.
  virtual void BeginEdit(int paramIdx) = 0;
  virtual void EndEdit(int paramIdx) = 0;
  // A value the user set in the editor (normalised), reported to the host.
  virtual void SetParameterFromGUI(int paramIdx, double normalized) = 0;
  // A right click on a control bound to a parameter.
  virtual void PopupHostContextMenu(int controlIdx, int paramIdx, int x, int y) = 0;
  // The editor this controller owns, or null.
  virtual IEditor* GetGUI() = 0;
  // Builds the controls on the current editor again (after a scale change emptied it).
  virtual void LayoutGUI() {}
};
