// The preset-file road of the controller: the current state or the stored presets written as
// VST 2.4 program and bank files, VST 3 preset files, Audio Unit presets and .tfx files, read
// back, and printed as factory-preset source lines.
//
// Every file carries the inner blocks of the host state: the processor block (framework
// header, bypass word 0, processor chunk) and the controller block (framework header,
// controller chunk). A file is checked whole against this controller before anything
// changes, so that a short, foreign or inconsistent file is refused with the parameters,
// presets and host as they were.
#include "framework/IFxController.h"

#include "framework/AuPresetFile.h"
#include "framework/ChunkIO.h"
#include "framework/FxpFile.h"
#include "framework/PresetFileIO.h"
#include "framework/PresetSourceDump.h"
#include "framework/TfxFile.h"
#include "framework/Vst3PresetFile.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kHeaderBytes = 8; // framework magic and chunk version
constexpr int kWordBytes = 4;

// A processor chunk and a controller chunk, checked against the controller and ready to load.
struct CheckedState {
  KIT_HeapBuf procChunk{4096};
  KIT_HeapBuf ctrlChunk{4096};
};

// ---- writing ----

bool ToBuf(KIT_HeapBuf& buf, const uint8_t* data, size_t size) {
  buf.Resize(0);
  return size <= size_t(INT32_MAX) && buf.Append(data, int(size));
}

FileBytes ToBytes(const KIT_HeapBuf& buf) {
  return FileBytes(buf.Bytes(), buf.Bytes() + buf.GetSize());
}

// Framework header, bypass word 0, then the processor chunk.
bool ProcessorBlock(const KIT_HeapBuf& procChunk, KIT_HeapBuf& block) {
  return IFxBase::InitChunkWithFxVer(block) && ChunkPutInt32(block, 0) &&
         block.Append(procChunk.Get(), procChunk.GetSize());
}

// Framework header, then the controller chunk.
bool ControllerBlock(const KIT_HeapBuf& ctrlChunk, KIT_HeapBuf& block) {
  return IFxBase::InitChunkWithFxVer(block) && block.Append(ctrlChunk.Get(), ctrlChunk.GetSize());
}

// The current state as a preset's two chunks.
bool CaptureCurrent(IFxController& ctrl, CheckedState& state) {
  return ctrl.IFxBase::SerializeState(state.procChunk) && ctrl.SerializeState(state.ctrlChunk);
}

bool CopyPreset(const IPreset& preset, CheckedState& state) {
  return state.procChunk.CopyFrom(preset.procChunk) && state.ctrlChunk.CopyFrom(preset.ctrlChunk);
}

// Each preset's chunks, or false when any preset is not initialised.
bool CopyAllPresets(const IFxController& ctrl, std::vector<CheckedState>& states) {
  states = std::vector<CheckedState>(size_t(ctrl.NPresets()));
  for (int i = 0; i < ctrl.NPresets(); ++i) {
    const IPreset* preset = ctrl.GetPreset(i);
    if (!preset->initialized || !CopyPreset(*preset, states[size_t(i)]))
      return false;
  }
  return true;
}

bool Blocks(const CheckedState& state, FileBytes& procBlock, FileBytes& ctrlBlock) {
  KIT_HeapBuf proc(4096), ctrlBuf(4096);
  if (!ProcessorBlock(state.procChunk, proc) || !ControllerBlock(state.ctrlChunk, ctrlBuf))
    return false;
  procBlock = ToBytes(proc);
  ctrlBlock = ToBytes(ctrlBuf);
  return true;
}

// The chunk of a program file: framework header, processor chunk, controller chunk.
bool ProgramChunk(const CheckedState& state, FileBytes& chunk) {
  KIT_HeapBuf buf(4096);
  if (!IFxBase::InitChunkWithFxVer(buf) ||
      !buf.Append(state.procChunk.Get(), state.procChunk.GetSize()) ||
      !buf.Append(state.ctrlChunk.Get(), state.ctrlChunk.GetSize()))
    return false;
  chunk = ToBytes(buf);
  return true;
}

bool FxpImage(const IFxController& ctrl, const char* name, const CheckedState& state,
              FileBytes& image) {
  FxpProgramFile program;
  program.uniqueID = ctrl.GetUniqueID();
  program.effectVersion = ctrl.GetEffectVersion(true);
  program.numParams = ctrl.NStoredParams();
  program.name = name ? name : "";
  if (!ProgramChunk(state, program.chunk))
    return false;
  image = WriteFxpProgram(program);
  return true;
}

bool Vst3Image(const IFxController& ctrl, const CheckedState& state, FileBytes& image) {
  Vst3PresetFile preset;
  char classID[FUID::kStringSize];
  ctrl.GetProcessorClass().toString(classID);
  preset.classID = classID;
  preset.info = Vst3PresetInfoXml(ctrl.GetProductName(), ctrl.GetSubCategory());
  return Blocks(state, preset.processorState, preset.controllerState) &&
         WriteVst3Preset(preset, image);
}

bool AuImage(const IFxController& ctrl, const char* name, const CheckedState& state,
             FileBytes& image) {
  AuPresetFile preset;
  preset.manufacturer = ctrl.GetMakerID();
  preset.subtype = ctrl.GetUniqueID();
  preset.type = ctrl.IsInst() ? AuPresetFile::kTypeInstrument : AuPresetFile::kTypeEffect;
  preset.version = 0;
  preset.name = name ? name : "";
  if (!Blocks(state, preset.processorState, preset.controllerState))
    return false;
  const std::string text = WriteAuPreset(preset);
  image.assign(text.begin(), text.end());
  return true;
}

bool TfxImage(const IFxController& ctrl, const char* name, int category, const CheckedState& state,
              FileBytes& image) {
  TfxFile preset;
  preset.effectVersion = ctrl.GetEffectVersion(true);
  preset.makerID = ctrl.GetMakerID();
  preset.uniqueID = ctrl.GetUniqueID();
  preset.category = category;
  preset.name = name ? name : "";
  if (!Blocks(state, preset.processorState, preset.controllerState))
    return false;
  image = WriteTfx(preset);
  return true;
}

bool WriteImage(const char* path, const FileBytes& image) {
  return WritePresetFile(path, image.data(), image.size());
}

bool WriteText(const char* path, const std::string& text) {
  return WritePresetFile(path, text.data(), text.size());
}

// Two presets of the same name would write one file, and one of them would be lost.
bool PathsAreDistinct(const std::vector<PresetFileImage>& files) {
  std::set<std::string> paths;
  for (const PresetFileImage& file : files)
    if (!paths.insert(file.path).second)
      return false;
  return true;
}

// One file per preset in folder, named after the preset: all of them or none.
template <class MakeImage>
bool WriteEveryPreset(const IFxController& ctrl, const char* folder, const char* extension,
                      MakeImage makeImage) {
  std::vector<CheckedState> states;
  if (!folder || !CopyAllPresets(ctrl, states))
    return false;
  std::vector<PresetFileImage> files(states.size());
  for (size_t i = 0; i < states.size(); ++i) {
    const char* name = ctrl.GetPresetName(int(i));
    files[i].path = PresetFilePath(folder, name, extension);
    if (!makeImage(name, states[i], files[i].bytes))
      return false;
  }
  return PathsAreDistinct(files) && WritePresetFiles(files);
}

// ---- checking what a file holds ----

bool HasFrameworkHeader(const KIT_HeapBuf& chunk, int pos) {
  int32_t magic = 0, version = 0;
  pos = ChunkGetInt32(chunk, pos, &magic);
  pos = ChunkGetInt32(chunk, pos, &version);
  return pos >= 0 && magic == IFxBase::kChunkMagic && version == IFxBase::kChunkVersion;
}

// The end of a processor chunk at pos (version word, one finite f64 per stored parameter),
// or -1.
int ProcessorChunkEnd(const IFxController& ctrl, const KIT_HeapBuf& chunk, int pos) {
  int32_t versionWord = 0;
  pos = ChunkGetInt32(chunk, pos, &versionWord);
  for (int i = 0; pos >= 0 && i < ctrl.NStoredParams(); ++i) {
    double v = 0.0;
    pos = ChunkGetDouble(chunk, pos, &v);
    if (!std::isfinite(v))
      return -1;
  }
  return pos;
}

// The end of a controller chunk at pos as the controller's own reader finds it, or -1. The
// reader may keep state of its own, so the controller's state is put back after the look.
int ControllerChunkEnd(IFxController& ctrl, const KIT_HeapBuf& chunk, int pos) {
  KIT_HeapBuf saved(4096);
  if (pos < 0 || !ctrl.SerializeState(saved))
    return -1;
  const int end = ctrl.UnserializeState(chunk, pos);
  ctrl.UnserializeState(saved, 0);
  return end;
}

bool CopyRange(const KIT_HeapBuf& from, int begin, int end, KIT_HeapBuf& to) {
  to.Resize(0);
  return to.Append(from.Bytes() + begin, end - begin);
}

// Processor chunk then controller chunk, back to back from pos to the end of the chunk.
bool CheckChunkPair(IFxController& ctrl, const KIT_HeapBuf& chunk, int pos, CheckedState& state) {
  const int procEnd = ProcessorChunkEnd(ctrl, chunk, pos);
  const int ctrlEnd = ControllerChunkEnd(ctrl, chunk, procEnd);
  return procEnd > 0 && ctrlEnd == chunk.GetSize() &&
         CopyRange(chunk, pos, procEnd, state.procChunk) &&
         CopyRange(chunk, procEnd, ctrlEnd, state.ctrlChunk);
}

// A processor block: framework header, bypass word, processor chunk filling the rest. The
// bypass word is checked for but not taken: files always carry 0, and the host's bypass is
// not a preset's to change.
bool CheckProcessorBlock(const IFxController& ctrl, const FileBytes& block, CheckedState& state) {
  KIT_HeapBuf buf(4096);
  const int chunkPos = kHeaderBytes + kWordBytes;
  return ToBuf(buf, block.data(), block.size()) && HasFrameworkHeader(buf, 0) &&
         ProcessorChunkEnd(ctrl, buf, chunkPos) == buf.GetSize() &&
         CopyRange(buf, chunkPos, buf.GetSize(), state.procChunk);
}

// A controller block: framework header, controller chunk filling the rest.
bool CheckControllerBlock(IFxController& ctrl, const FileBytes& block, CheckedState& state) {
  KIT_HeapBuf buf(4096);
  return ToBuf(buf, block.data(), block.size()) && HasFrameworkHeader(buf, 0) &&
         ControllerChunkEnd(ctrl, buf, kHeaderBytes) == buf.GetSize() &&
         CopyRange(buf, kHeaderBytes, buf.GetSize(), state.ctrlChunk);
}

bool CheckBlocks(IFxController& ctrl, const FileBytes& procBlock, const FileBytes& ctrlBlock,
                 CheckedState& state) {
  return CheckProcessorBlock(ctrl, procBlock, state) &&
         CheckControllerBlock(ctrl, ctrlBlock, state);
}

// A preset bank of exactly this controller's slots, filling the chunk from pos.
bool CheckBank(IFxController& ctrl, const KIT_HeapBuf& chunk, int pos) {
  for (int i = 0; pos >= 0 && i < ctrl.NPresets(); ++i) {
    int32_t nameLen = 0;
    pos = ChunkGetInt32(chunk, pos, &nameLen);
    if (pos < 0 || nameLen < 0 || nameLen > ChunkBytesLeft(chunk, pos))
      return false;
    pos += nameLen;
    uint8_t initialized = 0;
    pos = ChunkGetBytes(chunk, pos, &initialized, 1);
    if (pos >= 0 && initialized)
      pos = ControllerChunkEnd(ctrl, chunk, ProcessorChunkEnd(ctrl, chunk, pos));
  }
  return pos == chunk.GetSize();
}

// ---- loading what was checked ----

void LoadState(IFxController& ctrl, const CheckedState& state) {
  ctrl.IFxBase::UnserializeState(state.procChunk, 0);
  ctrl.UnserializeState(state.ctrlChunk, 0);
}

// What the VST 3, Audio Unit and .tfx readers do after loading.
void LoadStateAndTellEveryone(IFxController& ctrl, const CheckedState& state) {
  LoadState(ctrl, state);
  ctrl.PushParamsToHost();
  ctrl.SetAllGUIParamsFromPlug();
  ctrl.OnStateRestored();
}

bool ReadFile(const char* path, FileBytes& bytes) {
  return ReadPresetFile(path, bytes);
}

// ---- source dumps ----

PresetSourceValue::Kind SourceKindOf(const IParam& param) {
  switch (param.Type()) {
  case IParam::kTypeBool:
    return PresetSourceValue::kBool;
  case IParam::kTypeInt:
  case IParam::kTypeEnum:
    return PresetSourceValue::kInt;
  default:
    return PresetSourceValue::kDouble;
  }
}

std::string BlobLine(const IPreset& preset) {
  return BlobPresetSource(preset.name, preset.procChunk.Bytes(), size_t(preset.procChunk.GetSize()),
                          preset.ctrlChunk.Bytes(), size_t(preset.ctrlChunk.GetSize()));
}

} // namespace

// ---- VST 2.4 program and bank files ----

bool IFxController::SaveProgramAsFXP(const char* name, const char* path) {
  CheckedState state;
  FileBytes image;
  return path && CaptureCurrent(*this, state) && FxpImage(*this, name, state, image) &&
         WriteImage(path, image);
}

bool IFxController::SavePresetsAsFXPs(const char* folder) {
  return WriteEveryPreset(*this, folder, ".fxp",
                          [this](const char* name, const CheckedState& state, FileBytes& image) {
                            return FxpImage(*this, name, state, image);
                          });
}

bool IFxController::LoadProgramFromFXP(const char* path) {
  FileBytes bytes;
  FxpProgramFile program;
  KIT_HeapBuf chunk(4096);
  CheckedState state;
  if (!ReadFile(path, bytes) || !ReadFxpProgram(bytes.data(), bytes.size(), program) ||
      program.uniqueID != GetUniqueID() || program.numParams != NStoredParams() ||
      !ToBuf(chunk, program.chunk.data(), program.chunk.size()) || !HasFrameworkHeader(chunk, 0) ||
      !CheckChunkPair(*this, chunk, kHeaderBytes, state))
    return false;
  LoadState(*this, state);
  ModifyCurrentPreset(program.name.c_str());
  // Without a preset slot there is nothing to restore through; the host still has to hear
  // of the new values.
  if (!RestorePreset(GetCurrentPresetIdx())) {
    PushParamsToHost();
    OnStateRestored();
    SetAllGUIParamsFromPlug();
    SetAllGUIControlsDirty();
  }
  return true;
}

bool IFxController::SaveBankAsFXB(const char* path) {
  FxbBankFile bank;
  bank.uniqueID = GetUniqueID();
  bank.effectVersion = GetEffectVersion(true);
  bank.numPrograms = NPresets();
  bank.currentProgram = GetCurrentPresetIdx();
  KIT_HeapBuf chunk(4096);
  if (!path || !InitChunkWithFxVer(chunk) || !SerializePresets(chunk))
    return false;
  bank.chunk = ToBytes(chunk);
  return WriteImage(path, WriteFxbBank(bank));
}

bool IFxController::LoadBankFromFXB(const char* path) {
  FileBytes bytes;
  FxbBankFile bank;
  KIT_HeapBuf chunk(4096);
  if (!ReadFile(path, bytes) || !ReadFxbBank(bytes.data(), bytes.size(), bank) ||
      bank.uniqueID != GetUniqueID() || bank.numPrograms != NPresets() ||
      !ToBuf(chunk, bank.chunk.data(), bank.chunk.size()) || !HasFrameworkHeader(chunk, 0) ||
      !CheckBank(*this, chunk, kHeaderBytes))
    return false;
  UnserializePresets(chunk, kHeaderBytes);
  if (NPresets() > 0)
    notifyProgramListChange(ProgramListID(kFxPresetParamID), GetCurrentPresetIdx());
  return true;
}

// ---- VST 3 preset files ----

bool IFxController::SaveProgramAsVST3Preset(const char* path) {
  CheckedState state;
  FileBytes image;
  return path && CaptureCurrent(*this, state) && Vst3Image(*this, state, image) &&
         WriteImage(path, image);
}

bool IFxController::SavePresetsAsVST3Presets(const char* folder) {
  return WriteEveryPreset(*this, folder, ".vstpreset",
                          [this](const char*, const CheckedState& state, FileBytes& image) {
                            return Vst3Image(*this, state, image);
                          });
}

bool IFxController::LoadProgramFromVST3Preset(const char* path) {
  FileBytes bytes;
  Vst3PresetFile preset;
  FUID classID;
  CheckedState state;
  if (!ReadFile(path, bytes) || !ReadVst3Preset(bytes.data(), bytes.size(), preset) ||
      !classID.fromString(preset.classID.c_str()) || classID != GetProcessorClass() ||
      !CheckBlocks(*this, preset.processorState, preset.controllerState, state))
    return false;
  LoadStateAndTellEveryone(*this, state);
  return true;
}

// ---- Audio Unit presets ----

bool IFxController::SaveProgramAsAUPreset(const char* name, const char* path) {
  CheckedState state;
  FileBytes image;
  return path && CaptureCurrent(*this, state) && AuImage(*this, name, state, image) &&
         WriteImage(path, image);
}

bool IFxController::SavePresetsAsAUPresets(const char* folder) {
  return WriteEveryPreset(*this, folder, ".aupreset",
                          [this](const char* name, const CheckedState& state, FileBytes& image) {
                            return AuImage(*this, name, state, image);
                          });
}

bool IFxController::LoadProgramFromAUPreset(const char* path) {
  FileBytes bytes;
  AuPresetFile preset;
  CheckedState state;
  if (!ReadFile(path, bytes) ||
      !ReadAuPreset(reinterpret_cast<const char*>(bytes.data()), bytes.size(), preset) ||
      !AuCodeMatches(preset.subtype, GetUniqueID()) ||
      !AuCodeMatches(preset.manufacturer, GetMakerID()) ||
      !CheckBlocks(*this, preset.processorState, preset.controllerState, state))
    return false;
  LoadStateAndTellEveryone(*this, state);
  return true;
}

// ---- .tfx files ----

bool IFxController::SaveProgramAsTFX(const char* name, const char* path, int category) {
  CheckedState state;
  FileBytes image;
  return path && CaptureCurrent(*this, state) && TfxImage(*this, name, category, state, image) &&
         WriteImage(path, image);
}

bool IFxController::SavePresetsAsTFX(const char* folder, int category) {
  return WriteEveryPreset(
      *this, folder, ".tfx",
      [this, category](const char* name, const CheckedState& state, FileBytes& image) {
        return TfxImage(*this, name, category, state, image);
      });
}

bool IFxController::LoadProgramFromTFX(const char* path) {
  FileBytes bytes;
  TfxFile preset;
  CheckedState state;
  if (!ReadFile(path, bytes) || !ReadTfx(bytes.data(), bytes.size(), preset) ||
      preset.makerID != GetMakerID() || preset.uniqueID != GetUniqueID() ||
      preset.uniqueID2 != GetUniqueID() ||
      !CheckBlocks(*this, preset.processorState, preset.controllerState, state))
    return false;
  LoadStateAndTellEveryone(*this, state);
  return true;
}

// ---- source dumps ----

bool IFxController::DumpPresetSrcCode(const char* path, const char* const* paramEnumNames) {
  if (!path || !paramEnumNames)
    return false;
  std::vector<PresetSourceValue> values(static_cast<size_t>(NParams()));
  for (int i = 0; i < NParams(); ++i) {
    if (!paramEnumNames[i])
      return false;
    values[size_t(i)] = {paramEnumNames[i], SourceKindOf(*GetParam(i)), GetParam(i)->Value()};
  }
  return WriteText(path, NamedParamsPresetSource(values));
}

bool IFxController::DumpPresetBlob(const char* path) {
  const IPreset* preset = GetPreset(GetCurrentPresetIdx());
  return path && preset && WriteText(path, BlobLine(*preset));
}

bool IFxController::DumpBankBlob(const char* path) {
  if (!path)
    return false;
  std::string text;
  for (int i = 0; i < NPresets(); ++i)
    text += BlobLine(*GetPreset(i));
  return WriteText(path, text);
}
