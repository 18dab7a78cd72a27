// CString: the wide (UTF-16) string class of the MFC subset.
//
// Invariant: m_pchData always points at a NUL-terminated buffer owned by MfcLiteU.dll
// (the shared empty text when the string is empty). Every member is out of line, so a
// string built in one module and destroyed in another is allocated and freed in one place.
#pragma once
#include <windows.h>
#include <stdarg.h>
#include "mfclite_api.h"

class MFCLITE_API CString {
public:
    CString();
    CString(const CString& s);
    CString(CString&& s) noexcept;
    CString(const wchar_t* s);
    CString(const wchar_t* s, int nLength);
    CString(const unsigned short* s);   // the suite's wide-text interfaces use unsigned short
    CString(const char* s);             // system code page text, converted
    CString(wchar_t ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& s);
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const wchar_t* s);
    CString& operator=(const unsigned short* s);
    CString& operator=(const char* s);
    CString& operator=(wchar_t ch);

    CString& operator+=(const CString& s);
    CString& operator+=(const wchar_t* s);
    CString& operator+=(wchar_t ch);

    int GetLength() const;
    bool IsEmpty() const;
    void Empty();
    wchar_t GetAt(int i) const;
    wchar_t operator[](int i) const;
    void SetAt(int i, wchar_t ch);
    operator const wchar_t*() const;
    const wchar_t* GetString() const;

    // Buffer access: GetBuffer gives room for at least nMinLength characters plus the
    // terminator; ReleaseBuffer(-1) takes the length from the terminator.
    wchar_t* GetBuffer(int nMinLength = 0);
    wchar_t* GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    int Find(wchar_t ch, int nStart = 0) const;
    int Find(const wchar_t* sub, int nStart = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;

    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    int Insert(int nIndex, const wchar_t* s);
    int Insert(int nIndex, wchar_t ch);
    int Delete(int nIndex, int nCount = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimLeft();
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight();
    CString& TrimRight(const wchar_t* chars);
    CString& Trim();

    // printf-style formatting with the Windows conventions (%s: wide text).
    void Format(const wchar_t* fmt, ...);
    void FormatV(const wchar_t* fmt, va_list args);
    void AppendFormat(const wchar_t* fmt, ...);

    // Loads string resource nID from the current resource source, then from the
    // registered extension modules. False (and the string unchanged) when absent.
    BOOL LoadString(UINT nID);

private:
    void assign(const wchar_t* s, int n);
    void append(const wchar_t* s, int n);
    void reserve(int n);
    wchar_t* m_pchData;
};

MFCLITE_API CString operator+(const CString& a, const CString& b);
MFCLITE_API CString operator+(const CString& a, const wchar_t* b);
MFCLITE_API CString operator+(const wchar_t* a, const CString& b);
MFCLITE_API CString operator+(const CString& a, wchar_t b);
MFCLITE_API bool operator==(const CString& a, const CString& b);
MFCLITE_API bool operator==(const CString& a, const wchar_t* b);
MFCLITE_API bool operator==(const wchar_t* a, const CString& b);
MFCLITE_API bool operator!=(const CString& a, const CString& b);
MFCLITE_API bool operator!=(const CString& a, const wchar_t* b);
MFCLITE_API bool operator!=(const wchar_t* a, const CString& b);
MFCLITE_API bool operator<(const CString& a, const CString& b);
