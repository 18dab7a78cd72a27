// CNetConnector: construction, start-up gate, front ends, connectivity and cancellation.
#include <winsock2.h>
#include <windows.h>
#include <string.h>
#include <algorithm>
#include <BaseKit.h>
#include <unique_res.h>
#include "net_package.h"
#include "net_state.h"

namespace {

// The default probe host, put together from its pieces when a connector is made.
const wchar_t* const kHostPieces[] = {L"www", L".", L"quillbox", L".veranox", L".com"};

void copy_bytes(char* dst, size_t cap, const char* src) {
    if (!src) return;
    size_t n = strnlen(src, cap - 1);
    memcpy(dst, src, n);
    dst[n] = 0;
}

void copy_units(unsigned short* dst, size_t cap, const unsigned short* src) {
    if (!src) return;
    size_t n = 0;
    while (n < cap - 1 && src[n]) ++n;
    memcpy(dst, src, n * 2);
    dst[n] = 0;
}

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

void unregister(CNetConnector* c) {
    NetState& n = Net();
    auto& list = n.connectors;
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
    if (n.current == c) n.current = list.empty() ? nullptr : list.back();
}

} // namespace

CNetKitRef::CNetKitRef() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    if (!n.netKit) n.netKit = new CNetKit;
    ++n.netKitRefs;
}

CNetKitRef::~CNetKitRef() {
    NetState& n = Net();
    std::lock_guard<SlimLock> guard(n.lock);
    // The client goes with the last connector, once no worker can use it.
    if (--n.netKitRefs == 0 && !n.worker) {
        delete n.netKit;
        n.netKit = nullptr;
    }
}

CNetConnector::CNetConnector()
    : m_pCancelParam(nullptr), m_pfnCancelQuery(nullptr), m_pfnProgress(nullptr), m_bIE9OrLater(0),
      m_pSendQueue(nullptr), m_pRecvQueue(nullptr), m_bUserCancel(0), m_hRepoStatusWnd(nullptr),
      m_nRepoStatusMsgId(0), m_bRepoStatusFlag(0) {
    m_strDefTryServer.Format(L"%s%s%s", kHostPieces[0], kHostPieces[1], kHostPieces[2]);
    m_strDefTryServer += kHostPieces[3];
    m_strDefTryServer += kHostPieces[4];
    std::lock_guard<SlimLock> guard(Net().lock);
    Net().current = this;
}

// A copy shares no queue: it is a new connector with the same settings.
CNetConnector::CNetConnector(const CNetConnector& o) : CNetConnector() { *this = o; }

CNetConnector& CNetConnector::operator=(const CNetConnector& o) {
    if (this == &o) return *this;
    m_strDefTryServer = o.m_strDefTryServer;
    m_pCancelParam = o.m_pCancelParam == &o ? this : o.m_pCancelParam;
    m_pfnCancelQuery = o.m_pfnCancelQuery;
    m_pfnProgress = o.m_pfnProgress;
    m_bUserCancel = o.m_bUserCancel;
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
    bool started = false;
    {
        std::lock_guard<SlimLock> guard(n.lock);   // two quick calls start one worker
        if (m_pRecvQueue) return 1;
        m_pSendQueue = new CxSysMsgQueue(L"NET_SEND_QUEUE", 2048, 0);
        m_pRecvQueue = new CxSysMsgQueue(L"NET_RECV_QUEUE", 2048, 0);
        if (!n.worker) {
            if (!StartNetWorker()) return 0;
            started = true;
        }
        n.connectors.push_back(this);
    }
    if (started) ProbeNetwork(this, true);   // the first probe
    return 1;
}

CNetConnector::~CNetConnector() {
    NetState& n = Net();
    bool last = false;
    {
        std::lock_guard<SlimLock> guard(n.lock);
        const bool ready = std::find(n.connectors.begin(), n.connectors.end(), this) != n.connectors.end();
        unregister(this);
        if (n.current == this) n.current = nullptr;
        last = ready && n.connectors.empty() && n.worker;
    }
    if (last) StopNetWorker();
    delete m_pSendQueue;
    delete m_pRecvQueue;
}

void CNetConnector::SendNetMessage(CCommandNetBlk* block) {
    if (!block || !m_pRecvQueue) return;
    CPackageBlk package(1);
    PackNetBlk(*block, package);
    m_pRecvQueue->InsertMessage(package.GetPackagePtr(), package.GetPackageSize(), 0, nullptr);
}

void CNetConnector::prepare_request() {
    {
        std::lock_guard<SlimLock> guard(Net().lock);
        Net().current = this;
    }
    m_bUserCancel = 0;
    m_pCancelParam = this;
    m_pfnCancelQuery = &CNetConnector::Cancel;
}

namespace {

// A block with the fields every front end sets.
void fill_common(CCommandNetBlk& b, NET_MSG kind, HWND hWnd, int msgId, const char* server, int port,
                 const unsigned short* resFile) {
    b.nMsg = kind;
    b.hWnd = hWnd;
    b.nMsgID = msgId;
    copy_bytes(b.szServer, sizeof(b.szServer), server);
    b.iHttpPort = port;
    copy_units(b.szResFile, 1024, resFile);
}

} // namespace

void CNetConnector::HTTP_GET(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath,
                             const char* cgi, const unsigned short* deviceId, int port, const unsigned short* resFile) {
    prepare_request();
    CCommandNetBlk b;
    fill_common(b, kind, hWnd, msgId, server, port, resFile);
    copy_bytes(b.szObjPath, sizeof(b.szObjPath), objPath);
    copy_bytes(b.szCgi, sizeof(b.szCgi), cgi);
    copy_units(b.szDeviceId, 512, deviceId);
    SendNetMessage(&b);
}

void CNetConnector::HTTP_POST(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath,
                              const CxStringList* arguments, int port, const unsigned short* resFile) {
    prepare_request();
    CCommandNetBlk b;
    fill_common(b, kind, hWnd, msgId, server, port, resFile);
    copy_bytes(b.szObjPath, sizeof(b.szObjPath), objPath);
    if (arguments) b.listArgument = *arguments;
    SendNetMessage(&b);
}

void CNetConnector::HTTP_POST_XML(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* xml, int port,
                                  const unsigned short* resFile) {
    prepare_request();
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
    return Net().worker ? static_cast<CNetConnector*>(p)->m_bUserCancel : 0;
}

void CNetConnector::CancelProcedure() { m_bUserCancel = 1; }
int CNetConnector::UserCancel() { return m_bUserCancel; }
void CNetConnector::SetDownloadProgressCallBack(ProgressCallback callback) { m_pfnProgress = callback; }

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
