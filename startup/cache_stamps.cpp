// The cross-process "cache modified" mark: two tick stamps in the shared block.
#include <windows.h>
#include "SharedServices.h"
#include "shared_tables.h"

int IsCacheModify() {
    return (g_dwCacheStamp != g_dwCacheModifyStamp && g_bProcessRefresh == 0) ? 1 : 0;
}

void SetCacheModify(bool bModify) {
    const unsigned long now = GetTickCount();
    g_dwCacheModifyStamp = now;
    if (!bModify) g_dwCacheStamp = now;
}
