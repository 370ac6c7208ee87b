// Running out of memory while the factory's create functions make a half: the host gets no
// object and no exception, at whatever allocation the failure comes.
#include "Projects/compressor/OrvaneCompressorController.h"
#include "Projects/compressor/OrvaneCompressorProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

using Steinberg::FUnknown;

// The replacements below allocate with malloc and free with free, which g++ cannot see
// through when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Allocation failure on demand: while gFailAllocationIn is n >= 0, the allocation after the
// next n ones throws std::bad_alloc.
namespace {
thread_local long gFailAllocationIn = -1;
}

namespace {
void* Allocate(std::size_t size) {
  if (gFailAllocationIn >= 0 && gFailAllocationIn-- == 0)
    throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}
} // namespace

// Every plain form is replaced, so that each allocation meets its own deallocation.
void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
namespace {

// Out of memory while a half is made: the host gets no object, and no exception.
TEST(CompressorCreation, AllocationFailureGivesTheHostNothing) {
  using CreateFn = FUnknown* (*)(void*);
  for (CreateFn create :
       {&OrvaneCompressorProcessor::createInstance, &OrvaneCompressorController::createInstance}) {
    bool succeeded = false;
    for (long failAt = 0; failAt < 100000 && !succeeded; failAt += failAt < 64 ? 1 : 97) {
      FUnknown* made = nullptr;
      gFailAllocationIn = failAt;
      EXPECT_NO_THROW(made = create(nullptr)) << failAt;
      gFailAllocationIn = -1;
      if (made) {
        succeeded = true;
        made->release();
      }
    }
    EXPECT_TRUE(succeeded);
  }
}
} // namespace
