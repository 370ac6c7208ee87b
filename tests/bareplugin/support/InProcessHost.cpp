#include "support/InProcessHost.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <cstdio>

namespace inprocess {

tresult PLUGIN_API HostApp::getName(String128 name) {
  const char16_t text[] = u"In-process Host";
  for (size_t i = 0; i < std::size(text); ++i)
    name[i] = text[i];
  return kResultOk;
}

tresult PLUGIN_API HostApp::createInstance(TUID cid, TUID iid, void** obj) {
  *obj = nullptr;
  if (FUID::fromTUID(cid) == IMessage::iid && FUID::fromTUID(iid) == IMessage::iid) {
    *obj = static_cast<IMessage*>(new HostMessage());
    return kResultOk;
  }
  return kResultFalse;
}

tresult PLUGIN_API Handler::beginEdit(ParamID id) {
  calls.push_back("begin " + std::to_string(id));
  return kResultOk;
}
tresult PLUGIN_API Handler::performEdit(ParamID id, ParamValue value) {
  char text[64];
  std::snprintf(text, sizeof text, "perform %u %.6f", id, value);
  calls.push_back(text);
  edits.emplace_back(id, value);
  return kResultOk;
}
tresult PLUGIN_API Handler::endEdit(ParamID id) {
  calls.push_back("end " + std::to_string(id));
  return kResultOk;
}
tresult PLUGIN_API Handler::restartComponent(int32 flags) {
  calls.push_back("restart " + std::to_string(flags));
  return kResultOk;
}
tresult PLUGIN_API Handler::startGroupEdit() {
  calls.push_back("group");
  return kResultOk;
}
tresult PLUGIN_API Handler::finishGroupEdit() {
  calls.push_back("endgroup");
  return kResultOk;
}

Rig::Rig()
    : host(new HostApp), handler(new Handler), processor(new bare::BareProcessor),
      controller(new bare::BareController) {
  processor->initialize(static_cast<IHostApplication*>(host));
  controller->initialize(static_cast<IHostApplication*>(host));
  controller->setComponentHandler(handler);
  processor->connect(controller);
  controller->connect(processor);
}

Rig::~Rig() {
  Deactivate();
  data.unprepare();
  processor->disconnect(controller);
  controller->disconnect(processor);
  controller->setComponentHandler(nullptr);
  controller->terminate();
  processor->terminate();
  controller->release();
  processor->release();
  handler->release();
  host->release();
}

void Rig::Activate(int32 size, int32 maxBlock, double rate) {
  Deactivate();
  sampleSize = size;
  ProcessSetup setup{kRealtime, size, maxBlock, rate};
  processor->setupProcessing(setup);
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  processor->setBusArrangements(&stereo, 1, &stereo, 1);
  for (int32 i = 0; i < processor->getBusCount(kAudio, kInput); ++i)
    processor->activateBus(kAudio, kInput, i, true);
  for (int32 i = 0; i < processor->getBusCount(kAudio, kOutput); ++i)
    processor->activateBus(kAudio, kOutput, i, true);
  data.unprepare();
  data.prepare(*processor, maxBlock, size);
  data.symbolicSampleSize = size;
  data.inputParameterChanges = &inChanges;
  data.outputParameterChanges = &outChanges;
  data.inputEvents = &inEvents;
  data.outputEvents = &outEvents;
  processor->setActive(true);
  processor->setProcessing(true);
  active = true;
}

void Rig::Deactivate() {
  if (!active)
    return;
  processor->setProcessing(false);
  processor->setActive(false);
  active = false;
}

tresult Rig::Process(int32 numSamples) {
  data.numSamples = numSamples;
  outChanges.clearQueue();
  outEvents.clear();
  const tresult result = processor->process(data);
  inChanges.clearQueue();
  inEvents.clear();
  return result;
}

std::vector<uint8_t> GetState(IComponent& component) {
  auto* stream = new MemoryStream();
  std::vector<uint8_t> bytes;
  if (component.getState(stream) == kResultOk)
    bytes.assign(stream->getData(), stream->getData() + stream->getSize());
  stream->release();
  return bytes;
}

tresult SetState(IComponent& component, const std::vector<uint8_t>& bytes) {
  auto* stream = new MemoryStream(static_cast<const void*>(bytes.data()), TSize(bytes.size()));
  const tresult result = component.setState(stream);
  stream->release();
  return result;
}

} // namespace inprocess
