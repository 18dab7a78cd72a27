// File names of the resource libraries. A name that does not fit the platform's buffers is
// refused as a whole, never cut to another, existing name.
#pragma once
#include <windows.h>
#include <afxstr.h>

constexpr int kMaxLibraryName = MAX_PATH - 1;   // characters of a file name or path

inline bool IsUsableName(const unsigned short* name) { return name && name[0]; }
inline const wchar_t* WideText(const unsigned short* text) { return reinterpret_cast<const wchar_t*>(text); }
inline bool FitsLibraryName(const CString& name) { return name.GetLength() <= kMaxLibraryName; }
