// Cuts and trims of UTF-16 texts: one rule for where a cut may fall, one set of blanks, for
// every text that is cut to a limit or trimmed before it is used as a name.
#pragma once
#include <stddef.h>
#include <string>

inline bool is_high_surrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool is_low_surrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// How many units of s a cut to at most limit units keeps: limit, or one fewer where the cut
// would fall between the two halves of a surrogate pair (half a pair is no character). A
// half that s holds on its own stays as it is.
inline size_t whole_cut(const std::wstring& s, size_t limit) {
    if (limit >= s.size()) return s.size();
    if (limit > 0 && is_high_surrogate(s[limit - 1]) && is_low_surrogate(s[limit])) return limit - 1;
    return limit;
}

// Blanks: the space and the controls tab, line feed, vertical tab, form feed, carriage return.
inline bool is_blank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// s without its blanks at the end.
inline std::wstring trim_end(const std::wstring& s) {
    size_t n = s.size();
    while (n > 0 && is_blank(s[n - 1])) --n;
    return s.substr(0, n);
}

// s without its blanks at either end.
inline std::wstring trim(const std::wstring& s) {
    size_t first = 0;
    while (first < s.size() && is_blank(s[first])) ++first;
    return trim_end(s.substr(first));
}
