// Foundation library: program paths, folders, registry, shared memory, logs, versions,
// the message-pumping pause.
#include <gtest/gtest.h>
#include <BaseKit.h>
#include <host_driver.h>
#include <process.h>
#include <test_paths.h>
#include <unique_res.h>

TEST(FilePath, RunningProgram) {
    CxString folder, name;
    ASSERT_TRUE(GetCurrentExecPath(folder));
    ASSERT_TRUE(GetCurrentExecFileName(name));
    EXPECT_STREQ(L"platform_tests.exe", name.GetString());
    EXPECT_EQ(BinFolder(), std::wstring(folder));

    unsigned short buf[8];
    int n = GetCurrentExecPath(buf, 8);   // cut to 7 units, always terminated
    EXPECT_EQ(7, n);
    EXPECT_EQ(0, buf[7]);
    EXPECT_EQ(0, GetCurrentExecPath(buf, 0));
}

TEST(FilePath, MakeDirAndFileSearch) {
    std::wstring root = NewTempFolder(L"files");
    ASSERT_FALSE(root.empty());
    std::wstring deep = root + L"\\a\\b\\c";
    EXPECT_TRUE(MakeDir(deep.c_str()));
    EXPECT_TRUE(MakeDir(deep.c_str()));   // existing folder
    for (const wchar_t* f : {L"\\one.dll", L"\\two.exe", L"\\a\\three.dll", L"\\a\\b\\c\\four.dll"}) {
        win32::unique_file file(CreateFileW((root + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
    }
    CxStringList flat, deepList;
    EXPECT_EQ(1, GetAllSubDirFileContent(root.c_str(), L"*.dll", 0, flat));
    EXPECT_EQ(root + L"\\one.dll", std::wstring(flat.GetItem(0)));
    EXPECT_EQ(3, GetAllSubDirFileContent(root.c_str(), L"*.dll", 1, deepList));
    EXPECT_EQ(0, GetAllSubDirFileContent((root + L"\\missing").c_str(), L"*.dll", 1, deepList));
    EXPECT_FALSE(MakeDir(L""));
    RemoveTree(root);
}

TEST(CxRegSDK, ProfileValuesRoundTrip) {
    CxRegSDK reg(HKEY_CURRENT_USER, L"Software\\CorelinkTests");
    EXPECT_STREQ(L"dflt", reg.GetProfileStringW(L"GUI", L"Language", L"dflt").GetString());
    ASSERT_TRUE(reg.WriteProfileStringW(L"GUI", L"Language", L"Deutsch"));
    ASSERT_TRUE(reg.WriteProfileStringW(L"GUI", nullptr, L"default value"));
    EXPECT_STREQ(L"Deutsch", reg.GetProfileStringW(L"GUI", L"Language", L"dflt").GetString());
    EXPECT_STREQ(L"default value", reg.GetProfileStringW(L"GUI", nullptr, L"").GetString());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorelinkTests");
    EXPECT_STREQ(L"gone", reg.GetProfileStringW(L"GUI", L"Language", L"gone").GetString());
}

TEST(CxShareMemory, OneBlockPerName) {
    CxShareMemory a(L"corelink test [block] *", 296, 0, 1);
    CxShareMemory b(L"corelink test [block] *", 296, 0, 1);
    EXPECT_TRUE(a.IsCreator());
    EXPECT_FALSE(b.IsCreator());
    auto* pa = static_cast<unsigned long*>(a.Lock());
    auto* pb = static_cast<unsigned long*>(b.Lock());
    ASSERT_NE(nullptr, pa);
    ASSERT_NE(nullptr, pb);
    EXPECT_EQ(0u, pb[73]);
    pa[73] = 0xC0FFEE;
    EXPECT_EQ(0xC0FFEEu, pb[73]);
    EXPECT_EQ(pa, a.Lock());   // nested lock, same view
    a.Unlock();
    a.Unlock();
    b.Unlock();
    EXPECT_EQ(GetCurrentProcessId(), a.m_dwProcessId);
}

TEST(CxLogMsg, AppendsFormattedUtf8Text) {
    std::wstring folder = NewTempFolder(L"log");
    std::wstring path = folder + L"\\test.log";
    {
        CxLogMsg log(1, reinterpret_cast<const unsigned short*>(path.c_str()), 1, 0x1C, -1, 0x0FFFFFFF);
        ASSERT_TRUE(log.IsOpen());
        log.LogMsg(L"%s\t(Version: %d.%d.%d.%d)\n", L"caf\u00e9.exe", 1, 2, 3, 4);
    }
    {
        CxLogMsg again(1, reinterpret_cast<const unsigned short*>(path.c_str()), 1, 0x1C, -1, 0x0FFFFFFF);
        again.LogMsg(L"-\n");
    }
    EXPECT_EQ("caf\xc3\xa9.exe\t(Version: 1.2.3.4)\n-\n", ReadFileBytes(path));
    CxLogMsg nowhere(1, reinterpret_cast<const unsigned short*>(L"c:\\no\\such\\folder\\x.log"), 1, 0x1C, -1, 0x0FFFFFFF);
    EXPECT_FALSE(nowhere.IsOpen());
    nowhere.LogMsg(L"dropped\n");   // no file: nothing happens
    RemoveTree(folder);
}

TEST(SysInfo, VersionsAndLanguage) {
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_TRUE(GetVersionFromResource(2, (BinFolder() + L"\\BaseKitU.dll").c_str(), a, b, c, d));
    EXPECT_GT(a + b + c + d, 0);
    int w = 7, x = 7, y = 7, z = 7;
    std::wstring folder = NewTempFolder(L"ver");
    std::wstring plain = folder + L"\\plain.lng";
    { win32::unique_file f(CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
    EXPECT_FALSE(GetVersionFromResource(2, plain.c_str(), w, x, y, z));
    EXPECT_TRUE(w == 7 && x == 7 && y == 7 && z == 7);   // untouched
    RemoveTree(folder);

    // Exactly one of the version tests holds (Wine reports Windows 7 by default).
    int holds = IsWin95() + IsWin98() + IsWinME() + IsWinNT40() + IsWin2000() + IsWinXP() + IsWinVista() + IsWin7();
    EXPECT_EQ(1, holds);
    EXPECT_NE(nullptr, wcsstr(GetCurOSLangSTR(), L"["));
}

namespace {

LRESULT CALLBACK count_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) return 42;
    return DefWindowProcW(h, m, w, l);
}

struct SendArgs { HWND hwnd; LRESULT result; };

unsigned __stdcall send_from_other_thread(void* p) {
    auto* args = static_cast<SendArgs*>(p);
    args->result = SendMessageW(args->hwnd, WM_APP, 0, 0);
    return 0;
}

} // namespace

TEST(ReleaseCPUTime, HandlesMessagesSentFromOtherThreadsAndStopsEarly) {
    HWND hwnd = CreateMessageWindow(L"CorelinkPumpTest", count_proc);
    ASSERT_NE(nullptr, hwnd);

    SendArgs args{hwnd, 0};
    win32::unique_handle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, send_from_other_thread, &args, 0, nullptr)));
    // The sender blocks until this thread pumps: the pause must deliver the message.
    for (int i = 0; i < 50 && WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT; ++i) ReleaseCPUTime(100, nullptr, nullptr);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.get(), 0));
    EXPECT_EQ(42, args.result);

    win32::unique_handle stop(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    DWORD t0 = GetTickCount();
    ReleaseCPUTime(60000, stop.get(), nullptr);
    volatile LONG flag = 1;
    ReleaseCPUTime(60000, nullptr, &flag);
    EXPECT_LT(GetTickCount() - t0, 30000u);   // both returned at once, not after a minute
    DestroyWindow(hwnd);
}
