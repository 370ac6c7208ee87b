// Fixed-size scalar types and limits shared by every VST 3 interface.
#pragma once

#include "pluginterfaces/base/fplatform.h"

#include <cstdint>

namespace Steinberg {

using int8 = char;
using uint8 = unsigned char;
using uchar = unsigned char;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;
using TSize = int64;

// One byte on the wire: 0 false, anything else true.
using TBool = uint8;

using char8 = char;
using char16 = char16_t;
using tchar = char8;

using CStringA = const char8*;
using CStringW = const char16*;
using CString = const char8*;
// Interface and class IDs travel as pointers to 16-byte arrays of this type.
using FIDString = const char8*;

// Coordinates of views and menus.
using UCoord = int32;

inline constexpr int32 kMaxLong = 0x7fffffff;
inline constexpr int32 kMinLong = -0x7fffffff - 1;
inline constexpr int32 kMaxInt32 = kMaxLong;
inline constexpr int32 kMinInt32 = kMinLong;
inline constexpr uint32 kMaxInt32u = 0xffffffffu;
inline constexpr int64 kMaxInt64 = 0x7fffffffffffffffLL;
inline constexpr int64 kMinInt64 = -0x7fffffffffffffffLL - 1;
inline constexpr uint64 kMaxInt64u = 0xffffffffffffffffULL;
inline constexpr float kMaxFloat = 3.40282346638528860e+38f;
inline constexpr double kMaxDouble = 1.7976931348623158e+308;

static_assert(sizeof(char16) == 2, "UTF-16 code unit");

} // namespace Steinberg
