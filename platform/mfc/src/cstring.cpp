// CString storage, editing and searching.
#include "afxstr.h"
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <new>

namespace {

// Heap block: header followed by nAlloc + 1 characters.
struct StringData {
    int nLength;
    int nAlloc;
    wchar_t* chars() { return reinterpret_cast<wchar_t*>(this + 1); }
};

// The empty text shared by all empty strings; never written or freed.
struct EmptyString {
    StringData header{0, 0};
    wchar_t nul = 0;
} g_empty;

StringData* data_of(wchar_t* p) { return reinterpret_cast<StringData*>(p) - 1; }
wchar_t* empty_chars() { return g_empty.header.chars(); }
bool is_empty_block(wchar_t* p) { return p == empty_chars(); }

int safe_len(const wchar_t* s) { return s ? static_cast<int>(wcslen(s)) : 0; }

bool is_space(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

} // namespace

void CString::reserve(int n) {
    if (n <= data_of(m_pchData)->nAlloc) return;
    // Made to the text's size: a catalogue listing holds three strings per item, and a
    // floor of a few characters more per string is a third of a listing's memory.
    int len = GetLength();
    int cap = n;
    auto* d = static_cast<StringData*>(malloc(sizeof(StringData) + (cap + 1) * sizeof(wchar_t)));
    if (!d) throw std::bad_alloc();
    d->nLength = len;
    d->nAlloc = cap;
    memcpy(d->chars(), m_pchData, (len + 1) * sizeof(wchar_t));
    if (!is_empty_block(m_pchData)) free(data_of(m_pchData));
    m_pchData = d->chars();
}

void CString::assign(const wchar_t* s, int n) {
    if (n <= 0) { Empty(); return; }
    if (s >= m_pchData && s <= m_pchData + GetLength()) {   // source inside this string
        CString copy(s, n);
        *this = static_cast<CString&&>(copy);
        return;
    }
    reserve(n);
    memcpy(m_pchData, s, n * sizeof(wchar_t));
    m_pchData[n] = 0;
    data_of(m_pchData)->nLength = n;
}

void CString::append(const wchar_t* s, int n) {
    if (n <= 0) return;
    if (s >= m_pchData && s <= m_pchData + GetLength()) {
        CString copy(s, n);
        append(copy.m_pchData, n);
        return;
    }
    int len = GetLength();
    if (len + n > data_of(m_pchData)->nAlloc) reserve(len + n > 2 * len ? len + n : 2 * len);
    memcpy(m_pchData + len, s, n * sizeof(wchar_t));
    m_pchData[len + n] = 0;
    data_of(m_pchData)->nLength = len + n;
}

CString::CString() : m_pchData(empty_chars()) {}
CString::CString(const CString& s) : m_pchData(empty_chars()) { assign(s.m_pchData, s.GetLength()); }
CString::CString(CString&& s) noexcept : m_pchData(s.m_pchData) { s.m_pchData = empty_chars(); }
CString::CString(const wchar_t* s) : m_pchData(empty_chars()) { assign(s, safe_len(s)); }
CString::CString(const wchar_t* s, int n) : m_pchData(empty_chars()) {
    if (s && n > 0) assign(s, static_cast<int>(wcsnlen(s, n)));
}
CString::CString(const unsigned short* s) : CString(reinterpret_cast<const wchar_t*>(s)) {}
CString::CString(const char* s) : m_pchData(empty_chars()) { *this = s; }
CString::CString(wchar_t ch, int n) : m_pchData(empty_chars()) {
    if (n <= 0) return;
    reserve(n);
    for (int i = 0; i < n; ++i) m_pchData[i] = ch;
    m_pchData[n] = 0;
    data_of(m_pchData)->nLength = n;
}
CString::~CString() { if (!is_empty_block(m_pchData)) free(data_of(m_pchData)); }

CString& CString::operator=(const CString& s) { if (this != &s) assign(s.m_pchData, s.GetLength()); return *this; }
CString& CString::operator=(CString&& s) noexcept {
    if (this != &s) {
        if (!is_empty_block(m_pchData)) free(data_of(m_pchData));
        m_pchData = s.m_pchData;
        s.m_pchData = empty_chars();
    }
    return *this;
}
CString& CString::operator=(const wchar_t* s) { assign(s, safe_len(s)); return *this; }
CString& CString::operator=(const unsigned short* s) { return *this = reinterpret_cast<const wchar_t*>(s); }
CString& CString::operator=(const char* s) {
    int n = s && *s ? MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0) : 0;
    if (n <= 1) { Empty(); return *this; }
    wchar_t* buf = GetBufferSetLength(n - 1);
    MultiByteToWideChar(CP_ACP, 0, s, -1, buf, n);
    ReleaseBuffer(n - 1);
    return *this;
}
CString& CString::operator=(wchar_t ch) { assign(&ch, 1); return *this; }

CString& CString::operator+=(const CString& s) { append(s.m_pchData, s.GetLength()); return *this; }
CString& CString::operator+=(const wchar_t* s) { append(s, safe_len(s)); return *this; }
CString& CString::operator+=(wchar_t ch) { append(&ch, 1); return *this; }

int CString::GetLength() const { return data_of(m_pchData)->nLength; }
bool CString::IsEmpty() const { return GetLength() == 0; }
void CString::Empty() {
    if (!is_empty_block(m_pchData)) free(data_of(m_pchData));
    m_pchData = empty_chars();
}
wchar_t CString::GetAt(int i) const { return (i >= 0 && i < GetLength()) ? m_pchData[i] : 0; }
wchar_t CString::operator[](int i) const { return GetAt(i); }
void CString::SetAt(int i, wchar_t ch) { if (i >= 0 && i < GetLength()) m_pchData[i] = ch; }
CString::operator const wchar_t*() const { return m_pchData; }
const wchar_t* CString::GetString() const { return m_pchData; }

wchar_t* CString::GetBuffer(int nMinLength) {
    reserve(nMinLength > GetLength() ? nMinLength : GetLength());
    if (is_empty_block(m_pchData)) reserve(1);
    return m_pchData;
}
wchar_t* CString::GetBufferSetLength(int n) {
    if (n < 0) n = 0;
    GetBuffer(n);
    m_pchData[n] = 0;
    data_of(m_pchData)->nLength = n;
    return m_pchData;
}
void CString::ReleaseBuffer(int n) {
    if (is_empty_block(m_pchData)) return;
    int cap = data_of(m_pchData)->nAlloc;
    if (n < 0 || n > cap) n = static_cast<int>(wcsnlen(m_pchData, cap));
    m_pchData[n] = 0;
    data_of(m_pchData)->nLength = n;
}

int CString::Compare(const wchar_t* s) const { return wcscmp(m_pchData, s ? s : L""); }
int CString::CompareNoCase(const wchar_t* s) const { return _wcsicmp(m_pchData, s ? s : L""); }

CString CString::Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }
CString CString::Mid(int first, int count) const {
    int len = GetLength();
    if (first < 0) first = 0;
    if (first > len) first = len;
    if (count < 0) count = 0;
    if (count > len - first) count = len - first;
    return CString(m_pchData + first, count);
}
CString CString::Left(int count) const { return Mid(0, count); }
CString CString::Right(int count) const {
    int len = GetLength();
    if (count < 0) count = 0;
    if (count > len) count = len;
    return CString(m_pchData + len - count, count);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    const wchar_t* p = wcschr(m_pchData + start, ch);
    return (p && ch) ? static_cast<int>(p - m_pchData) : -1;
}
int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    const wchar_t* p = wcsstr(m_pchData + start, sub);
    return p ? static_cast<int>(p - m_pchData) : -1;
}
int CString::ReverseFind(wchar_t ch) const {
    const wchar_t* p = wcsrchr(m_pchData, ch);
    return (p && ch) ? static_cast<int>(p - m_pchData) : -1;
}
int CString::FindOneOf(const wchar_t* chars) const {
    if (!chars) return -1;
    size_t n = wcscspn(m_pchData, chars);
    return n < static_cast<size_t>(GetLength()) ? static_cast<int>(n) : -1;
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
    int n = 0;
    for (int i = 0, len = GetLength(); i < len; ++i)
        if (m_pchData[i] == chOld) { m_pchData[i] = chNew; ++n; }
    return n;
}
int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    int oldLen = safe_len(oldText);
    if (oldLen == 0) return 0;
    int newLen = safe_len(newText);
    CString out;
    int n = 0;
    const wchar_t* p = m_pchData;
    for (const wchar_t* hit; (hit = wcsstr(p, oldText)) != nullptr; p = hit + oldLen, ++n) {
        out.append(p, static_cast<int>(hit - p));
        out.append(newText, newLen);
    }
    if (n) {
        out.append(p, safe_len(p));
        *this = static_cast<CString&&>(out);
    }
    return n;
}
int CString::Remove(wchar_t ch) {
    int len = GetLength(), w = 0;
    for (int r = 0; r < len; ++r)
        if (m_pchData[r] != ch) m_pchData[w++] = m_pchData[r];
    if (w != len) { m_pchData[w] = 0; data_of(m_pchData)->nLength = w; }
    return len - w;
}
int CString::Insert(int index, const wchar_t* s) {
    int len = GetLength();
    if (index < 0) index = 0;
    if (index > len) index = len;
    CString out(m_pchData, index);
    out += s;
    out.append(m_pchData + index, len - index);
    *this = static_cast<CString&&>(out);
    return GetLength();
}
int CString::Insert(int index, wchar_t ch) { wchar_t s[2] = {ch, 0}; return Insert(index, s); }
int CString::Delete(int index, int count) {
    int len = GetLength();
    if (index < 0) index = 0;
    if (count <= 0 || index >= len) return len;
    if (count > len - index) count = len - index;
    memmove(m_pchData + index, m_pchData + index + count, (len - index - count + 1) * sizeof(wchar_t));
    data_of(m_pchData)->nLength = len - count;
    return len - count;
}

CString& CString::MakeUpper() { if (!IsEmpty()) CharUpperBuffW(m_pchData, GetLength()); return *this; }
CString& CString::MakeLower() { if (!IsEmpty()) CharLowerBuffW(m_pchData, GetLength()); return *this; }

CString& CString::TrimLeft() {
    int i = 0, len = GetLength();
    while (i < len && is_space(m_pchData[i])) ++i;
    return i ? (Delete(0, i), *this) : *this;
}
CString& CString::TrimLeft(const wchar_t* chars) {
    if (!chars || !*chars) return *this;
    int i = 0, len = GetLength();
    while (i < len && wcschr(chars, m_pchData[i])) ++i;
    return i ? (Delete(0, i), *this) : *this;
}
CString& CString::TrimRight() {
    int len = GetLength(), n = len;
    while (n > 0 && is_space(m_pchData[n - 1])) --n;
    return n != len ? (Delete(n, len - n), *this) : *this;
}
CString& CString::TrimRight(const wchar_t* chars) {
    if (!chars || !*chars) return *this;
    int len = GetLength(), n = len;
    while (n > 0 && wcschr(chars, m_pchData[n - 1])) --n;
    return n != len ? (Delete(n, len - n), *this) : *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
bool operator==(const CString& a, const CString& b) { return a.GetLength() == b.GetLength() && a.Compare(b) == 0; }
bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
