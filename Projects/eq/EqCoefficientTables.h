#pragma once

#include <cstdint>

// Precomputed coefficient tables of the equaliser's filter kinds. The values are generated at
// build time by tools/eqtables from the filter designs there; this header fixes their layout.
//
// Each kind owns one block of doubles laid out [rate set][coefficient][entry]: one set per
// supported sample rate (kRates order), within a set one table per coefficient in target order,
// within a table the entries [Q][gain][frequency] with frequency fastest (the low shelf leads
// with its half: 48 boost entries, then 48 cut entries).
namespace eqtables {

inline constexpr int32_t kRateCount = 6;
extern const int32_t kRates[kRateCount];

inline constexpr int32_t kParametricCoefficients = 5;
inline constexpr int32_t kParametricEntries = 720;
inline constexpr int32_t kHighShelfCoefficients = 5;
inline constexpr int32_t kHighShelfEntries = 54;
inline constexpr int32_t kLowShelfCoefficients = 10;
inline constexpr int32_t kLowShelfEntries = 96;
inline constexpr int32_t kLowpassCoefficients = 8;
inline constexpr int32_t kLowpassEntries = 16;
inline constexpr int32_t kHighpassCoefficients = 8;
inline constexpr int32_t kHighpassEntries = 16;

extern const double kParametric[kRateCount * kParametricCoefficients * kParametricEntries];
extern const double kHighShelf[kRateCount * kHighShelfCoefficients * kHighShelfEntries];
extern const double kLowShelf[kRateCount * kLowShelfCoefficients * kLowShelfEntries];
extern const double kLowpass[kRateCount * kLowpassCoefficients * kLowpassEntries];
extern const double kHighpass[kRateCount * kHighpassCoefficients * kHighpassEntries];

// Index of the rate set for a sample rate: the listed rate the given rate lies within 1 Hz of
// (hosts report rates such as 47999.99 or 96000.9 for 48000 and 96000), else the 44100 set.
int32_t RateSetIndex(double sampleRate);

} // namespace eqtables
