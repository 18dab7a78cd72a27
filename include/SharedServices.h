// Small services over the shared state: suite presence, handset model, cache mark,
// communication block, web-install hand-over and the auto-sync lock.
#pragma once
#include "CorelinkApi.h"
#include "SharedState.h"

// 1 while the first process of this installation runs (this one or another), else 0.
// Once a process has seen 0 it keeps answering 0.
CORELINK_API int CheckSystemExistFlag();

// True when name equals g_szTP_Model exactly (case counts); false for null.
CORELINK_API bool Check_TP_ModelName(const unsigned short* name);

// 1 when some process marked the cache modified and this process is not refreshing.
CORELINK_API int IsCacheModify();
// Marks the cache modified (true) or clean (false) for every process.
CORELINK_API void SetCacheModify(bool bModify);

// Copies the communication block into *out. False when the block is not mapped or out
// is null (*out is then untouched).
CORELINK_API bool GetCommunicationData(COMMUNICATION_INFO_DATA* out);

// Hands a web-install command line to the suite. cmdLine null clears the pending line
// and g_bEnableWebInstall. False, changing nothing, when another line is pending, when
// cmdLine does not fit g_szWebInstallCmdLine, or when the hand-over mutex is unavailable.
CORELINK_API bool SetWebInstallData(const unsigned short* cmdLine);

// Per-process, nesting lock for one owner token at a time (not thread-safe: callers on
// several threads serialise themselves). True when owner holds the lock after the call.
CORELINK_API bool LockAutoSync(void* owner);
// Releases one level of owner's hold; any other owner is ignored.
CORELINK_API void UnlockAutoSync(void* owner);
