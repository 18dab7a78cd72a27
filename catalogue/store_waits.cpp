// The catalogue's wait for locks: SQLite's busy handler, retrying every millisecond.
#include "store_waits.h"
#include <windows.h>
#include <sqlite3.h>
#include <stdint.h>

namespace {

// The handler of one connection's waits; `bound` carries the milliseconds. count is 0 at the
// first retry of each wait, which starts this thread's clock.
int retry_until(void* bound, int count) {
    thread_local DWORD started = 0;
    const DWORD now = GetTickCount();
    if (count == 0) started = now;
    if (now - started >= static_cast<DWORD>(reinterpret_cast<uintptr_t>(bound))) return 0;
    Sleep(1);
    return 1;
}

} // namespace

void WaitForLocks(sqlite3* db, int ms) {
    if (ms > 0) sqlite3_busy_handler(db, &retry_until, reinterpret_cast<void*>(static_cast<uintptr_t>(ms)));
    else sqlite3_busy_handler(db, nullptr, nullptr);
}
