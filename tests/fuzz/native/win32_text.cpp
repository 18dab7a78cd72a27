// The Win32 calls of the cores: code-page conversion (UTF-8; the ANSI page as Latin-1),
// ASCII case mapping, _wfopen on a UTF-8 path.
#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include <string>
namespace {
int put(wchar_t* dst, int cap, int n, wchar_t c) { if (dst && cap) { if (n >= cap) return -1; dst[n] = c; } return n + 1; }
}
extern "C" int MultiByteToWideChar(UINT cp, DWORD, const char* src, int len, wchar_t* dst, int cap) {
    if (!src) return 0;
    const unsigned char* s = (const unsigned char*)src;
    size_t n = len < 0 ? strlen(src) + 1 : (size_t)len;
    int out = 0;
    for (size_t i = 0; i < n;) {
        unsigned c = s[i++];
        if (cp == CP_UTF8 && c >= 0x80) {
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
            unsigned cpv = extra == 3 ? c & 7 : extra == 2 ? c & 15 : c & 31;
            bool ok = extra > 0;
            for (int k = 0; ok && k < extra; ++k) { if (i >= n || (s[i] & 0xC0) != 0x80) ok = false; else cpv = cpv << 6 | (s[i++] & 63); }
            if (!ok || cpv > 0x10FFFF || (cpv >= 0xD800 && cpv < 0xE000)) cpv = 0xFFFD;
            if (cpv >= 0x10000) { cpv -= 0x10000; if ((out = put(dst, cap, out, 0xD800 + (cpv >> 10))) < 0) return 0; c = 0xDC00 + (cpv & 0x3FF); }
            else c = cpv;
        }
        if ((out = put(dst, cap, out, (wchar_t)c)) < 0) return 0;
    }
    return out;
}
extern "C" int WideCharToMultiByte(UINT cp, DWORD, const wchar_t* src, int len, char* dst, int cap, const char*, BOOL*) {
    if (!src) return 0;
    size_t n = len < 0 ? wcslen(src) + 1 : (size_t)len;
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        unsigned c = (unsigned short)src[i];
        if (cp != CP_UTF8) { out += c < 0x100 ? (char)c : '?'; continue; }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && (unsigned short)src[i + 1] >= 0xDC00 && (unsigned short)src[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + ((unsigned short)src[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
        if (c < 0x80) out += (char)c;
        else if (c < 0x800) { out += (char)(0xC0 | c >> 6); out += (char)(0x80 | (c & 63)); }
        else if (c < 0x10000) { out += (char)(0xE0 | c >> 12); out += (char)(0x80 | (c >> 6 & 63)); out += (char)(0x80 | (c & 63)); }
        else { out += (char)(0xF0 | c >> 18); out += (char)(0x80 | (c >> 12 & 63)); out += (char)(0x80 | (c >> 6 & 63)); out += (char)(0x80 | (c & 63)); }
    }
    if (!dst || !cap) return (int)out.size();
    if ((int)out.size() > cap) return 0;
    memcpy(dst, out.data(), out.size());
    return (int)out.size();
}
extern "C" DWORD CharUpperBuffW(wchar_t* s, DWORD n) { for (DWORD i = 0; i < n; ++i) if (s[i] >= L'a' && s[i] <= L'z') s[i] -= 32; return n; }
extern "C" DWORD CharLowerBuffW(wchar_t* s, DWORD n) { for (DWORD i = 0; i < n; ++i) if (s[i] >= L'A' && s[i] <= L'Z') s[i] += 32; return n; }
extern "C" FILE* _wfopen(const wchar_t* path, const wchar_t* mode) {
    char p[4096], m[16];
    if (WideCharToMultiByte(CP_UTF8, 0, path, -1, p, sizeof p, nullptr, nullptr) <= 0) return nullptr;
    if (WideCharToMultiByte(CP_UTF8, 0, mode, -1, m, sizeof m, nullptr, nullptr) <= 0) return nullptr;
    return fopen(p, m);
}
