#include "public.sdk/source/vst/vsteditcontrollerex1.h"

namespace Steinberg {
namespace Vst {

EditControllerEx1::EditControllerEx1() = default;

EditControllerEx1::~EditControllerEx1() {
  removeUnitsAndLists();
}

tresult PLUGIN_API EditControllerEx1::terminate() {
  removeUnitsAndLists();
  return EditController::terminate();
}

void EditControllerEx1::removeUnitsAndLists() {
  for (auto& list : programLists)
    list->removeDependent(this);
  programLists.clear();
  programIndexMap.clear();
  units.clear();
}

bool EditControllerEx1::addUnit(Unit* unit) {
  if (!unit)
    return false;
  if (getUnitByID(unit->getID())) {
    unit->release();
    return false;
  }
  units.push_back(owned(unit));
  return true;
}

Unit* EditControllerEx1::getUnitByID(UnitID unitId) const {
  for (const auto& unit : units)
    if (unit->getID() == unitId)
      return unit.get();
  return nullptr;
}

bool EditControllerEx1::addProgramList(ProgramList* list) {
  if (!list)
    return false;
  if (programIndexMap.count(list->getID()) != 0) {
    list->release();
    return false;
  }
  programIndexMap[list->getID()] = programLists.size();
  programLists.push_back(owned(list));
  list->addDependent(this);
  return true;
}

ProgramList* EditControllerEx1::getProgramList(ProgramListID listId) const {
  const auto it = programIndexMap.find(listId);
  return it == programIndexMap.end() ? nullptr : programLists[it->second].get();
}

tresult EditControllerEx1::notifyProgramListChange(ProgramListID listId, int32 programIndex) {
  FUnknownPtr<IUnitHandler> unitHandler(componentHandler);
  if (!unitHandler)
    return kResultFalse;
  return unitHandler->notifyProgramListChange(listId, programIndex);
}

tresult EditControllerEx1::setProgramName(ProgramListID listId, int32 programIndex,
                                          const String128 name) {
  ProgramList* list = getProgramList(listId);
  return list ? list->setProgramName(programIndex, name) : kResultFalse;
}

tresult EditControllerEx1::setProgramPitchName(ProgramListID listId, int32 programIndex,
                                               int16 pitch, const String128 name) {
  auto* list = FCast<ProgramListWithPitchNames>(getProgramList(listId));
  return list && list->setPitchName(programIndex, pitch, name) ? kResultTrue : kResultFalse;
}

int32 PLUGIN_API EditControllerEx1::getUnitCount() {
  return static_cast<int32>(units.size());
}

tresult PLUGIN_API EditControllerEx1::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  if (unitIndex < 0 || unitIndex >= static_cast<int32>(units.size()))
    return kResultFalse;
  info = units[static_cast<size_t>(unitIndex)]->getInfo();
  return kResultTrue;
}

int32 PLUGIN_API EditControllerEx1::getProgramListCount() {
  return static_cast<int32>(programLists.size());
}

tresult PLUGIN_API EditControllerEx1::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex < 0 || listIndex >= static_cast<int32>(programLists.size()))
    return kResultFalse;
  info = programLists[static_cast<size_t>(listIndex)]->getInfo();
  return kResultTrue;
}

tresult PLUGIN_API EditControllerEx1::getProgramName(ProgramListID listId, int32 programIndex,
                                                     String128 name) {
  if (!name)
    return kInvalidArgument;
  ProgramList* list = getProgramList(listId);
  return list ? list->getProgramName(programIndex, name) : kResultFalse;
}

tresult PLUGIN_API EditControllerEx1::getProgramInfo(ProgramListID listId, int32 programIndex,
                                                     CString attributeId,
                                                     String128 attributeValue) {
  if (!attributeId || !attributeValue)
    return kInvalidArgument;
  ProgramList* list = getProgramList(listId);
  return list ? list->getProgramInfo(programIndex, attributeId, attributeValue) : kResultFalse;
}

tresult PLUGIN_API EditControllerEx1::hasProgramPitchNames(ProgramListID listId,
                                                           int32 programIndex) {
  ProgramList* list = getProgramList(listId);
  return list ? list->hasPitchNames(programIndex) : kResultFalse;
}

tresult PLUGIN_API EditControllerEx1::getProgramPitchName(ProgramListID listId, int32 programIndex,
                                                          int16 midiPitch, String128 name) {
  if (!name)
    return kInvalidArgument;
  ProgramList* list = getProgramList(listId);
  return list ? list->getPitchName(programIndex, midiPitch, name) : kResultFalse;
}

tresult PLUGIN_API EditControllerEx1::selectUnit(UnitID unitId) {
  if (!getUnitByID(unitId))
    return kResultFalse;
  selectedUnit = unitId;
  return kResultTrue;
}

tresult PLUGIN_API EditControllerEx1::getUnitByBus(MediaType /*type*/, BusDirection /*dir*/,
                                                   int32 /*busIndex*/, int32 /*channel*/,
                                                   UnitID& /*unitId*/) {
  return kResultFalse;
}

tresult PLUGIN_API EditControllerEx1::setUnitProgramData(int32 /*listOrUnitId*/,
                                                         int32 /*programIndex*/,
                                                         IBStream* /*data*/) {
  return kResultFalse;
}

void PLUGIN_API EditControllerEx1::update(FUnknown* changedUnknown, int32 message) {
  if (auto* list = FCast<ProgramList>(changedUnknown)) {
    if (message == ProgramList::kProgramNameChanged ||
        message == ProgramListWithPitchNames::kPitchNamesChanged || message == kChanged)
      notifyProgramListChange(list->getID(), kAllProgramInvalid);
    return;
  }
  EditController::update(changedUnknown, message);
}

} // namespace Vst
} // namespace Steinberg
