// CString formatting and string resources.
#include "afxwin.h"
#include <stdio.h>
#include <wchar.h>

// With the MinGW C99 printf switched off (build policy), _vscwprintf and _vsnwprintf are
// msvcrt's: Windows conventions for %s and %S.

void CString::FormatV(const wchar_t* fmt, va_list args) {
    if (!fmt) { Empty(); return; }
    va_list probe;
    va_copy(probe, args);
    int n = _vscwprintf(fmt, probe);
    va_end(probe);
    if (n <= 0) { Empty(); return; }
    CString out;
    wchar_t* buf = out.GetBufferSetLength(n);
    _vsnwprintf(buf, n + 1, fmt, args);
    out.ReleaseBuffer(n);
    *this = static_cast<CString&&>(out);
}

void CString::Format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* fmt, ...) {
    CString tail;
    va_list args;
    va_start(args, fmt);
    tail.FormatV(fmt, args);
    va_end(args);
    *this += tail;
}

BOOL CString::LoadString(UINT nID) {
    // String resources are stored in blocks of 16; the block's name is nID / 16 + 1.
    const wchar_t* block = MAKEINTRESOURCEW(nID / 16 + 1);
    HINSTANCE h = AfxFindResourceHandle(block, MAKEINTRESOURCEW(6) /* RT_STRING */);
    if (!h) return FALSE;
    const wchar_t* text = nullptr;
    int n = ::LoadStringW(h, nID, reinterpret_cast<wchar_t*>(&text), 0);
    if (n <= 0 || !text) return FALSE;
    *this = CString(text, n);
    return TRUE;
}
