#include "aax/library/AAX_VController.h"

#include "AAX_UIDs.h"

AAX_VController::AAX_VController(IACFUnknown* host)
    : mController(AAX_QueryHostInterface<AAX_IACFController>(host, IID_Controller)),
      mControllerV2(AAX_QueryHostInterface<AAX_IACFController_V2>(host, IID_Controller_V2)) {}

AAX_Result AAX_VController::GetSampleRate(float* sampleRate) const {
  return mController ? mController->GetSampleRate(sampleRate) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetInputStemFormat(uint32_t* stemFormat) const {
  return mController ? mController->GetInputStemFormat(stemFormat) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetOutputStemFormat(uint32_t* stemFormat) const {
  return mController ? mController->GetOutputStemFormat(stemFormat) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::SetSignalLatency(int32_t samples) {
  return mController ? mController->SetSignalLatency(samples) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::PostPacket(AAX_CFieldIndex port, const void* payload, uint32_t size) {
  return mController ? mController->PostPacket(port, payload, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::SendNotification(AAX_CTypeID type, const void* data, uint32_t size) {
  return mControllerV2 ? mControllerV2->SendNotification(type, data, size)
                       : AAX_ERROR_UNIMPLEMENTED;
}
