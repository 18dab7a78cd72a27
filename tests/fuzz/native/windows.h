// The few Win32 names the portable cores use.
#pragma once
#include <stddef.h>
#include <stdint.h>
typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned long DWORD;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
#define TRUE 1
#define FALSE 0
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
extern "C" {
int MultiByteToWideChar(UINT cp, DWORD flags, const char* src, int srcLen, wchar_t* dst, int dstLen);
int WideCharToMultiByte(UINT cp, DWORD flags, const wchar_t* src, int srcLen, char* dst, int dstLen, const char* def, BOOL* usedDef);
DWORD CharUpperBuffW(wchar_t* s, DWORD n);
DWORD CharLowerBuffW(wchar_t* s, DWORD n);
}
// Heaps and thread slots (win32_memory.cpp: on the C library).
typedef size_t SIZE_T;
typedef void* HANDLE;
#define TLS_OUT_OF_INDEXES ((DWORD)0xFFFFFFFF)
extern "C" {
HANDLE HeapCreate(DWORD options, SIZE_T initial, SIZE_T maximum);
BOOL HeapDestroy(HANDLE heap);
void* HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, void* block);
DWORD TlsAlloc(void);
void* TlsGetValue(DWORD slot);
BOOL TlsSetValue(DWORD slot, void* value);
BOOL TlsFree(DWORD slot);
DWORD GetLastError(void);
void SetLastError(DWORD error);
}
// Named by the owners of platform/win32/include/unique_res.h; never called by the cores.
typedef struct HKEY__* HKEY;
typedef void* HGDIOBJ;
typedef struct HDC__* HDC;
typedef struct HHOOK__* HHOOK;
typedef struct { unsigned char opaque[20]; } SECURITY_DESCRIPTOR;
typedef struct { DWORD nLength; void* lpSecurityDescriptor; BOOL bInheritHandle; } SECURITY_ATTRIBUTES;
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define SECURITY_DESCRIPTOR_REVISION 1

extern "C" {
BOOL CloseHandle(HANDLE); long RegCloseKey(HKEY); BOOL FindClose(HANDLE); BOOL FreeLibrary(HMODULE);
BOOL UnmapViewOfFile(const void*); BOOL ReleaseMutex(HANDLE); BOOL DeleteObject(HGDIOBJ); BOOL DeleteDC(HDC);
BOOL DestroyWindow(HWND); BOOL UnhookWindowsHookEx(HHOOK); int ReleaseDC(HWND, HDC);
BOOL InitializeSecurityDescriptor(SECURITY_DESCRIPTOR*, DWORD); BOOL SetSecurityDescriptorDacl(SECURITY_DESCRIPTOR*, BOOL, void*, BOOL);
}
