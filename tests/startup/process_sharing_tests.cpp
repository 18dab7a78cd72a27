// The shared block, the communication block and the services across real processes.
#include <gtest/gtest.h>
#include <host_driver.h>
#include <installation.h>

TEST(SharedAcrossProcesses, FirstProcessSeesInitialValuesLaterOnesSeeWrites) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess engine, ui;
    ASSERT_TRUE(engine.Start(inst.Path(L"linkproc.exe")));

    struct Initial { const char* name; const char* value; };
    const Initial initial[] = {
        {"g_bRestartPhone", "1"}, {"g_bLaunchUIFunction", "1"}, {"g_nEngineStatus", "1"},
        {"g_bME_PROTECT", "1"},   {"g_niDENSIMCap", "32"},      {"g_nBattery", "0"},
        {"g_bEnableWebInstall", "0"}, {"g_szTP_Model", ""},     {"g_cap.dwHead", "0"},
    };
    for (const Initial& i : initial) {
        SCOPED_TRACE(i.name);
        EXPECT_EQ(i.value, engine.Value(std::string("get ") + i.name));
    }

    EXPECT_EQ("ok", engine.Call("set g_nBattery 50"));
    EXPECT_EQ("ok", engine.Call("set g_szTP_Model SHARP_GX25"));
    EXPECT_EQ("ok", engine.Call("set g_cap.dwHead 4660"));
    EXPECT_EQ("ok", engine.Call("set g_cap.szText1 Handset \xc3\xa9"));
    EXPECT_EQ("ok", engine.Call("set g_bRestartPhone 0"));

    ASSERT_TRUE(ui.Start(inst.Path(L"viewproc.exe")));
    EXPECT_EQ("50", ui.Value("get g_nBattery"));
    EXPECT_EQ("SHARP_GX25", ui.Value("get g_szTP_Model"));
    EXPECT_EQ("1", ui.Value("model SHARP_GX25"));
    EXPECT_EQ("4660", ui.Value("get g_cap.dwHead"));          // g_cap survives a later load
    EXPECT_EQ("Handset \xc3\xa9", ui.Value("get g_cap.szText1"));
    EXPECT_EQ("0", ui.Value("get g_bRestartPhone"));
    EXPECT_EQ("ok", ui.Call("set g_nBattery 75"));
    EXPECT_EQ("75", engine.Value("get g_nBattery"));          // and back

    EXPECT_EQ(0, ui.Quit());
    EXPECT_EQ(0, engine.Quit());

    // Once no process maps the library, the next load starts from the initial values.
    HostProcess fresh;
    ASSERT_TRUE(fresh.Start(inst.Path(L"dockproc.exe")));
    EXPECT_EQ("0", fresh.Value("get g_nBattery"));
    EXPECT_EQ("1", fresh.Value("get g_bRestartPhone"));
    EXPECT_EQ(0, fresh.Quit());
}

TEST(SharedAcrossProcesses, PerProcessGlobalsAreFilledInEachProcess) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess a, b;
    ASSERT_TRUE(a.Start(inst.Path(L"dockproc.exe")));
    EXPECT_EQ("ok", a.Call("set g_szProductName Changed"));
    EXPECT_EQ("ok", a.Call("set g_bProcessRefresh 1"));
    ASSERT_TRUE(b.Start(inst.Path(L"linkproc.exe")));
    EXPECT_EQ("Quillbox", b.Value("get g_szProductName"));
    EXPECT_EQ("Quillbox", b.Value("get g_szProductNameHW"));
    EXPECT_EQ("qUiLlBoX", b.Value("get g_szQueueName"));
    EXPECT_EQ("0", b.Value("get g_bProcessRefresh"));
    EXPECT_EQ(ToUtf8(inst.Folder()), b.Value("get g_szExecProgPath"));
    std::string appData = b.Value("get g_szAppDataPath");
    EXPECT_EQ("\\Veranox\\Quillbox", appData.substr(appData.size() - 17));
    EXPECT_EQ("Changed", a.Value("get g_szProductName"));
    EXPECT_EQ(0, b.Quit());
    EXPECT_EQ(0, a.Quit());
}

TEST(SharedAcrossProcesses, CacheMarkIsSeenByOtherProcessesUnlessRefreshing) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess a, b;
    ASSERT_TRUE(a.Start(inst.Path(L"viewproc.exe")));
    ASSERT_TRUE(b.Start(inst.Path(L"dockproc.exe")));
    EXPECT_EQ("0", b.Value("cache"));            // both stamps start at 0
    EXPECT_EQ("ok", a.Call("setcache 1"));
    EXPECT_EQ("1", b.Value("cache"));
    EXPECT_EQ("1", a.Value("cache"));
    EXPECT_EQ("ok", b.Call("set g_bProcessRefresh 1"));
    EXPECT_EQ("0", b.Value("cache"));
    EXPECT_EQ("1", a.Value("cache"));
    EXPECT_EQ("ok", b.Call("set g_bProcessRefresh 0"));
    EXPECT_EQ("ok", b.Call("setcache 0"));
    EXPECT_EQ("0", a.Value("cache"));
    EXPECT_EQ(0, a.Quit());
    EXPECT_EQ(0, b.Quit());
}

TEST(SharedAcrossProcesses, WebInstallLineIsHandedOverBetweenProcesses) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess a, b;
    ASSERT_TRUE(a.Start(inst.Path(L"viewproc.exe")));
    ASSERT_TRUE(b.Start(inst.Path(L"dockproc.exe")));
    EXPECT_EQ("1", a.Value("webinstall setup.exe /x"));
    EXPECT_EQ("0", b.Value("webinstall other.exe /y"));
    EXPECT_EQ("setup.exe /x", b.Value("get g_szWebInstallCmdLine"));
    EXPECT_EQ("ok", a.Call("set g_bEnableWebInstall 1"));
    EXPECT_EQ("1", b.Value("webinstall-null"));
    EXPECT_EQ("", a.Value("get g_szWebInstallCmdLine"));
    EXPECT_EQ("0", a.Value("get g_bEnableWebInstall"));
    EXPECT_EQ("1", b.Value("webinstall other.exe /y"));
    EXPECT_EQ(0, a.Quit());
    EXPECT_EQ(0, b.Quit());
}

TEST(SharedAcrossProcesses, CommunicationBlockCarriesTheFirstProcessStamp) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess first, second;
    ASSERT_TRUE(first.Start(inst.Path(L"dockproc.exe")));
    ASSERT_TRUE(second.Start(inst.Path(L"viewproc.exe")));
    EXPECT_EQ(std::to_string(first.Pid()), second.Value("comm"));
    EXPECT_EQ(std::to_string(first.Pid()), first.Value("comm"));
    EXPECT_EQ(0, second.Quit());
    EXPECT_EQ(0, first.Quit());
}
