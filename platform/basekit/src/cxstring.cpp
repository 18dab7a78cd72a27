// CxString.
#include "CxString.h"
#include <stdlib.h>

CxString::CxString() : m_pMByte(nullptr) {}
CxString::CxString(const CxString& s) : CString(s), m_pMByte(nullptr) {}
CxString::CxString(const CString& s) : CString(s), m_pMByte(nullptr) {}
CxString::CxString(const wchar_t* s) : CString(s), m_pMByte(nullptr) {}
CxString::CxString(const unsigned short* s) : CString(s), m_pMByte(nullptr) {}
CxString::~CxString() { free(m_pMByte); }

CxString& CxString::operator=(const CxString& s) { CString::operator=(s); return *this; }
CxString& CxString::operator=(const CString& s) { CString::operator=(s); return *this; }
CxString& CxString::operator=(const wchar_t* s) { CString::operator=(s); return *this; }

CxString CxString::Mid(int nFirst) const { return CxString(CString::Mid(nFirst)); }
CxString CxString::Mid(int nFirst, int nCount) const { return CxString(CString::Mid(nFirst, nCount)); }

const char* CxString::GetMByteData() {
    int n = WideCharToMultiByte(CP_ACP, 0, GetString(), -1, nullptr, 0, nullptr, nullptr);
    if (n < 1) n = 1;
    char* p = static_cast<char*>(realloc(m_pMByte, n));
    if (!p) return "";
    m_pMByte = p;
    m_pMByte[0] = 0;
    WideCharToMultiByte(CP_ACP, 0, GetString(), -1, m_pMByte, n, nullptr, nullptr);
    return m_pMByte;
}
