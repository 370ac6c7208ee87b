// Display delegates: a parameter's real value as text and back. Clone always answers a heap
// copy that the caller owns.
#pragma once

#include "aax/library/AAX_CString.h"

#include <cstdint>

class AAX_IDisplayDelegateBase {
public:
  virtual ~AAX_IDisplayDelegateBase() = default;
};

template <class T> class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase {
public:
  virtual AAX_IDisplayDelegate* Clone() const = 0;
  virtual bool ValueToString(T value, AAX_CString* text) const = 0;
  virtual bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const = 0;
  virtual bool StringToValue(const AAX_CString& text, T* value) const = 0;
};
