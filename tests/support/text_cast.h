// Casts between the interface's UTF-16 texts (unsigned short) and the tests' wchar_t
// texts, shared by the test programs.
#pragma once
#include <string>

// A wchar_t text as the interface takes it.
inline const unsigned short* U(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }
inline const unsigned short* U(const std::wstring& s) { return U(s.c_str()); }
// An interface text as a std::wstring; a null text reads "<null>".
inline std::wstring W(const unsigned short* s) { return s ? reinterpret_cast<const wchar_t*>(s) : L"<null>"; }
