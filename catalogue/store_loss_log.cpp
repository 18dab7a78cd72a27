// The store's losses at an unreported close, written to whichever of the processes' logs is open.
#include "store_loss_log.h"
#include <CxLogMsg.h>
#include "SharedState.h"
#include "utf8_text.h"

void LogStoreLoss(const char* file, DWORD error) {
    const CString name = UTF8ToCString(file);
    for (CxLogMsg* log : {g_pDbgUI, g_pDbgEng, g_pDbgPanel})
        if (log) log->LogMsg(L"Catalogue %s: writes not yet committed were lost at close (error %lu)\n", name.GetString(), error);
}
