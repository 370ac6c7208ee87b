#pragma once

#include "framework/KIT_HeapBuf.h"

#include <cstring>

// A list of pointers in a KIT_HeapBuf (count = size / pointer width). The list does not
// own its items unless it is emptied with deletion.
template <class T> class KIT_PtrList {
public:
  using Deleter = void (*)(T*);

  explicit KIT_PtrList(int granularity = 4096) : mBuf(granularity) {}

  int GetSize() const { return mBuf.GetSize() / int(sizeof(T*)); }
  T* Get(int idx) const {
    return idx >= 0 && idx < GetSize() ? static_cast<T* const*>(mBuf.Get())[idx] : nullptr;
  }

  // Appends item; returns it, or null when the list cannot grow (the list is unchanged).
  T* Add(T* item) { return mBuf.Append(&item, int(sizeof(T*))) ? item : nullptr; }

  // Removes every item, last first. With wantDelete each non-null item is destroyed by the
  // deleter when one is given, else by delete. The buffer is released at the end.
  void Empty(bool wantDelete = false, Deleter deleter = nullptr) {
    for (int i = GetSize() - 1; i >= 0; --i) {
      T* item = Get(i);
      mBuf.Resize(i * int(sizeof(T*)), true);
      if (wantDelete && item) {
        if (deleter)
          deleter(item);
        else
          delete item;
      }
    }
    mBuf.Resize(0, true);
  }

private:
  KIT_HeapBuf mBuf;
};
