// Per-process exported globals: every process that loads the library has its own copy,
// zero or empty at load. The start-up code fills some of them; the host sets the rest.
#include <windows.h>
#include "SharedState.h"

CORELINK_API int g_bUiChinese = 0;
CORELINK_API unsigned short g_szExecProgPath[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_szAppDataPath[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_strMarketSpec[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_strOperator[CORELINK_OPERATOR_UNITS] = {};
CORELINK_API bool g_bEnableMMediaSave = false;
CORELINK_API int g_bProcessRefresh = 0;
CORELINK_API unsigned short g_szEngineQueueName[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_szQueueName[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_szProductNameHW[CORELINK_TEXT_UNITS] = {};
CORELINK_API unsigned short g_szProductName[CORELINK_TEXT_UNITS] = {};
CORELINK_API COMMUNICATION_INFO_DATA* g_pCommunicationInfo = nullptr;
CORELINK_API CxMsgQueue* g_pQueue = nullptr;
CORELINK_API CWnd* g_pMainFrame = nullptr;
CORELINK_API bool g_bInitialFlag = false;
CORELINK_API bool g_bBackupRestoreExecFlag = false;
CORELINK_API CxLogMsg* g_pDbgUI = nullptr;
CORELINK_API CxLogMsg* g_pDbgEng = nullptr;
CORELINK_API CxLogMsg* g_pDbgPanel = nullptr;
