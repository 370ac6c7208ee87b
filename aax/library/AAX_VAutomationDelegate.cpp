#include "aax/library/AAX_VAutomationDelegate.h"

#include "AAX_UIDs.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* host)
    : mDelegate(AAX_QueryHostInterface<AAX_IACFAutomationDelegate>(host, IID_AutomationDelegate)) {}

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID id) {
  return mDelegate ? mDelegate->RegisterParameter(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID id) {
  return mDelegate ? mDelegate->UnregisterParameter(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID id, double value) const {
  return mDelegate ? mDelegate->PostSetValueRequest(id, value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID id, double value) const {
  return mDelegate ? mDelegate->PostCurrentValue(id, value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID id) {
  return mDelegate ? mDelegate->PostTouchRequest(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID id) {
  return mDelegate ? mDelegate->PostReleaseRequest(id) : AAX_ERROR_NULL_OBJECT;
}
