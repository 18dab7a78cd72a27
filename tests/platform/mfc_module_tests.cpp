// Module state: resource handle and the chain of extension modules.
#include <gtest/gtest.h>
#include <afx.h>
#include <afxwin.h>
#include <string>

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

// A host may load and unload the library many times in one process: each load's per-thread
// objects end with it and its thread slots go back (a process has about a thousand). A copy of
// the module under another name is a module of its own, so this program's own stays loaded.
TEST(MfcModuleState, ThreadSlotsGoBackWhenTheModuleUnloads) {
    wchar_t exe[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    std::wstring folder(exe);
    folder.resize(folder.rfind(L'\\') + 1);
    const std::wstring copy = folder + L"MfcLiteU_reloaded.dll";
    ASSERT_TRUE(CopyFileW((folder + L"MfcLiteU.dll").c_str(), copy.c_str(), FALSE));
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < 1200; ++i) {   // more loads than the process has slots
        HMODULE module = LoadLibraryW(copy.c_str());
        ASSERT_NE(nullptr, module) << "load " << i;
        auto fromHandle = reinterpret_cast<CFont* (*)(HFONT)>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "_ZN5CFont10FromHandleEP7HFONT__")));
        ASSERT_NE(nullptr, fromHandle);
        ASSERT_NE(nullptr, fromHandle(font)) << "load " << i;   // the thread's map of temporary wrappers
        ASSERT_TRUE(FreeLibrary(module));
    }
    EXPECT_TRUE(DeleteFileW(copy.c_str()));
}
