// Where the XML model's records, texts and chunks live.
#pragma once
#include <stddef.h>

namespace xmlheap {
void* alloc(size_t bytes);   // null when out of memory
void free(void* block);      // null is fine
}
