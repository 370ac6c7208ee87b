#include "aax/library/AAXWrapperDisplayDelegate.h"

#include "base/source/fstring.h"

#include <cstring>

using namespace Steinberg;

namespace {
// Room for a text converted from a String128: up to 3 bytes per UTF-16 unit.
constexpr int32 kEightBitCapacity = 128 * 3 + 1;
constexpr int32 kInputCapacity = 1024; // 1023 characters and the terminator
} // namespace

template <class T> bool AAXWrapperDisplayDelegate<T>::ValueText(T value, AAX_CString* text) const {
  if (!mController || !text)
    return false;
  const Vst::ParamValue normalized = mController->plainParamToNormalized(mParamID, double(value));
  Vst::String128 wide;
  std::memset(wide, 0, sizeof wide);
  if (mController->getParamStringByValue(mParamID, normalized, wide) != kResultOk)
    return false;
  wide[127] = 0; // the controller's text may fill the field without a terminator
  char8 narrow[kEightBitCapacity];
  utf16ToUtf8(wide, narrow, kEightBitCapacity);
  text->Set(narrow);
  return true;
}

template <class T> bool AAXWrapperDisplayDelegate<T>::Units(AAX_CString* units) const {
  Vst::ParameterInfo info;
  std::memset(&info, 0, sizeof info);
  if (mController->getParameterInfo(int32(mParamID), info) != kResultOk)
    return false;
  info.units[127] = 0;
  char8 narrow[kEightBitCapacity];
  utf16ToUtf8(info.units, narrow, kEightBitCapacity);
  units->Set(narrow);
  return true;
}

template <class T>
bool AAXWrapperDisplayDelegate<T>::ValueToString(T value, AAX_CString* text) const {
  if (!ValueText(value, text))
    return false;
  AAX_CString units;
  if (Units(&units))
    text->Append(units.Get());
  return true;
}

template <class T>
bool AAXWrapperDisplayDelegate<T>::ValueToString(T value, int32_t, AAX_CString* text) const {
  if (!ValueText(value, text))
    return false;
  AAX_CString units;
  if (Units(&units) && units.Length() > 0) {
    text->Append(" ");
    text->Append(units.Get());
  }
  return true;
}

template <class T>
bool AAXWrapperDisplayDelegate<T>::StringToValue(const AAX_CString& text, T* value) const {
  if (!value)
    return false;
  Vst::TChar wide[kInputCapacity];
  utf8ToUtf16(text.Get(), wide, kInputCapacity);
  Vst::ParamValue normalized = 0.0;
  if (!mController || mController->getParamValueByString(mParamID, wide, normalized) != kResultOk) {
    *value = T(0);
    return false;
  }
  *value = T(mController->normalizedParamToPlain(mParamID, normalized));
  return true;
}

template class AAXWrapperDisplayDelegate<double>;
