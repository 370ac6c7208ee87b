// The first two methods of every VST 3 plug-in half, and the factory that makes them.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {

class IPluginBase : public FUnknown {
public:
  // `context` is the host's object (it answers IHostApplication and more); the plug-in may
  // keep it with a reference of its own until terminate.
  virtual tresult PLUGIN_API initialize(FUnknown* context) = 0;
  virtual tresult PLUGIN_API terminate() = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IPluginBase, 0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625)

// Factory-wide information.
struct PFactoryInfo {
  enum FactoryFlags : int32 {
    kNoFlags = 0,
    kClassesDiscardable = 1 << 0,
    kLicenseCheck = 1 << 1,
    kComponentNonDiscardable = 1 << 3,
    kUnicode = 1 << 4
  };
  enum { kURLSize = 256, kEmailSize = 128, kNameSize = 64 };

  char8 vendor[kNameSize];
  char8 url[kURLSize];
  char8 email[kEmailSize];
  int32 flags;

  PFactoryInfo() : vendor{}, url{}, email{}, flags(0) {}
  PFactoryInfo(const char8* vendor, const char8* url, const char8* email, int32 flags);
};

// One class of the factory (first version).
struct PClassInfo {
  enum ClassCardinality : int32 { kManyInstances = 0x7FFFFFFF };
  enum { kCategorySize = 32, kNameSize = 64 };

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];

  PClassInfo() : cid{}, cardinality(0), category{}, name{} {}
  PClassInfo(const TUID cid, int32 cardinality, const char8* category, const char8* name);
};

class IPluginFactory : public FUnknown {
public:
  virtual tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 PLUGIN_API countClasses() = 0;
  virtual tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) = 0;
  // cid and _iid point to 16-byte IDs.
  virtual tresult PLUGIN_API createInstance(FIDString cid, FIDString _iid, void** obj) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IPluginFactory, 0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F)

// One class of the factory with flags, sub-categories, vendor and versions.
struct PClassInfo2 {
  enum {
    kCategorySize = 32,
    kNameSize = 64,
    kSubCategoriesSize = 128,
    kVendorSize = 64,
    kVersionSize = 64
  };

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char8 vendor[kVendorSize];
  char8 version[kVersionSize];
  char8 sdkVersion[kVersionSize];

  PClassInfo2()
      : cid{}, cardinality(0), category{}, name{},
        classFlags(0), subCategories{}, vendor{}, version{}, sdkVersion{} {}
  PClassInfo2(const TUID cid, int32 cardinality, const char8* category, const char8* name,
              int32 classFlags, const char8* subCategories, const char8* vendor,
              const char8* version, const char8* sdkVersion);
};

class IPluginFactory2 : public IPluginFactory {
public:
  virtual tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IPluginFactory2, 0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB)

// PClassInfo2 with UTF-16 name, vendor and versions.
struct PClassInfoW {
  enum {
    kCategorySize = 32,
    kNameSize = 64,
    kSubCategoriesSize = 128,
    kVendorSize = 64,
    kVersionSize = 64
  };

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char16 name[kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char16 vendor[kVendorSize];
  char16 version[kVersionSize];
  char16 sdkVersion[kVersionSize];

  PClassInfoW()
      : cid{}, cardinality(0), category{}, name{},
        classFlags(0), subCategories{}, vendor{}, version{}, sdkVersion{} {}
  PClassInfoW(const TUID cid, int32 cardinality, const char8* category, const char16* name,
              int32 classFlags, const char8* subCategories, const char16* vendor,
              const char16* version, const char16* sdkVersion);
  // Fills the record from the 8-bit record, widening each character.
  void fromAscii(const PClassInfo2& ci2);
};

class IPluginFactory3 : public IPluginFactory2 {
public:
  virtual tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult PLUGIN_API setHostContext(FUnknown* context) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IPluginFactory3, 0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931)

// ---- record constructors -----------------------------------------------------------------------
// Text fields are copied up to their size less one and zero-filled, so they always end in a
// terminator and carry no stale bytes to the host.

namespace RecordText {
template <class Char> inline void copy(Char* field, int size, const Char* text) {
  int i = 0;
  for (; text && i < size - 1 && text[i] != 0; ++i)
    field[i] = text[i];
  for (; i < size; ++i)
    field[i] = 0;
}
} // namespace RecordText

inline PFactoryInfo::PFactoryInfo(const char8* vendor_, const char8* url_, const char8* email_,
                                  int32 flags_)
    : flags(flags_) {
  RecordText::copy(vendor, kNameSize, vendor_);
  RecordText::copy(url, kURLSize, url_);
  RecordText::copy(email, kEmailSize, email_);
}

inline PClassInfo::PClassInfo(const TUID cid_, int32 cardinality_, const char8* category_,
                              const char8* name_)
    : cardinality(cardinality_) {
  std::memcpy(cid, cid_, sizeof(TUID));
  RecordText::copy(category, kCategorySize, category_);
  RecordText::copy(name, kNameSize, name_);
}

inline PClassInfo2::PClassInfo2(const TUID cid_, int32 cardinality_, const char8* category_,
                                const char8* name_, int32 classFlags_, const char8* subCategories_,
                                const char8* vendor_, const char8* version_,
                                const char8* sdkVersion_)
    : cardinality(cardinality_), classFlags(static_cast<uint32>(classFlags_)) {
  std::memcpy(cid, cid_, sizeof(TUID));
  RecordText::copy(category, kCategorySize, category_);
  RecordText::copy(name, kNameSize, name_);
  RecordText::copy(subCategories, kSubCategoriesSize, subCategories_);
  RecordText::copy(vendor, kVendorSize, vendor_);
  RecordText::copy(version, kVersionSize, version_);
  RecordText::copy(sdkVersion, kVersionSize, sdkVersion_);
}

inline PClassInfoW::PClassInfoW(const TUID cid_, int32 cardinality_, const char8* category_,
                                const char16* name_, int32 classFlags_, const char8* subCategories_,
                                const char16* vendor_, const char16* version_,
                                const char16* sdkVersion_)
    : cardinality(cardinality_), classFlags(static_cast<uint32>(classFlags_)) {
  std::memcpy(cid, cid_, sizeof(TUID));
  RecordText::copy(category, kCategorySize, category_);
  RecordText::copy(name, kNameSize, name_);
  RecordText::copy(subCategories, kSubCategoriesSize, subCategories_);
  RecordText::copy(vendor, kVendorSize, vendor_);
  RecordText::copy(version, kVersionSize, version_);
  RecordText::copy(sdkVersion, kVersionSize, sdkVersion_);
}

inline void PClassInfoW::fromAscii(const PClassInfo2& ci2) {
  auto widen = [](char16* to, const char8* from, int size) {
    for (int i = 0; i < size; ++i)
      to[i] = static_cast<char16>(static_cast<uint8>(from[i]));
    to[size - 1] = 0;
  };
  std::memcpy(cid, ci2.cid, sizeof(TUID));
  cardinality = ci2.cardinality;
  std::memcpy(category, ci2.category, sizeof(category));
  widen(name, ci2.name, kNameSize);
  classFlags = ci2.classFlags;
  std::memcpy(subCategories, ci2.subCategories, sizeof(subCategories));
  widen(vendor, ci2.vendor, kVendorSize);
  widen(version, ci2.version, kVersionSize);
  widen(sdkVersion, ci2.sdkVersion, kVersionSize);
}

} // namespace Steinberg

// The one function every VST 3 module exports: the module's factory, with one reference for
// the caller.
extern "C" {
using GetFactoryProc = Steinberg::IPluginFactory* (*)();
}
