// CxRegSDK.
#include "CxRegSDK.h"
#include <unique_res.h>
#include <vector>

CxRegSDK::CxRegSDK(HKEY root, const wchar_t* key) : m_hRoot(root), m_strKey(key) {}
CxRegSDK::~CxRegSDK() = default;

CxString CxRegSDK::subkey(const wchar_t* section) const {
    CxString path(m_strKey);
    if (section && *section) {
        if (!path.IsEmpty()) path += L"\\";
        path += section;
    }
    return path;
}

CxString CxRegSDK::GetProfileStringW(const wchar_t* section, const wchar_t* entry, const wchar_t* def) {
    win32::unique_hkey key;
    if (RegOpenKeyExW(m_hRoot, subkey(section), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return CxString(def);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return CxString(def);
    std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, 0);
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &bytes) != ERROR_SUCCESS)
        return CxString(def);
    buf.back() = 0;   // a stored value need not be terminated
    return CxString(buf.data());
}

BOOL CxRegSDK::WriteProfileStringW(const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
    win32::unique_hkey key;
    if (RegCreateKeyExW(m_hRoot, subkey(section), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return FALSE;
    const wchar_t* text = value ? value : L"";
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}
