// Array pools: while a pool is open on a thread, the CArray storage that thread allocates
// is cut from shared chunks instead of one heap block each. Such storage may outlive the
// pool and be freed, grown or moved later like any other; a chunk goes back to the heap
// when the last block cut from it is freed and its pool is closed, so a pool keeps no
// freed memory for itself.
#pragma once
#include <stddef.h>
#include "mfclite_api.h"

struct AfxArrayPool {   // opaque: filled by AfxOpenArrayPool
    void* chunk;
    AfxArrayPool* outer;
    void* (*allocChunk)(size_t);
    void (*freeChunk)(void*);
};

// Pools nest: closing one reopens the pool that was open when it was opened. The pool's
// chunks come from allocChunk (null when out of memory) and go back through freeChunk; with
// both null they are C heap blocks.
MFCLITE_API void AfxOpenArrayPool(AfxArrayPool* pool, void* (*allocChunk)(size_t) = nullptr, void (*freeChunk)(void*) = nullptr);
MFCLITE_API void AfxCloseArrayPool(AfxArrayPool* pool);

// Opens a pool for the life of the object.
class AfxArrayPoolScope {
public:
    AfxArrayPoolScope(void* (*allocChunk)(size_t) = nullptr, void (*freeChunk)(void*) = nullptr) {
        AfxOpenArrayPool(&pool_, allocChunk, freeChunk);
    }
    AfxArrayPoolScope(const AfxArrayPoolScope&) = delete;
    AfxArrayPoolScope& operator=(const AfxArrayPoolScope&) = delete;
    ~AfxArrayPoolScope() { AfxCloseArrayPool(&pool_); }

private:
    AfxArrayPool pool_;
};
