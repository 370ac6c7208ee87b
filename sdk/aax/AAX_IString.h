// The string interface that every AAX interface call uses for text.
#pragma once

#include "AAX.h"

class AAX_IString {
public:
  AAX_IString() = default;
  AAX_IString(const AAX_IString&) = default;
  virtual ~AAX_IString() = default;
  virtual uint32_t Length() const = 0;
  virtual uint32_t MaxLength() const = 0;
  virtual const char* Get() const = 0;
  virtual void Set(const char* text) = 0;
  virtual AAX_IString& operator=(const AAX_IString& other) = 0;
  virtual AAX_IString& operator=(const char* text) = 0;
};
