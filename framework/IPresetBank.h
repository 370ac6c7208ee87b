#pragma once

#include "framework/IFxBase.h"
#include "framework/IPreset.h"
#include "framework/KIT_HeapBuf.h"
#include "framework/KIT_PtrList.h"

#include <cstdarg>
#include <cstdint>

// What the preset slots need from the controller that owns them: capturing and loading
// the processor chunk (IFxBase::SerializeState / UnserializeState) and the controller
// chunk (the controller's own SerializeState / UnserializeState), and the host and editor
// work that follows a restore (pushing the values to the host, the change hook, the GUI).
class IPresetState {
public:
  virtual bool CaptureProcessorChunk(KIT_HeapBuf& chunk) = 0; // appends
  virtual bool CaptureControllerChunk(KIT_HeapBuf& chunk) = 0;
  virtual int LoadProcessorChunk(const KIT_HeapBuf& chunk, int pos) = 0;
  virtual int LoadControllerChunk(const KIT_HeapBuf& chunk, int pos) = 0;
  virtual void OnPresetRestored() = 0;

protected:
  ~IPresetState() = default;
};

// The controller's fixed number of preset slots and its current preset index, filled at
// construction (from the current values, value lists or base64 blobs), selected by the
// host, and stored whole as the preset bank. Runs on the UI thread.
class IPresetBank {
public:
  struct NamedValue {
    int paramIdx;
    double value;
  };

  explicit IPresetBank(int nPresets);
  ~IPresetBank();
  IPresetBank(const IPresetBank&) = delete;
  IPresetBank& operator=(const IPresetBank&) = delete;

  int NPresets() const { return mPresets.GetSize(); }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }
  int CurrentIndex() const { return mCurrentIndex; }
  IPreset* GetFirstFreePreset() const;
  const char* GetPresetName(int idx) const;

  // Fills up to count free slots from the current state, named name ("Empty" for null).
  // Returns the number filled.
  int MakeDefaultPreset(const char* name, int count, IPresetState& state);
  // Decodes base64 into a zeroed buffer of bufSize bytes; the first procChunkSize bytes
  // become the processor chunk, the rest the controller chunk. False, nothing changed,
  // when no slot is free or the sizes do not fit.
  bool MakePresetFromBlob(const char* name, const char* base64, int bufSize, int procChunkSize);
  bool MakePresetFromChunk(const char* name, int procChunkSize, const uint8_t* buffer, int bufSize);
  // A slot captured as MakeDefaultPreset does, with values[i] in place of parameter i's
  // value (nValues must cover every parameter). The parameters keep their values.
  bool MakePreset(IFxBase& params, IPresetState& state, const char* name, const double* values,
                  int nValues);
  // The same with one variadic value per parameter: an int for bool, int and enum
  // parameters, a double for the others.
  bool MakePresetV(IFxBase& params, IPresetState& state, const char* name, va_list args);
  // As MakePreset, for the named parameters only; every other keeps its current value. An
  // index outside the parameters refuses the preset.
  bool MakePresetFromNamedParams(IFxBase& params, IPresetState& state, const char* name,
                                 const NamedValue* values, int n);
  bool MakePresetFromNamedParamsV(IFxBase& params, IPresetState& state, const char* name, int n,
                                  va_list args);

  // Loads slot idx (an empty slot is first filled from the current state under a new
  // "user preset" name), makes it current, then state.OnPresetRestored().
  bool RestorePreset(int idx, IPresetState& state);
  bool RestorePresetByName(const char* name, IPresetState& state);
  // Re-captures the current slot from the current state; a non-empty newName renames it.
  bool ModifyCurrentPreset(const char* newName, IPresetState& state);
  // "user preset N", N = 1 + the number of slots whose name holds "user preset"; out holds
  // IPreset::kMaxNameLen bytes.
  void MakeDefaultUserPresetName(char* out) const;

  // The bank: per slot its name length (int32), name bytes, initialised byte, and for an
  // initialised slot its processor chunk and controller chunk. False, with the chunk as it
  // was, when the chunk cannot grow.
  bool SerializePresets(KIT_HeapBuf& chunk) const;
  // Reads a bank written by SerializePresets into the slots, then restores the current
  // preset. A bank that ends early leaves the remaining slots as they were and returns -1;
  // a bank whose name lengths do not fit it is refused whole (slots and parameters as they
  // were, no restore) and returns -1.
  int UnserializePresets(const KIT_HeapBuf& chunk, int pos, IPresetState& state);

  // The slot a host's normalised "Preset" value selects, -1 for none. Hosts space the
  // values in two ways. The parameter's own steps give slot (int)(v x count). The program
  // list's spacing, program / (count - 1), is what Ardour sends when a user picks a factory
  // preset; a value on that grid and off the steps is read that way. The grids meet at 0 and
  // 1: 1.0 is the last slot of the program list (on the steps it would be the slot past the
  // end). A value a hair below a step (a 32-bit float host's p / count) still selects that
  // step. NaN, values outside [0, 1] and a bank without slots select none.
  static int PresetIndexFromNormalized(double v, int count);

private:
  static bool Capture(IPreset& slot, IPresetState& state);
  bool MakePresetWithValues(IFxBase& params, IPresetState& state, const char* name,
                            const double* values);

  KIT_PtrList<IPreset> mPresets{4096};
  int32_t mCurrentIndex = 0;
};
