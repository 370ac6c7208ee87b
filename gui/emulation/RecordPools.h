// Free pools of released context and object records, so that the raster library's frequent
// create, select and delete cycles do not allocate. One recursive mutex, made on first use,
// guards both; both pools are emptied when the module unloads.
#pragma once

#include "gui/emulation/DrawingRecords.h"

namespace winemu {

constexpr int kContextPoolLimit = 100;
constexpr int kObjectPoolLimit = 200;

// A cleared record, from the pool or newly allocated zero-filled; null when memory runs out.
DrawingContext* takeContextRecord();
GdiObject* takeObjectRecord(int32_t kind);

// Clears the record and pools it, or frees it when the pool is full.
void returnContextRecord(DrawingContext* context);
void returnObjectRecord(GdiObject* object);

int pooledContextCount();
int pooledObjectCount();

} // namespace winemu
