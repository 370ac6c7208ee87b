#include "aax/library/AAX_CParameter.h"

#include "aax/library/AAX_IAutomationDelegate.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <type_traits>

template <class T>
AAX_CParameter<T>::AAX_CParameter(const char* identifier, const AAX_IString& name,
                                  const AAX_ITaperDelegate<T>& taper,
                                  const AAX_IDisplayDelegate<T>& display, bool automatable,
                                  T defaultValue)
    : mName(name), mAutomatable(automatable), mNumberOfSteps(128), mTaperDelegate(taper.Clone()),
      mDisplayDelegate(display.Clone()), mDefaultValue(defaultValue) {
  std::memset(mIdentifier, 0, sizeof mIdentifier);
  if (identifier)
    std::strncpy(mIdentifier, identifier, kIdentifierCapacity - 1);
  SetToDefaultValue();
}

template <class T> AAX_CParameter<T>::~AAX_CParameter() {
  if (mAutomationDelegate)
    mAutomationDelegate->UnregisterParameter(mIdentifier);
}

template <class T> void AAX_CParameter<T>::AddShortenedName(const AAX_CString& name) {
  mShortenedNames[int32_t(name.Length())] = name;
}

template <class T> const AAX_CString& AAX_CParameter<T>::ShortenedName(int32_t length) const {
  if (length < 0 || mShortenedNames.empty() || mName.Length() <= uint32_t(length))
    return mName;
  // The longest stored name that fits; when none fits, the shortest one.
  auto fitting = mShortenedNames.upper_bound(length);
  if (fitting == mShortenedNames.begin())
    return fitting->second;
  return std::prev(fitting)->second;
}

template <class T> void AAX_CParameter<T>::SetAutomationDelegate(AAX_IAutomationDelegate* d) {
  if (mAutomationDelegate)
    mAutomationDelegate->UnregisterParameter(mIdentifier);
  mAutomationDelegate = d;
  if (mAutomationDelegate)
    mAutomationDelegate->RegisterParameter(mIdentifier);
}

template <class T> void AAX_CParameter<T>::Touch() {
  if (mAutomationDelegate)
    mAutomationDelegate->PostTouchRequest(mIdentifier);
}

template <class T> void AAX_CParameter<T>::Release() {
  if (mAutomationDelegate)
    mAutomationDelegate->PostReleaseRequest(mIdentifier);
}

template <class T> void AAX_CParameter<T>::SetNormalizedValueThroughHost(double normalizedValue) {
  if (mAutomationDelegate) {
    Touch();
    mAutomationDelegate->PostSetValueRequest(mIdentifier, normalizedValue);
    Release();
    return;
  }
  mForceReport = true;
  UpdateNormalizedValue(normalizedValue);
}

template <class T> void AAX_CParameter<T>::SetNormalizedValue(double value) {
  // Quantised through the taper, so that the host sees a value the parameter can hold.
  const T real = mTaperDelegate->NormalizedToReal(value);
  SetNormalizedValueThroughHost(mTaperDelegate->RealToNormalized(real));
}

template <class T> double AAX_CParameter<T>::GetNormalizedValue() const {
  return mTaperDelegate->RealToNormalized(mValue);
}

template <class T> void AAX_CParameter<T>::SetNormalizedDefaultValue(double value) {
  mDefaultValue = mTaperDelegate->ConstrainRealValue(mTaperDelegate->NormalizedToReal(value));
}

template <class T> double AAX_CParameter<T>::GetNormalizedDefaultValue() const {
  return mTaperDelegate->RealToNormalized(mDefaultValue);
}

template <class T> void AAX_CParameter<T>::SetToDefaultValue() {
  SetNormalizedValueThroughHost(mTaperDelegate->RealToNormalized(mDefaultValue));
}

template <class T> int32_t AAX_CParameter<T>::GetStepValue() const {
  if (mNumberOfSteps < 2)
    return 0;
  const double last = double(mNumberOfSteps - 1);
  const double step = std::clamp(GetNormalizedValue() * last + 0.5, 0.0, last);
  return int32_t(step);
}

template <class T> void AAX_CParameter<T>::SetStepValue(int32_t step) {
  if (mNumberOfSteps < 2)
    return;
  SetNormalizedValue(std::clamp(double(step) / double(mNumberOfSteps - 1), 0.0, 1.0));
}

template <class T> bool AAX_CParameter<T>::GetValueString(AAX_CString* text) const {
  return text && mDisplayDelegate->ValueToString(mValue, text);
}

template <class T>
bool AAX_CParameter<T>::GetValueStringOfLength(int32_t, AAX_CString* text) const {
  return text && mDisplayDelegate->ValueToString(mValue, text);
}

template <class T>
bool AAX_CParameter<T>::GetNormalizedValueFromString(const AAX_CString& text, double* value) const {
  T real{};
  if (!value || !mDisplayDelegate->StringToValue(text, &real))
    return false;
  *value = mTaperDelegate->RealToNormalized(real);
  return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <class T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double value, AAX_CString& text) const {
  const T real = mTaperDelegate->NormalizedToReal(value);
  if (!mDisplayDelegate->ValueToString(real, &text))
    return false;
  return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <class T>
bool AAX_CParameter<T>::GetStringFromNormalizedValueOfLength(double value, int32_t maxLength,
                                                             AAX_CString& text) const {
  const T real = mTaperDelegate->NormalizedToReal(value);
  if (!mDisplayDelegate->ValueToString(real, maxLength, &text))
    return false;
  return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <class T> bool AAX_CParameter<T>::SetValueFromString(const AAX_CString& text) {
  T real{};
  if (!mDisplayDelegate->StringToValue(text, &real))
    return false;
  SetNormalizedValueThroughHost(mTaperDelegate->RealToNormalized(real));
  return true;
}

template <class T> bool AAX_CParameter<T>::GetValueAsBool(bool* value) const {
  if constexpr (std::is_same_v<T, bool>) {
    if (!value)
      return false;
    *value = mValue;
    return true;
  }
  return false;
}

template <class T> bool AAX_CParameter<T>::GetValueAsInt32(int32_t* value) const {
  if constexpr (std::is_same_v<T, int>) {
    if (!value)
      return false;
    *value = mValue;
    return true;
  }
  return false;
}

template <class T> bool AAX_CParameter<T>::GetValueAsDouble(double* value) const {
  if constexpr (std::is_same_v<T, double>) {
    if (!value)
      return false;
    *value = mValue;
    return true;
  }
  return false;
}

template <class T> template <class V> bool AAX_CParameter<T>::SetTypedValue(V value) {
  if constexpr (std::is_same_v<T, V>) {
    SetNormalizedValueThroughHost(mTaperDelegate->RealToNormalized(value));
    return true;
  }
  return false;
}

template <class T> bool AAX_CParameter<T>::SetValueWithBool(bool value) {
  return SetTypedValue(value);
}

template <class T> bool AAX_CParameter<T>::SetValueWithInt32(int32_t value) {
  return SetTypedValue(value);
}

template <class T> bool AAX_CParameter<T>::SetValueWithDouble(double value) {
  return SetTypedValue(value);
}

template <class T>
void AAX_CParameter<T>::SetTaperDelegate(AAX_ITaperDelegateBase& taper, bool keepRealValue) {
  auto* typed = dynamic_cast<AAX_ITaperDelegate<T>*>(&taper);
  if (!typed)
    return;
  const double normalized = GetNormalizedValue();
  mTaperDelegate.reset(typed->Clone());
  mForceReport = true;
  if (keepRealValue)
    SetNormalizedValueThroughHost(mTaperDelegate->RealToNormalized(mValue));
  else
    UpdateNormalizedValue(normalized);
}

template <class T> void AAX_CParameter<T>::SetDisplayDelegate(AAX_IDisplayDelegateBase& display) {
  auto* typed = dynamic_cast<AAX_IDisplayDelegate<T>*>(&display);
  if (!typed)
    return;
  mDisplayDelegate.reset(typed->Clone());
  if (mAutomationDelegate)
    mAutomationDelegate->PostCurrentValue(mIdentifier, GetNormalizedValue());
}

template <class T> void AAX_CParameter<T>::UpdateNormalizedValue(double value) {
  const T real = mTaperDelegate->NormalizedToReal(value);
  if (!mForceReport && real == mValue)
    return;
  mValue = real;
  if (mAutomationDelegate)
    mAutomationDelegate->PostCurrentValue(mIdentifier, value);
  mForceReport = false;
}

template class AAX_CParameter<double>;
template class AAX_CParameter<int>;
template class AAX_CParameter<bool>;
