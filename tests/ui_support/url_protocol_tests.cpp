// RegisterURLProtocol: the three values under HKEY_CLASSES_ROOT, read back with the registry
// API and with the prefix's reg.exe.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <string>
#include <unique_res.h>
#include "test_paths.h"

namespace {

// The text value, or "(absent)".
std::wstring Value(const std::wstring& key, const wchar_t* name) {
    wchar_t buf[1024];
    DWORD size = sizeof(buf);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"(absent)";
    return buf;
}

void Write(const std::wstring& key, const wchar_t* name, const wchar_t* value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value, DWORD((wcslen(value) + 1) * sizeof(wchar_t)));
}

// What `reg query ARGS` prints.
std::string RegQuery(const std::wstring& args) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!CreatePipe(&readRaw, &writeRaw, &sa, 0)) return "";
    win32::unique_handle readEnd(readRaw), writeEnd(writeRaw);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd.get();
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"reg.exe query " + args;
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return "";
    win32::unique_handle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buf, sizeof(buf), &got, nullptr) && got) out.append(buf, got);
    WaitForSingleObject(process.get(), 20000);
    return out;
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

const std::wstring kScheme = L"corelinktest";

} // namespace

TEST(UrlProtocol, WritesTheThreeValuesAndOverwritesThem) {
    const std::wstring panel = BinFolder() + L"\\DockProc.exe";
    const std::wstring command = kScheme + L"\\shell\\open\\command";
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kScheme.c_str());

    // A stale registration is overwritten value by value.
    Write(kScheme, nullptr, L"URL:old Protocol");
    Write(kScheme, L"URL Protocol", L"");
    Write(command, nullptr, L"C:\\Old\\Panel.exe %1");

    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass ? "registered again" : "first registration");
        RegisterURLProtocol(reinterpret_cast<const unsigned short*>(kScheme.c_str()));
        EXPECT_EQ(L"URL:corelinktest Protocol", Value(kScheme, nullptr));
        EXPECT_EQ(panel, Value(kScheme, L"URL Protocol"));
        EXPECT_EQ(L"\"" + panel + L"\" \"%1\"", Value(command, nullptr));
    }

    std::string printed = RegQuery(L"HKCR\\" + kScheme + L" /v \"URL Protocol\"");
    EXPECT_NE(std::string::npos, printed.find("REG_SZ")) << printed;
    EXPECT_NE(std::string::npos, printed.find(Narrow(panel))) << printed;
    printed = RegQuery(L"HKCR\\" + command + L" /ve");
    EXPECT_NE(std::string::npos, printed.find("\"" + Narrow(panel) + "\" \"%1\"")) << printed;

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CLASSES_ROOT, kScheme.c_str()));
}

// No scheme: nothing is written, neither a key nor values on HKEY_CLASSES_ROOT itself.
TEST(UrlProtocol, NoSchemeWritesNothing) {
    for (const wchar_t* scheme : {static_cast<const wchar_t*>(nullptr), L""}) {
        SCOPED_TRACE(scheme ? "empty" : "null");
        RegisterURLProtocol(reinterpret_cast<const unsigned short*>(scheme));
        EXPECT_EQ(L"(absent)", Value(L"", L"URL Protocol"));
        EXPECT_EQ(L"(absent)", Value(L"", nullptr));
        EXPECT_EQ(L"(absent)", Value(L"shell\\open\\command", nullptr));
        EXPECT_EQ(L"(absent)", Value(L"(null)", nullptr));
    }
}
