// What an editor-owning controller offers the AAX editor object beyond VST 3: the host's view
// container (so that its editor can offer parameter clicks to the host) and the host's
// control highlights. The GUI toolkit's controller-editor bridge implements it; a controller
// without it simply gets neither.
#pragma once

#include <cstdint>

class AAX_VViewContainer;

class AAXView_Interface {
public:
  virtual ~AAXView_Interface() = default;
  // The proxy stays valid while the editor object lives; null when the window closes.
  virtual void SetViewContainer(AAX_VViewContainer* container) = 0;
  virtual void SetControlHighlight(int32_t parameterIndex, bool highlighted, int32_t colour) = 0;
};
