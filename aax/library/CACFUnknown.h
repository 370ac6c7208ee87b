// Reference-counted base of every plug-in object an AAX host holds. The object answers the
// host through its inner object; QueryInterface, AddRef and Release of a derived object's
// public interfaces forward to the controlling object, which in this system is always the
// object's own inner object (no aggregation by an outer host object).
#pragma once

#include "acfunknown.h"

#include <atomic>
#include <cstdint>

class CACFUnknown {
public:
  CACFUnknown();
  CACFUnknown(const CACFUnknown&) = delete;
  CACFUnknown& operator=(const CACFUnknown&) = delete;
  virtual ~CACFUnknown();

  virtual ACFRESULT InitHook() { return ACF_OK; }
  // Runs right before the object deletes itself on its last release.
  virtual void PreDestroyHook() {}
  virtual void DeleteThis() { delete this; }
  virtual ACFRESULT InternalQueryInterface(const acfIID& iid, void** out);
  virtual acfUInt32 InternalAddRef();
  virtual acfUInt32 InternalRelease();

  // The object that answers for this one: the public interface operations forward here.
  IACFUnknown* GetOuter() const { return mOuter; }
  int32_t ReferenceCount() const { return mReferenceCount.load(); }

  // Number of CACFUnknown objects alive in this process; 0 means the bundle may unload.
  static int32_t GetLiveObjectCount();

private:
  // The inner object: its own operation table, answering for the owner.
  class PrivateUnknown final : public IACFUnknown {
  public:
    explicit PrivateUnknown(CACFUnknown* owner) : mOwner(owner) {}
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override {
      return mOwner->InternalQueryInterface(iid, out);
    }
    acfUInt32 AddRef() override { return mOwner->InternalAddRef(); }
    acfUInt32 Release() override { return mOwner->InternalRelease(); }

  private:
    CACFUnknown* mOwner;
  };

  std::atomic<int32_t> mReferenceCount{0};
  IACFUnknown* mOuter;
  PrivateUnknown mInner;
};
