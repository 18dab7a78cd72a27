// The capability tables across real processes: the engine assigns, others read.
#include <gtest/gtest.h>
#include <host_driver.h>
#include <installation.h>

TEST(CapabilityAcrossProcesses, LaterProcessesReadWhatTheEngineAssigned) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess engine;
    ASSERT_TRUE(engine.Start(inst.Path(L"linkproc.exe")));
    ASSERT_EQ("ok", engine.Call("cap-assign 4"));   // lists built in the engine's own memory
    const std::string four = engine.Value("cap-summary");

    HostProcess ui;
    ASSERT_TRUE(ui.Start(inst.Path(L"viewproc.exe")));
    EXPECT_EQ(four, ui.Value("cap-summary"));
    EXPECT_NE(std::string::npos, four.find("img=3[1:logo1,2:logo0,5:logo1]")) << four;
    EXPECT_NE(std::string::npos, four.find("mdy=2[1:fmt137:ext=mid:size=100000:trk=4:notes=500,")) << four;
    EXPECT_NE(std::string::npos, four.find("video=4[10,11,12,13]")) << four;
    EXPECT_NE(std::string::npos, four.find("fmgr=4[JPG,MP3,AMR,NULL] fj=2[GIF,MID] pl=1/2 mms=1:7 agent=90")) << four;

    // A later record with two videos: slots 2 and 3 keep the old types.
    ASSERT_EQ("ok", engine.Call("cap-assign 2"));
    HostProcess panel;
    ASSERT_TRUE(panel.Start(inst.Path(L"dockproc.exe")));
    const std::string two = panel.Value("cap-summary");
    EXPECT_EQ(two, ui.Value("cap-summary"));
    EXPECT_NE(std::string::npos, two.find("video=2[10,11] dims=[10:1;11:11;12:21;13:31;]")) << two;

    EXPECT_EQ(0, panel.Quit());
    EXPECT_EQ(0, ui.Quit());
    EXPECT_EQ(0, engine.Quit());
}
