// The shared block: every value here lives in the section VX_Hands, which the system maps
// once for all processes that load the library.
//
// Rules for this file:
// - it is compiled with -fno-toplevel-reorder, so the values are laid out in the order
//   they are defined here;
// - every value has a constant initialiser, and g_cap's constructor does nothing: code
//   run at load time would overwrite what earlier processes stored.
#include <windows.h>
#include "SharedState.h"
#include "shared_tables.h"

#define VX_SHARED __attribute__((section("VX_Hands"), shared))

CORELINK_API CONN_CAP_INFO g_EngineConnCap VX_SHARED = {};
CORELINK_API AGENT_INFO g_AgentInfo VX_SHARED = {};

IMG_CAP_INFO g_aryImgCap[kImgCapSlots] VX_SHARED = {};
xMDY_CAP_INFO g_aryMdyCap[kMdyCapSlots] VX_SHARED = {};
MDY_FORMAT_CAP g_aryMdyFormat[kMdyCapSlots][kMdyFormatSlots] VX_SHARED = {};
MDY_FORMAT_INFO g_aryMdyFormatInfo[kMdyCapSlots][kMdyFormatSlots] VX_SHARED = {};
VIDEO_CAP_INFO g_aryVideoCap[kVideoCapSlots] VX_SHARED = {};
VIDEO_DIMENSION g_aryVideoDim[kVideoCapSlots][kVideoDimSlots] VX_SHARED = {};
VIDEO_QUALITY g_aryVideoQuality[kVideoCapSlots][kVideoDimSlots][kVideoQualitySlots] VX_SHARED = {};
CAL_CAP_INFO g_aryCalCap[kCalCapSlots] VX_SHARED = {};
MMS_CAP_INFO g_MMSCap VX_SHARED = {};
FMGR_CAP_INFO g_FmgrCap VX_SHARED = {};
FMGR_FILETYPE_CAP g_aryFmgrFileType[kFileTypeSlots] VX_SHARED = {};
FJ_CAP_INFO g_FJCap VX_SHARED = {};
FMGR_FILETYPE_CAP g_aryFJFileType[kFileTypeSlots] VX_SHARED = {};
PL_CAP_INFO g_aryFJPLCap[kFJPLSlots] VX_SHARED = {};

CORELINK_API NAMEORDER_INFO g_NameOrder VX_SHARED = {};
CORELINK_API CINFO_TYPE g_USIMPIntoType[10] VX_SHARED = {};
CORELINK_API GROUPNAME_INFO g_arySimGroupName[CORELINK_GROUPNAME_COUNT] VX_SHARED = {};
CORELINK_API GROUPNAME_INFO g_aryMeGroupName[CORELINK_GROUPNAME_COUNT] VX_SHARED = {};
CORELINK_API int g_nSimGroupCount VX_SHARED = 0;
CORELINK_API int g_nMeGroupCount VX_SHARED = 0;
CORELINK_API unsigned short g_szWebInstallCmdLine[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szRegSecPhone[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szOEMName[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szInterface[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szComPort[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szHS_Card[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API unsigned short g_szTP_Model[CORELINK_TEXT_UNITS] VX_SHARED = {};
CORELINK_API ME_CAPABILITY g_cap VX_SHARED;
CORELINK_API int g_nVersionType VX_SHARED = 0;

int g_bMMSCap VX_SHARED = 0;
int g_bFmgrCap VX_SHARED = 0;
int g_nFmgrFileTypeCount VX_SHARED = 0;
int g_nFJFileTypeCount VX_SHARED = 0;
int g_nFJPLCount VX_SHARED = 0;

CORELINK_API bool g_bEnableWebInstall VX_SHARED = false;
CORELINK_API int g_bPanelRunning VX_SHARED = 0;
CORELINK_API bool g_bRestartPhone VX_SHARED = true;
CORELINK_API int g_bCablePlugIn VX_SHARED = 0;
CORELINK_API bool g_bReleaseEnginePort VX_SHARED = false;
CORELINK_API bool g_bTerminateThread VX_SHARED = false;
CORELINK_API bool g_bLaunchUIFunction VX_SHARED = true;
CORELINK_API int g_nPlugInTestCounter VX_SHARED = 0;
CORELINK_API int g_nDrvModel VX_SHARED = 0;
CORELINK_API ENGINE_STATUS g_nEngineStatus VX_SHARED = ENGINE_STATUS_IDLE;
CORELINK_API bool g_bBatteryCharging VX_SHARED = false;
CORELINK_API int g_nRSSI VX_SHARED = 0;
CORELINK_API int g_nBattery VX_SHARED = 0;
CORELINK_API bool g_bAuthFail VX_SHARED = false;
CORELINK_API bool g_bIMEIFail VX_SHARED = false;
CORELINK_API bool g_bDeviceNotFound VX_SHARED = false;
CORELINK_API int g_bIO_OK VX_SHARED = 0;
CORELINK_API int g_nRetry VX_SHARED = 0;
CORELINK_API int g_nDRV_PROTECT VX_SHARED = 0;
CORELINK_API int g_nVX_USB VX_SHARED = 0;
CORELINK_API int g_nVX_BT VX_SHARED = 0;
CORELINK_API int g_bME_PROTECT VX_SHARED = 1;
CORELINK_API bool g_bNK_DKU2 VX_SHARED = false;

unsigned long g_dwCacheStamp VX_SHARED = 0;
unsigned long g_dwCacheModifyStamp VX_SHARED = 0;

CORELINK_API bool g_bCdmaTarget VX_SHARED = false;
CORELINK_API int g_nCableType VX_SHARED = 0;
CORELINK_API int g_nBTProfile VX_SHARED = 0;
CORELINK_API int g_niDENSIMCap VX_SHARED = 32;
CORELINK_API bool g_bFileTransOnly VX_SHARED = false;
CORELINK_API int g_UIFontHeightMinus VX_SHARED = 0;
CORELINK_API bool g_bEnableNameOrder VX_SHARED = false;
CORELINK_API bool g_bEnableSyncAlways VX_SHARED = false;
CORELINK_API unsigned long g_dwAACCodecCap VX_SHARED = 0;
CORELINK_API int g_nCountryCode VX_SHARED = 0;
