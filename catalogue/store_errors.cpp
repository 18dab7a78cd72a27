// SQLite's result codes as the Win32 errors a host reads with GetLastError.
#include "store_errors.h"
#include <sqlite3.h>

DWORD StoreErrorOf(int rc) {
    if (rc == SQLITE_IOERR_NOMEM) return ERROR_NOT_ENOUGH_MEMORY;
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ERROR_LOCK_VIOLATION;
    case SQLITE_FULL: return ERROR_DISK_FULL;
    case SQLITE_IOERR: return ERROR_IO_DEVICE;
    case SQLITE_READONLY: return ERROR_WRITE_PROTECT;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return ERROR_FILE_CORRUPT;
    case SQLITE_NOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_CANTOPEN: return ERROR_OPEN_FAILED;
    case SQLITE_ABORT: return ERROR_OPERATION_ABORTED;
    default: return ERROR_INVALID_DATA;
    }
}

bool Fail(DWORD error) {
    SetLastError(error);
    return false;
}

bool FailSqlite(int rc) { return Fail(StoreErrorOf(rc)); }
