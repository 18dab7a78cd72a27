// The worker and dispatcher threads of the process, and the probe.
#include <winsock2.h>
#include <windows.h>
#include <process.h>
#include <stdarg.h>
#include <BaseKit.h>
#include "net_package.h"
#include "net_state.h"

NetState& Net() {
    static NetState state;
    return state;
}

void NetTrace(const char* /*fmt*/, ...) {}

CurrentView CurrentConnector() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    CurrentView v;
    if (n.current) {
        v.cancelled = n.current->m_bUserCancel;
        v.progress = n.current->m_pfnProgress;
    }
    return v;
}

namespace {

// Takes a queued package into a fresh block; false when none came within the wait.
bool take(CxSysMsgQueue& queue, CCommandNetBlk& block, DWORD waitMs = 500) {
    MSGQUEUE_INFO info{};
    void* message = queue.GetMessage(waitMs, &info, 1);
    if (!message) return false;
    UnpackNetBlk(message, info.dwSize, block);
    CxSysMsgQueue::FreeMessage(message);
    return true;
}

unsigned __stdcall dispatcher_thread(void* arg) {
    auto* results = static_cast<CxSysMsgQueue*>(arg);
    NetState& n = Net();
    while (!n.dispatcherStop) {
        CCommandNetBlk block;
        if (!take(*results, block)) continue;   // the wait itself is the idle pause
        // Synchronous, and only to a window that still exists; its file stays either way.
        if (IsWindow(block.hWnd)) SendMessageW(block.hWnd, block.nMsgID, 0, reinterpret_cast<LPARAM>(&block));
    }
    return 0;
}

// The connector whose status window hears the idle probes: the oldest ready one.
CNetConnector* reporter() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    return n.connectors.empty() ? nullptr : n.connectors.front();
}

unsigned __stdcall worker_thread(void*) {
    NetState& n = Net();
    CxSysMsgQueue requests(L"NET_RECV_QUEUE", 2048, 0);
    CxSysMsgQueue results(L"NET_SEND_QUEUE", 2048, 0);
    WSADATA wsa;
    const bool sockets = WSAStartup(0x101, &wsa) == 0;
    n.dispatcherStop = 0;
    n.dispatcher = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, dispatcher_thread, &results, 0, nullptr));
    while (sockets && n.dispatcher && !n.workerStop) {
        CCommandNetBlk block;
        if (!take(requests, block)) {
            InterlockedExchange(&n.probing, 1);
            ProbeNetwork(reporter(), false);
            InterlockedExchange(&n.probing, 0);
            // The pause before the next idle probe waits on the queue: a request that comes
            // in meanwhile is taken at once instead of after the pause.
            bool got = false;
            for (int slice = 0; slice < 20 && !got && !n.workerStop; ++slice) got = take(requests, block, 100);
            if (!got) continue;
        }
        block.eResult = RunNetRequest(block);
        CPackageBlk package(1);
        PackNetBlk(block, package);
        results.InsertMessage(package.GetPackagePtr(), package.GetPackageSize(), 0, nullptr);
    }
    n.dispatcherStop = 1;
    if (n.dispatcher) {
        WaitForSingleObject(n.dispatcher, INFINITE);
        CloseHandle(n.dispatcher);
        n.dispatcher = nullptr;
    }
    if (n.netKit) n.netKit->Close();
    if (sockets) WSACleanup();
    return 0;
}

} // namespace

bool StartNetWorker() {
    NetState& n = Net();
    n.workerStop = 0;
    n.worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, worker_thread, nullptr, 0, nullptr));
    return n.worker != nullptr;
}

void StopNetWorker() {
    NetState& n = Net();
    while (n.probing) ReleaseCPUTime(100, nullptr, nullptr);
    n.workerStop = 1;
    // The dispatcher may be inside a SendMessageW to one of this thread's windows: keep
    // handling sent messages while waiting.
    while (WaitForSingleObject(n.worker, 1000) == WAIT_TIMEOUT) ReleaseCPUTime(1000, nullptr, nullptr);
    CloseHandle(n.worker);
    n.worker = nullptr;
}

int ProbeNetwork(CNetConnector* c, bool bInitial) {
    NetState& n = Net();
    std::string host;
    HWND report = nullptr;
    int msgId = 0, flag = 0;
    {
        std::lock_guard<SlimLock> guard(n.lock);
        if (!n.worker || n.workerStop) return 0;
        if (n.tryHost.empty() && c) n.tryHost = c->m_strDefTryServer.GetString();
        CxString h(n.tryHost.c_str());
        host = h.GetMByteData();
        if (c) {
            report = c->m_hRepoStatusWnd;
            msgId = c->m_nRepoStatusMsgId;
            flag = c->m_bRepoStatusFlag;
        }
    }
    const LONG before = n.connected;
    // The lookup may take long where a resolver is silent: it holds nothing but this thread.
    // Windows Sockets is started for the lookup itself, whatever the worker has done yet.
    WSADATA wsa;
    const bool sockets = WSAStartup(0x101, &wsa) == 0;
    const LONG now = sockets && !host.empty() && gethostbyname(host.c_str()) != nullptr ? 1 : 0;
    if (sockets) WSACleanup();
    InterlockedExchange(&n.connected, now);
    if (!bInitial && now != before && IsWindow(report)) PostMessageW(report, msgId, 1, flag ? 1 : 0);
    return now;
}
