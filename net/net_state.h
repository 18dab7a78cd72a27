// Per-process state of the network connector, shared by its callers' threads, the worker
// and the dispatcher. `lock` guards the connector lists, the current connector, the request
// owners, the worker handle and `stopping`; the flags are atomics polled across threads.
#pragma once
#include <windows.h>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include <CxSysMsgQueue.h>
#include <NetKit.h>
#include <unique_res.h>
#include "NetConnector.h"

// A slim reader/writer lock used exclusively: cheap enough to take twice per body chunk.
class SlimLock {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

struct NetState {
    SlimLock lock;
    std::vector<CNetConnector*> live;     // every connector not yet being destroyed, oldest first
    std::vector<CNetConnector*> ready;    // those whose Initial succeeded, oldest first
    CNetConnector* current = nullptr;     // one of `live`, or null
    // Who queued each request waiting in "NET_RECV_QUEUE", in queue order, and who queued the
    // one the worker runs; null once that connector is destroyed.
    std::deque<CNetConnector*> owners;
    CNetConnector* inHand = nullptr;
    win32::unique_thread worker;          // null when no worker runs
    bool stopping = false;                // the last ready connector is stopping the worker,
    DWORD stoppingThread = 0;             // on this thread
    std::atomic<bool> workerStop{false};
    std::atomic<bool> dispatcherStop{false};
    std::atomic<bool> probing{false};
    std::atomic<long> connected{0};       // outcome of the last probe
    std::wstring tryHost;                 // the probe host of the process, set once
    // The process's HTTP client: exists while a connector lives or the worker runs.
    std::unique_ptr<CNetKit> netKit;
};

NetState& Net();

// The cancel flag of a connector, shared between the caller's and the worker's threads.
inline void SetCancelFlag(CNetConnector& c, int v) { __atomic_store_n(&c.m_bUserCancel, v, __ATOMIC_SEQ_CST); }
inline int CancelFlag(const CNetConnector& c) { return __atomic_load_n(&c.m_bUserCancel, __ATOMIC_SEQ_CST); }

// What the running request takes from the connector that queued it: whether to end now
// (its user cancelled, or the worker is stopping) and where progress goes.
struct RequestControl {
    bool cancelled = false;
    CNetConnector::ProgressCallback progress = nullptr;
};
RequestControl RequestInHand();

// Starts the worker (and through it the dispatcher) and waits until it runs or has failed.
// Called with the lock held. False leaves no worker.
bool StartNetWorker();
// Asks the worker to stop and waits for it, handling this thread's sent messages.
void StopNetWorker();

// A probe of the process's host. Reports a change (not for an initial probe) to the status
// window of `c`, or, when c is null, of the oldest ready connector, chosen and read under
// the lock.
int ProbeNetwork(CNetConnector* c, bool bInitial);

// Runs one request on the worker: the NET_RESULT for the block.
NET_RESULT RunNetRequest(CCommandNetBlk& block);

// The network trace hook: takes a printf-style line for the trace file (g_strNetTracePath)
// and writes nothing.
void NetTrace(const char* fmt, ...);
