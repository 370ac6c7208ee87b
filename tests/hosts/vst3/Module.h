// A VST 3 bundle loaded the way a Linux host loads it: dlopen the module inside the .vst3
// folder, ModuleEntry, GetPluginFactory; on destruction release the factory, ModuleExit and
// dlclose.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "tests/hosts/vst3/HostApplication.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testhost {

// One class of the factory, merged from the three getClassInfo variants the factory offers.
struct ClassRecord {
  Steinberg::FUID cid;
  Steinberg::int32 cardinality = 0;
  std::string category;
  std::string name;
  // From getClassInfo2 (empty when the factory has no IPluginFactory2).
  bool hasInfo2 = false;
  Steinberg::uint32 classFlags = 0;
  std::string subCategories;
  std::string vendor;
  std::string version;
  std::string sdkVersion;
  // From getClassInfoUnicode (when the factory has IPluginFactory3).
  bool hasInfoW = false;
  std::u16string nameW;
  std::u16string vendorW;
  std::u16string versionW;
  std::u16string sdkVersionW;
};

class Module {
public:
  // Null, with the reason in error, when the bundle cannot be loaded or lacks an entry point.
  static std::unique_ptr<Module> load(const std::string& bundlePath, std::string& error);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The .so inside the bundle for a bundle path ("X.vst3" -> "X.vst3/Contents/x86_64-linux/X.so").
  static std::string libraryPathOf(const std::string& bundlePath);

  Steinberg::IPluginFactory* factory() const { return factory1; }
  Steinberg::IPluginFactory2* factory2() const { return factory2_; }
  Steinberg::IPluginFactory3* factory3() const { return factory3_; }

  Steinberg::tresult factoryInfoResult() const { return infoResult; }
  const Steinberg::PFactoryInfo& factoryInfo() const { return info; }
  const std::vector<ClassRecord>& classes() const { return records; }
  // The first class of a category ("Audio Module Class", ...), optionally with a name.
  std::optional<ClassRecord> findClass(const std::string& category,
                                       const std::string& name = {}) const;

  // An exported symbol of the module, or null.
  void* symbol(const char* name) const;
  const std::string& libraryPath() const { return path; }

private:
  Module() = default;
  bool open(const std::string& bundlePath, std::string& error);
  void readClasses();

  std::string path;
  void* handle = nullptr;
  bool entered = false;
  Steinberg::IPluginFactory* factory1 = nullptr;
  Steinberg::IPluginFactory2* factory2_ = nullptr;
  Steinberg::IPluginFactory3* factory3_ = nullptr;
  Steinberg::tresult infoResult = Steinberg::kNotInitialized;
  Steinberg::PFactoryInfo info;
  std::vector<ClassRecord> records;
};

// Fixed-size text fields as strings (stopping at the terminator or the field's end).
std::string fieldText(const char* field, size_t size);
std::u16string fieldText(const char16_t* field, size_t size);
std::string toUtf8(const std::u16string& text);

} // namespace orvane::testhost
