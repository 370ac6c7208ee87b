#include "tests/hosts/vst3/Scan.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<BusInfo> readBuses(IComponent* component, BusDirection dir) {
  std::vector<BusInfo> buses;
  const int32 count = component->getBusCount(kAudio, dir);
  for (int32 i = 0; i < count; ++i) {
    BusInfo info{};
    if (component->getBusInfo(kAudio, dir, i, info) == kResultOk)
      buses.push_back(info);
  }
  return buses;
}

ScannedClass scanClass(Module& module, const ClassRecord& record, HostApplication* host) {
  ScannedClass scanned;
  scanned.record = record;
  TUID cid;
  record.cid.toTUID(cid);
  void* obj = nullptr;
  if (module.factory()->createInstance(cid, IComponent::iid, &obj) != kResultOk || !obj)
    return scanned;
  scanned.created = true;
  auto* component = static_cast<IComponent*>(obj);
  scanned.initialize = component->initialize(static_cast<IHostApplication*>(host));
  if (scanned.initialize == kResultOk) {
    obj = nullptr;
    if (component->queryInterface(IAudioProcessor::iid, &obj) == kResultOk && obj) {
      auto* processor = static_cast<IAudioProcessor*>(obj);
      scanned.hasAudioProcessor = true;
      scanned.can32 = processor->canProcessSampleSize(kSample32) == kResultTrue;
      scanned.can64 = processor->canProcessSampleSize(kSample64) == kResultTrue;
      scanned.audioInputs = readBuses(component, kInput);
      scanned.audioOutputs = readBuses(component, kOutput);
      scanned.eventInputs = component->getBusCount(kEvent, kInput);
      scanned.eventOutputs = component->getBusCount(kEvent, kOutput);
      scanned.setProcessingOff = processor->setProcessing(false);
      processor->release();
    }
    scanned.setActiveOff = component->setActive(false);
    scanned.terminate = component->terminate();
  }
  component->release();
  return scanned;
}

} // namespace

ScanReport scanBundle(const std::string& bundlePath) {
  ScanReport report;
  std::unique_ptr<Module> module = Module::load(bundlePath, report.error);
  if (!module)
    return report;
  report.loaded = true;
  report.factoryInfo = module->factoryInfoResult();
  const PFactoryInfo& info = module->factoryInfo();
  report.vendor = fieldText(info.vendor, sizeof info.vendor);
  report.url = fieldText(info.url, sizeof info.url);
  report.email = fieldText(info.email, sizeof info.email);
  report.factoryFlags = info.flags;
  report.hasFactory2 = module->factory2() != nullptr;
  report.hasFactory3 = module->factory3() != nullptr;
  report.classes = module->classes();

  auto* host = new HostApplication(u"Orvane Test Host", std::make_shared<HostLog>());
  for (const ClassRecord& record : report.classes)
    if (record.category == kVstAudioEffectClass)
      report.audioModules.push_back(scanClass(*module, record, host));
  host->release();
  return report;
}

} // namespace orvane::testhost
