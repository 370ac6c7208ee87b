#include "aax/library/AAX_CString.h"

#include <cstring>

AAX_CString::AAX_CString(const char* text) : mString(text ? text : "") {}

AAX_CString::AAX_CString(const AAX_IString& other) {
  const char* text = other.Get();
  mString = text ? text : "";
}

AAX_IString& AAX_CString::operator=(const AAX_IString& other) {
  if (&other != this)
    Set(other.Get());
  return *this;
}

AAX_IString& AAX_CString::operator=(const char* text) {
  Set(text);
  return *this;
}

AAX_CString& AAX_CString::operator=(const AAX_CString& other) {
  mString = other.mString;
  return *this;
}

void AAX_CString::Append(const char* text) {
  if (text)
    mString += text;
}

void AAX_CString::SubString(uint32_t position, uint32_t count, AAX_IString* out) const {
  if (!out)
    return;
  if (position >= mString.size()) {
    out->Set("");
    return;
  }
  out->Set(mString.substr(position, count).c_str());
}

// Bytewise, as strcmp compares: texts with embedded zeros compare up to the first zero.
bool AAX_CString::operator==(const AAX_CString& other) const {
  return std::strcmp(Get(), other.Get()) == 0;
}

bool AAX_CString::operator<(const AAX_CString& other) const {
  return std::strcmp(Get(), other.Get()) < 0;
}
