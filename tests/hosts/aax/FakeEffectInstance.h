// One effect instance as the recording host runs it from a recorded description: the
// effect-parameters object from create procedure 0, initialised on the host context; the
// editor from create procedure 1, opened into the host's view container; chunks saved and
// restored the way a host does it (size first, then a record of that size).
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "AAX_IACFEffectParameters.h"
#include "FakeAAXHost.h"
#include "FakeDescriptionObjects.h"

#include <cstdint>
#include <vector>

namespace aaxhost {

class FakeEffectInstance {
public:
  static constexpr AAX_CProcPtrID kEffectParametersProc = 0;
  static constexpr AAX_CProcPtrID kEffectGUIProc = 1;

  // Makes and initialises the effect; InitializeResult tells how that went.
  FakeEffectInstance(FakeAAXHost& host, const FakeEffectDescriptor& effect);
  ~FakeEffectInstance();
  FakeEffectInstance(const FakeEffectInstance&) = delete;
  FakeEffectInstance& operator=(const FakeEffectInstance&) = delete;

  AAX_Result InitializeResult() const { return mInitializeResult; }
  // Null when the description has no create procedure 0 or it made nothing usable. Each
  // instance holds its own reference, so several instances can share one host context.
  AAX_IACFEffectParameters* Parameters() const { return mParameters; }

  // Makes the editor, initialises it on the host context and hands it the view container.
  AAX_Result OpenEditor();
  // Takes the container away, uninitialises and releases the editor.
  void CloseEditor();
  AAX_IACFEffectGUI* Editor() const { return mEditor; }

  // GetChunkSize, then GetChunk into a record of that size; the data bytes.
  std::vector<uint8_t> SaveChunk(AAX_CTypeID chunkID, AAX_Result* result = nullptr) const;
  AAX_Result RestoreChunk(AAX_CTypeID chunkID, const std::vector<uint8_t>& data);
  AAX_Result CompareChunk(AAX_CTypeID chunkID, const std::vector<uint8_t>& data, bool* equal) const;

private:
  FakeAAXHost& mHost;
  const FakeEffectDescriptor& mEffect;
  AAX_IACFEffectParameters* mParameters = nullptr;
  AAX_Result mInitializeResult = AAX_ERROR_NULL_OBJECT;
  AAX_IACFEffectGUI* mEditor = nullptr;
};

} // namespace aaxhost
