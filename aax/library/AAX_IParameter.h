// One parameter as the effect-parameters object and the host see it: identity, names, value
// and default in normalised and real form, steps, text conversion and edit gestures.
#pragma once

#include "AAX.h"
#include "aax/library/AAX_CString.h"

class AAX_IAutomationDelegate;
class AAX_ITaperDelegateBase;
class AAX_IDisplayDelegateBase;

// Parameter types of SetType and GetType.
enum AAX_EParameterType : int32_t {
  AAX_eParameterType_Discrete = 0,
  AAX_eParameterType_Continuous = 1,
};

class AAX_IParameter {
public:
  virtual ~AAX_IParameter() = default;

  virtual AAX_CParamID Identifier() const = 0;
  virtual void SetName(const AAX_CString& name) = 0;
  virtual const AAX_CString& Name() const = 0;
  virtual void AddShortenedName(const AAX_CString& name) = 0;
  virtual const AAX_CString& ShortenedName(int32_t length) const = 0;
  virtual void ClearShortenedNames() = 0;
  virtual bool Automatable() const = 0;
  virtual void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;
  virtual void Touch() = 0;
  virtual void Release() = 0;

  virtual void SetNormalizedValue(double value) = 0;
  virtual double GetNormalizedValue() const = 0;
  virtual void SetNormalizedDefaultValue(double value) = 0;
  virtual double GetNormalizedDefaultValue() const = 0;
  virtual void SetToDefaultValue() = 0;
  virtual void SetNumberOfSteps(int32_t steps) = 0;
  virtual int32_t GetNumberOfSteps() const = 0;
  virtual int32_t GetStepValue() const = 0;
  virtual void SetStepValue(int32_t step) = 0;

  virtual bool GetValueString(AAX_CString* text) const = 0;
  virtual bool GetValueStringOfLength(int32_t maxLength, AAX_CString* text) const = 0;
  virtual bool GetNormalizedValueFromString(const AAX_CString& text, double* value) const = 0;
  virtual bool GetStringFromNormalizedValue(double value, AAX_CString& text) const = 0;
  virtual bool GetStringFromNormalizedValueOfLength(double value, int32_t maxLength,
                                                    AAX_CString& text) const = 0;
  virtual bool SetValueFromString(const AAX_CString& text) = 0;

  virtual bool GetValueAsBool(bool* value) const = 0;
  virtual bool GetValueAsInt32(int32_t* value) const = 0;
  virtual bool GetValueAsFloat(float* value) const = 0;
  virtual bool GetValueAsDouble(double* value) const = 0;
  virtual bool GetValueAsString(AAX_IString* value) const = 0;
  virtual bool SetValueWithBool(bool value) = 0;
  virtual bool SetValueWithInt32(int32_t value) = 0;
  virtual bool SetValueWithFloat(float value) = 0;
  virtual bool SetValueWithDouble(double value) = 0;
  virtual bool SetValueWithString(const AAX_IString& value) = 0;

  virtual void SetType(int32_t type) = 0;
  virtual int32_t GetType() const = 0;
  virtual void SetHostAttribute(int32_t attribute) = 0;
  virtual int32_t GetHostAttribute() const = 0;
  // A delegate of another value type than the parameter's is refused.
  virtual void SetTaperDelegate(AAX_ITaperDelegateBase& taper, bool keepRealValue) = 0;
  virtual void SetDisplayDelegate(AAX_IDisplayDelegateBase& display) = 0;

  // The host's confirmation of a value.
  virtual void UpdateNormalizedValue(double value) = 0;
};
