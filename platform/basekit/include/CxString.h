// CxString: the foundation library's wide string, a CString with a code-page view.
#pragma once
#include <afxstr.h>
#include "basekit_api.h"

class BASEKIT_API CxString : public CString {
public:
    CxString();
    CxString(const CxString& s);
    CxString(const CString& s);
    CxString(const wchar_t* s);
    CxString(const unsigned short* s);
    ~CxString();
    CxString& operator=(const CxString& s);
    CxString& operator=(const CString& s);
    CxString& operator=(const wchar_t* s);

    CxString Mid(int nFirst) const;
    CxString Mid(int nFirst, int nCount) const;

    // The text in the system code page. The buffer belongs to this object and stays
    // valid until the next call or the object's end.
    const char* GetMByteData();

private:
    char* m_pMByte;
};
