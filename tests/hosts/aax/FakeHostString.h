// The host's own string object for the AAX interface calls that return text.
#pragma once

#include "AAX_IString.h"

#include <string>

namespace aaxhost {

class HostString final : public AAX_IString {
public:
  uint32_t Length() const override { return uint32_t(mText.size()); }
  uint32_t MaxLength() const override { return 0xFFFFFFFEu; }
  const char* Get() const override { return mText.c_str(); }
  void Set(const char* text) override { mText = text ? text : ""; }
  AAX_IString& operator=(const AAX_IString& other) override {
    mText = other.Get();
    return *this;
  }
  AAX_IString& operator=(const char* text) override {
    Set(text);
    return *this;
  }
  const std::string& StdString() const { return mText; }

private:
  std::string mText;
};

} // namespace aaxhost
