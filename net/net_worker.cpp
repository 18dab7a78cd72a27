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

RequestControl RequestInHand() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    RequestControl c;
    c.cancelled = n.workerStop;
    if (n.inHand) {
        c.cancelled = c.cancelled || CancelFlag(*n.inHand);
        c.progress = n.inHand->m_pfnProgress;
    }
    return c;
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

// The owner of a request just taken off the queue becomes the owner of the request in hand.
void begin_request() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    n.inHand = nullptr;
    if (!n.owners.empty()) {
        n.inHand = n.owners.front();
        n.owners.pop_front();
    }
}

void end_request() {
    std::lock_guard<SlimLock> guard(Net().lock);
    Net().inHand = nullptr;
}

// How the worker's start went, told to the thread that starts it.
struct WorkerStart {
    win32::unique_handle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool ok = false;
};

unsigned __stdcall worker_thread(void* arg) {
    NetState& n = Net();
    CxSysMsgQueue requests(L"NET_RECV_QUEUE", 2048, 0);
    CxSysMsgQueue results(L"NET_SEND_QUEUE", 2048, 0);
    WSADATA wsa;
    const bool sockets = WSAStartup(0x101, &wsa) == 0;
    n.dispatcherStop = false;
    win32::unique_thread dispatcher(
        sockets ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, dispatcher_thread, &results, 0, nullptr)) : nullptr);
    {
        auto* start = static_cast<WorkerStart*>(arg);   // gone once told
        start->ok = sockets && dispatcher;
        SetEvent(start->done.get());
    }
    while (sockets && dispatcher && !n.workerStop) {
        CCommandNetBlk block;
        if (!take(requests, block)) {
            n.probing = true;
            ProbeNetwork(nullptr, false);
            n.probing = false;
            // The pause before the next idle probe waits on the queue: a request that comes
            // in meanwhile is taken at once instead of after the pause.
            bool got = false;
            for (int slice = 0; slice < 20 && !got && !n.workerStop; ++slice) got = take(requests, block, 100);
            if (!got) continue;
        }
        begin_request();
        if (n.workerStop) break;   // requests still queued at a stop are never answered
        block.eResult = RunNetRequest(block);
        end_request();
        CPackageBlk package(1);
        PackNetBlk(block, package);
        results.InsertMessage(package.GetPackagePtr(), package.GetPackageSize(), 0, nullptr);
    }
    end_request();
    n.dispatcherStop = true;
    if (dispatcher) WaitForSingleObject(dispatcher.get(), INFINITE);
    if (n.netKit) n.netKit->Close();
    if (sockets) WSACleanup();
    return 0;
}

} // namespace

bool StartNetWorker() {
    NetState& n = Net();
    if (!n.netKit) n.netKit = std::make_unique<CNetKit>();
    WorkerStart start;
    if (!start.done) return false;
    n.workerStop = false;
    win32::unique_thread worker(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, worker_thread, &start, 0, nullptr)));
    if (!worker) return false;
    // The worker starts Windows Sockets and the dispatcher before it says how it went, so
    // the first probe that follows never runs ahead of them.
    WaitForSingleObject(start.done.get(), INFINITE);
    if (!start.ok) {
        WaitForSingleObject(worker.get(), INFINITE);
        return false;
    }
    n.worker = std::move(worker);
    return true;
}

void StopNetWorker() {
    NetState& n = Net();
    n.workerStop = true;   // also ends the request in hand at its next chunk
    // The dispatcher may be inside a SendMessageW to one of this thread's windows: keep
    // handling sent messages while waiting.
    HANDLE worker;
    {
        std::lock_guard<SlimLock> guard(n.lock);
        worker = n.worker.get();
    }
    while (WaitForSingleObject(worker, 1000) == WAIT_TIMEOUT) ReleaseCPUTime(1000, nullptr, nullptr);
    std::lock_guard<SlimLock> guard(n.lock);
    n.worker.reset();
}

int ProbeNetwork(CNetConnector* c, bool bInitial) {
    NetState& n = Net();
    std::string host;
    HWND report = nullptr;
    int msgId = 0, flag = 0;
    {
        std::lock_guard<SlimLock> guard(n.lock);
        if (!n.worker || n.workerStop) return 0;
        if (!c && !n.ready.empty()) c = n.ready.front();
        if (n.tryHost.empty() && c) n.tryHost = c->m_strDefTryServer.GetString();
        CxString h(n.tryHost.c_str());
        host = h.GetMByteData();
        if (c) {
            report = c->m_hRepoStatusWnd;
            msgId = c->m_nRepoStatusMsgId;
            flag = c->m_bRepoStatusFlag;
        }
    }
    const long before = n.connected;
    // The lookup may take long where a resolver is silent: it holds nothing but this thread.
    // Windows Sockets is started for the lookup itself, whatever the worker has done yet.
    WSADATA wsa;
    const bool sockets = WSAStartup(0x101, &wsa) == 0;
    const long now = sockets && !host.empty() && gethostbyname(host.c_str()) != nullptr ? 1 : 0;
    if (sockets) WSACleanup();
    n.connected = now;
    if (!bInitial && now != before && IsWindow(report)) PostMessageW(report, msgId, 1, flag ? 1 : 0);
    return now;
}
