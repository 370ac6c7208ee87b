#include "tests/hosts/vst3/Module.h"

#include <dlfcn.h>

namespace orvane::testhost {

using namespace Steinberg;

namespace {

using ModuleEntryProc = bool (*)(void*);

// Like a real host, one host context for the factories of the whole process: factories may
// keep their reference for as long as they live (some never give it back).
HostApplication& factoryHostContext() {
  static HostApplication* context =
      new HostApplication(u"Orvane Test Host", std::make_shared<HostLog>());
  return *context;
}
using ModuleExitProc = bool (*)();

std::string stemOf(const std::string& bundlePath) {
  std::string leaf = bundlePath;
  while (!leaf.empty() && leaf.back() == '/')
    leaf.pop_back();
  const auto slash = leaf.find_last_of('/');
  if (slash != std::string::npos)
    leaf = leaf.substr(slash + 1);
  const std::string suffix = ".vst3";
  if (leaf.size() > suffix.size() &&
      leaf.compare(leaf.size() - suffix.size(), suffix.size(), suffix) == 0)
    leaf.resize(leaf.size() - suffix.size());
  return leaf;
}

} // namespace

std::string fieldText(const char* field, size_t size) {
  size_t n = 0;
  while (n < size && field[n] != 0)
    ++n;
  return std::string(field, n);
}

std::u16string fieldText(const char16_t* field, size_t size) {
  size_t n = 0;
  while (n < size && field[n] != 0)
    ++n;
  return std::u16string(field, n);
}

std::string toUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32 c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Module::libraryPathOf(const std::string& bundlePath) {
  std::string base = bundlePath;
  while (!base.empty() && base.back() == '/')
    base.pop_back();
  return base + "/Contents/x86_64-linux/" + stemOf(bundlePath) + ".so";
}

std::unique_ptr<Module> Module::load(const std::string& bundlePath, std::string& error) {
  std::unique_ptr<Module> module(new Module);
  if (!module->open(bundlePath, error))
    return nullptr;
  return module;
}

bool Module::open(const std::string& bundlePath, std::string& error) {
  path = libraryPathOf(bundlePath);
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = "dlopen failed: " + std::string(reason ? reason : path);
    return false;
  }
  auto entry = reinterpret_cast<ModuleEntryProc>(symbol("ModuleEntry"));
  if (!entry || !symbol("ModuleExit")) {
    error = "the module does not export ModuleEntry and ModuleExit";
    return false;
  }
  if (!entry(handle)) {
    error = "ModuleEntry failed";
    return false;
  }
  entered = true;
  auto getFactory = reinterpret_cast<GetFactoryProc>(symbol("GetPluginFactory"));
  if (!getFactory) {
    error = "the module does not export GetPluginFactory";
    return false;
  }
  factory1 = getFactory();
  if (!factory1) {
    error = "GetPluginFactory returned null";
    return false;
  }
  void* obj = nullptr;
  if (factory1->queryInterface(IPluginFactory2::iid, &obj) == kResultOk)
    factory2_ = static_cast<IPluginFactory2*>(obj);
  obj = nullptr;
  if (factory1->queryInterface(IPluginFactory3::iid, &obj) == kResultOk)
    factory3_ = static_cast<IPluginFactory3*>(obj);
  if (factory3_)
    factory3_->setHostContext(static_cast<Vst::IHostApplication*>(&factoryHostContext()));
  infoResult = factory1->getFactoryInfo(&info);
  readClasses();
  return true;
}

void Module::readClasses() {
  const int32 count = factory1->countClasses();
  for (int32 i = 0; i < count; ++i) {
    ClassRecord record;
    PClassInfo ci;
    if (factory1->getClassInfo(i, &ci) != kResultOk)
      continue;
    record.cid = FUID::fromTUID(ci.cid);
    record.cardinality = ci.cardinality;
    record.category = fieldText(ci.category, sizeof ci.category);
    record.name = fieldText(ci.name, sizeof ci.name);
    PClassInfo2 ci2;
    if (factory2_ && factory2_->getClassInfo2(i, &ci2) == kResultOk) {
      record.hasInfo2 = true;
      record.classFlags = ci2.classFlags;
      record.subCategories = fieldText(ci2.subCategories, sizeof ci2.subCategories);
      record.vendor = fieldText(ci2.vendor, sizeof ci2.vendor);
      record.version = fieldText(ci2.version, sizeof ci2.version);
      record.sdkVersion = fieldText(ci2.sdkVersion, sizeof ci2.sdkVersion);
    }
    PClassInfoW ciw;
    if (factory3_ && factory3_->getClassInfoUnicode(i, &ciw) == kResultOk) {
      record.hasInfoW = true;
      record.nameW = fieldText(ciw.name, PClassInfoW::kNameSize);
      record.vendorW = fieldText(ciw.vendor, PClassInfoW::kVendorSize);
      record.versionW = fieldText(ciw.version, PClassInfoW::kVersionSize);
      record.sdkVersionW = fieldText(ciw.sdkVersion, PClassInfoW::kVersionSize);
    }
    records.push_back(record);
  }
}

std::optional<ClassRecord> Module::findClass(const std::string& category,
                                             const std::string& name) const {
  for (const ClassRecord& record : records)
    if (record.category == category && (name.empty() || record.name == name))
      return record;
  return std::nullopt;
}

void* Module::symbol(const char* name) const {
  return handle ? dlsym(handle, name) : nullptr;
}

Module::~Module() {
  if (factory3_)
    factory3_->release();
  if (factory2_)
    factory2_->release();
  if (factory1)
    factory1->release();
  if (entered) {
    if (auto exitProc = reinterpret_cast<ModuleExitProc>(symbol("ModuleExit")))
      exitProc();
  }
  if (handle)
    dlclose(handle);
}

} // namespace orvane::testhost
