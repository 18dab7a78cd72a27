// The heap, thread-slot and last-error calls of the cores, on the C library: every heap block is a
// malloc block (so the sanitizers see each one), a heap is a token.
#include <windows.h>
#include <stdlib.h>

namespace {
char g_heap;
const DWORD kSlots = 64;
thread_local void* t_slots[kSlots];
DWORD g_used = 0;
thread_local DWORD t_error = 0;
} // namespace

extern "C" HANDLE HeapCreate(DWORD, SIZE_T, SIZE_T) { return &g_heap; }
extern "C" BOOL HeapDestroy(HANDLE) { return TRUE; }
extern "C" void* HeapAlloc(HANDLE, DWORD, SIZE_T bytes) { return malloc(bytes); }
extern "C" BOOL HeapFree(HANDLE, DWORD, void* block) {
    free(block);
    return TRUE;
}
extern "C" DWORD TlsAlloc(void) { return g_used < kSlots ? g_used++ : TLS_OUT_OF_INDEXES; }
extern "C" void* TlsGetValue(DWORD slot) { return slot < kSlots ? t_slots[slot] : nullptr; }
extern "C" BOOL TlsSetValue(DWORD slot, void* value) {
    if (slot >= kSlots) return FALSE;
    t_slots[slot] = value;
    return TRUE;
}
extern "C" BOOL TlsFree(DWORD slot) { return slot < kSlots; }
extern "C" DWORD GetLastError(void) { return t_error; }
extern "C" void SetLastError(DWORD error) { t_error = error; }
