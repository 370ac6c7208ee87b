#pragma once

#include "framework/KIT_HeapBuf.h"

// One preset slot of a controller: a captured processor chunk (version word, parameter
// block) and controller chunk (version word and any plug-in additions), so that restoring
// a preset is the same as loading state.
struct IPreset {
  static constexpr int kMaxNameLen = 256; // 255 characters and the terminator

  bool initialized = false;
  char name[kMaxNameLen] = "empty";
  KIT_HeapBuf procChunk{4096};
  KIT_HeapBuf ctrlChunk{4096};

  // Copies name, cut to 255 characters (a null name gives "").
  void SetName(const char* newName);
  void SetName(const char* bytes, int n);
};
