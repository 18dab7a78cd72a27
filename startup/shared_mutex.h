// Named mutexes that every user of the machine may open.
#pragma once
#include <unique_res.h>

// A named mutex as created or opened, with the creation's "already exists" answer (false
// when the creation failed: the handle is then null).
struct SharedMutex {
    win32::unique_handle handle;
    bool existed = false;
};

// Creates the mutex, not owned, or opens it when it exists; null DACL, not inheritable.
SharedMutex OpenSharedMutex(const wchar_t* name);
