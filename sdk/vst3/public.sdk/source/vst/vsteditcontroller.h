// EditController: the controller half's IEditController defaults: the parameter container,
// the host's component handler (edit gestures, restarts, group edits) and the knob mode.
#pragma once

#include "public.sdk/source/vst/vstcomponentbase.h"
#include "public.sdk/source/vst/vsteditorview.h"
#include "public.sdk/source/vst/vstparameters.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class EditController : public ComponentBase, public IEditController, public IEditController2 {
public:
  EditController();
  ~EditController() override;

  // IEditController
  tresult PLUGIN_API setComponentState(IBStream* state) override;
  tresult PLUGIN_API setState(IBStream* state) override;
  tresult PLUGIN_API getState(IBStream* state) override;
  int32 PLUGIN_API getParameterCount() override;
  // kResultFalse for an index without parameter.
  tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
  // kResultFalse for an unknown ID, kInvalidArgument for a null string.
  tresult PLUGIN_API getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                           String128 string) override;
  tresult PLUGIN_API getParamValueByString(ParamID tag, TChar* string,
                                           ParamValue& valueNormalized) override;
  // Through the parameter's conversions; an unknown ID returns the value unchanged.
  ParamValue PLUGIN_API normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) override;
  ParamValue PLUGIN_API plainParamToNormalized(ParamID tag, ParamValue plainValue) override;
  // 0.0 for an unknown ID.
  ParamValue PLUGIN_API getParamNormalized(ParamID tag) override;
  // kResultFalse for an unknown ID.
  tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) override;
  // Keeps the handler (and its IComponentHandler2, when it has one); null drops them.
  tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) override;
  IPlugView* PLUGIN_API createView(FIDString name) override;

  // IEditController2
  tresult PLUGIN_API setKnobMode(KnobMode mode) override;
  tresult PLUGIN_API openHelp(TBool onlyCheck) override;
  tresult PLUGIN_API openAboutBox(TBool onlyCheck) override;

  // IPluginBase: terminate drops the parameters and the handler.
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  // To the host's component handler; kResultFalse while there is none (kNotImplemented for
  // the IComponentHandler2 calls when the host has no such interface).
  virtual tresult beginEdit(ParamID tag);
  virtual tresult performEdit(ParamID tag, ParamValue valueNormalized);
  virtual tresult endEdit(ParamID tag);
  virtual tresult startGroupEdit();
  virtual tresult finishGroupEdit();
  virtual tresult restartComponent(int32 flags);
  virtual tresult setDirty(TBool state);
  virtual tresult requestOpenEditor(FIDString name = ViewType::kEditor);

  IComponentHandler* getComponentHandler() const { return componentHandler; }

  // Views of this controller report their life here (see EditorView).
  virtual void editorAttached(EditorView* /*editor*/) {}
  virtual void editorRemoved(EditorView* /*editor*/) {}
  virtual void editorDestroyed(EditorView* /*editor*/) {}

  // The parameter behind an ID, or null.
  virtual Parameter* getParameterObject(ParamID tag) { return parameters.getParameter(tag); }

  static KnobMode getHostKnobMode() { return hostKnobMode; }

  OBJ_METHODS(EditController, ComponentBase)
  DEFINE_INTERFACES
  DEF_INTERFACE(IEditController)
  DEF_INTERFACE(IEditController2)
  QUERY_INTERFACE(iid, obj, IPluginBase::iid, IEditController)
  END_DEFINE_INTERFACES(ComponentBase)
  REFCOUNT_METHODS(ComponentBase)

protected:
  ParameterContainer parameters;
  IPtr<IComponentHandler> componentHandler;
  IPtr<IComponentHandler2> componentHandler2;

  static KnobMode hostKnobMode;
};

} // namespace Vst
} // namespace Steinberg

// Controllers with units and program lists are usually wanted from this same include.
#include "public.sdk/source/vst/vsteditcontrollerex1.h"
