#include "aax/library/AAX_VViewContainer.h"

#include "AAX_UIDs.h"

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* container)
    : mContainer(AAX_QueryHostInterface<AAX_IACFViewContainer>(container, IID_ViewContainer)) {}

int32_t AAX_VViewContainer::GetType() {
  return mContainer ? mContainer->GetType() : 0;
}

void* AAX_VViewContainer::GetNativeView() {
  return mContainer ? mContainer->GetNativeView() : nullptr;
}

AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* modifiers) {
  return mContainer ? mContainer->GetModifiers(modifiers) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::SetViewSize(AAX_Point& size) {
  return mContainer ? mContainer->SetViewSize(size) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) {
  return mContainer ? mContainer->HandleParameterMouseDown(id, modifiers) : AAX_ERROR_UNIMPLEMENTED;
}
