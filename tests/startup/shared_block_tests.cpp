// The shared block as loaded into this process: exports, section, layout and the
// per-process start-up.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <afxwin.h>
#include <Corelink.h>
#include <test_paths.h>
#include <host_driver.h>
#include <text_cast.h>

namespace {

struct Exported { const char* name; const void* address; };

#define G(x) {#x, &x}
// Shared globals in the order of the block.
const Exported kShared[] = {
    G(g_EngineConnCap), G(g_AgentInfo), G(g_NameOrder), G(g_USIMPIntoType), G(g_arySimGroupName),
    G(g_aryMeGroupName), G(g_nSimGroupCount), G(g_nMeGroupCount), G(g_szWebInstallCmdLine),
    G(g_szRegSecPhone), G(g_szOEMName), G(g_szInterface), G(g_szComPort), G(g_szHS_Card),
    G(g_szTP_Model), G(g_cap), G(g_nVersionType), G(g_bEnableWebInstall), G(g_bPanelRunning),
    G(g_bRestartPhone), G(g_bCablePlugIn), G(g_bReleaseEnginePort), G(g_bTerminateThread),
    G(g_bLaunchUIFunction), G(g_nPlugInTestCounter), G(g_nDrvModel), G(g_nEngineStatus),
    G(g_bBatteryCharging), G(g_nRSSI), G(g_nBattery), G(g_bAuthFail), G(g_bIMEIFail),
    G(g_bDeviceNotFound), G(g_bIO_OK), G(g_nRetry), G(g_nDRV_PROTECT), G(g_nVX_USB), G(g_nVX_BT),
    G(g_bME_PROTECT), G(g_bNK_DKU2), G(g_bCdmaTarget), G(g_nCableType), G(g_nBTProfile),
    G(g_niDENSIMCap), G(g_bFileTransOnly), G(g_UIFontHeightMinus), G(g_bEnableNameOrder),
    G(g_bEnableSyncAlways), G(g_dwAACCodecCap), G(g_nCountryCode),
};
const Exported kPerProcess[] = {
    G(g_bUiChinese), G(g_szExecProgPath), G(g_szAppDataPath), G(g_strMarketSpec), G(g_strOperator),
    G(g_bEnableMMediaSave), G(g_bProcessRefresh), G(g_szEngineQueueName), G(g_szQueueName),
    G(g_szProductNameHW), G(g_szProductName), G(g_pCommunicationInfo), G(g_pQueue), G(g_pMainFrame),
    G(g_bInitialFlag), G(g_bBackupRestoreExecFlag), G(g_pDbgUI), G(g_pDbgEng), G(g_pDbgPanel),
};
#undef G

const IMAGE_SECTION_HEADER* find_section(HMODULE module, const char* name) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++s)
        if (strncmp(reinterpret_cast<const char*>(s->Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0) return s;
    return nullptr;
}


} // namespace

TEST(SharedBlock, EveryGlobalIsExportedUnderItsName) {
    HMODULE lib = GetModuleHandleW(L"Corelink.dll");
    ASSERT_NE(nullptr, lib);
    for (const auto* table : {static_cast<const Exported*>(kShared), static_cast<const Exported*>(kPerProcess)}) {
        size_t n = table == kShared ? sizeof(kShared) / sizeof(kShared[0]) : sizeof(kPerProcess) / sizeof(kPerProcess[0]);
        for (size_t i = 0; i < n; ++i) {
            SCOPED_TRACE(table[i].name);
            EXPECT_EQ(table[i].address, reinterpret_cast<const void*>(GetProcAddress(lib, table[i].name)));
        }
    }
}

TEST(SharedBlock, SharedGlobalsLieInTheSharedSectionInTableOrder) {
    HMODULE lib = GetModuleHandleW(L"Corelink.dll");
    const IMAGE_SECTION_HEADER* section = find_section(lib, "VX_Hands");
    ASSERT_NE(nullptr, section);
    const DWORD want = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE;
    EXPECT_EQ(want, section->Characteristics & want);
    auto* begin = reinterpret_cast<const BYTE*>(lib) + section->VirtualAddress;
    auto* end = begin + section->Misc.VirtualSize;
    const BYTE* last = nullptr;
    for (const Exported& g : kShared) {
        SCOPED_TRACE(g.name);
        auto* p = static_cast<const BYTE*>(g.address);
        EXPECT_TRUE(p >= begin && p < end);
        EXPECT_LT(last, p);
        last = p;
    }
    for (const Exported& g : kPerProcess) {
        SCOPED_TRACE(g.name);
        auto* p = static_cast<const BYTE*>(g.address);
        EXPECT_FALSE(p >= begin && p < end);
    }
}

TEST(ProcessStartUp, FillsNamesAndFoldersOfThisProcess) {
    EXPECT_EQ(L"Quillbox", W(g_szProductName));
    EXPECT_EQ(L"Quillbox", W(g_szProductNameHW));
    EXPECT_EQ(L"qUiLlBoX", W(g_szQueueName));
    EXPECT_TRUE(g_bInitialFlag);
    EXPECT_EQ(BinFolder(), W(g_szExecProgPath));

    wchar_t appData[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
    std::wstring expected = std::wstring(appData) + L"\\Veranox\\Quillbox";
    EXPECT_EQ(expected, W(g_szAppDataPath));
    DWORD attributes = GetFileAttributesW(expected.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    EXPECT_NE(nullptr, g_pCommunicationInfo);
    // Not one of the suite's three executables: no log.
    EXPECT_EQ(nullptr, g_pDbgUI);
    EXPECT_EQ(nullptr, g_pDbgEng);
    EXPECT_EQ(nullptr, g_pDbgPanel);
    // Registered with MFC as an extension module.
    EXPECT_GE(AfxGetExtensionModuleCount(), 1);
}

TEST(ProcessStartUp, HoldsTheExistenceMutexOfItsFolder) {
    std::wstring name = L"vX_" + BinFolder() + L"_eXiSTmUtEx";
    for (wchar_t& c : name)
        if (c == L'\\') c = L'_';
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    ASSERT_NE(nullptr, mutex) << "no mutex named " << ToUtf8(name);
    CloseHandle(mutex);
    EXPECT_EQ(1, CheckSystemExistFlag());   // this process is the first of build/bin
}
