#include "framework/IParam.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/StringUtils.h"

namespace {

// Copies a name-sized text, cut so that the terminator always fits.
void CopyText(char (&dst)[IParam::kMaxNameLen], const char* src) {
  const size_t n = src ? strnlen(src, IParam::kMaxNameLen - 1) : 0;
  if (n)
    std::memcpy(dst, src, n);
  dst[n] = 0;
}

// Truncation toward zero that stays defined for values outside the int range.
int32_t TruncToInt(double v) {
  if (std::isnan(v))
    return 0;
  return int32_t(std::clamp(std::trunc(v), double(INT_MIN), double(INT_MAX)));
}

int DecimalsOf(double step) {
  int p = 0;
  for (double x = step; p < 6 && x != std::floor(x); x *= 10.0)
    ++p;
  return p;
}

} // namespace

void IParam::InitDouble(const char* name, const char* label, const char* group, bool readOnly,
                        double defaultVal, double minVal, double maxVal, double step,
                        double shape) {
  if (mType == kTypeNone)
    mType = kTypeDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mValue = defaultVal;
  mMin = minVal;
  mMax = std::max(maxVal, minVal + step);
  mStep = step;
  mDefault = defaultVal;
  mReadOnly = readOnly;
  if (readOnly)
    mCanAutomate = false;
  mDisplayPrecision = DecimalsOf(step);
  SetShape(shape);
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group,
                      bool readOnly) {
  if (mType == kTypeNone)
    mType = kTypeBool;
  InitDouble(name, label, group, readOnly, defaultVal ? 1.0 : 0.0, 0.0, 1.0, 1.0, 1.0);
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int count, const char* label,
                      const char* group, bool readOnly) {
  if (mType == kTypeNone)
    mType = kTypeEnum;
  InitDouble(name, label, group, readOnly, defaultVal, 0.0, double(count) - 1.0, 1.0, 1.0);
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label,
                     const char* group, bool readOnly) {
  if (mType == kTypeNone)
    mType = kTypeInt;
  InitDouble(name, label, group, readOnly, defaultVal, minVal, maxVal, 1.0, 1.0);
}

// Only a positive finite exponent keeps the mapping monotonic and defined at 0; 0.0 means
// "keep the current shape".
void IParam::SetShape(double shape) {
  if (shape > 0.0 && std::isfinite(shape))
    mShape = shape;
}

void IParam::SetDisplayText(int value, const char* text) {
  DisplayText entry{};
  entry.value = value;
  CopyText(entry.text, text);
  mDisplayTexts.Add(entry);
}

void IParam::AddBreakPoint(double normalized, double value) {
  auto at = std::find_if(mBreakPoints.begin(), mBreakPoints.end(),
                         [&](const BreakPoint& p) { return p.normalized >= normalized; });
  mBreakPoints.insert(at, BreakPoint{normalized, value});
}

// x lies in [0, 1]. Outside the span of the points the end points hold.
double IParam::MapNormalized(double x) const {
  if (mBreakPoints.empty())
    return mMin + (mMax - mMin) * std::pow(x, mShape);
  size_t i = 0;
  while (i < mBreakPoints.size() && x > mBreakPoints[i].normalized)
    ++i;
  if (i == mBreakPoints.size())
    return mBreakPoints.back().value;
  const BreakPoint& p = mBreakPoints[i];
  if (x == p.normalized || i == 0)
    return p.value;
  const BreakPoint& prev = mBreakPoints[i - 1];
  const double span = p.normalized - prev.normalized;
  if (span == 0.0)
    return p.value;
  return prev.value + (x - prev.normalized) * (p.value - prev.value) / span;
}

// plain lies in [min, max].
double IParam::MapPlain(double plain) const {
  if (mBreakPoints.empty()) {
    if (!(mMax > mMin))
      return 0.0;
    return std::pow((plain - mMin) / (mMax - mMin), 1.0 / mShape);
  }
  size_t i = 0;
  while (i < mBreakPoints.size() && plain > mBreakPoints[i].value)
    ++i;
  if (i == mBreakPoints.size())
    return mBreakPoints.back().normalized;
  const BreakPoint& p = mBreakPoints[i];
  if (plain == p.value || i == 0)
    return p.normalized;
  const BreakPoint& prev = mBreakPoints[i - 1];
  const double span = p.value - prev.value;
  if (span == 0.0)
    return p.normalized;
  return prev.normalized + (plain - prev.value) * (p.normalized - prev.normalized) / span;
}

double IParam::FromNormalized(double x) const {
  if (std::isnan(x))
    return mValue;
  return MapNormalized(std::clamp(x, 0.0, 1.0));
}

double IParam::PlainForNormalized(double x) const {
  if (std::isnan(x))
    return mValue;
  double plain = FromNormalized(x);
  if (mType != kTypeDouble && mStep > 0.0)
    plain = std::floor(plain / mStep + 0.5) * mStep;
  return std::clamp(plain, mMin, std::max(mMin, mMax));
}

void IParam::SetNormalized(double x) {
  if (!std::isnan(x))
    mValue = PlainForNormalized(x);
}

double IParam::ToNormalized(double plain) const {
  if (std::isnan(plain))
    plain = mValue;
  if (std::isnan(plain))
    return 0.0;
  return MapPlain(std::clamp(plain, mMin, std::max(mMin, mMax)));
}

double IParam::ToNormalizedFromString(const char* text) const {
  return ToNormalized(std::atof(text ? text : ""));
}

bool IParam::ParseDisplayString(const char* text, double* normalized) const {
  if (!text || !normalized)
    return false;
  char trimmed[kDisplaySize];
  while (IsWhitespace(*text))
    ++text;
  size_t n = strnlen(text, sizeof trimmed - 1);
  while (n > 0 && IsWhitespace(text[n - 1]))
    --n;
  std::memcpy(trimmed, text, n);
  trimmed[n] = 0;

  int textValue = 0;
  if (MapDisplayText(trimmed, &textValue)) {
    *normalized = ToNormalized(textValue);
    return true;
  }

  char* end = nullptr;
  double v = std::strtod(trimmed, &end);
  if (end == trimmed || !std::isfinite(v))
    return false;
  while (IsWhitespace(*end))
    ++end;
  if (*end && (!mLabel[0] || std::strcmp(end, mLabel) != 0))
    return false;
  *normalized = ToNormalized(mNegateDisplay ? -v : v);
  return true;
}

void IParam::GetDisplayForHost(bool isNormalized, char* out, bool withDisplayText, double v,
                               int outSize) const {
  if (!out || outSize < 1)
    return;
  if (isNormalized)
    v = PlainForNormalized(v);
  else if (std::isnan(v))
    v = mValue;

  if (withDisplayText) {
    const DisplayText* entry = FindDisplayText(TruncToInt(v));
    if (entry && entry->text[0]) {
      std::snprintf(out, size_t(outSize), "%s", entry->text);
      return;
    }
  }
  const double shown = mNegateDisplay ? -v : v;
  if (mDisplayPrecision == 0)
    std::snprintf(out, size_t(outSize), "%d", TruncToInt(shown));
  else
    std::snprintf(out, size_t(outSize), "%.*f", mDisplayPrecision, shown);
}

const IParam::DisplayText* IParam::FindDisplayText(int value) const {
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i) {
    if (texts[i].value == value)
      return &texts[i];
  }
  return nullptr;
}

const char* IParam::GetDisplayText(int value) const {
  const DisplayText* entry = FindDisplayText(value);
  return entry ? entry->text : "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* valueOut) const {
  if (idx < 0 || idx >= mDisplayTexts.GetSize())
    return "";
  const DisplayText& entry = mDisplayTexts.Get()[idx];
  if (valueOut)
    *valueOut = entry.value;
  return entry.text;
}

bool IParam::MapDisplayText(const char* text, int* valueOut) const {
  if (!text)
    return false;
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i) {
    if (std::strcmp(texts[i].text, text) == 0) {
      if (valueOut)
        *valueOut = texts[i].value;
      return true;
    }
  }
  return false;
}

const char* IParam::GetLabelForHost() const {
  const DisplayText* entry = FindDisplayText(TruncToInt(mValue));
  return entry && entry->text[0] ? "" : mLabel;
}

void IParam::GetBounds(double* minOut, double* maxOut) const {
  if (minOut)
    *minOut = mMin;
  if (maxOut)
    *maxOut = mMax;
}

double IParam::DBToAmp() const {
  return std::exp(mValue * 0.1151292546497);
}
