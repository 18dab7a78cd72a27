// CNetConnector: HTTP requests run by a worker thread of the process, with results
// delivered to a window as a message.
//
// A front end (HTTP_GET, HTTP_POST, HTTP_POST_XML, HTTP_LOGIN) fills a CCommandNetBlk and
// queues it as a package to "NET_RECV_QUEUE". The worker runs the requests one at a time,
// queues each finished record to "NET_SEND_QUEUE", and a dispatcher thread sends it to the
// request's window: SendMessageW(hWnd, nMsgID, 0, (LPARAM)&record), only while the window
// exists. The record is valid during that message only; the response file stays on disk
// and belongs to the receiver. While idle the worker probes whether the network can be
// reached and posts changes to the status window.
//
// Start-up gate: Initial refuses (returns 0, sets m_bIE9OrLater) where the registered
// Internet Explorer version (HKLM "SOFTWARE\Microsoft\Internet Explorer", "Version")
// begins with the digit 9.
#pragma once
#include <windows.h>
#include <afxstr.h>
#include <CxStringList.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"

enum NET_MSG : int {
    NET_MSG_LOGIN = 1,
    NET_MSG_GET = 2,
    NET_MSG_POST_XML = 4,
};

enum NET_RESULT : int {
    NET_RESULT_OK = 0,
    NET_RESULT_CANCELLED = 1,
    NET_RESULT_HTTP_FAILED = 3,
    NET_RESULT_POST_FAILED = 4,
    NET_RESULT_REDIRECT = 5,
};

// One request and, later, its result. Text fields always end in a zero.
class CORELINK_API CCommandNetBlk {
public:
    CCommandNetBlk();
    CCommandNetBlk(const CCommandNetBlk& other);   // pszXml is copied, not shared
    CCommandNetBlk& operator=(const CCommandNetBlk& other);
    virtual ~CCommandNetBlk();                     // releases pszXml

    HWND hWnd;
    int nMsgID;
    NET_MSG nMsg;
    NET_RESULT eResult;
    unsigned short szDeviceId[512];
    char szServer[512];
    char szCgi[512];
    char szCmd[512];
    char szObjPath[512];
    char* pszXml;                 // owned (malloc), or null
    int iHttpPort;                // 80: http://, 443: https://
    char szResHeader[2048];
    unsigned short szResFile[1024];
    int nResFileSize;
    CxStringList listArgument;    // POST arguments "name=value"
};

class CNetKit;

// Makes sure the process's HTTP client exists while a connector does.
class CORELINK_API CNetKitRef {
public:
    CNetKitRef();
    ~CNetKitRef();
};

class CORELINK_API CNetConnector {
public:
    typedef int (*CancelQuery)(void* param);
    typedef void (*ProgressCallback)(unsigned int total, unsigned int received);

    CNetConnector();
    CNetConnector(const CNetConnector& other);
    CNetConnector& operator=(const CNetConnector& other);
    virtual ~CNetConnector();

    // Must be called once before any request: 1 when the connector can take requests.
    int Initial();
    // Queues a copy of the block (the caller keeps its block). Nothing for a null block
    // or a connector that is not ready.
    void SendNetMessage(CCommandNetBlk* block);

    // The front ends: fill a block and queue it. The result comes as the window message.
    void HTTP_GET(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath, const char* cgi,
                  const unsigned short* deviceId, int port, const unsigned short* resFile);
    void HTTP_POST(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* objPath,
                   const CxStringList* arguments, int port, const unsigned short* resFile);
    void HTTP_POST_XML(NET_MSG kind, HWND hWnd, int msgId, const char* server, const char* xml, int port,
                       const unsigned short* resFile);
    void HTTP_LOGIN(HWND hWnd, int msgId, const char* server, const char* objPath, const CxStringList* arguments,
                    int port, const unsigned short* resFile);

    // Connectivity: 1 when the probe host's name resolves. Non-initial probes post a
    // status report (wParam 1) to the status window when the state changed.
    int IsNetConnect(bool bInitial);
    int SetDefTryConnectionServerURL(const wchar_t* host);   // 1, or 0 for null/empty
    static int Cancel(void* p);
    void CancelProcedure();
    int UserCancel();
    void SetDownloadProgressCallBack(ProgressCallback callback);
    int SetReportConnectionStatus(HWND hWnd, int msgId);
    HWND GetRepoStatusHwnd();
    int GetRepoStatusMsgId();
    CString GetDeviceId();

    CString m_strDefTryServer;
    void* m_pCancelParam;
    CancelQuery m_pfnCancelQuery;
    ProgressCallback m_pfnProgress;
    int m_bIE9OrLater;
    class CxSysMsgQueue* m_pSendQueue;
    class CxSysMsgQueue* m_pRecvQueue;
    int m_bUserCancel;
    HWND m_hRepoStatusWnd;
    int m_nRepoStatusMsgId;
    int m_bRepoStatusFlag;
    CNetKitRef m_netKitRef;

private:
    bool prepare_request();   // false while this connector is being destroyed
};

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(NET_MSG, 4);
CORELINK_CHECK_SIZE(NET_RESULT, 4);
CORELINK_CHECK_SIZE(CCommandNetBlk, 7204);
CORELINK_CHECK_OFFSET(CCommandNetBlk, hWnd, 4);
CORELINK_CHECK_OFFSET(CCommandNetBlk, nMsgID, 8);
CORELINK_CHECK_OFFSET(CCommandNetBlk, nMsg, 12);
CORELINK_CHECK_OFFSET(CCommandNetBlk, eResult, 16);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szDeviceId, 20);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szServer, 1044);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szCgi, 1556);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szCmd, 2068);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szObjPath, 2580);
CORELINK_CHECK_OFFSET(CCommandNetBlk, pszXml, 3092);
CORELINK_CHECK_OFFSET(CCommandNetBlk, iHttpPort, 3096);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szResHeader, 3100);
CORELINK_CHECK_OFFSET(CCommandNetBlk, szResFile, 5148);
CORELINK_CHECK_OFFSET(CCommandNetBlk, nResFileSize, 7196);
CORELINK_CHECK_OFFSET(CCommandNetBlk, listArgument, 7200);
CORELINK_CHECK_SIZE(CNetKitRef, 1);
CORELINK_CHECK_SIZE(CNetConnector, 52);
CORELINK_CHECK_OFFSET(CNetConnector, m_strDefTryServer, 4);
CORELINK_CHECK_OFFSET(CNetConnector, m_pCancelParam, 8);
CORELINK_CHECK_OFFSET(CNetConnector, m_pfnCancelQuery, 12);
CORELINK_CHECK_OFFSET(CNetConnector, m_pfnProgress, 16);
CORELINK_CHECK_OFFSET(CNetConnector, m_bIE9OrLater, 20);
CORELINK_CHECK_OFFSET(CNetConnector, m_pSendQueue, 24);
CORELINK_CHECK_OFFSET(CNetConnector, m_pRecvQueue, 28);
CORELINK_CHECK_OFFSET(CNetConnector, m_bUserCancel, 32);
CORELINK_CHECK_OFFSET(CNetConnector, m_hRepoStatusWnd, 36);
CORELINK_CHECK_OFFSET(CNetConnector, m_nRepoStatusMsgId, 40);
CORELINK_CHECK_OFFSET(CNetConnector, m_bRepoStatusFlag, 44);
CORELINK_CHECK_OFFSET(CNetConnector, m_netKitRef, 48);
