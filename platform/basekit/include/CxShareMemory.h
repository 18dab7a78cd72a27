// CxShareMemory: one named block of memory for every process that opens the same name.
#pragma once
#include <windows.h>
#include <unique_res.h>
#include "basekit_api.h"

class BASEKIT_API CxShareMemory {
public:
    // Creates the block or opens the existing one; the content of a new block is zero.
    // bReadOnly: 1 maps the view read-only; bOpenAccess: 1 grants every user access.
    CxShareMemory(const wchar_t* name, unsigned long size, int bReadOnly, int bOpenAccess);
    ~CxShareMemory();
    CxShareMemory(const CxShareMemory&) = delete;
    CxShareMemory& operator=(const CxShareMemory&) = delete;

    // The mapped view (null when the block could not be created). Calls nest.
    void* Lock();
    // Ends one Lock; the view is released when the last one ends.
    void Unlock();

    bool IsCreator() const;          // true when this object created the block
    unsigned long GetSize() const;

private:
    win32::unique_handle m_hMapping;
    win32::unique_view m_pView;
    int m_nLocks;
    unsigned long m_dwSize;
    int m_bReadOnly;
    BOOL m_bCreator;

public:
    // Last member: the id of the process that made this object. Callers of the suite
    // record it in a block's header to say which process set the block up.
    unsigned long m_dwProcessId;
};
