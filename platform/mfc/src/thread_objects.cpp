// The module's per-thread objects (see thread_object in afx_impl.h) and its DllMain, which
// ends them with their thread.
#include "afx_impl.h"
#include <cstdlib>
#include <mutex>

namespace afx {
namespace {

struct ThreadSlot { DWORD index; void (*destroy)(void*); };
constexpr int kMaxSlots = 8;
ThreadSlot g_slots[kMaxSlots];
int g_slotCount = 0;
std::mutex g_slotLock;

} // namespace

DWORD register_thread_slot(void (*destroy)(void*)) {
    std::lock_guard<std::mutex> hold(g_slotLock);
    DWORD index = TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES || g_slotCount == kMaxSlots) std::abort();   // a fixed, small set of kinds
    g_slots[g_slotCount++] = {index, destroy};
    return index;
}

void end_thread_objects() {
    int count;
    {
        std::lock_guard<std::mutex> hold(g_slotLock);
        count = g_slotCount;
    }
    // An object may still reach its own kind while it ends: the slot points to it until then.
    for (int i = count - 1; i >= 0; --i) {
        if (void* p = TlsGetValue(g_slots[i].index)) {
            g_slots[i].destroy(p);
            TlsSetValue(g_slots[i].index, nullptr);
        }
    }
}

// The module unloads while the process goes on (a host may load and unload the library many
// times): the unloading thread's objects end while their code is still here, and the slots go
// back to the system, which has about a thousand for a process. Other threads' objects stay
// behind, unreachable, as their memory would anyway.
void end_thread_slots() {
    end_thread_objects();
    std::lock_guard<std::mutex> hold(g_slotLock);
    for (int i = 0; i < g_slotCount; ++i) TlsFree(g_slots[i].index);
    g_slotCount = 0;
}

} // namespace afx

// The process's own end needs nothing: its memory and windows go with it.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_THREAD_DETACH) afx::end_thread_objects();
    if (reason == DLL_PROCESS_DETACH && !reserved) afx::end_thread_slots();
    return TRUE;
}
