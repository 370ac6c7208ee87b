#include "public.sdk/source/main/pluginfactory.h"

#include <cstring>
#include <new>

namespace Steinberg {

IPluginFactory* gPluginFactory = nullptr;

namespace {

// UTF-16 to UTF-8, stopping at the terminator; always terminated within `size` bytes and
// never cutting a character in half.
void toUtf8(char8* out, int size, const char16* in, int inSize) {
  int o = 0;
  for (int i = 0; i < inSize && in[i] != 0; ++i) {
    uint32 c = in[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < inSize && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    }
    char8 bytes[4];
    int n = 0;
    if (c < 0x80) {
      bytes[n++] = static_cast<char8>(c);
    } else if (c < 0x800) {
      bytes[n++] = static_cast<char8>(0xC0 | (c >> 6));
      bytes[n++] = static_cast<char8>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      bytes[n++] = static_cast<char8>(0xE0 | (c >> 12));
      bytes[n++] = static_cast<char8>(0x80 | ((c >> 6) & 0x3F));
      bytes[n++] = static_cast<char8>(0x80 | (c & 0x3F));
    } else {
      bytes[n++] = static_cast<char8>(0xF0 | (c >> 18));
      bytes[n++] = static_cast<char8>(0x80 | ((c >> 12) & 0x3F));
      bytes[n++] = static_cast<char8>(0x80 | ((c >> 6) & 0x3F));
      bytes[n++] = static_cast<char8>(0x80 | (c & 0x3F));
    }
    if (o + n > size - 1)
      break;
    std::memcpy(out + o, bytes, static_cast<size_t>(n));
    o += n;
  }
  std::memset(out + o, 0, static_cast<size_t>(size - o));
}

PClassInfo2 narrowed(const PClassInfoW& w) {
  PClassInfo2 info;
  std::memcpy(info.cid, w.cid, sizeof(TUID));
  info.cardinality = w.cardinality;
  std::memcpy(info.category, w.category, sizeof(info.category));
  info.category[sizeof(info.category) - 1] = 0;
  toUtf8(info.name, PClassInfo2::kNameSize, w.name, PClassInfoW::kNameSize);
  info.classFlags = w.classFlags;
  std::memcpy(info.subCategories, w.subCategories, sizeof(info.subCategories));
  info.subCategories[sizeof(info.subCategories) - 1] = 0;
  toUtf8(info.vendor, PClassInfo2::kVendorSize, w.vendor, PClassInfoW::kVendorSize);
  toUtf8(info.version, PClassInfo2::kVersionSize, w.version, PClassInfoW::kVersionSize);
  toUtf8(info.sdkVersion, PClassInfo2::kVersionSize, w.sdkVersion, PClassInfoW::kVersionSize);
  return info;
}

PClassInfoW widened(const PClassInfo2& info8) {
  PClassInfoW w;
  w.fromAscii(info8);
  return w;
}

} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

CPluginFactory::~CPluginFactory() {
  if (gPluginFactory == this)
    gPluginFactory = nullptr;
  setHostContext(nullptr);
}

bool CPluginFactory::registerClass(const PClassInfo* info, FUnknownCreateFunction createFunc,
                                   void* context) {
  if (!info)
    return false;
  PClassInfo2 info8(info->cid, info->cardinality, info->category, info->name, 0, "", "", "", "");
  return addClass({info8, widened(info8), createFunc, context});
}

bool CPluginFactory::registerClass(const PClassInfo2* info, FUnknownCreateFunction createFunc,
                                   void* context) {
  if (!info)
    return false;
  return addClass({*info, widened(*info), createFunc, context});
}

bool CPluginFactory::registerClass(const PClassInfoW* info, FUnknownCreateFunction createFunc,
                                   void* context) {
  if (!info)
    return false;
  return addClass({narrowed(*info), *info, createFunc, context});
}

bool CPluginFactory::addClass(const ClassEntry& entry) {
  if (!entry.createFunc || isClassRegistered(FUID::fromTUID(entry.info8.cid)))
    return false;
  classes.push_back(entry);
  return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const {
  for (const ClassEntry& entry : classes)
    if (iidEqual(entry.info8.cid, cid.toTUID()))
      return true;
  return false;
}

void CPluginFactory::removeAllClasses() {
  classes.clear();
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const {
  if (index < 0 || static_cast<size_t>(index) >= classes.size())
    return nullptr;
  return &classes[static_cast<size_t>(index)];
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID _iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, IPluginFactory)
  QUERY_INTERFACE(_iid, obj, IPluginFactory::iid, IPluginFactory)
  QUERY_INTERFACE(_iid, obj, IPluginFactory2::iid, IPluginFactory2)
  QUERY_INTERFACE(_iid, obj, IPluginFactory3::iid, IPluginFactory3)
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() {
  return static_cast<uint32>(FUnknownPrivate::atomicAdd(refCount, 1));
}

uint32 PLUGIN_API CPluginFactory::release() {
  const int32 left = FUnknownPrivate::atomicAdd(refCount, -1);
  if (left == 0) {
    delete this;
    return 0;
  }
  return static_cast<uint32>(left);
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
  if (!info)
    return kInvalidArgument;
  *info = factoryInfo;
  return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() {
  return static_cast<int32>(classes.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info)
    return kInvalidArgument;
  const PClassInfo2& c = entry->info8;
  *info = PClassInfo(c.cid, c.cardinality, c.category, c.name);
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info)
    return kInvalidArgument;
  *info = entry->info8;
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  const ClassEntry* entry = entryAt(index);
  if (!entry || !info)
    return kInvalidArgument;
  *info = entry->infoW;
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString _iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !_iid)
    return kInvalidArgument;
  for (const ClassEntry& entry : classes) {
    if (!iidEqual(entry.info8.cid, cid))
      continue;
    FUnknown* instance = nullptr;
    try {
      instance = entry.createFunc(entry.context);
    } catch (const std::bad_alloc&) {
      return kOutOfMemory;
    } catch (...) {
      return kInternalError;
    }
    if (!instance)
      return kOutOfMemory;
    // The create function's reference is traded for the one queryInterface adds.
    const tresult result = instance->queryInterface(_iid, obj);
    instance->release();
    if (result != kResultOk)
      *obj = nullptr;
    return result == kResultOk ? kResultOk : kNoInterface;
  }
  return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context) {
  if (context)
    context->addRef();
  if (hostContext)
    hostContext->release();
  hostContext = context;
  return kResultOk;
}

} // namespace Steinberg
