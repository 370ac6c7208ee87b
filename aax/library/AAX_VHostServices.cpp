#include "aax/library/AAX_VHostServices.h"

#include "AAX_UIDs.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {
// Set at start-up and cleared at shut-down, when no other call of the bundle runs.
std::unique_ptr<AAX_VHostServices> gHostServices;
} // namespace

AAX_VHostServices::AAX_VHostServices(IACFUnknown* host)
    : mServices(
          AAX_CreateHostObject<AAX_IACFHostServices>(host, CLSID_HostServices, IID_HostServices)) {}

AAX_Result AAX_VHostServices::Trace(int32_t priority, const char* message) {
  return mServices ? mServices->Trace(priority, message) : AAX_ERROR_NULL_OBJECT;
}

void AAX_HostServices_SetSingleton(IACFUnknown* host) {
  if (!gHostServices && host)
    gHostServices = std::make_unique<AAX_VHostServices>(host);
  else if (gHostServices && !host)
    gHostServices.reset();
}

AAX_VHostServices* AAX_HostServices_GetSingleton() {
  return gHostServices.get();
}

AAX_Result AAX_Trace(int32_t priority, const char* format, ...) {
  if (!gHostServices || !format)
    return AAX_SUCCESS;
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return gHostServices->Trace(priority, text);
}
