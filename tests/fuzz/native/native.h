// Force-included into every file of the native sanitizer build: what the MinGW runtime
// gives the Windows build beyond ISO C, for 16-bit wchar_t (-fshort-wchar).
#pragma once
#include <stdio.h>
#include <wchar.h>
#ifdef __cplusplus
static_assert(sizeof(wchar_t) == 2, "build with -fshort-wchar");
static_assert(sizeof(long) == sizeof(void*), "the i386 (-m32) or the x86_64 data model");
extern "C" {
#endif
#define __declspec(x)
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t n);
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
#ifdef __cplusplus
}
#endif
