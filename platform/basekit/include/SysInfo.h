// Operating system, language and file version queries.
#pragma once
#include <windows.h>
#include "CxString.h"

// Each is true for exactly one Windows version; IsWin7 also for every later one.
BASEKIT_API BOOL IsWin95();
BASEKIT_API BOOL IsWin98();
BASEKIT_API BOOL IsWinME();
BASEKIT_API BOOL IsWinNT40();
BASEKIT_API BOOL IsWin2000();
BASEKIT_API BOOL IsWinXP();
BASEKIT_API BOOL IsWinVista();
BASEKIT_API BOOL IsWin7();

// The system's language, as "Name [xxxx]" with the four hexadecimal digits of its
// identifier (for example "English (United States) [0409]").
BASEKIT_API const wchar_t* GetCurOSLangSTR();

// Four version numbers of a file's VERSIONINFO resource.
//   kind 1: product version; kind 2: file version.
// Returns FALSE and leaves a, b, c, d untouched when the file has no such version.
BASEKIT_API BOOL GetVersionFromResource(int kind, const wchar_t* file, int& a, int& b, int& c, int& d);
