// Per-process state of the start-up code and the small services (not exported).
#pragma once
#include <memory>
#include <CxShareMemory.h>
#include <unique_res.h>

// Ends the view of the communication block and the object that maps it.
struct ShareMemoryRelease {
    void operator()(CxShareMemory* p) const;
};
using CommShareMemPtr = std::unique_ptr<CxShareMemory, ShareMemoryRelease>;

// The communication block's mapping; its view is g_pCommunicationInfo. Made by static
// construction, released by static destruction (after process detach).
extern CommShareMemPtr g_pCommShareMem;
// The existence mutex of this installation, or none; closed by static destruction.
extern win32::unique_handle g_hExistMutex;
// 1 when this process created the existence mutex.
extern int g_bFirstInstance;
