// Building blocks of the recording AAX host: a shared log of every call the plug-in makes on
// a host object, and the reference-counted base of every host object. Host objects are owned
// by the host (they are never deleted by a release); their counts show whether the plug-in
// gave back every reference it took.
#pragma once

#include "AAX_UIDs.h"
#include "acfunknown.h"

#include <cstdarg>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace aaxhost {

class CallLog {
public:
  void Record(const char* format, ...) __attribute__((format(printf, 2, 3)));
  const std::vector<std::string>& Calls() const { return mCalls; }
  // The calls recorded so far, and a fresh start.
  std::vector<std::string> Take();
  // The calls that begin with prefix, in order.
  std::vector<std::string> Matching(const std::string& prefix) const;
  void Clear() { mCalls.clear(); }

private:
  std::vector<std::string> mCalls;
};

class HostObjectBase {
public:
  virtual ~HostObjectBase() = default;
  int32_t References() const { return mReferences; }

protected:
  int32_t mReferences = 0;
};

// A host object answering the interfaces Answer gives, plus IID_IACFUnknown. An interface can
// be withheld (the query fails) or broken (the query reports success and yields null), to
// stand for hosts that lack it or violate the object model.
template <class Primary> class HostObject : public Primary, public HostObjectBase {
public:
  explicit HostObject(CallLog& log) : mLog(log) {}

  ACFRESULT QueryInterface(const acfIID& iid, void** out) override {
    if (!out)
      return ACF_E_POINTER;
    *out = nullptr;
    if (mBroken.count(Key(iid)))
      return ACF_OK;
    if (mWithheld.count(Key(iid)))
      return ACF_E_NOINTERFACE;
    void* answer = iid == IID_IACFUnknown ? static_cast<IACFUnknown*>(this) : Answer(iid);
    if (!answer)
      return ACF_E_NOINTERFACE;
    *out = answer;
    static_cast<IACFUnknown*>(answer)->AddRef();
    return ACF_OK;
  }
  acfUInt32 AddRef() override { return acfUInt32(++mReferences); }
  acfUInt32 Release() override { return acfUInt32(--mReferences); }

  void Withhold(const acfIID& iid) { mWithheld.insert(Key(iid)); }
  void Break(const acfIID& iid) { mBroken.insert(Key(iid)); }

protected:
  virtual void* Answer(const acfIID& iid) = 0;
  CallLog& Log() const { return mLog; }

private:
  static std::string Key(const acfIID& iid) {
    return std::string(reinterpret_cast<const char*>(&iid), sizeof iid);
  }

  CallLog& mLog;
  std::set<std::string> mWithheld;
  std::set<std::string> mBroken;
};

} // namespace aaxhost
