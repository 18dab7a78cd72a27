// CCommandNetBlk: defaults, copies, release of the XML text.
#include <stdlib.h>
#include <string.h>
#include "NetConnector.h"

CCommandNetBlk::CCommandNetBlk()
    : hWnd(nullptr), nMsgID(0), nMsg(static_cast<NET_MSG>(0)), eResult(NET_RESULT_OK), szDeviceId{}, szServer{},
      szCgi{}, szCmd{}, szObjPath{}, pszXml(nullptr), iHttpPort(80), szResHeader{}, szResFile{}, nResFileSize(0) {}

CCommandNetBlk::CCommandNetBlk(const CCommandNetBlk& o) : pszXml(nullptr) { *this = o; }

CCommandNetBlk& CCommandNetBlk::operator=(const CCommandNetBlk& o) {
    if (this == &o) return *this;
    hWnd = o.hWnd;
    nMsgID = o.nMsgID;
    nMsg = o.nMsg;
    eResult = o.eResult;
    memcpy(szDeviceId, o.szDeviceId, sizeof(szDeviceId));
    memcpy(szServer, o.szServer, sizeof(szServer));
    memcpy(szCgi, o.szCgi, sizeof(szCgi));
    memcpy(szCmd, o.szCmd, sizeof(szCmd));
    memcpy(szObjPath, o.szObjPath, sizeof(szObjPath));
    char* xml = o.pszXml ? strdup(o.pszXml) : nullptr;
    free(pszXml);
    pszXml = xml;
    iHttpPort = o.iHttpPort;
    memcpy(szResHeader, o.szResHeader, sizeof(szResHeader));
    memcpy(szResFile, o.szResFile, sizeof(szResFile));
    nResFileSize = o.nResFileSize;
    listArgument = o.listArgument;
    return *this;
}

CCommandNetBlk::~CCommandNetBlk() { free(pszXml); }
