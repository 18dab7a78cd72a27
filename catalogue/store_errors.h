// Why a catalogue call failed, left in the thread's last-error value as Win32 calls leave it.
#pragma once
#include <windows.h>

// The Win32 error that stands for an SQLite result code (primary or extended):
//   busy, locked                 ERROR_LOCK_VIOLATION      another program holds the file
//   full                         ERROR_DISK_FULL
//   I/O error                    ERROR_IO_DEVICE           (its out-of-memory case: as no memory)
//   read-only                    ERROR_WRITE_PROTECT
//   damaged, not a database      ERROR_FILE_CORRUPT
//   no memory                    ERROR_NOT_ENOUGH_MEMORY
//   cannot open                  ERROR_OPEN_FAILED
//   rolled back                  ERROR_OPERATION_ABORTED
//   anything else (SQL refused)  ERROR_INVALID_DATA
DWORD StoreErrorOf(int sqliteResult);
// Sets the thread's last error and returns false: `return Fail(ERROR_INVALID_PARAMETER);`.
bool Fail(DWORD error);
bool FailSqlite(int sqliteResult);

// The store is closed; an argument is refused; no record matches.
const DWORD kStoreClosed = ERROR_INVALID_HANDLE;
const DWORD kBadArgument = ERROR_INVALID_PARAMETER;
const DWORD kNoRecord = ERROR_NOT_FOUND;
