// EditorView: the plug view of an EditController. It holds its controller (with a reference)
// and tells it when the view is attached, removed and destroyed, so the controller can keep
// track of its open views.
#pragma once

#include "public.sdk/source/common/pluginview.h"

namespace Steinberg {
namespace Vst {

class EditController;

class EditorView : public CPluginView {
public:
  explicit EditorView(EditController* controller, ViewRect* size = nullptr);
  ~EditorView() override;

  EditController* getController() const { return controller; }

  void attachedToParent() override;
  void removedFromParent() override;

  OBJ_METHODS(EditorView, CPluginView)

protected:
  EditController* controller;
};

} // namespace Vst
} // namespace Steinberg
