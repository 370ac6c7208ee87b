// Base of the object an AAX host creates for a plug-in's editor. It connects to the host
// (controller and transport proxies, the effect-parameters interface of the same instance),
// keeps the host's view container while the window is open, and leaves the view itself to
// the subclass: CreateViewContents, CreateViewContainer and DeleteViewContainer.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "AAX_UIDs.h"
#include "aax/library/AAX_IEffectGUI.h"
#include "aax/library/AAX_VController.h"
#include "aax/library/AAX_VTransport.h"
#include "aax/library/AAX_VViewContainer.h"
#include "aax/library/CACFUnknown.h"

#include <memory>
#include <vector>

class AAX_CEffectGUI : public AAX_IEffectGUI, public CACFUnknown {
public:
  AAX_CEffectGUI() = default;
  ~AAX_CEffectGUI() override;

  ACFRESULT QueryInterface(const acfIID& iid, void** out) override {
    return GetOuter()->QueryInterface(iid, out);
  }
  acfUInt32 AddRef() override { return GetOuter()->AddRef(); }
  acfUInt32 Release() override { return GetOuter()->Release(); }

  AAX_Result Initialize(IACFUnknown* host) override;
  AAX_Result Uninitialize() override;
  AAX_Result GuiHook1() override { return AAX_SUCCESS; }
  AAX_Result SetViewContainer(IACFUnknown* container) override;
  AAX_Result GetViewSize(AAX_Point*) const override { return AAX_SUCCESS; }
  AAX_Result Draw(AAX_Rect*) override { return AAX_SUCCESS; }
  AAX_Result GuiHook2() override { return AAX_SUCCESS; }
  AAX_Result ParameterUpdated(AAX_CParamID) override { return AAX_SUCCESS; }
  AAX_Result GuiHook3() override { return AAX_ERROR_HOOK_WITHOUT_ROLE; }
  AAX_Result SetControlHighlight(AAX_CParamID, AAX_CBoolean, int32_t) override {
    return AAX_SUCCESS;
  }

  // Answers the editor interface, then what CACFUnknown answers.
  virtual ACFRESULT InterfaceQuery(const acfIID& iid, void** out);
  ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override {
    return InterfaceQuery(iid, out);
  }

protected:
  virtual void CreateViewContents() = 0;
  virtual void CreateViewContainer() = 0;
  virtual void DeleteViewContainer() = 0;
  // Tells ParameterUpdated about every parameter of the instance, in index order.
  virtual void UpdateAllParameters();

  AAX_IACFEffectParameters* GetEffectParameters() const { return mEffectParameters; }
  AAX_VViewContainer* GetViewContainer() const { return mViewContainer.get(); }
  // The host's native parent view; null without a container.
  void* GetViewContainerPtr() const;
  AAX_VController* GetController() const { return mController.get(); }
  AAX_VTransport* GetTransport() const { return mTransport.get(); }

private:
  void ReleaseHostObjects();

  std::unique_ptr<AAX_VController> mController;
  AAX_IACFEffectParameters* mEffectParameters = nullptr;
  std::unique_ptr<AAX_VViewContainer> mViewContainer;
  std::unique_ptr<AAX_VTransport> mTransport;
  // Containers replaced while the window stayed open. The view made for one may still hold
  // its proxy, so it lives as long as this object.
  std::vector<std::unique_ptr<AAX_VViewContainer>> mReplacedViewContainers;
};
