// Array pools: while a pool is open on a thread, the CArray storage that thread allocates
// is cut from shared chunks instead of one heap block each. Such storage may outlive the
// pool and be freed, grown or moved later like any other; a chunk goes back to the heap
// when the last block cut from it is freed and its pool is closed, so a pool keeps no
// freed memory for itself.
#pragma once
#include "mfclite_api.h"

struct AfxArrayPool {   // opaque: filled by AfxOpenArrayPool
    void* chunk;
    AfxArrayPool* outer;
};

// Pools nest: closing one reopens the pool that was open when it was opened.
MFCLITE_API void AfxOpenArrayPool(AfxArrayPool* pool);
MFCLITE_API void AfxCloseArrayPool(AfxArrayPool* pool);

// Opens a pool for the life of the object.
class AfxArrayPoolScope {
public:
    AfxArrayPoolScope() { AfxOpenArrayPool(&pool_); }
    AfxArrayPoolScope(const AfxArrayPoolScope&) = delete;
    AfxArrayPoolScope& operator=(const AfxArrayPoolScope&) = delete;
    ~AfxArrayPoolScope() { AfxCloseArrayPool(&pool_); }

private:
    AfxArrayPool pool_;
};
