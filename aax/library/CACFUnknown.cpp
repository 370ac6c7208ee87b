#include "aax/library/CACFUnknown.h"

#include "AAX_UIDs.h"

namespace {
std::atomic<int32_t> gLiveObjects{0};
}

CACFUnknown::CACFUnknown() : mOuter(&mInner), mInner(this) {
  gLiveObjects.fetch_add(1);
}

CACFUnknown::~CACFUnknown() {
  gLiveObjects.fetch_sub(1);
}

int32_t CACFUnknown::GetLiveObjectCount() {
  return gLiveObjects.load();
}

ACFRESULT CACFUnknown::InternalQueryInterface(const acfIID& iid, void** out) {
  if (!out)
    return ACF_E_POINTER;
  *out = nullptr;
  if (iid == IID_IACFUnknown) {
    *out = static_cast<IACFUnknown*>(&mInner);
    mInner.AddRef();
    return ACF_OK;
  }
  return ACF_E_NOINTERFACE;
}

acfUInt32 CACFUnknown::InternalAddRef() {
  return acfUInt32(mReferenceCount.fetch_add(1) + 1);
}

acfUInt32 CACFUnknown::InternalRelease() {
  const int32_t count = mReferenceCount.fetch_sub(1) - 1;
  if (count == 0) {
    PreDestroyHook();
    DeleteThis();
  }
  return acfUInt32(count);
}
