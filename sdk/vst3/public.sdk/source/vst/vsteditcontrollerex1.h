// EditControllerEx1: an EditController with units and program lists, presented to the host
// through IUnitInfo; changes to a list are reported through the host's IUnitHandler.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstprogramlist.h"
#include "public.sdk/source/vst/vstprogramlistwithpitchnames.h"
#include "public.sdk/source/vst/vstunit.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <map>
#include <vector>

namespace Steinberg {
namespace Vst {

class EditControllerEx1 : public EditController, public IUnitInfo {
public:
  EditControllerEx1();
  ~EditControllerEx1() override;

  // Drops the units and program lists too.
  tresult PLUGIN_API terminate() override;

  // Adopt the caller's reference. A null unit or list, or one whose ID is taken, is refused
  // (false) and released.
  bool addUnit(Unit* unit);
  bool addProgramList(ProgramList* list);
  // Null for an unknown list.
  ProgramList* getProgramList(ProgramListID listId) const;
  Unit* getUnitByID(UnitID unitId) const;

  // Tells the host's IUnitHandler that a list (or one program of it) changed; kResultFalse
  // without a handler that has IUnitHandler.
  tresult notifyProgramListChange(ProgramListID listId, int32 programIndex = kAllProgramInvalid);

  // Renames a program of a list; kResultFalse for an unknown list or index.
  virtual tresult setProgramName(ProgramListID listId, int32 programIndex, const String128 name);
  // Names a MIDI pitch of a program; kResultFalse unless the list has pitch names and the
  // program and pitch (0-127) exist.
  tresult setProgramPitchName(ProgramListID listId, int32 programIndex, int16 pitch,
                              const String128 name);

  // IUnitInfo. Indices and IDs outside what exists give kResultFalse; null output texts give
  // kInvalidArgument.
  int32 PLUGIN_API getUnitCount() override;
  tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) override;
  int32 PLUGIN_API getProgramListCount() override;
  tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) override;
  tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex,
                                    String128 name) override;
  tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                    String128 attributeValue) override;
  tresult PLUGIN_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) override;
  tresult PLUGIN_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                         String128 name) override;
  UnitID PLUGIN_API getSelectedUnit() override { return selectedUnit; }
  tresult PLUGIN_API selectUnit(UnitID unitId) override;
  tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                  UnitID& unitId) override;
  tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                        IBStream* data) override;

  // A watched program list changed: pass it on to the host.
  void PLUGIN_API update(FUnknown* changedUnknown, int32 message) override;

  OBJ_METHODS(EditControllerEx1, EditController)
  DEFINE_INTERFACES
  DEF_INTERFACE(IUnitInfo)
  END_DEFINE_INTERFACES(EditController)
  REFCOUNT_METHODS(EditController)

protected:
  void removeUnitsAndLists();

  std::vector<IPtr<Unit>> units;
  std::vector<IPtr<ProgramList>> programLists;
  std::map<ProgramListID, size_t> programIndexMap; // list ID to index in programLists
  UnitID selectedUnit = kRootUnitId;
};

} // namespace Vst
} // namespace Steinberg
