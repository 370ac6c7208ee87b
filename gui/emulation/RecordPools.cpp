#include "gui/emulation/RecordPools.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace winemu {
namespace {

// Plain data that is never destroyed, so that a record released during unload (a font held by
// a static cache, say) finds the pools in a defined state.
struct PoolState {
  DrawingContext* contexts;
  int contextCount;
  GdiObject* objects;
  int objectCount;
  bool tornDown; // after unload, released records are freed at once
};
constinit PoolState pools = {nullptr, 0, nullptr, 0, false};

// Never destroyed, since records may come back from other statics' destructors during unload;
// built in the binary's own storage rather than on the heap, so an unloaded module leaves
// nothing behind.
std::recursive_mutex& poolLock() {
  alignas(std::recursive_mutex) static unsigned char storage[sizeof(std::recursive_mutex)];
  static std::recursive_mutex* lock = new (storage) std::recursive_mutex;
  return *lock;
}

// Empties and frees both pools when the module unloads.
struct PoolTeardown {
  ~PoolTeardown() {
    std::lock_guard<std::recursive_mutex> guard(poolLock());
    while (DrawingContext* c = pools.contexts) {
      pools.contexts = c->poolNext;
      free(c);
    }
    while (GdiObject* o = pools.objects) {
      pools.objects = o->poolNext;
      free(o);
    }
    pools.contextCount = pools.objectCount = 0;
    pools.tornDown = true;
  }
} teardown;

} // namespace

DrawingContext* takeContextRecord() {
  {
    std::lock_guard<std::recursive_mutex> guard(poolLock());
    if (DrawingContext* record = pools.contexts) {
      pools.contexts = record->poolNext;
      --pools.contextCount;
      memset(record, 0, sizeof *record);
      return record;
    }
  }
  return static_cast<DrawingContext*>(calloc(1, sizeof(DrawingContext)));
}

GdiObject* takeObjectRecord(int32_t kind) {
  GdiObject* record = nullptr;
  {
    std::lock_guard<std::recursive_mutex> guard(poolLock());
    if ((record = pools.objects) != nullptr) {
      pools.objects = record->poolNext;
      --pools.objectCount;
      memset(record, 0, sizeof *record);
    }
  }
  if (!record)
    record = static_cast<GdiObject*>(calloc(1, sizeof(GdiObject)));
  if (record)
    record->kind = kind;
  return record;
}

void returnContextRecord(DrawingContext* context) {
  memset(context, 0, sizeof *context);
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  if (pools.tornDown || pools.contextCount >= kContextPoolLimit) {
    free(context);
    return;
  }
  context->inPool = 1;
  context->poolNext = pools.contexts;
  pools.contexts = context;
  ++pools.contextCount;
}

void returnObjectRecord(GdiObject* object) {
  memset(object, 0, sizeof *object);
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  if (pools.tornDown || pools.objectCount >= kObjectPoolLimit) {
    free(object);
    return;
  }
  object->inPool = 1;
  object->poolNext = pools.objects;
  pools.objects = object;
  ++pools.objectCount;
}

int pooledContextCount() {
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  return pools.contextCount;
}

int pooledObjectCount() {
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  return pools.objectCount;
}

} // namespace winemu
