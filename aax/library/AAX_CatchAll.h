// Every method an AAX host calls runs its body through AAX_CatchAll: the library signals a
// missing host interface by throwing, and no exception may reach the host.
#pragma once

#include "AAX.h"

#include <utility>

template <class Body> AAX_Result AAX_CatchAll(Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return AAX_ERROR_EXCEPTION_CAUGHT;
  }
}
