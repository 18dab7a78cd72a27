// Packing and unpacking of request records.
#include "net_package.h"
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <string>
#include <vector>
#include <wide_text.h>

namespace {

size_t units_of(const unsigned short* s, size_t cap) {
    size_t n = 0;
    while (n < cap && s[n]) ++n;
    return n;
}

void add_text(CPackageBlk& p, const wchar_t* key, const unsigned short* text, size_t cap) {
    const size_t n = units_of(text, cap - 1);
    std::wstring copy(reinterpret_cast<const wchar_t*>(text), n);
    p.Add(key, copy.c_str(), static_cast<unsigned long>(2 * n + 2));
}

template <class T>
void get_value(const CUnpackageBlk& u, const wchar_t* key, T& out) {
    T v{};
    unsigned long size = sizeof(T);
    if (u.GetData(key, &v, size) && size == sizeof(T)) out = v;
}

// A wide text of at most N - 1 units, always terminated.
template <size_t N>
void get_wide(const CUnpackageBlk& u, const wchar_t* key, unsigned short (&out)[N]) {
    unsigned long size = 0;
    if (!u.GetData(key, nullptr, size)) return;
    std::vector<unsigned short> buf(size / 2 + 1, 0);
    unsigned long got = size;
    u.GetData(key, buf.data(), got);
    copy_cut(out, buf.data(), size / 2);
}

// An 8-bit text of at most min(item size, N - 1) bytes, always terminated.
template <size_t N>
void get_bytes(const CUnpackageBlk& u, const wchar_t* key, char (&out)[N]) {
    unsigned long size = N - 1;
    std::string buf(N, '\0');
    if (!u.GetData(key, &buf[0], size)) return;
    copy_cut(out, buf.c_str(), size);
}

// The four 512-byte texts, which travel whole and in this order.
struct Text512 {
    const wchar_t* key;
    char (CCommandNetBlk::*field)[512];
};
const Text512 kTexts512[] = {{L"szServer", &CCommandNetBlk::szServer},
                             {L"szCgi", &CCommandNetBlk::szCgi},
                             {L"szCmd", &CCommandNetBlk::szCmd},
                             {L"szObjPath", &CCommandNetBlk::szObjPath}};

// "Argument_<i>": the key of the i-th POST argument.
std::wstring argument_key(int i) {
    std::wstring digits;
    unsigned n = static_cast<unsigned>(i);
    do digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10)); while (n /= 10);
    return L"Argument_" + digits;
}

} // namespace

void PackNetBlk(const CCommandNetBlk& b, CPackageBlk& p) {
    const unsigned long hwnd = static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(b.hWnd));
    p.Add(L"hWnd", &hwnd, 4);
    p.Add(L"nMsg", &b.nMsg, 4);
    p.Add(L"eResult", &b.eResult, 4);
    p.Add(L"nMsgID", &b.nMsgID, 4);
    add_text(p, L"szDeviceId", b.szDeviceId, 512);
    for (const Text512& t : kTexts512) p.Add(t.key, b.*t.field, 512);
    p.Add(L"iHttpPort", &b.iHttpPort, 4);
    p.Add(L"szResHeader", b.szResHeader, 2048);
    add_text(p, L"szResFile", b.szResFile, 1024);
    p.Add(L"nResFileSize", &b.nResFileSize, 4);
    if (b.pszXml) {
        const unsigned long len = static_cast<unsigned long>(strlen(b.pszXml));
        p.Add(L"pszXml_len", &len, 4);
        p.Add(L"pszXml", b.pszXml, len);
    }
    const int n = b.listArgument.GetCount();
    if (n > 0) {
        p.Add(L"Count_Argument", &n, 4);
        for (int i = 0; i < n; ++i) {
            const std::wstring key = argument_key(i);
            CxString item = b.listArgument.GetItem(i);
            p.Add(key.c_str(), item.GetString(), static_cast<unsigned long>(2 * item.GetLength() + 2));
        }
    }
}

void UnpackNetBlk(const void* data, unsigned long size, CCommandNetBlk& b) {
    CUnpackageBlk u;
    if (!u.SetData(data, size)) return;
    unsigned long hwnd = 0;
    get_value(u, L"hWnd", hwnd);
    b.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd));
    get_value(u, L"nMsg", b.nMsg);
    get_value(u, L"eResult", b.eResult);
    get_value(u, L"nMsgID", b.nMsgID);
    get_wide(u, L"szDeviceId", b.szDeviceId);
    for (const Text512& t : kTexts512) get_bytes(u, t.key, b.*t.field);
    get_value(u, L"iHttpPort", b.iHttpPort);
    get_bytes(u, L"szResHeader", b.szResHeader);
    get_wide(u, L"szResFile", b.szResFile);
    get_value(u, L"nResFileSize", b.nResFileSize);

    unsigned long len = 0, xmlSize = 0;
    get_value(u, L"pszXml_len", len);
    if (u.GetData(L"pszXml", nullptr, xmlSize) && xmlSize == len && len < 0x7FFFFFFF) {
        char* xml = static_cast<char*>(malloc(len + 1));
        if (xml) {
            unsigned long got = len;
            u.GetData(L"pszXml", xml, got);
            xml[len] = 0;
            free(b.pszXml);
            b.pszXml = xml;
        }
    }
    int count = 0;
    get_value(u, L"Count_Argument", count);
    for (int i = 0; i < count; ++i) {
        const std::wstring key = argument_key(i);
        unsigned long itemSize = 0;
        if (!u.GetData(key.c_str(), nullptr, itemSize)) break;
        std::wstring item(itemSize / 2 + 1, L'\0');
        unsigned long got = static_cast<unsigned long>(item.size() * 2);
        u.GetData(key.c_str(), &item[0], got);
        b.listArgument.AddTail(item.c_str());
    }
}
