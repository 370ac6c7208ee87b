#include "aax/library/AAX_COwnerThreadLock.h"

AAX_COwnerThreadLock::AAX_COwnerThreadLock() : mRecord(std::make_unique<Record>()) {
  if (pthread_mutex_init(&mRecord->mutex, nullptr) != 0)
    mRecord.reset();
}

AAX_COwnerThreadLock::~AAX_COwnerThreadLock() {
  if (mRecord)
    pthread_mutex_destroy(&mRecord->mutex);
}

bool AAX_COwnerThreadLock::Lock() {
  if (!mRecord)
    return false;
  const pthread_t self = pthread_self();
  if (mRecord->owned.load() && pthread_equal(mRecord->owner.load(), self))
    return false;
  pthread_mutex_lock(&mRecord->mutex);
  mRecord->owner.store(self);
  mRecord->owned.store(true);
  return true;
}

void AAX_COwnerThreadLock::Unlock() {
  if (!mRecord)
    return;
  if (!mRecord->owned.load() || !pthread_equal(mRecord->owner.load(), pthread_self()))
    return;
  mRecord->owned.store(false);
  pthread_mutex_unlock(&mRecord->mutex);
}
