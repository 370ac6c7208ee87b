// The root of every VST 3 interface: result codes, 16-byte interface and class IDs, FUnknown
// (reference counting and interface queries) and the macros that declare and implement them.
//
// Binary facts this file must keep for Linux hosts:
// - an ID is 16 bytes; written as four 32-bit words, each word is stored big-endian, in order
//   (the non-COM layout; Windows builds use the COM layout, which this stand-in does not offer);
// - result codes have the small non-COM values below;
// - FUnknown's vtable is queryInterface, addRef, release, with no virtual destructor.
#pragma once

#include "pluginterfaces/base/fplatform.h"
#include "pluginterfaces/base/ftypes.h"

#include <cstring>

// Spells the four words of an ID as its 16 bytes, in the order Linux hosts compare them.
#define INLINE_UID(l1, l2, l3, l4)                                                                 \
  {                                                                                                \
    static_cast<::Steinberg::int8>(((l1) >> 24) & 0xFF),                                           \
        static_cast<::Steinberg::int8>(((l1) >> 16) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l1) >> 8) & 0xFF),                                        \
        static_cast<::Steinberg::int8>((l1)&0xFF),                                                 \
        static_cast<::Steinberg::int8>(((l2) >> 24) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l2) >> 16) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l2) >> 8) & 0xFF),                                        \
        static_cast<::Steinberg::int8>((l2)&0xFF),                                                 \
        static_cast<::Steinberg::int8>(((l3) >> 24) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l3) >> 16) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l3) >> 8) & 0xFF),                                        \
        static_cast<::Steinberg::int8>((l3)&0xFF),                                                 \
        static_cast<::Steinberg::int8>(((l4) >> 24) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l4) >> 16) & 0xFF),                                       \
        static_cast<::Steinberg::int8>(((l4) >> 8) & 0xFF),                                        \
        static_cast<::Steinberg::int8>((l4)&0xFF)                                                  \
  }

#define DECLARE_UID(name, l1, l2, l3, l4) ::Steinberg::TUID name = INLINE_UID(l1, l2, l3, l4)

#define EXTERN_UID(name) extern const ::Steinberg::TUID name

// Inside an interface's header, after the class: the interface's ID as a TUID constant.
// Every interface class also declares `static const ::Steinberg::FUID iid;`, which
// DEF_CLASS_IID defines (once, in a .cpp) from that constant.
#define DECLARE_CLASS_IID(ClassName, l1, l2, l3, l4)                                               \
  inline constexpr ::Steinberg::TUID ClassName##_iid = INLINE_UID(l1, l2, l3, l4);

#define DEF_CLASS_IID(ClassName) const ::Steinberg::FUID ClassName::iid(ClassName##_iid);

namespace Steinberg {

// ---- result codes (Linux values) ---------------------------------------------------------------

using tresult = int32;

enum : int32 {
  kNoInterface = -1,
  kResultOk = 0,
  kResultTrue = kResultOk,
  kResultFalse = 1,
  kInvalidArgument = 2,
  kNotImplemented = 3,
  kInternalError = 4,
  kNotInitialized = 5,
  kOutOfMemory = 6
};

// ---- IDs ---------------------------------------------------------------------------------------

using TUID = int8[16];
using LARGE_INT = int64;

inline bool iidEqual(const void* a, const void* b) {
  return std::memcmp(a, b, sizeof(TUID)) == 0;
}

namespace FUnknownPrivate {
inline bool iidEqual(const void* a, const void* b) {
  return ::Steinberg::iidEqual(a, b);
}
// Reference counts are changed from any thread a host likes.
inline int32 atomicAdd(int32& value, int32 delta) {
  return __atomic_add_fetch(&value, delta, __ATOMIC_ACQ_REL);
}
} // namespace FUnknownPrivate

// A 16-byte class or interface ID with its four-word view. Constant-initialised, so IDs defined
// at namespace scope are ready before any static constructor runs.
class FUID {
public:
  // Lengths of the text forms written by toString and toRegistryString, terminator included.
  static constexpr int32 kStringSize = 33;
  static constexpr int32 kRegistryStringSize = 39;

  constexpr FUID() : data{} {}
  constexpr FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4) : data{} { from4Int(l1, l2, l3, l4); }
  constexpr explicit FUID(const TUID uid) : data{} {
    for (int i = 0; i < 16; ++i)
      data[i] = uid[i];
  }
  constexpr FUID(const FUID&) = default;
  constexpr FUID& operator=(const FUID&) = default;

  static FUID fromTUID(const TUID uid) { return FUID(uid); }

  // An all-zero ID is the "no ID" value.
  bool isValid() const {
    for (int8 byte : data)
      if (byte != 0)
        return true;
    return false;
  }

  bool operator==(const FUID& other) const { return iidEqual(data, other.data); }
  bool operator!=(const FUID& other) const { return !(*this == other); }
  bool operator<(const FUID& other) const { return std::memcmp(data, other.data, 16) < 0; }
  bool operator==(const TUID other) const { return iidEqual(data, other); }

  constexpr void from4Int(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
    const uint32 words[4] = {l1, l2, l3, l4};
    for (int w = 0; w < 4; ++w)
      for (int b = 0; b < 4; ++b)
        data[w * 4 + b] = static_cast<int8>((words[w] >> (24 - 8 * b)) & 0xFF);
  }
  void to4Int(uint32& l1, uint32& l2, uint32& l3, uint32& l4) const {
    l1 = getLong1();
    l2 = getLong2();
    l3 = getLong3();
    l4 = getLong4();
  }

  uint32 getLong1() const { return word(0); }
  uint32 getLong2() const { return word(1); }
  uint32 getLong3() const { return word(2); }
  uint32 getLong4() const { return word(3); }

  void toTUID(TUID result) const { std::memcpy(result, data, sizeof(TUID)); }
  const TUID& toTUID() const { return data; }
  operator const TUID&() const { return data; }

  // 32 upper-case hex digits of the four words, then a terminator (kStringSize bytes).
  void toString(char8* string) const;
  // Reads 32 hex digits as written by toString; false (and nothing changed) otherwise.
  bool fromString(const char8* string);
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (kRegistryStringSize bytes).
  void toRegistryString(char8* string) const;
  // Prints the ID in a form a developer can paste: "DECLARE_UID(name, 0x..., ...)" style words.
  void print(char8* string, int32 size) const;

protected:
  uint32 word(int w) const {
    uint32 value = 0;
    for (int b = 0; b < 4; ++b)
      value = (value << 8) | static_cast<uint8>(data[w * 4 + b]);
    return value;
  }

  TUID data;
};

static_assert(sizeof(FUID) == 16, "an FUID is its 16 bytes");

// ---- FUnknown ----------------------------------------------------------------------------------

class FUnknown {
public:
  // Asks for another interface of the same object; on success *obj holds it with one reference
  // added, otherwise *obj is null and the result is kNoInterface.
  virtual tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) = 0;
  virtual uint32 PLUGIN_API addRef() = 0;
  virtual uint32 PLUGIN_API release() = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(FUnknown, 0x00000000, 0x00000000, 0xC0000000, 0x00000046)

// Queries `unknown` for I and keeps the reference it gets (null when the object has no such
// interface). Releases it on destruction.
template <class I> class FUnknownPtr;

} // namespace Steinberg

// ---- implementation helpers ---------------------------------------------------------------------

// Declares the three FUnknown methods and a reference count for a class that implements them.
#define DECLARE_FUNKNOWN_METHODS                                                                   \
public:                                                                                            \
  virtual ::Steinberg::tresult PLUGIN_API queryInterface(const ::Steinberg::TUID _iid, void** obj) \
      override;                                                                                    \
  virtual ::Steinberg::uint32 PLUGIN_API addRef() override;                                        \
  virtual ::Steinberg::uint32 PLUGIN_API release() override;                                       \
                                                                                                   \
protected:                                                                                         \
  ::Steinberg::int32 __funknownRefCount;                                                           \
                                                                                                   \
public:

#define FUNKNOWN_CTOR                                                                              \
  { __funknownRefCount = 1; }
#define FUNKNOWN_DTOR

#define IMPLEMENT_REFCOUNT(ClassName)                                                              \
  ::Steinberg::uint32 PLUGIN_API ClassName::addRef() {                                             \
    return static_cast<::Steinberg::uint32>(                                                       \
        ::Steinberg::FUnknownPrivate::atomicAdd(__funknownRefCount, 1));                           \
  }                                                                                                \
  ::Steinberg::uint32 PLUGIN_API ClassName::release() {                                            \
    const ::Steinberg::int32 left =                                                                \
        ::Steinberg::FUnknownPrivate::atomicAdd(__funknownRefCount, -1);                           \
    if (left == 0) {                                                                               \
      delete this;                                                                                 \
      return 0;                                                                                    \
    }                                                                                              \
    return static_cast<::Steinberg::uint32>(left);                                                 \
  }

// Inside a queryInterface body: answers InterfaceName when asked for InterfaceIID.
#define QUERY_INTERFACE(iid, obj, InterfaceIID, InterfaceName)                                     \
  if (::Steinberg::iidEqual(iid, InterfaceIID)) {                                                  \
    addRef();                                                                                      \
    *obj = static_cast<InterfaceName*>(this);                                                      \
    return ::Steinberg::kResultOk;                                                                 \
  }

#define IMPLEMENT_QUERYINTERFACE(ClassName, InterfaceName, ClassIID)                               \
  ::Steinberg::tresult PLUGIN_API ClassName::queryInterface(const ::Steinberg::TUID _iid,          \
                                                            void** obj) {                          \
    QUERY_INTERFACE(_iid, obj, ::Steinberg::FUnknown::iid, InterfaceName)                          \
    QUERY_INTERFACE(_iid, obj, ClassIID, InterfaceName)                                            \
    *obj = nullptr;                                                                                \
    return ::Steinberg::kNoInterface;                                                              \
  }

#define IMPLEMENT_FUNKNOWN_METHODS(ClassName, InterfaceName, ClassIID)                             \
  IMPLEMENT_REFCOUNT(ClassName)                                                                    \
  IMPLEMENT_QUERYINTERFACE(ClassName, InterfaceName, ClassIID)

#include "pluginterfaces/base/smartpointer.h"

namespace Steinberg {

template <class I> class FUnknownPtr : public IPtr<I> {
public:
  FUnknownPtr() = default;
  FUnknownPtr(FUnknown* unknown) { *this = unknown; }
  FUnknownPtr(const FUnknownPtr& other) : IPtr<I>(other) {}

  FUnknownPtr& operator=(const FUnknownPtr& other) {
    IPtr<I>::operator=(other);
    return *this;
  }
  // Replaces the held interface with the one `unknown` answers for I (or none).
  FUnknownPtr& operator=(FUnknown* unknown) {
    I* found = nullptr;
    if (unknown && unknown->queryInterface(I::iid, reinterpret_cast<void**>(&found)) != kResultOk)
      found = nullptr;
    IPtr<I>::operator=(owned(found));
    return *this;
  }

  I* getInterface() const { return this->get(); }
};

} // namespace Steinberg
