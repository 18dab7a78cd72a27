// Force-included into every file of the native sanitizer build: what the MinGW runtime
// gives the Windows build beyond ISO C, for 16-bit wchar_t (-m32 -fshort-wchar).
#pragma once
#include <stdio.h>
#include <wchar.h>
#ifdef __cplusplus
static_assert(sizeof(wchar_t) == 2 && sizeof(long) == 4 && sizeof(void*) == 4, "build with -m32 -fshort-wchar");
extern "C" {
#endif
#define __declspec(x)
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t n);
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
#ifdef __cplusplus
}
#endif
