// CxShareMemory: a named page-file mapping.
#include "CxShareMemory.h"
#include <unique_res.h>
#include <stddef.h>

CxShareMemory::CxShareMemory(const wchar_t* name, unsigned long size, int bReadOnly, int bOpenAccess)
    : m_nLocks(0), m_dwSize(size), m_bReadOnly(bReadOnly),
      m_bCreator(FALSE), m_dwProcessId(GetCurrentProcessId()) {
    win32::open_security open;
    m_hMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, bOpenAccess ? &open.sa : nullptr,
                                        PAGE_READWRITE, 0, size, name));
    m_bCreator = m_hMapping && GetLastError() != ERROR_ALREADY_EXISTS;
}

// The view goes before the mapping (members end in reverse order).
CxShareMemory::~CxShareMemory() = default;

void* CxShareMemory::Lock() {
    if (!m_hMapping) return nullptr;
    if (!m_pView) {
        m_pView.reset(MapViewOfFile(m_hMapping.get(), m_bReadOnly ? FILE_MAP_READ : FILE_MAP_WRITE, 0, 0, m_dwSize));
        if (!m_pView) return nullptr;
    }
    ++m_nLocks;
    return m_pView.get();
}

void CxShareMemory::Unlock() {
    if (m_nLocks > 0 && --m_nLocks == 0) m_pView.reset();
}

bool CxShareMemory::IsCreator() const { return m_bCreator != FALSE; }
unsigned long CxShareMemory::GetSize() const { return m_dwSize; }

// Callers copy the last member out of the object: keep m_dwProcessId last.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CxShareMemory, m_dwProcessId) + sizeof(unsigned long) == sizeof(CxShareMemory),
              "m_dwProcessId must be the last member");
#pragma GCC diagnostic pop
