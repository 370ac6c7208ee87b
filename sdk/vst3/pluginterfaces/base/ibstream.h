// A byte stream the host hands to the plug-in for state.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {

class IBStream : public FUnknown {
public:
  enum IStreamSeekMode : int32 { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };

  // numBytesRead / numBytesWritten may be null.
  virtual tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead = nullptr) = 0;
  virtual tresult PLUGIN_API write(void* buffer, int32 numBytes,
                                   int32* numBytesWritten = nullptr) = 0;
  virtual tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result = nullptr) = 0;
  virtual tresult PLUGIN_API tell(int64* pos) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IBStream, 0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B)

} // namespace Steinberg
