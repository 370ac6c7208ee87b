#pragma once

#include "framework/FxParamIDs.h"
#include "framework/IFxBase.h"
#include "framework/IMidiMsg.h"
#include "framework/IPresetBank.h"
#include "framework/ISysEx.h"
#include "framework/KIT_PtrList.h"
#include "framework/KIT_String.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vsteditorview.h"

// The edit-controller half of every plug-in. It keeps its own copy of the parameters and
// presents them to the host as IFxParameter objects, one unit per parameter group, with the
// bypass, preset and MIDI controller parameters beside them (IDs in FxParamIDs.h). It owns
// the preset bank, reads and writes the controller state, reads the processor state, receives
// the processor's messages and carries the editor's edits to the host. Everything runs on the
// host's UI thread.
class IFxController : public Steinberg::Vst::EditControllerEx1,
                      public Steinberg::Vst::IMidiMapping,
                      public IFxBase,
                      public IPresetState {
public:
  static constexpr int kMaxNameLen = 128; // the four names: 127 characters and the terminator

  IFxController(const Steinberg::FUID& processorClass, int nParams, int nPresets,
                const char* effectName, const char* productName, const char* makerName,
                const char* subCategory, int effectVersion, int uniqueID, int makerID, int latency,
                bool doesMidiIn, bool doesMidiOut, bool isInst, int api);
  ~IFxController() override;

  // ---- SDK methods ----
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* stream) override;
  Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API
  plainParamToNormalized(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plain) override;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                   Steinberg::Vst::ParamValue value) override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;
  // The preset parameter reads as the name of the preset a value selects (and back); every
  // other parameter as its parameter object says.
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::ParamValue normalized,
                                                      Steinberg::Vst::String128 text) override;
  Steinberg::tresult PLUGIN_API
  getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* text,
                        Steinberg::Vst::ParamValue& normalized) override;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 index,
                                               Steinberg::Vst::String128 name) override;

  // ---- own operations, the hooks plug-in controllers override ----
  // Bus 0 with a MIDI input, channels 0-15, controllers 0-129: the MIDI controller parameter.
  Steinberg::tresult PLUGIN_API getMidiControllerAssignment(Steinberg::int32 busIndex,
                                                            Steinberg::int16 channel,
                                                            Steinberg::Vst::CtrlNumber controller,
                                                            Steinberg::Vst::ParamID& id) override;
  // Reads the parameter block into the parameters and their host objects, then runs the
  // change hook for every parameter.
  int UnserializeParams(const KIT_HeapBuf& chunk, int pos) override;
  virtual void SetAllGUIParamsFromPlug();
  virtual void SetAllGUIControlsDirty();
  virtual void SetGUIParameterFromPlug(int idx, bool isNormalized, double value);
  // Stores the latency and asks the host to fetch it again.
  void SetLatency(int samples) override;
  // The controller chunk: the version word, then whatever a plug-in controller appends.
  bool SerializeState(KIT_HeapBuf& chunk) override;
  int UnserializeState(const KIT_HeapBuf& chunk, int pos) override;
  // A note name for the program list (name holds 128 bytes); false for none.
  virtual bool GetMidiNoteText(int note, char* name);
  virtual void OnMidiMsg(IMidiMsg* msg);
  virtual void OnSysEx(ISysEx* sysex);
  // Messages from the processor other than "MidiMsg" and "SysEx"; true when handled.
  virtual bool OnMessage(Steinberg::Vst::IMessage* message);
  virtual void OnGUIOpen();
  virtual void OnGUIClose();
  // After a preset was restored and pushed to the host.
  virtual void OnStateRestored();

  // ---- editor side ----
  // A user edit from the editor; the control brackets it with beginEdit / endEdit.
  void SetParameterFromGUI(int idx, double normalized);
  void AddEditorView(Steinberg::Vst::EditorView* view);
  void RemoveEditorView(Steinberg::Vst::EditorView* view);
  int NEditorViews() const { return mViews.GetSize(); }
  // To the processor, which queues them for its next block.
  bool SendMidiMsg(const IMidiMsg& msg);
  bool SendSysEx(const ISysEx& sysex);

  // ---- presets ----
  int NPresets() const { return mPresets.NPresets(); }
  int GetCurrentPresetIdx() const { return mPresets.CurrentIndex(); }
  IPreset* GetPreset(int idx) const { return mPresets.GetPreset(idx); }
  int MakeDefaultPreset(const char* name, int count);
  bool MakePresetFromBlob(const char* name, const char* base64, int bufSize, int procChunkSize);
  bool MakePresetFromChunk(const char* name, int procChunkSize, const KIT_HeapBuf& buffer);
  // One value per parameter in index order: an int for bool, int and enum parameters, a
  // double for double parameters.
  bool MakePreset(const char* name, ...);
  // n pairs (int paramIdx, value), the value typed as for MakePreset.
  bool MakePresetFromNamedParams(const char* name, int n, ...);
  bool RestorePreset(int idx);
  bool RestorePresetByName(const char* name);
  const char* GetPresetName(int idx) const { return mPresets.GetPresetName(idx); }
  bool ModifyCurrentPreset(const char* newName = nullptr);
  IPreset* GetFirstFreePreset() const { return mPresets.GetFirstFreePreset(); }
  void MakeDefaultUserPresetName(char* out) const { mPresets.MakeDefaultUserPresetName(out); }
  bool SerializePresets(KIT_HeapBuf& chunk) const { return mPresets.SerializePresets(chunk); }
  int UnserializePresets(const KIT_HeapBuf& chunk, int pos);
  // Every parameter to the host in one group edit (each edit bracketed), then the change hook
  // for every parameter.
  void PushParamsToHost();

  // ---- preset files and preset source dumps (IFxControllerPresetFiles.cpp) ----
  // The current state or the stored presets as VST 2.4 program and bank files, VST 3 preset
  // files, Audio Unit presets and .tfx files, and read back; factory-preset source lines for
  // plug-in authors. UI thread. Writers return false for a null path or folder, a file that
  // cannot be written whole (nothing is left behind), or, for the folder writers, a preset
  // that is not initialised or two presets of one name (then no file is written). Readers
  // return false, with nothing changed, for a file that cannot be read, is not of this
  // plug-in, or is short or inconsistent anywhere.
  bool SaveProgramAsFXP(const char* name, const char* path);
  bool SavePresetsAsFXPs(const char* folder);
  bool LoadProgramFromFXP(const char* path);
  bool SaveBankAsFXB(const char* path);
  bool LoadBankFromFXB(const char* path);
  bool SaveProgramAsVST3Preset(const char* path);
  bool SavePresetsAsVST3Presets(const char* folder);
  bool LoadProgramFromVST3Preset(const char* path);
  bool SaveProgramAsAUPreset(const char* name, const char* path);
  bool SavePresetsAsAUPresets(const char* folder);
  bool LoadProgramFromAUPreset(const char* path);
  bool SaveProgramAsTFX(const char* name, const char* path, int category);
  bool SavePresetsAsTFX(const char* folder, int category);
  bool LoadProgramFromTFX(const char* path);
  // paramEnumNames: the source name of every parameter's constant, in index order.
  bool DumpPresetSrcCode(const char* path, const char* const* paramEnumNames);
  bool DumpPresetBlob(const char* path);
  bool DumpBankBlob(const char* path);
  // ---- end of preset files ----

  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  const char* GetSubCategory() const { return mSubCategory; }
  const Steinberg::FUID& GetProcessorClass() const { return mProcessorClass; }

  OBJ_METHODS(IFxController, EditControllerEx1)
  DEFINE_INTERFACES
  DEF_INTERFACE(IMidiMapping)
  END_DEFINE_INTERFACES(EditControllerEx1)
  REFCOUNT_METHODS(EditControllerEx1)

private:
  // The preset slots capture and load through these (IPresetState).
  bool CaptureProcessorChunk(KIT_HeapBuf& chunk) override;
  bool CaptureControllerChunk(KIT_HeapBuf& chunk) override;
  int LoadProcessorChunk(const KIT_HeapBuf& chunk, int pos) override;
  int LoadControllerChunk(const KIT_HeapBuf& chunk, int pos) override;
  void OnPresetRestored() override;

  // initialize, in order
  void AddRootUnit();
  Steinberg::Vst::UnitID UnitForGroup(const char* group);
  void AddPluginParameters();
  void AddBypassAndPresetParameters();
  void AddMidiControllerParameters();
  void AddProgramList();
  // The host objects follow the parameters' values.
  void SyncHostParameter(int idx);
  bool HasPresetParameter() const { return NPresets() >= 2; }
  // After a processor state was loaded: edits a preset restore sent the host may still be on
  // their way to the processor; the loaded values follow them so that they win.
  void PushLoadedValuesAfterPresetEdits(const double* before);

  KIT_PtrList<Steinberg::Vst::EditorView> mViews;
  IPresetBank mPresets;                // the slots and the current preset index
  KIT_PtrList<KIT_String> mGroupNames; // unit i + 1 is mGroupNames[i]
  char mEffectName[kMaxNameLen];
  char mProductName[kMaxNameLen];
  char mMakerName[kMaxNameLen];
  char mSubCategory[kMaxNameLen];
  Steinberg::FUID mProcessorClass;
  // A preset restore has sent its values to the host as edits, no processor state has been
  // loaded since, and the processor has not said that the edits reached its blocks.
  bool mPresetEditsSent = false;
};
