#include "gui/emulation/RecordPools.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace winemu {
namespace {

struct Pools {
  DrawingContext* contexts = nullptr;
  int contextCount = 0;
  GdiObject* objects = nullptr;
  int objectCount = 0;

  ~Pools() {
    while (contexts) {
      DrawingContext* next = contexts->poolNext;
      free(contexts);
      contexts = next;
    }
    while (objects) {
      GdiObject* next = objects->poolNext;
      free(objects);
      objects = next;
    }
  }
};

std::recursive_mutex& poolLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

Pools& pools() {
  static Pools instance; // emptied and freed at unload
  return instance;
}

} // namespace

DrawingContext* takeContextRecord() {
  {
    std::lock_guard<std::recursive_mutex> guard(poolLock());
    Pools& p = pools();
    if (DrawingContext* record = p.contexts) {
      p.contexts = record->poolNext;
      --p.contextCount;
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
    Pools& p = pools();
    if ((record = p.objects) != nullptr) {
      p.objects = record->poolNext;
      --p.objectCount;
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
  Pools& p = pools();
  if (p.contextCount >= kContextPoolLimit) {
    free(context);
    return;
  }
  context->inPool = 1;
  context->poolNext = p.contexts;
  p.contexts = context;
  ++p.contextCount;
}

void returnObjectRecord(GdiObject* object) {
  memset(object, 0, sizeof *object);
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  Pools& p = pools();
  if (p.objectCount >= kObjectPoolLimit) {
    free(object);
    return;
  }
  object->inPool = 1;
  object->poolNext = p.objects;
  p.objects = object;
  ++p.objectCount;
}

int pooledContextCount() {
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  return pools().contextCount;
}

int pooledObjectCount() {
  std::lock_guard<std::recursive_mutex> guard(poolLock());
  return pools().objectCount;
}

} // namespace winemu
