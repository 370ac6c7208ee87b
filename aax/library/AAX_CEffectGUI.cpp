#include "aax/library/AAX_CEffectGUI.h"

#include "aax/library/AAX_CString.h"
#include "aax/library/AAX_CatchAll.h"

AAX_CEffectGUI::~AAX_CEffectGUI() {
  ReleaseHostObjects();
}

ACFRESULT AAX_CEffectGUI::InterfaceQuery(const acfIID& iid, void** out) {
  if (!out)
    return ACF_E_POINTER;
  if (iid == IID_EffectGUI) {
    *out = static_cast<AAX_IACFEffectGUI*>(this);
    AddRef();
    return ACF_OK;
  }
  return CACFUnknown::InternalQueryInterface(iid, out);
}

void AAX_CEffectGUI::ReleaseHostObjects() {
  if (mEffectParameters) {
    mEffectParameters->Release();
    mEffectParameters = nullptr;
  }
  mController.reset();
  mTransport.reset();
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* host) {
  return AAX_CatchAll([&]() -> AAX_Result {
    ReleaseHostObjects(); // a second Initialize starts from scratch
    mController = std::make_unique<AAX_VController>(host);
    if (!host)
      return AAX_ERROR_NO_HOST;
    void* parameters = nullptr;
    if (host->QueryInterface(IID_EffectParameters, &parameters) == ACF_OK)
      mEffectParameters = static_cast<AAX_IACFEffectParameters*>(parameters);
    mTransport = std::make_unique<AAX_VTransport>(host);
    CreateViewContents();
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectGUI::Uninitialize() {
  return AAX_CatchAll([&] {
    ReleaseHostObjects();
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* container) {
  return AAX_CatchAll([&] {
    if (container) {
      auto proxy = std::make_unique<AAX_VViewContainer>(container);
      if (mViewContainer)
        mReplacedViewContainers.push_back(std::move(mViewContainer));
      mViewContainer = std::move(proxy);
      CreateViewContainer();
      UpdateAllParameters();
    } else {
      // Forgotten first, deleted only once the subclass has taken its view down.
      std::unique_ptr<AAX_VViewContainer> closing = std::move(mViewContainer);
      DeleteViewContainer();
    }
    return AAX_SUCCESS;
  });
}

void* AAX_CEffectGUI::GetViewContainerPtr() const {
  return mViewContainer ? mViewContainer->GetNativeView() : nullptr;
}

void AAX_CEffectGUI::UpdateAllParameters() {
  if (!mEffectParameters)
    return;
  int32_t count = 0;
  if (mEffectParameters->GetNumberOfParameters(&count) != AAX_SUCCESS || count < 0)
    return;
  for (int32_t index = 0; index < count; ++index) {
    AAX_CString id;
    if (mEffectParameters->GetParameterIDFromIndex(index, &id) == AAX_SUCCESS)
      ParameterUpdated(id.Get());
  }
}
