// The string class of every AAX interface call: 8-bit text of any length.
#pragma once

#include "AAX_IString.h"

#include <string>

class AAX_CString : public AAX_IString {
public:
  AAX_CString() = default;
  AAX_CString(const char* text);
  AAX_CString(const AAX_CString& other) = default;
  AAX_CString(const std::string& text) : mString(text) {}
  explicit AAX_CString(const AAX_IString& other);
  ~AAX_CString() override = default;

  uint32_t Length() const override { return uint32_t(mString.size()); }
  uint32_t MaxLength() const override { return 0xFFFFFFFEu; }
  const char* Get() const override { return mString.c_str(); }
  void Set(const char* text) override { mString = text ? text : ""; }
  AAX_IString& operator=(const AAX_IString& other) override;
  AAX_IString& operator=(const char* text) override;
  AAX_CString& operator=(const AAX_CString& other);

  void Append(const char* text);
  // out = count bytes from position (cut at the end of the text; empty past it).
  void SubString(uint32_t position, uint32_t count, AAX_IString* out) const;
  const std::string& StdString() const { return mString; }

  bool operator==(const AAX_CString& other) const;
  bool operator!=(const AAX_CString& other) const { return !(*this == other); }
  bool operator<(const AAX_CString& other) const;

private:
  std::string mString;
};
