// The XML model's heap.
//
// The model's blocks come from a heap of its own whose first 2 MB stay committed once
// touched. The process heap hands a freed tail back to the system at once, and every page
// committed again costs a fault (about 2.8 microseconds a page under Wine, more than reading
// that page's worth of text), so each parse paid again for the memory the last document
// gave back. A document of up to a few hundred KB now reuses the kept pages; what a larger
// one needs beyond them is taken and given back as the process heap does. The heap ends
// with the module.
#include <windows.h>
#include <unique_res.h>
#include "xml_heap.h"

namespace {

const SIZE_T kKeptCommitted = 2 << 20;

HANDLE heap() {
    static const win32::unique_heap owner(HeapCreate(0, kKeptCommitted, 0));
    return owner.get();
}

} // namespace

namespace xmlheap {

void* alloc(size_t bytes) {
    HANDLE h = heap();
    return h ? HeapAlloc(h, 0, bytes ? bytes : 1) : nullptr;
}

void free(void* block) {
    if (block) HeapFree(heap(), 0, block);
}

} // namespace xmlheap
