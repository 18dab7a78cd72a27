// Paths of the running program, path splitting and joining, folders.
#pragma once
#include <windows.h>
#include "CxString.h"
#include "CxStringList.h"

// The running executable's folder, without a trailing backslash.
BASEKIT_API BOOL GetCurrentExecPath(CxString& folder);
// The same into buf; copies at most cap - 1 units and always terminates. Returns the
// length copied, 0 on failure.
BASEKIT_API int GetCurrentExecPath(unsigned short* buf, int cap);
// The running executable's file name, without its folder.
BASEKIT_API BOOL GetCurrentExecFileName(CxString& name);
BASEKIT_API int GetCurrentExecFileName(unsigned short* buf, int cap);

// The folder part of path (up to the last backslash or slash); bWithSlash keeps the separator.
BASEKIT_API CxString GetFilePath(const wchar_t* path, int bWithSlash);
// The part of path after its last backslash or slash (the whole path when it has none).
BASEKIT_API CxString GetFileNameOnly(const unsigned short* path);
// folder and name joined by exactly one backslash.
BASEKIT_API CxString ToFullPathName(const wchar_t* folder, const wchar_t* name);
// Creates the folder and any missing parents. TRUE when the folder exists afterwards.
BASEKIT_API BOOL MakeDir(const wchar_t* path);

// Appends the full paths of the files in folder (and, with bRecurse, its sub-folders)
// whose names match pattern. Returns how many were appended.
BASEKIT_API int GetAllSubDirFileContent(const wchar_t* folder, const wchar_t* pattern, int bRecurse, CxStringList& out);
