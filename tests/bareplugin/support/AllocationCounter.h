#pragma once

// Counts heap allocations (operator new, and malloc / calloc / realloc outside sanitizer
// builds, whose run-time owns those) and mutex locks made by any thread while armed. The test
// binary replaces the allocation functions, so nothing can allocate past it.
namespace alloccount {

void Arm();
void Disarm();
long Allocations();
long Locks();

// Counts between construction and destruction.
class Scope {
public:
  Scope() { Arm(); }
  ~Scope() { Disarm(); }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
};

// Whether malloc and mutex locks are counted in this build (operator new always is).
bool CountsMallocAndLocks();

} // namespace alloccount
