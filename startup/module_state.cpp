// Static construction and destruction of the per-process start-up state.
//
// Defined in one file so that the order is fixed: the communication block is mapped
// first, and at unload the existence mutex is closed before the block is released.
#include "module_state.h"
#include "SharedState.h"

void ShareMemoryRelease::operator()(CxShareMemory* p) const {
    g_pCommunicationInfo = nullptr;
    p->Unlock();
    delete p;
}

namespace {

const wchar_t kCommBlockName[] = L"** Veranox [Communication INFO] Data... **";

CommShareMemPtr open_comm_block() {
    CommShareMemPtr block(new CxShareMemory(kCommBlockName, sizeof(COMMUNICATION_INFO_DATA), 0, 1));
    g_pCommunicationInfo = static_cast<COMMUNICATION_INFO_DATA*>(block->Lock());
    return block;
}

} // namespace

CommShareMemPtr g_pCommShareMem(open_comm_block());
win32::unique_handle g_hExistMutex;
int g_bFirstInstance = 0;
