// The per-process auto-sync lock: one owner token, nested holds.
#include "SharedServices.h"

namespace {
void* g_pAutoSyncOwner = nullptr;   // null when free
int g_nAutoSyncCount = 0;           // nesting depth of the owner's hold
}

bool LockAutoSync(void* owner) {
    if (!g_pAutoSyncOwner) {
        // A null owner "holds" a lock that stays free for anyone else.
        g_pAutoSyncOwner = owner;
        g_nAutoSyncCount = 1;
        return true;
    }
    if (g_pAutoSyncOwner != owner) return false;
    ++g_nAutoSyncCount;
    return true;
}

void UnlockAutoSync(void* owner) {
    if (!g_pAutoSyncOwner || g_pAutoSyncOwner != owner) return;
    if (--g_nAutoSyncCount <= 0) {
        g_nAutoSyncCount = 0;
        g_pAutoSyncOwner = nullptr;
    }
}
