// The factory's create functions hand the host null, not an exception, when a half cannot be
// built. Allocations fail here on request through a replaced global operator new.
#include "Projects/eq/OrvaneEQController.h"
#include "Projects/eq/OrvaneEQProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
// Allocations left before the next one fails; negative: never fail.
long gAllocationsLeft = -1;
} // namespace

void* operator new(std::size_t size) {
  if (gAllocationsLeft == 0) {
    throw std::bad_alloc();
  }
  if (gAllocationsLeft > 0) {
    --gAllocationsLeft;
  }
  if (void* p = std::malloc(size ? size : 1)) {
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

template <class Create> void ExpectNullWhenAllocationsFail(Create create) {
  // Every allocation point of construction in turn fails; each gives null, none throws.
  int failed = 0;
  for (long after = 0; after < 400; ++after) {
    gAllocationsLeft = after;
    Steinberg::FUnknown* made = nullptr;
    EXPECT_NO_THROW(made = create(nullptr));
    gAllocationsLeft = -1;
    if (!made) {
      ++failed;
      continue;
    }
    made->release();
    break; // construction needs fewer allocations than `after`: it succeeded
  }
  EXPECT_GT(failed, 0);
}

TEST(OrvaneEQCreateInstance, ProcessorGivesNullWhenConstructionFails) {
  ExpectNullWhenAllocationsFail(OrvaneEQProcessor::createInstance);
}

TEST(OrvaneEQCreateInstance, ControllerGivesNullWhenConstructionFails) {
  ExpectNullWhenAllocationsFail(OrvaneEQController::createInstance);
}

} // namespace
