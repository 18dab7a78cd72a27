// Where the store tells of writes it lost at a close that nobody could be told of.
#pragma once
#include <windows.h>

// Writes to the process's log that the store of the UTF-8 file lost writes at its close, and
// why (a Win32 error, as GetLastError gives it). Nothing when no log is open.
void LogStoreLoss(const char* file, DWORD error);
