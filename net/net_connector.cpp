// CNetConnector: construction, start-up gate, front ends, connectivity and cancellation.
#include <winsock2.h>
#include <windows.h>
#include <string.h>
#include <algorithm>
#include <memory>
#include <utility>
#include <wide_text.h>
#include <BaseKit.h>
#include <unique_res.h>
#include "net_package.h"
#include "net_state.h"

namespace {

// The default probe host, put together from its pieces when a connector is made.
const wchar_t* const kHostPieces[] = {L"www", L".", L"quillbox", L".veranox", L".com"};

// True when the registered browser version begins with 9 or a higher digit.
bool browser_gate_refuses() {
    win32::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    char version[127] = {};
    DWORD size = sizeof(version) - 1, type = 0;
    if (RegQueryValueExA(key.get(), "Version", nullptr, &type, reinterpret_cast<BYTE*>(version), &size) != ERROR_SUCCESS)
        return false;
    return version[0] == '9';   // the first character alone counts
}

bool contains(const std::vector<CNetConnector*>& list, const CNetConnector* c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

void remove(std::vector<CNetConnector*>& list, const CNetConnector* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

// Called with the lock held when c begins to be destroyed: nothing keeps pointing at it.
// Returns true when c was the last ready connector while a worker runs.
bool forget(CNetConnector* c) {
    NetState& n = Net();
    const bool wasReady = contains(n.ready, c);
    remove(n.live, c);
    remove(n.ready, c);
    if (n.current == c) n.current = n.live.empty() ? nullptr : n.live.back();
    std::replace(n.owners.begin(), n.owners.end(), c, static_cast<CNetConnector*>(nullptr));
    if (n.inHand == c) n.inHand = nullptr;
    return wasReady && n.ready.empty() && n.worker;
}

} // namespace

CNetKitRef::CNetKitRef() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    if (!n.netKit) n.netKit = std::make_unique<CNetKit>();
}

CNetKitRef::~CNetKitRef() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    // The client goes with the last connector, once no worker can use it.
    if (n.live.empty() && !n.worker) n.netKit.reset();
}

CNetConnector::CNetConnector()
    : m_pCancelParam(nullptr), m_pfnCancelQuery(nullptr), m_pfnProgress(nullptr), m_bIE9OrLater(0),
      m_pSendQueue(nullptr), m_pRecvQueue(nullptr), m_bUserCancel(0), m_hRepoStatusWnd(nullptr),
      m_nRepoStatusMsgId(0), m_bRepoStatusFlag(0) {
    m_strDefTryServer.Format(L"%s%s%s", kHostPieces[0], kHostPieces[1], kHostPieces[2]);
    m_strDefTryServer += kHostPieces[3];
    m_strDefTryServer += kHostPieces[4];
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    n.live.push_back(this);
    n.current = this;
}

// A copy shares no queue: it is a new connector with the same settings.
CNetConnector::CNetConnector(const CNetConnector& o) : CNetConnector() { *this = o; }

CNetConnector& CNetConnector::operator=(const CNetConnector& o) {
    if (this == &o) return *this;
    m_strDefTryServer = o.m_strDefTryServer;
    m_pCancelParam = o.m_pCancelParam == &o ? this : o.m_pCancelParam;
    m_pfnCancelQuery = o.m_pfnCancelQuery;
    m_pfnProgress = o.m_pfnProgress;
    SetCancelFlag(*this, CancelFlag(o));
    m_hRepoStatusWnd = o.m_hRepoStatusWnd;
    m_nRepoStatusMsgId = o.m_nRepoStatusMsgId;
    m_bRepoStatusFlag = o.m_bRepoStatusFlag;
    return *this;
}

int CNetConnector::Initial() {
    if (browser_gate_refuses()) {
        m_bIE9OrLater = 1;
        return 0;
    }
    NetState& n = Net();
    for (;;) {
        std::unique_lock<SlimLock> guard(n.lock);
        if (!contains(n.live, this)) return 0;   // being destroyed
        if (m_pRecvQueue) return 1;
        if (n.stopping) {
            // The last connector is stopping the worker: wait for it, then start a new one;
            // refuse when called from a message handled by that very wait.
            if (n.stoppingThread == GetCurrentThreadId()) return 0;
            guard.unlock();
            ReleaseCPUTime(10, nullptr, nullptr);
            continue;
        }
        auto send = std::make_unique<CxSysMsgQueue>(L"NET_SEND_QUEUE", 2048, 0);
        auto recv = std::make_unique<CxSysMsgQueue>(L"NET_RECV_QUEUE", 2048, 0);
        const bool start = !n.worker;
        if (start && !StartNetWorker()) return 0;   // nothing is kept of a failed start
        m_pSendQueue = send.release();
        m_pRecvQueue = recv.release();
        n.ready.push_back(this);
        guard.unlock();
        if (start) ProbeNetwork(this, true);   // the first probe
        return 1;
    }
}

CNetConnector::~CNetConnector() {
    NetState& n = Net();
    bool last = false;
    {
        std::lock_guard<SlimLock> guard(n.lock);
        last = forget(this);
        if (last) {
            n.stopping = true;
            n.stoppingThread = GetCurrentThreadId();
        }
    }
    // Front ends called on this connector from messages handled meanwhile are refused.
    if (last) StopNetWorker();
    std::lock_guard<SlimLock> guard(n.lock);
    std::unique_ptr<CxSysMsgQueue> send(std::exchange(m_pSendQueue, nullptr));
    std::unique_ptr<CxSysMsgQueue> recv(std::exchange(m_pRecvQueue, nullptr));
    if (last) {
        n.owners.clear();   // the queue has ended with its last object
        n.stopping = false;
    }
}

void CNetConnector::SendNetMessage(CCommandNetBlk* block) {
    if (!block) return;
    CPackageBlk package(1);
    PackNetBlk(*block, package);
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);   // the owners keep the queue's order
    if (!contains(n.live, this) || !m_pRecvQueue) return;
    if (m_pRecvQueue->InsertMessage(package.GetPackagePtr(), package.GetPackageSize(), 0, nullptr)) n.owners.push_back(this);
}

bool CNetConnector::prepare_request() {
    NetState& n = Net();
    {
        std::lock_guard<SlimLock> guard(n.lock);
        if (!contains(n.live, this)) return false;
        n.current = this;
    }
    SetCancelFlag(*this, 0);
    m_pCancelParam = this;
    m_pfnCancelQuery = &CNetConnector::Cancel;
    return true;
}

namespace {

// A block with the fields every front end sets.
void fill_common(CCommandNetBlk& b, NET_MSG kind, HWND hWnd, int msgId, const char* server, int port,
                 const unsigned short* resFile) {
    b.nMsg = kind;
    b.hWnd = hWnd;
    b.nMsgID = msgId;
    copy_cut(b.szServer, server);
    b.iHttpPort = port;
    copy_cut(b.szResFile, resFile);
}

} // namespace

void CNetConnector::HTTP_GET(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath,
                             const char* cgi, const unsigned short* deviceId, int port, const unsigned short* resFile) {
    if (!prepare_request()) return;
    CCommandNetBlk b;
    fill_common(b, kind, hWnd, msgId, server, port, resFile);
    copy_cut(b.szObjPath, objPath);
    copy_cut(b.szCgi, cgi);
    copy_cut(b.szDeviceId, deviceId);
    SendNetMessage(&b);
}

void CNetConnector::HTTP_POST(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath,
                              const CxStringList* arguments, int port, const unsigned short* resFile) {
    if (!prepare_request()) return;
    CCommandNetBlk b;
    fill_common(b, kind, hWnd, msgId, server, port, resFile);
    copy_cut(b.szObjPath, objPath);
    if (arguments) b.listArgument = *arguments;
    SendNetMessage(&b);
}

void CNetConnector::HTTP_POST_XML(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* xml, int port,
                                  const unsigned short* resFile) {
    if (!prepare_request()) return;
    CCommandNetBlk b;
    fill_common(b, kind, hWnd, msgId, server, port, resFile);
    b.pszXml = xml ? strdup(xml) : nullptr;
    SendNetMessage(&b);
}

void CNetConnector::HTTP_LOGIN(HWND hWnd, int msgId, const char* server, const char* objPath,
                               const CxStringList* arguments, int port, const unsigned short* resFile) {
    HTTP_POST(NET_MSG_LOGIN, hWnd, msgId, server, objPath, arguments, port, resFile);
}

int CNetConnector::IsNetConnect(bool bInitial) { return ProbeNetwork(this, bInitial); }

int CNetConnector::SetDefTryConnectionServerURL(const wchar_t* host) {
    if (!host || !*host) return 0;
    std::lock_guard<SlimLock> guard(Net().lock);
    m_strDefTryServer = host;
    return 1;
}

int CNetConnector::Cancel(void* p) {
    if (!p) return 0;
    std::lock_guard<SlimLock> guard(Net().lock);
    return Net().worker ? CancelFlag(*static_cast<CNetConnector*>(p)) : 0;
}

void CNetConnector::CancelProcedure() { SetCancelFlag(*this, 1); }
int CNetConnector::UserCancel() { return CancelFlag(*this); }
void CNetConnector::SetDownloadProgressCallBack(ProgressCallback callback) {
    std::lock_guard<SlimLock> guard(Net().lock);   // the worker reads it under the lock
    m_pfnProgress = callback;
}

int CNetConnector::SetReportConnectionStatus(HWND hWnd, int msgId) {
    std::lock_guard<SlimLock> guard(Net().lock);
    if (!Net().worker || !hWnd || msgId <= 0) return 0;
    m_hRepoStatusWnd = hWnd;
    m_nRepoStatusMsgId = msgId;
    return 1;
}

HWND CNetConnector::GetRepoStatusHwnd() { return m_hRepoStatusWnd; }
int CNetConnector::GetRepoStatusMsgId() { return m_nRepoStatusMsgId; }
CString CNetConnector::GetDeviceId() { return CString("Tracer Server"); }
