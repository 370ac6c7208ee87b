// Base types of the ACF object model that AAX hosts and plug-ins share: fixed-width integers,
// the 16-byte interface and class identifiers, and the result type of every interface call.
#pragma once

#include <cstdint>
#include <cstring>

using acfUInt32 = uint32_t;
using acfSInt32 = int32_t;
using ACFRESULT = int32_t;

// A 16-byte identifier. In memory the first three groups of the usual text form are stored
// little-endian (the layout of a Windows GUID), the last eight bytes in text order.
struct acfUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
using acfIID = acfUID;
using acfCLSID = acfUID;
static_assert(sizeof(acfUID) == 16);

// Identifiers are equal when all 16 bytes are.
inline bool operator==(const acfUID& a, const acfUID& b) {
  return std::memcmp(&a, &b, sizeof(acfUID)) == 0;
}
inline bool operator!=(const acfUID& a, const acfUID& b) {
  return !(a == b);
}

// Result codes of the object model itself.
constexpr ACFRESULT ACF_OK = 0;
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<ACFRESULT>(0x80000004u);
constexpr ACFRESULT ACF_E_POINTER = static_cast<ACFRESULT>(0x80000005u);
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<ACFRESULT>(0x8000FFFFu);

inline bool ACFSUCCEEDED(ACFRESULT result) {
  return result >= 0;
}
inline bool ACFFAILED(ACFRESULT result) {
  return result < 0;
}
