// Bounded copies into fixed UTF-16 arrays, and the casts between the two spellings of a
// UTF-16 unit (the interface's unsigned short, the runtime's wchar_t).
//
// Three contracts, three names:
// - copy_text: a whole text with its terminator, or nothing (a text is never stored cut
//   short);
// - copy_field: a fixed field of a record, filled the way the record's other writers fill
//   it: up to its capacity, stopping at the source's terminator, the rest zeroed; a
//   source that fills the field is copied without a terminator;
// - copy_cut: as much of a text as fits, always terminated (for fields whose format says a
//   longer text is cut, such as the request record's).
// field_length reads a fixed field back.
#pragma once
#include <stddef.h>
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

// The units of a fixed field before its terminator, or all N when it has none.
template <size_t N>
size_t field_length(const unsigned short (&field)[N]) {
    size_t n = 0;
    while (n < N && field[n]) ++n;
    return n;
}

// Copies the fixed field src into dst of the same capacity (see above).
template <size_t N>
void copy_field(unsigned short (&dst)[N], const unsigned short (&src)[N]) {
    const size_t n = field_length(src);
    for (size_t i = 0; i < N; ++i) dst[i] = i < n ? src[i] : 0;
}

// Copies src up to its terminator, at most N - 1 units and at most srcMax units, into dst
// and always terminates it. A null src gives the empty text. Returns the units copied.
template <class C, size_t N>
size_t copy_cut(C (&dst)[N], const C* src, size_t srcMax = N - 1) {
    size_t n = 0;
    if (src)
        while (n < N - 1 && n < srcMax && src[n]) ++n;
    for (size_t i = 0; i < n; ++i) dst[i] = src[i];
    dst[n] = 0;
    return n;
}
