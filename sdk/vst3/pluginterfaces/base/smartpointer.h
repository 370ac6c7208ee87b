// Owning pointers to reference-counted interfaces.
#pragma once

#include <utility>

namespace Steinberg {

// Holds one reference to an interface. Constructed from a raw pointer it adds a reference of
// its own (the pointer stays the caller's); owned() adopts a reference the caller already has.
template <class I> class IPtr {
public:
  IPtr() = default;
  IPtr(I* ptr, bool addRef = true) : ptr(ptr) {
    if (ptr && addRef)
      ptr->addRef();
  }
  IPtr(const IPtr& other) : IPtr(other.ptr, true) {}
  template <class T> IPtr(const IPtr<T>& other) : IPtr(other.get(), true) {}
  IPtr(IPtr&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
  ~IPtr() { reset(); }

  IPtr& operator=(const IPtr& other) { return *this = other.ptr; }
  IPtr& operator=(IPtr&& other) noexcept {
    if (this != &other) {
      I* taken = std::exchange(other.ptr, nullptr);
      reset();
      ptr = taken;
    }
    return *this;
  }
  IPtr& operator=(I* other) {
    reset(other);
    return *this;
  }

  // Drops the held reference and holds `other` instead (adding a reference of its own).
  void reset(I* other = nullptr) {
    if (other)
      other->addRef();
    if (ptr)
      ptr->release();
    ptr = other;
  }

  I* get() const { return ptr; }
  I* operator->() const { return ptr; }
  operator I*() const { return ptr; }

  // Hands the held reference to the caller.
  I* take() { return std::exchange(ptr, nullptr); }

  template <class T> static IPtr<T> adopt(T* ptr) { return IPtr<T>(ptr, false); }

protected:
  I* ptr = nullptr;
};

// An IPtr for an object just created with its one reference: the IPtr takes that reference.
template <class I> class OPtr : public IPtr<I> {
public:
  OPtr(I* ptr) : IPtr<I>(ptr, false) {}
  OPtr(const IPtr<I>& other) : IPtr<I>(other) {}
  OPtr() = default;
  OPtr& operator=(I* other) {
    IPtr<I>::operator=(other);
    if (other)
      other->release();
    return *this;
  }
};

// Adopts the reference the caller owns.
template <class I> IPtr<I> owned(I* ptr) {
  return IPtr<I>(ptr, false);
}

// Adds a reference of its own.
template <class I> IPtr<I> shared(I* ptr) {
  return IPtr<I>(ptr, true);
}

} // namespace Steinberg
