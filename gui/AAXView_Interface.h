#pragma once
// What the AAX editor object needs of a plug-in controller that owns an editor: where the host's
// view container is, and the host's highlighting of a parameter's control.

class AAXView_Interface {
public:
  virtual ~AAXView_Interface() = default;

  virtual void SetViewContainer(void* viewContainer) = 0;
  virtual void SetControlHighlight(int paramIdx, bool on, int colorIdx) = 0;
};
