// The library side of the seven ACF entry points of a plug-in bundle. The bundle's exported
// functions call these; each of them already catches every exception (0x8000FFFF).
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_VCollection;

// Fills the collection with the bundle's effects; a non-zero result fails registration.
using AAX_DescribeEffectsProc = AAX_Result (*)(AAX_VCollection& collection);

constexpr uint64_t AAX_kSDKVersion = 0x00000201007756BFull;

// Describes the effects into a collection made on the host's interface, then hands the host
// its registered-plug-in object; the collection and its descriptors are gone on return.
AAX_Result AAX_ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** registered,
                                 AAX_DescribeEffectsProc describe) noexcept;
AAX_Result AAX_ACFRegisterComponent(IACFUnknown* host, acfUInt32 index,
                                    IACFUnknown** component) noexcept;
AAX_Result AAX_ACFGetClassFactory(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid,
                                  void** factory) noexcept;
// The number of library objects alive; 0 means the bundle may be unloaded.
AAX_Result AAX_ACFCanUnloadNow(IACFUnknown* host) noexcept;
AAX_Result AAX_ACFStartup(IACFUnknown* host) noexcept;
AAX_Result AAX_ACFShutdown(IACFUnknown* host) noexcept;
AAX_Result AAX_ACFGetSDKVersion(uint64_t* version) noexcept;
