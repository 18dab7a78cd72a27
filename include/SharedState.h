// The library's exported globals: the block shared by every process that loads the
// library, and the per-process globals.
//
// Shared globals live in one section that the system maps once for all processes; a
// value written by one process is seen at once by the others. Nothing locks the block:
// each value is a plain aligned variable with one writing process by convention.
// Text globals are NUL-terminated UTF-16 arrays.
#pragma once
#include <windows.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"
#include "Capability.h"

class CxLogMsg;
class CxMsgQueue;
class CWnd;

// Capacity, in UTF-16 units with the terminator, of the text globals.
enum { CORELINK_TEXT_UNITS = 264, CORELINK_OPERATOR_UNITS = 263 };

// Opaque records that the library stores and copies whole; their inner layout belongs
// to the host processes.
struct NAMEORDER_INFO { unsigned char abData[160]; };
struct CINFO_TYPE { int nType; int nValue; };
struct GROUPNAME_INFO { int nGroupId; unsigned short szName[18]; };
enum ENGINE_STATUS : int { ENGINE_STATUS_STOPPED = 0, ENGINE_STATUS_IDLE = 1 };

enum { CORELINK_GROUPNAME_COUNT = 100 };   // 4000 bytes per table

// The named communication block shared by the suite's processes. Its fields belong to the
// host processes; the library writes only dwHead (once, in the first process of an
// installation) and copies the whole record out.
struct COMMUNICATION_INFO_DATA {
    unsigned long dwHead;
    unsigned long adwData[73];
};

static_assert(!CORELINK_LAYOUT_FIXED || (sizeof(bool) == 1 && sizeof(int) == 4 && sizeof(unsigned long) == 4), "32-bit data model");

// ---- Shared block, in its order ---------------------------------------------------
extern CORELINK_API CONN_CAP_INFO g_EngineConnCap;
extern CORELINK_API AGENT_INFO g_AgentInfo;
extern CORELINK_API NAMEORDER_INFO g_NameOrder;
extern CORELINK_API CINFO_TYPE g_USIMPIntoType[10];
extern CORELINK_API GROUPNAME_INFO g_arySimGroupName[CORELINK_GROUPNAME_COUNT];
extern CORELINK_API GROUPNAME_INFO g_aryMeGroupName[CORELINK_GROUPNAME_COUNT];
extern CORELINK_API int g_nSimGroupCount;
extern CORELINK_API int g_nMeGroupCount;
extern CORELINK_API unsigned short g_szWebInstallCmdLine[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szRegSecPhone[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szOEMName[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szInterface[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szComPort[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szHS_Card[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szTP_Model[CORELINK_TEXT_UNITS];
extern CORELINK_API ME_CAPABILITY g_cap;
extern CORELINK_API int g_nVersionType;
extern CORELINK_API bool g_bEnableWebInstall;
extern CORELINK_API int g_bPanelRunning;
extern CORELINK_API bool g_bRestartPhone;           // initially true
extern CORELINK_API int g_bCablePlugIn;
extern CORELINK_API bool g_bReleaseEnginePort;
extern CORELINK_API bool g_bTerminateThread;
extern CORELINK_API bool g_bLaunchUIFunction;       // initially true
extern CORELINK_API int g_nPlugInTestCounter;
extern CORELINK_API int g_nDrvModel;
extern CORELINK_API ENGINE_STATUS g_nEngineStatus;  // initially 1
extern CORELINK_API bool g_bBatteryCharging;
extern CORELINK_API int g_nRSSI;
extern CORELINK_API int g_nBattery;
extern CORELINK_API bool g_bAuthFail;
extern CORELINK_API bool g_bIMEIFail;
extern CORELINK_API bool g_bDeviceNotFound;
extern CORELINK_API int g_bIO_OK;
extern CORELINK_API int g_nRetry;
extern CORELINK_API int g_nDRV_PROTECT;
extern CORELINK_API int g_nVX_USB;
extern CORELINK_API int g_nVX_BT;
extern CORELINK_API int g_bME_PROTECT;               // initially 1
extern CORELINK_API bool g_bNK_DKU2;
extern CORELINK_API bool g_bCdmaTarget;
extern CORELINK_API int g_nCableType;
extern CORELINK_API int g_nBTProfile;
extern CORELINK_API int g_niDENSIMCap;               // initially 32
extern CORELINK_API bool g_bFileTransOnly;
extern CORELINK_API int g_UIFontHeightMinus;
extern CORELINK_API bool g_bEnableNameOrder;
extern CORELINK_API bool g_bEnableSyncAlways;
extern CORELINK_API unsigned long g_dwAACCodecCap;
extern CORELINK_API int g_nCountryCode;

// ---- Per-process globals -------------------------------------------------------------
extern CORELINK_API int g_bUiChinese;
extern CORELINK_API unsigned short g_szExecProgPath[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szAppDataPath[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_strMarketSpec[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_strOperator[CORELINK_OPERATOR_UNITS];
extern CORELINK_API bool g_bEnableMMediaSave;
extern CORELINK_API int g_bProcessRefresh;
extern CORELINK_API unsigned short g_szEngineQueueName[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szQueueName[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szProductNameHW[CORELINK_TEXT_UNITS];
extern CORELINK_API unsigned short g_szProductName[CORELINK_TEXT_UNITS];
extern CORELINK_API COMMUNICATION_INFO_DATA* g_pCommunicationInfo;
extern CORELINK_API CxMsgQueue* g_pQueue;
extern CORELINK_API CWnd* g_pMainFrame;
extern CORELINK_API bool g_bInitialFlag;
extern CORELINK_API bool g_bBackupRestoreExecFlag;
extern CORELINK_API CxLogMsg* g_pDbgUI;       // log of viewproc.exe, or null
extern CORELINK_API CxLogMsg* g_pDbgEng;      // log of linkproc.exe, or null
extern CORELINK_API CxLogMsg* g_pDbgPanel;    // log of dockproc.exe, or null

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(NAMEORDER_INFO, 160);
CORELINK_CHECK_OFFSET(NAMEORDER_INFO, abData, 0);
CORELINK_CHECK_SIZE(CINFO_TYPE, 8);
CORELINK_CHECK_OFFSET(CINFO_TYPE, nType, 0);
CORELINK_CHECK_OFFSET(CINFO_TYPE, nValue, 4);
CORELINK_CHECK_SIZE(GROUPNAME_INFO, 40);
CORELINK_CHECK_OFFSET(GROUPNAME_INFO, nGroupId, 0);
CORELINK_CHECK_OFFSET(GROUPNAME_INFO, szName, 4);
CORELINK_CHECK_SIZE(ENGINE_STATUS, 4);
CORELINK_CHECK_SIZE(COMMUNICATION_INFO_DATA, 296);
CORELINK_CHECK_OFFSET(COMMUNICATION_INFO_DATA, dwHead, 0);
CORELINK_CHECK_OFFSET(COMMUNICATION_INFO_DATA, adwData, 4);
// The exported records and texts, in the order above.
CORELINK_CHECK_SIZE(g_EngineConnCap, 8);
CORELINK_CHECK_SIZE(g_AgentInfo, 1240);
CORELINK_CHECK_SIZE(g_NameOrder, 160);
CORELINK_CHECK_SIZE(g_USIMPIntoType, 80);
CORELINK_CHECK_SIZE(g_arySimGroupName, 4000);
CORELINK_CHECK_SIZE(g_aryMeGroupName, 4000);
CORELINK_CHECK_SIZE(g_szWebInstallCmdLine, 528);
CORELINK_CHECK_SIZE(g_szRegSecPhone, 528);
CORELINK_CHECK_SIZE(g_szOEMName, 528);
CORELINK_CHECK_SIZE(g_szInterface, 528);
CORELINK_CHECK_SIZE(g_szComPort, 528);
CORELINK_CHECK_SIZE(g_szHS_Card, 528);
CORELINK_CHECK_SIZE(g_szTP_Model, 528);
CORELINK_CHECK_SIZE(g_cap, 880);
CORELINK_CHECK_SIZE(g_szExecProgPath, 528);
CORELINK_CHECK_SIZE(g_szAppDataPath, 528);
CORELINK_CHECK_SIZE(g_strMarketSpec, 528);
CORELINK_CHECK_SIZE(g_strOperator, 526);
CORELINK_CHECK_SIZE(g_szEngineQueueName, 528);
CORELINK_CHECK_SIZE(g_szQueueName, 528);
CORELINK_CHECK_SIZE(g_szProductNameHW, 528);
CORELINK_CHECK_SIZE(g_szProductName, 528);
