// Named mutexes that every user of the machine may open.
#include "shared_mutex.h"

SharedMutex OpenSharedMutex(const wchar_t* name) {
    win32::open_security open;
    HANDLE h = CreateMutexW(&open.sa, FALSE, name);
    SharedMutex m;
    m.existed = GetLastError() == ERROR_ALREADY_EXISTS;   // read before any other call can change it
    m.handle.reset(h);
    return m;
}
