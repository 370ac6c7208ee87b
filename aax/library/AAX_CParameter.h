// A parameter the AAX host sees, of value type double, int or bool. It owns a taper delegate
// (real value <-> normalised value) and a display delegate (value <-> text). While the host's
// automation delegate is attached, value changes from the plug-in side are only posted to the
// host, which confirms them later through UpdateNormalizedValue; without one they apply at once.
#pragma once

#include "aax/library/AAX_CString.h"
#include "aax/library/AAX_IDisplayDelegate.h"
#include "aax/library/AAX_IParameter.h"
#include "aax/library/AAX_ITaperDelegate.h"

#include <map>
#include <memory>

template <class T> class AAX_CParameter : public AAX_IParameter {
public:
  static constexpr int kIdentifierCapacity = 32;

  AAX_CParameter(const char* identifier, const AAX_IString& name,
                 const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                 bool automatable, T defaultValue);
  ~AAX_CParameter() override;
  AAX_CParameter(const AAX_CParameter&) = delete;
  AAX_CParameter& operator=(const AAX_CParameter&) = delete;

  AAX_CParamID Identifier() const override { return mIdentifier; }
  void SetName(const AAX_CString& name) override { mName = name; }
  const AAX_CString& Name() const override { return mName; }
  void AddShortenedName(const AAX_CString& name) override;
  const AAX_CString& ShortenedName(int32_t length) const override;
  void ClearShortenedNames() override { mShortenedNames.clear(); }
  bool Automatable() const override { return mAutomatable; }
  void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override;
  void Touch() override;
  void Release() override;

  void SetNormalizedValue(double value) override;
  double GetNormalizedValue() const override;
  void SetNormalizedDefaultValue(double value) override;
  double GetNormalizedDefaultValue() const override;
  void SetToDefaultValue() override;
  void SetNumberOfSteps(int32_t steps) override { mNumberOfSteps = steps; }
  int32_t GetNumberOfSteps() const override { return mNumberOfSteps; }
  int32_t GetStepValue() const override;
  void SetStepValue(int32_t step) override;

  bool GetValueString(AAX_CString* text) const override;
  bool GetValueStringOfLength(int32_t maxLength, AAX_CString* text) const override;
  bool GetNormalizedValueFromString(const AAX_CString& text, double* value) const override;
  bool GetStringFromNormalizedValue(double value, AAX_CString& text) const override;
  bool GetStringFromNormalizedValueOfLength(double value, int32_t maxLength,
                                            AAX_CString& text) const override;
  bool SetValueFromString(const AAX_CString& text) override;

  bool GetValueAsBool(bool* value) const override;
  bool GetValueAsInt32(int32_t* value) const override;
  bool GetValueAsFloat(float*) const override { return false; }
  bool GetValueAsDouble(double* value) const override;
  bool GetValueAsString(AAX_IString*) const override { return false; }
  bool SetValueWithBool(bool value) override;
  bool SetValueWithInt32(int32_t value) override;
  bool SetValueWithFloat(float) override { return false; }
  bool SetValueWithDouble(double value) override;
  bool SetValueWithString(const AAX_IString&) override { return false; }

  void SetType(int32_t type) override { mType = type; }
  int32_t GetType() const override { return mType; }
  void SetHostAttribute(int32_t attribute) override { mHostAttribute = attribute; }
  int32_t GetHostAttribute() const override { return mHostAttribute; }
  void SetTaperDelegate(AAX_ITaperDelegateBase& taper, bool keepRealValue) override;
  void SetDisplayDelegate(AAX_IDisplayDelegateBase& display) override;

  void UpdateNormalizedValue(double value) override;

  T GetValue() const { return mValue; }
  T GetDefaultValue() const { return mDefaultValue; }

private:
  // Posts the request to the host, or applies it at once without an automation delegate.
  void SetNormalizedValueThroughHost(double normalizedValue);
  template <class V> bool SetTypedValue(V value);

  char mIdentifier[kIdentifierCapacity];
  AAX_CString mName;
  std::map<int32_t, AAX_CString> mShortenedNames;
  bool mAutomatable;
  int32_t mNumberOfSteps;
  int32_t mType = AAX_eParameterType_Continuous;
  int32_t mHostAttribute = 0;
  std::unique_ptr<AAX_ITaperDelegate<T>> mTaperDelegate;
  std::unique_ptr<AAX_IDisplayDelegate<T>> mDisplayDelegate;
  AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
  bool mForceReport = true;
  T mValue{};
  T mDefaultValue;
};

extern template class AAX_CParameter<double>;
extern template class AAX_CParameter<int>;
extern template class AAX_CParameter<bool>;
