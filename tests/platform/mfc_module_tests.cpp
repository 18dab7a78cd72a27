// Module state: resource handle and the chain of extension modules.
#include <gtest/gtest.h>
#include <afx.h>

TEST(MfcModuleState, ExtensionChainFindsResourcesOfRegisteredModules) {
    HMODULE base = GetModuleHandleW(L"BaseKitU.dll");
    ASSERT_NE(nullptr, base);
    const int before = AfxGetExtensionModuleCount();

    AFX_EXTENSION_MODULE none = {};
    EXPECT_FALSE(AfxInitExtensionModule(none, nullptr));

    AFX_EXTENSION_MODULE ext = {};
    ASSERT_TRUE(AfxInitExtensionModule(ext, base));
    new CDynLinkLibrary(ext);
    EXPECT_EQ(before + 1, AfxGetExtensionModuleCount());

    // The current resource source comes first; then the chain.
    AfxSetResourceHandle(base);
    EXPECT_EQ(base, AfxFindResourceHandle(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */));
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetResourceHandle());
    EXPECT_EQ(nullptr, AfxFindResourceHandle(L"NO_SUCH_RESOURCE", MAKEINTRESOURCEW(16)));

    AfxTermExtensionModule(ext, TRUE);
    EXPECT_EQ(before, AfxGetExtensionModuleCount());
    EXPECT_FALSE(ext.bInitialized);
}

TEST(MfcModuleState, ApplicationObjectOwnsItsName) {
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CWinApp app(L"First");
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ(L"First", app.m_pszAppName);
        app.SetAppName(L"Second");
        EXPECT_STREQ(L"Second", AfxGetApp()->m_pszAppName);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}
