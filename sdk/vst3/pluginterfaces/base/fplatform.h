// Platform switches of the VST 3 interface declarations. This stand-in targets Linux x86-64
// with g++ or clang: the Itanium C++ ABI, no calling-convention attribute, non-COM interface
// ID byte order.
#pragma once

#define SMTG_OS_LINUX 1
#define SMTG_OS_MACOS 0
#define SMTG_OS_WINDOWS 0
#define SMTG_OS_OSX 0
#define SMTG_CPU_X86_64 1

#define COM_COMPATIBLE 0

// Interface methods use the platform's default calling convention on Linux.
#define PLUGIN_API

#define SMTG_OVERRIDE override
#define SMTG_CONSTEXPR constexpr
#define SMTG_CONSTEXPR14 constexpr
#define SMTG_NOEXCEPT noexcept
#define SMTG_CPP11 1
#define SMTG_CPP11_STDLIBSUPPORT 1
#define SMTG_CPP14 1
#define SMTG_CPP17 1

// Marks the few functions a bundle exports; everything else is hidden at build level.
#define SMTG_EXPORT_SYMBOL __attribute__((visibility("default")))
