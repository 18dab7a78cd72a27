// CArray storage, from the heap or from the thread's open pool.
//
// Every block has an 8-byte header in front whose first word names the pool chunk it was
// cut from, or null for a heap block of its own. A chunk's `live` counts its blocks plus
// one while a pool cuts from it.
#include <windows.h>
#include <stdlib.h>
#include <afxpool.h>
#include <afxtempl.h>

namespace {

struct alignas(8) Chunk {
    long live;
    size_t used;
    void (*release)(void*);   // the opener's freeChunk, or null for free
};

const size_t kHeader = 8;
const size_t kChunkBytes = 64 * 1024;
const size_t kLargest = kChunkBytes / 8;   // larger blocks are heap blocks of their own

// The pool open on this thread lives in a Win32 thread slot: every array allocation asks
// for it, and the runtime's emulated thread_local costs several calls and a lock each time.
struct OpenSlot {
    const DWORD index = TlsAlloc();   // TLS_OUT_OF_INDEXES: no pools, heap blocks only
    OpenSlot() = default;
    OpenSlot(const OpenSlot&) = delete;
    OpenSlot& operator=(const OpenSlot&) = delete;
    ~OpenSlot() {
        if (index != TLS_OUT_OF_INDEXES) TlsFree(index);
    }
};

DWORD open_slot() {
    static const OpenSlot slot;
    return slot.index;
}

AfxArrayPool* open_pool() {
    const DWORD error = GetLastError();   // TlsGetValue clears it; the caller may still want it
    void* pool = TlsGetValue(open_slot());
    SetLastError(error);
    return static_cast<AfxArrayPool*>(pool);
}

void drop(Chunk* c) {
    if (!c || --c->live > 0) return;
    if (c->release) c->release(c);
    else free(c);
}

} // namespace

void AfxOpenArrayPool(AfxArrayPool* pool, void* (*allocChunk)(size_t), void (*freeChunk)(void*)) {
    pool->chunk = nullptr;
    pool->allocChunk = allocChunk && freeChunk ? allocChunk : nullptr;
    pool->freeChunk = allocChunk && freeChunk ? freeChunk : nullptr;
    pool->outer = open_pool();
    TlsSetValue(open_slot(), pool);
}

void AfxCloseArrayPool(AfxArrayPool* pool) {
    drop(static_cast<Chunk*>(pool->chunk));
    pool->chunk = nullptr;
    TlsSetValue(open_slot(), pool->outer);
}

void* AfxArrayAlloc(size_t bytes) {
    const size_t need = (kHeader + (bytes ? bytes : 1) + 7) & ~size_t(7);
    if (need < bytes) return nullptr;
    AfxArrayPool* pool = open_pool();
    Chunk* c = nullptr;
    char* block;
    if (pool && need <= kLargest) {
        c = static_cast<Chunk*>(pool->chunk);
        if (!c || c->used + need > kChunkBytes) {
            const size_t bytes = sizeof(Chunk) + kChunkBytes;
            auto* fresh = static_cast<Chunk*>(pool->allocChunk ? pool->allocChunk(bytes) : malloc(bytes));
            if (!fresh) return nullptr;
            fresh->live = 1;
            fresh->used = 0;
            fresh->release = pool->freeChunk;
            drop(c);
            pool->chunk = c = fresh;
        }
        block = reinterpret_cast<char*>(c + 1) + c->used;
        c->used += need;
        ++c->live;
    } else {
        block = static_cast<char*>(malloc(need));
        if (!block) return nullptr;
    }
    *reinterpret_cast<Chunk**>(block) = c;
    return block + kHeader;
}

void AfxArrayFree(void* p) {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    if (Chunk* c = *reinterpret_cast<Chunk**>(block)) drop(c);
    else free(block);
}
