// Small host-side stand-ins for the tests: a host application that makes messages, and a
// component handler that records what the controller asks of the host.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <string>
#include <vector>

namespace orvane::test {

using namespace Steinberg;
using namespace Steinberg::Vst;

class FakeHostApplication : public FObject, public IHostApplication {
public:
  bool makesMessages = true;
  int messagesMade = 0;

  tresult PLUGIN_API getName(String128 name) override {
    const char16_t text[] = u"Fake Host";
    for (size_t i = 0; i < sizeof(text) / sizeof(text[0]); ++i)
      name[i] = text[i];
    return kResultOk;
  }

  tresult PLUGIN_API createInstance(TUID cid, TUID _iid, void** obj) override {
    *obj = nullptr;
    if (!makesMessages)
      return kResultFalse;
    if (FUID::fromTUID(cid) == IMessage::iid && FUID::fromTUID(_iid) == IMessage::iid) {
      ++messagesMade;
      *obj = static_cast<IMessage*>(new HostMessage());
      return kResultOk;
    }
    if (FUID::fromTUID(cid) == IAttributeList::iid && FUID::fromTUID(_iid) == IAttributeList::iid) {
      *obj = static_cast<IAttributeList*>(new HostAttributeList());
      return kResultOk;
    }
    return kResultFalse;
  }

  OBJ_METHODS(FakeHostApplication, FObject)
  FUNKNOWN_METHODS(IHostApplication, FObject)
};

// Records every call as one line, e.g. "begin 3", "perform 3 0.5", "restart 8".
class RecordingHandler : public FObject, public IComponentHandler {
public:
  std::vector<std::string> calls;

  tresult PLUGIN_API beginEdit(ParamID id) override {
    return record("begin " + std::to_string(id));
  }
  tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override {
    char text[64];
    std::snprintf(text, sizeof(text), "perform %u %g", id, value);
    return record(text);
  }
  tresult PLUGIN_API endEdit(ParamID id) override { return record("end " + std::to_string(id)); }
  tresult PLUGIN_API restartComponent(int32 flags) override {
    return record("restart " + std::to_string(flags));
  }

  OBJ_METHODS(RecordingHandler, FObject)
  FUNKNOWN_METHODS(IComponentHandler, FObject)

protected:
  tresult record(const std::string& call) {
    calls.push_back(call);
    return kResultOk;
  }
};

// A handler that also has IComponentHandler2 (group edits) and IUnitHandler.
class FullRecordingHandler : public RecordingHandler,
                             public IComponentHandler2,
                             public IUnitHandler {
public:
  tresult PLUGIN_API setDirty(TBool state) override {
    return record("dirty " + std::to_string(state));
  }
  tresult PLUGIN_API requestOpenEditor(FIDString name) override {
    return record(std::string("open ") + name);
  }
  tresult PLUGIN_API startGroupEdit() override { return record("startGroup"); }
  tresult PLUGIN_API finishGroupEdit() override { return record("finishGroup"); }
  tresult PLUGIN_API notifyUnitSelection(UnitID unitId) override {
    return record("unit " + std::to_string(unitId));
  }
  tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) override {
    return record("programList " + std::to_string(listId) + " " + std::to_string(programIndex));
  }

  OBJ_METHODS(FullRecordingHandler, RecordingHandler)
  DEFINE_INTERFACES
  DEF_INTERFACE(IComponentHandler2)
  DEF_INTERFACE(IUnitHandler)
  END_DEFINE_INTERFACES(RecordingHandler)
  REFCOUNT_METHODS(RecordingHandler)
};

// Converts ASCII test text to UTF-16 for comparisons.
inline std::u16string u16(const char* text) {
  std::u16string out;
  for (; *text; ++text)
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return out;
}

} // namespace orvane::test
