#include "public.sdk/source/vst2.x/audioeffect.h"

#include "public.sdk/source/vst2.x/aeffeditor.h"

#include <cstring>
#include <deque>
#include <memory>
#include <mutex>

namespace {

// The record with what it answers once its effect is gone. The record comes first, so the
// host's AEffect* is a pointer to the whole.
struct EffectRecord {
  AEffect effect;
  VstIntPtr categoryAfterClose = kPlugCategUnknown;
};
static_assert(offsetof(EffectRecord, effect) == 0);

EffectRecord* recordOf(AEffect* effect) {
  return reinterpret_cast<EffectRecord*>(effect);
}

AudioEffect* effectOf(AEffect* e) {
  return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// Records of closed effects. Hosts ask a closed effect right after effClose (its category,
// while they finish a scan), never once they have gone on to close many others: only the
// most recently closed records are kept answering, and older ones are freed, so that a host
// that opens and closes effects all day does not grow without bound.
class RetiredRecords {
public:
  static constexpr size_t kKept = 64;

  void keep(EffectRecord* record) {
    std::unique_ptr<EffectRecord> oldest;
    std::lock_guard<std::mutex> lock(mutex);
    if (records.size() == kKept) {
      oldest = std::move(records.front());
      records.pop_front();
    }
    records.emplace_back(record);
  }

private:
  std::mutex mutex;
  std::deque<std::unique_ptr<EffectRecord>> records;
};

RetiredRecords& retiredRecords() {
  static RetiredRecords records;
  return records;
}

// ---- the record's entry points while the effect lives ----

VstIntPtr VSTCALLBACK dispatchEffect(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                     void* ptr, float opt) {
  AudioEffect* effect = effectOf(e);
  return effect ? effect->dispatcher(opcode, index, value, ptr, opt) : 0;
}

void VSTCALLBACK processEffect(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
  // VST 1 accumulating process: 2.4 hosts do not call it; replacing is the sound answer.
  if (AudioEffect* effect = effectOf(e))
    effect->processReplacing(inputs, outputs, frames);
}

void VSTCALLBACK processReplacingEffect(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 frames) {
  if (AudioEffect* effect = effectOf(e))
    effect->processReplacing(inputs, outputs, frames);
}

void VSTCALLBACK processDoubleEffect(AEffect* e, double** inputs, double** outputs,
                                     VstInt32 frames) {
  if (AudioEffect* effect = effectOf(e))
    effect->processDoubleReplacing(inputs, outputs, frames);
}

void VSTCALLBACK setParameterEffect(AEffect* e, VstInt32 index, float value) {
  if (AudioEffect* effect = effectOf(e))
    effect->setParameter(index, value);
}

float VSTCALLBACK getParameterEffect(AEffect* e, VstInt32 index) {
  AudioEffect* effect = effectOf(e);
  return effect ? effect->getParameter(index) : 0.f;
}

// ---- the record's entry points after effClose ----

VstIntPtr VSTCALLBACK dispatchClosed(AEffect* e, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                     float) {
  if (e && opcode == effGetPlugCategory)
    return recordOf(e)->categoryAfterClose;
  if (opcode == effGetVstVersion)
    return kVstVersion;
  return 0;
}

template <class Sample> void silence(AEffect* e, Sample** outputs, VstInt32 frames) {
  if (!e || !outputs || frames <= 0)
    return;
  for (VstInt32 c = 0; c < e->numOutputs; ++c)
    if (outputs[c])
      std::memset(outputs[c], 0, sizeof(Sample) * size_t(frames));
}

void VSTCALLBACK processClosed(AEffect* e, float**, float** outputs, VstInt32 frames) {
  silence(e, outputs, frames);
}

void VSTCALLBACK processDoubleClosed(AEffect* e, double**, double** outputs, VstInt32 frames) {
  silence(e, outputs, frames);
}

void VSTCALLBACK setParameterClosed(AEffect*, VstInt32, float) {}

float VSTCALLBACK getParameterClosed(AEffect*, VstInt32) {
  return 0.f;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
  auto* record = new EffectRecord{};
  cEffect = &record->effect;
  cEffect->magic = kEffectMagic;
  cEffect->dispatcher = dispatchEffect;
  cEffect->process = processEffect;
  cEffect->setParameter = setParameterEffect;
  cEffect->getParameter = getParameterEffect;
  cEffect->numPrograms = numPrograms;
  cEffect->numParams = numParams;
  cEffect->numInputs = 1;
  cEffect->numOutputs = 2;
  cEffect->flags = 0;
  cEffect->ioRatio = 1.f;
  cEffect->object = this;
  cEffect->uniqueID = 0x4E6F4E6F; // 'NoNo' until the effect sets its own
  cEffect->version = 1;
  cEffect->processReplacing = processReplacingEffect;
  cEffect->processDoubleReplacing = processDoubleEffect;
}

AudioEffect::~AudioEffect() {
  delete editor;
  // The host may still hold the record: it keeps answering, without the object.
  cEffect->object = nullptr;
  cEffect->dispatcher = dispatchClosed;
  cEffect->process = processClosed;
  cEffect->processReplacing = processClosed;
  cEffect->processDoubleReplacing = processDoubleClosed;
  cEffect->setParameter = setParameterClosed;
  cEffect->getParameter = getParameterClosed;
  retiredRecords().keep(recordOf(cEffect));
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  const bool paramIndexValid = index >= 0 && index < numParams;
  switch (opcode) {
  case effOpen:
    open();
    return 0;
  case effClose: {
    close();
    // What a host asks after effClose is answered from the retired record.
    recordOf(cEffect)->categoryAfterClose = dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.f);
    delete this;
    return 0;
  }
  case effSetProgram:
    if (value >= 0 && value < numPrograms)
      setProgram(VstInt32(value));
    return 0;
  case effGetProgram:
    return getProgram();
  case effSetProgramName:
    if (ptr)
      setProgramName(static_cast<char*>(ptr));
    return 0;
  case effGetProgramName:
    if (ptr)
      getProgramName(static_cast<char*>(ptr));
    return 0;
  case effGetParamLabel:
    if (ptr)
      paramIndexValid ? getParameterLabel(index, static_cast<char*>(ptr))
                      : void(*static_cast<char*>(ptr) = 0);
    return 0;
  case effGetParamDisplay:
    if (ptr)
      paramIndexValid ? getParameterDisplay(index, static_cast<char*>(ptr))
                      : void(*static_cast<char*>(ptr) = 0);
    return 0;
  case effGetParamName:
    if (ptr)
      paramIndexValid ? getParameterName(index, static_cast<char*>(ptr))
                      : void(*static_cast<char*>(ptr) = 0);
    return 0;
  case effSetSampleRate:
    if (opt > 0.f)
      setSampleRate(opt);
    return 0;
  case effSetBlockSize:
    if (value > 0 && value <= 0x7fffffff)
      setBlockSize(VstInt32(value));
    return 0;
  case effMainsChanged:
    value ? resume() : suspend();
    return 0;
  case effEditGetRect:
    if (!ptr)
      return 0;
    *static_cast<ERect**>(ptr) = nullptr;
    return editor && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
  case effEditOpen:
    return editor && editor->open(ptr) ? 1 : 0;
  case effEditClose:
    if (editor)
      editor->close();
    return 0;
  case effEditIdle:
    if (editor)
      editor->idle();
    return 0;
  case effGetChunk:
    if (!ptr)
      return 0;
    *static_cast<void**>(ptr) = nullptr;
    return getChunk(static_cast<void**>(ptr), index != 0);
  case effSetChunk:
    if (!ptr || value <= 0 || value > 0x7fffffff)
      return 0;
    return setChunk(ptr, VstInt32(value), index != 0);
  default:
    return 0;
  }
}

void AudioEffect::processReplacing(float**, float** outputs, VstInt32 frames) {
  silence(cEffect, outputs, frames);
}

void AudioEffect::processDoubleReplacing(double**, double** outputs, VstInt32 frames) {
  silence(cEffect, outputs, frames);
}

VstInt32 AudioEffect::getChunk(void** data, bool) {
  *data = nullptr;
  return 0;
}

VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) {
  return 0;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  if (newEditor == editor)
    return;
  delete editor;
  editor = newEditor;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state)
    cEffect->flags |= flag;
  else
    cEffect->flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return audioMaster ? audioMaster(cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion() {
  const VstIntPtr version = callHost(audioMasterVersion);
  return version ? VstInt32(version) : 1;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

char* vstStringCopy(char* dst, const char* src, VstInt32 maxChars) {
  if (!dst)
    return dst;
  VstInt32 n = 0;
  if (src)
    for (; n < maxChars && src[n]; ++n)
      dst[n] = src[n];
  dst[n] = 0;
  return dst;
}
