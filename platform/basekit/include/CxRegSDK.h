// CxRegSDK: profile-style access to a registry key ("root\key\section", value "entry").
#pragma once
#include <windows.h>
#include "CxString.h"

class BASEKIT_API CxRegSDK {
public:
    // key may be empty or null: sections are then opened directly under root.
    CxRegSDK(HKEY root, const wchar_t* key);
    ~CxRegSDK();

    // The text value entry of the section, or def when the key or value is missing or not text.
    CxString GetProfileStringW(const wchar_t* section, const wchar_t* entry, const wchar_t* def);
    // Creates the section's key and sets entry (null entry: the key's default value).
    BOOL WriteProfileStringW(const wchar_t* section, const wchar_t* entry, const wchar_t* value);

private:
    CxString subkey(const wchar_t* section) const;
    HKEY m_hRoot;
    CxString m_strKey;
};
