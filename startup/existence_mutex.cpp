// Existence mutex and the suite-presence query.
#include <windows.h>
#include <BaseKit.h>
#include "SharedServices.h"
#include "existence_mutex.h"
#include "module_state.h"
#include "shared_mutex.h"

CString ExistenceMutexName(const wchar_t* exeFolder) {
    CString folder(exeFolder);
    folder.Replace(L'\\', L'_');
    CString name;
    name.Format(L"vX_%s_eXiSTmUtEx", folder.GetString());
    return name;
}

void ClaimExistenceMutex() {
    unsigned short folder[256] = {};
    GetCurrentExecPath(folder, 255);
    const CString name = ExistenceMutexName(reinterpret_cast<wchar_t*>(folder));

    SharedMutex m = OpenSharedMutex(name);
    g_hExistMutex = std::move(m.handle);
    if (!g_hExistMutex || m.existed) {
        g_bFirstInstance = 0;
        return;
    }
    g_bFirstInstance = 1;
    if (g_pCommunicationInfo && g_pCommShareMem)
        g_pCommunicationInfo->dwHead = g_pCommShareMem->m_dwProcessId;
    g_szWebInstallCmdLine[0] = 0;
    // The loading thread owns the mutex until the process ends; other processes then
    // see it abandoned.
    WaitForSingleObject(g_hExistMutex.get(), INFINITE);
}

int CheckSystemExistFlag() {
    if (!g_hExistMutex) return 0;
    if (g_bFirstInstance) return 1;
    if (WaitForSingleObject(g_hExistMutex.get(), 0) == WAIT_TIMEOUT) return 1;
    // The owner has gone (or the wait failed). A successful wait leaves this thread as
    // the owner; closing the handle keeps it owned for the other processes until this
    // thread ends.
    g_hExistMutex.reset();
    return 0;
}
