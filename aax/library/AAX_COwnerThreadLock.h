// A mutex that remembers its owner thread, so that a thread already holding it can enter again
// without blocking. There is no nesting count: Lock answers false to the owner, and only a
// caller whose Lock answered true unlocks.
#pragma once

#include <pthread.h>

#include <atomic>
#include <memory>

class AAX_COwnerThreadLock {
public:
  AAX_COwnerThreadLock();
  ~AAX_COwnerThreadLock();
  AAX_COwnerThreadLock(const AAX_COwnerThreadLock&) = delete;
  AAX_COwnerThreadLock& operator=(const AAX_COwnerThreadLock&) = delete;

  // False when the lock is unusable or the calling thread already owns it.
  bool Lock();
  // Does nothing unless the calling thread owns the lock.
  void Unlock();

private:
  // The owner fields are atomic because threads that do not hold the mutex read them to find
  // out whether they already own it.
  struct Record {
    std::atomic<pthread_t> owner{};
    std::atomic<bool> owned{false};
    pthread_mutex_t mutex;
  };
  // Dropped when the mutex cannot be initialised; every operation then does nothing.
  std::unique_ptr<Record> mRecord;
};

// Holds the lock for a scope when it could take it.
class AAX_StLock_Guard {
public:
  explicit AAX_StLock_Guard(AAX_COwnerThreadLock& lock) : mLock(lock), mLocked(lock.Lock()) {}
  ~AAX_StLock_Guard() {
    if (mLocked)
      mLock.Unlock();
  }
  AAX_StLock_Guard(const AAX_StLock_Guard&) = delete;
  AAX_StLock_Guard& operator=(const AAX_StLock_Guard&) = delete;

private:
  AAX_COwnerThreadLock& mLock;
  bool mLocked;
};
