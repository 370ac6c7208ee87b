#include "AllocationCounter.h"

#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_SANITIZED 1
#endif
#endif

#ifndef ORVANE_SANITIZED
// glibc's own entry points, so the replacements need no lookup that could itself allocate.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
#endif

namespace {
std::atomic<bool> gArmed{false};

// operator new counts once, not again through malloc.
void* RawAlloc(std::size_t n) {
#ifdef ORVANE_SANITIZED
  return std::malloc(n);
#else
  return __libc_malloc(n);
#endif
}
std::atomic<long> gAllocations{0};
std::atomic<long> gLocks{0};

void Count() {
  if (gArmed.load(std::memory_order_relaxed))
    gAllocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

namespace alloccount {
void Arm() {
  gAllocations = 0;
  gLocks = 0;
  gArmed = true;
}
void Disarm() {
  gArmed = false;
}
long Allocations() {
  return gAllocations.load();
}
long Locks() {
  return gLocks.load();
}
bool CountsMallocAndLocks() {
#ifdef ORVANE_SANITIZED
  return false;
#else
  return true;
#endif
}
} // namespace alloccount

void* operator new(std::size_t n) {
  Count();
  if (void* p = RawAlloc(n ? n : 1))
    return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  Count();
  if (void* p = RawAlloc(n ? n : 1))
    return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  Count();
  return RawAlloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  Count();
  return RawAlloc(n ? n : 1);
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

#ifndef ORVANE_SANITIZED
extern "C" void* malloc(size_t n) {
  Count();
  return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t size) {
  Count();
  return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, size_t n) {
  Count();
  return __libc_realloc(p, n);
}

// libc's own lock under its internal name (a versioned reference, so no lookup is needed).
extern "C" int RealMutexLock(pthread_mutex_t*);
__asm__(".symver RealMutexLock,__pthread_mutex_lock@GLIBC_2.2.5");

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
  if (gArmed.load(std::memory_order_relaxed))
    gLocks.fetch_add(1, std::memory_order_relaxed);
  return RealMutexLock(mutex);
}
#endif
