// The compressor's AAX editor object (create procedure 1). It takes the VST 3 controller from
// the instance's AAXWrapper_Parameters, asks it for its "editor" view, attaches that view into
// the host's native parent view as an "NSView", serves as the view's IPlugFrame for resize
// requests, and passes the host's view container to a controller that offers
// AAXView_Interface.
#pragma once

#include "aax/library/AAX_CEffectGUI.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

class AAXWrapper_Parameters;

class AAX_WrapperGUI : public AAX_CEffectGUI, public Steinberg::IPlugFrame {
public:
  static IACFUnknown* Create();
  ~AAX_WrapperGUI() override;

  AAX_Result GetViewSize(AAX_Point* size) const override;
  AAX_Result GuiHook2() override { return AAX_SUCCESS; }
  AAX_Result ParameterUpdated(AAX_CParamID id) override;
  AAX_Result SetControlHighlight(AAX_CParamID id, AAX_CBoolean highlighted,
                                 int32_t colour) override;

  // ---- IPlugFrame: lives as long as this object, so nothing is counted ----
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

protected:
  void CreateViewContents() override;
  void CreateViewContainer() override;
  void DeleteViewContainer() override;

private:
  AAX_WrapperGUI() = default;
  AAXWrapper_Parameters* Wrapper() const;

  // One reference, taken when the contents are made and kept until this object goes, so that
  // the window can be closed and opened again.
  Steinberg::Vst::IEditController* mController = nullptr;
  Steinberg::IPlugView* mPlugView = nullptr; // one reference while attached
};
