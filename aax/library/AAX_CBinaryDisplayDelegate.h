// The two-state display: one label for false, one for true.
#pragma once

#include "aax/library/AAX_CString.h"
#include "aax/library/AAX_IDisplayDelegate.h"

#include <algorithm>
#include <utility>
#include <vector>

template <class T> class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
  AAX_CBinaryDisplayDelegate(const char* falseLabel, const char* trueLabel)
      : mFalseLabel(falseLabel), mTrueLabel(trueLabel),
        mMaxLabelLength(std::max(mFalseLabel.Length(), mTrueLabel.Length())) {}

  AAX_CBinaryDisplayDelegate* Clone() const override {
    return new AAX_CBinaryDisplayDelegate(*this);
  }
  bool ValueToString(T value, AAX_CString* text) const override {
    if (text)
      *text = value ? mTrueLabel : mFalseLabel;
    return true;
  }
  bool ValueToString(T value, int32_t, AAX_CString* text) const override {
    return ValueToString(value, text);
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    const bool isTrue = text == mTrueLabel;
    const bool known = isTrue || text == mFalseLabel;
    if (value)
      *value = isTrue;
    return known;
  }

  uint32_t MaxLabelLength() const { return mMaxLabelLength; }

private:
  AAX_CString mFalseLabel;
  AAX_CString mTrueLabel;
  uint32_t mMaxLabelLength;
  // Shorter (false, true) label pairs for narrow displays; none in this system.
  std::vector<std::pair<AAX_CString, AAX_CString>> mShortenedLabels;
};
