#pragma once
// What the AAX editor object needs of a plug-in controller that owns an editor, beyond VST 3:
// the host's view container (so that the editor can offer parameter clicks to the host) and
// the host's highlighting of a parameter's control. The controller-editor bridge implements
// it; a controller without it simply gets neither. One definition for the whole program: the
// AAX adapter finds it on the controller by dynamic_cast.

#include <cstdint>

class AAX_VViewContainer;

class AAXView_Interface {
public:
  virtual ~AAXView_Interface() = default;

  // The container's proxy while the editor window is open in an AAX host; null once it is
  // gone.
  virtual void SetViewContainer(AAX_VViewContainer* container) = 0;
  virtual void SetControlHighlight(int32_t paramIdx, bool on, int32_t colorIdx) = 0;
};
