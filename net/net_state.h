// Per-process state of the network connector, shared by its callers' threads, the worker
// and the dispatcher. `lock` guards the connector registry and the current connector;
// the flags are plain words written by one side and polled by the other.
#pragma once
#include <windows.h>
#include <mutex>
#include <string>
#include <vector>
#include <CxSysMsgQueue.h>
#include <NetKit.h>
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
    std::vector<CNetConnector*> connectors;   // ready connectors, oldest first
    CNetConnector* current = nullptr;         // the connector used for the latest request
    HANDLE worker = nullptr;                  // g_hNetWorker
    HANDLE dispatcher = nullptr;              // g_hNetDispatcher
    volatile LONG workerStop = 0;
    volatile LONG dispatcherStop = 0;
    volatile LONG probing = 0;
    volatile LONG connected = 0;              // outcome of the last probe
    std::wstring tryHost;                     // the probe host of the process, set once
    CNetKit* netKit = nullptr;                // the process's HTTP client
    int netKitRefs = 0;
};

NetState& Net();

// What the worker's operations read of the current connector, taken under the lock.
struct CurrentView {
    int cancelled = 0;
    CNetConnector::ProgressCallback progress = nullptr;
};
CurrentView CurrentConnector();

// Starts the worker (and through it the dispatcher). Called with the lock held.
bool StartNetWorker();
// Asks the worker to stop and waits for it, handling this thread's sent messages.
void StopNetWorker();

// A probe of the process's host; reports a change to the status window of `reporter`
// (not for an initial probe). reporter must be registered or the caller itself.
int ProbeNetwork(CNetConnector* reporter, bool bInitial);

// Runs one request on the worker: the NET_RESULT for the block.
NET_RESULT RunNetRequest(CCommandNetBlk& block);

// The network trace hook: accepts the path and the line, writes nothing.
void NetTrace(const char* fmt, ...);
