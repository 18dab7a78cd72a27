// Bounded copies into the fixed UTF-16 arrays of the shared state.
#pragma once
#include <wchar.h>

inline wchar_t* wide(unsigned short* p) { return reinterpret_cast<wchar_t*>(p); }
inline const wchar_t* wide(const unsigned short* p) { return reinterpret_cast<const wchar_t*>(p); }

// Copies src with its terminator into dst when it fits; otherwise leaves dst untouched
// and returns false. A null src counts as the empty text.
template <size_t N>
bool copy_text(unsigned short (&dst)[N], const wchar_t* src) {
    size_t n = src ? wcslen(src) : 0;
    if (n >= N) return false;
    if (n) wmemcpy(wide(dst), src, n);
    dst[n] = 0;
    return true;
}
