// The small services, in this process.
#include <gtest/gtest.h>
#include <string>
#include <host_driver.h>
#include <Corelink.h>
#include <text_cast.h>

namespace {
void set_model(const wchar_t* model) { wcscpy(reinterpret_cast<wchar_t*>(g_szTP_Model), model); }
}

TEST(CheckTPModelName, ExactCaseSensitiveMatch) {
    set_model(L"SHARP_GX25");
    struct Case { const wchar_t* name; bool match; };
    const Case cases[] = {
        {L"SHARP_GX25", true}, {L"sharp_gx25", false}, {L"SHARP_GX2", false},
        {L"SHARP_GX25 ", false}, {L"", false}, {nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? ToUtf8(c.name) : "null");
        EXPECT_EQ(c.match, Check_TP_ModelName(U(c.name)));
    }
    set_model(L"");
    EXPECT_TRUE(Check_TP_ModelName(U(L"")));
}

TEST(AutoSyncLock, OneOwnerWithNesting) {
    int a = 0, b = 0;
    EXPECT_TRUE(LockAutoSync(&a));
    EXPECT_FALSE(LockAutoSync(&b));
    EXPECT_TRUE(LockAutoSync(&a));
    UnlockAutoSync(&b);              // not the holder: ignored
    UnlockAutoSync(&a);
    EXPECT_FALSE(LockAutoSync(&b));  // a still holds one level
    UnlockAutoSync(&a);
    EXPECT_TRUE(LockAutoSync(&b));
    UnlockAutoSync(&b);

    // A null owner on a free lock succeeds but leaves the lock free for anyone.
    EXPECT_TRUE(LockAutoSync(nullptr));
    EXPECT_TRUE(LockAutoSync(&a));
    UnlockAutoSync(&a);
}

TEST(WebInstallData, PendingLineIsHandedOverOnce) {
    ASSERT_TRUE(SetWebInstallData(nullptr));
    g_bEnableWebInstall = true;
    EXPECT_TRUE(SetWebInstallData(U(L"x")));
    EXPECT_FALSE(SetWebInstallData(U(L"y")));
    EXPECT_EQ(L"x", W(g_szWebInstallCmdLine));
    EXPECT_TRUE(g_bEnableWebInstall);
    EXPECT_TRUE(SetWebInstallData(nullptr));
    EXPECT_EQ(L"", W(g_szWebInstallCmdLine));
    EXPECT_FALSE(g_bEnableWebInstall);
    EXPECT_TRUE(SetWebInstallData(U(L"")));   // the empty text leaves nothing pending
    EXPECT_TRUE(SetWebInstallData(U(L"z")));
    EXPECT_TRUE(SetWebInstallData(nullptr));
}

TEST(WebInstallData, LineThatDoesNotFitIsRefusedWhole) {
    ASSERT_TRUE(SetWebInstallData(nullptr));
    const std::wstring fits(263, L'a');        // 263 units and the terminator
    const std::wstring tooLong(264, L'b');
    EXPECT_FALSE(SetWebInstallData(U(tooLong)));
    EXPECT_EQ(L"", W(g_szWebInstallCmdLine));
    EXPECT_TRUE(SetWebInstallData(U(fits)));
    EXPECT_EQ(fits, W(g_szWebInstallCmdLine));
    EXPECT_FALSE(SetWebInstallData(U(tooLong)));
    EXPECT_EQ(fits, W(g_szWebInstallCmdLine));
    EXPECT_TRUE(SetWebInstallData(nullptr));
}

TEST(CacheModify, StampsAndRefresh) {
    SetCacheModify(false);
    EXPECT_EQ(0, IsCacheModify());
    for (const DWORD clean = GetTickCount(); GetTickCount() == clean;) Sleep(1);   // a later tick
    SetCacheModify(true);
    EXPECT_EQ(1, IsCacheModify());
    g_bProcessRefresh = 1;
    EXPECT_EQ(0, IsCacheModify());
    g_bProcessRefresh = 0;
    EXPECT_EQ(1, IsCacheModify());
    SetCacheModify(false);
    EXPECT_EQ(0, IsCacheModify());
}

TEST(CacheModify, MarkInTheSameTickAsTheCleanMarkIsNotSeen) {
    bool sameTickSeen = false;
    for (int i = 0; i < 1000 && !sameTickSeen; ++i) {
        DWORD before = GetTickCount();
        SetCacheModify(false);
        SetCacheModify(true);
        if (GetTickCount() != before) continue;   // the tick moved: not the case under test
        sameTickSeen = true;
        EXPECT_EQ(0, IsCacheModify());
    }
    EXPECT_TRUE(sameTickSeen);
    SetCacheModify(false);
}

TEST(CommunicationData, CopiesTheBlock) {
    EXPECT_FALSE(GetCommunicationData(nullptr));
    ASSERT_NE(nullptr, g_pCommunicationInfo);
    g_pCommunicationInfo->adwData[72] = 0xABCD;
    COMMUNICATION_INFO_DATA copy = {};
    ASSERT_TRUE(GetCommunicationData(&copy));
    EXPECT_EQ(0xABCDu, copy.adwData[72]);
    // This process created the installation's mutex: it stamped the header.
    EXPECT_EQ(GetCurrentProcessId(), copy.dwHead);
    g_pCommunicationInfo->adwData[72] = 0;
}
