// 16-bit wide-string functions (glibc's are 32-bit); strong definitions override glibc's and
// the sanitizer runtime's interceptors. Compiled with -fno-builtin.
#include <stddef.h>
#include <wchar.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
namespace { wchar_t fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; } }
extern "C" {
size_t wcslen(const wchar_t* s) { size_t n = 0; while (s[n]) ++n; return n; }
size_t wcsnlen(const wchar_t* s, size_t max) { size_t n = 0; while (n < max && s[n]) ++n; return n; }
wchar_t* wmemchr(const wchar_t* s, wchar_t c, size_t n) { for (size_t i = 0; i < n; ++i) if (s[i] == c) return const_cast<wchar_t*>(s + i); return nullptr; }
int wmemcmp(const wchar_t* a, const wchar_t* b, size_t n) { for (size_t i = 0; i < n; ++i) if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1; return 0; }
wchar_t* wmemcpy(wchar_t* d, const wchar_t* s, size_t n) { for (size_t i = 0; i < n; ++i) d[i] = s[i]; return d; }
wchar_t* wmemmove(wchar_t* d, const wchar_t* s, size_t n) { if (d < s) for (size_t i = 0; i < n; ++i) d[i] = s[i]; else for (size_t i = n; i-- > 0;) d[i] = s[i]; return d; }
wchar_t* wmemset(wchar_t* d, wchar_t c, size_t n) { for (size_t i = 0; i < n; ++i) d[i] = c; return d; }
int wcscmp(const wchar_t* a, const wchar_t* b) { while (*a && *a == *b) ++a, ++b; return *a == *b ? 0 : (unsigned short)*a < (unsigned short)*b ? -1 : 1; }
int wcsncmp(const wchar_t* a, const wchar_t* b, size_t n) { for (; n; --n, ++a, ++b) { if (*a != *b) return (unsigned short)*a < (unsigned short)*b ? -1 : 1; if (!*a) return 0; } return 0; }
wchar_t* wcschr(const wchar_t* s, wchar_t c) { for (;; ++s) { if (*s == c) return const_cast<wchar_t*>(s); if (!*s) return nullptr; } }
wchar_t* wcsrchr(const wchar_t* s, wchar_t c) { const wchar_t* r = nullptr; for (;; ++s) { if (*s == c) r = s; if (!*s) return const_cast<wchar_t*>(r); } }
size_t wcscspn(const wchar_t* s, const wchar_t* set) { size_t n = 0; while (s[n] && !wcschr(set, s[n])) ++n; return n; }
wchar_t* wcsstr(const wchar_t* h, const wchar_t* n) { size_t m = wcslen(n); if (!m) return const_cast<wchar_t*>(h); for (; *h; ++h) if (wcsncmp(h, n, m) == 0) return const_cast<wchar_t*>(h); return nullptr; }
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t n) { for (; n; --n, ++a, ++b) { wchar_t x = fold(*a), y = fold(*b); if (x != y) return x < y ? -1 : 1; if (!x) return 0; } return 0; }
int _wcsicmp(const wchar_t* a, const wchar_t* b) { return _wcsnicmp(a, b, (size_t)-1); }
}
