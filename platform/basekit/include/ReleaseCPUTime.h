// A pause that keeps the calling thread's windows alive.
#pragma once
#include <windows.h>
#include "basekit_api.h"

// Pauses about ms milliseconds while handling the thread's window messages, including
// messages sent from other threads. Returns early when hStop is signalled or *pStop
// becomes non-zero (either may be null).
BASEKIT_API void ReleaseCPUTime(DWORD ms, HANDLE hStop, volatile LONG* pStop);
