// A display that shows each value by a fixed text, for list parameters.
#pragma once

#include "aax/library/AAX_CString.h"
#include "aax/library/AAX_IDisplayDelegate.h"

#include <map>

template <class T> class AAX_CStringDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
  explicit AAX_CStringDisplayDelegate(const std::map<T, AAX_CString>& texts) : mTexts(texts) {
    // A text shared by several values reads back as the first of them.
    for (const auto& [value, text] : mTexts)
      mValues.emplace(text, value);
  }

  AAX_CStringDisplayDelegate* Clone() const override {
    return new AAX_CStringDisplayDelegate(*this);
  }
  bool ValueToString(T value, AAX_CString* text) const override {
    const auto found = mTexts.find(value);
    const bool known = found != mTexts.end();
    if (text)
      *text = known ? found->second : AAX_CString("String Not Found");
    return known;
  }
  bool ValueToString(T value, int32_t, AAX_CString* text) const override {
    return ValueToString(value, text);
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    const auto found = mValues.find(text);
    const bool known = found != mValues.end();
    if (value)
      *value = known ? found->second : T(0);
    return known;
  }

private:
  std::map<T, AAX_CString> mTexts;
  std::map<AAX_CString, T> mValues;
};
