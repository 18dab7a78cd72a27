// The existence mutex across real processes and installation folders.
#include <gtest/gtest.h>
#include <host_driver.h>
#include <installation.h>

TEST(ExistenceMutex, FirstProcessAnswersOneForItsLifeOthersUntilItEnds) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess first, second;
    ASSERT_TRUE(first.Start(inst.Path(L"dockproc.exe")));
    ASSERT_TRUE(second.Start(inst.Path(L"linkproc.exe")));
    EXPECT_EQ("1", first.Value("exist"));
    EXPECT_EQ("1", second.Value("exist"));
    EXPECT_EQ("1", second.Value("exist"));
    EXPECT_EQ("1", first.Value("exist"));
    EXPECT_EQ(0, first.Quit());
    EXPECT_EQ("0", second.Value("exist"));   // abandoned
    EXPECT_EQ("0", second.Value("exist"));   // and it keeps answering 0
    EXPECT_EQ(0, second.Quit());
}

TEST(ExistenceMutex, InstallationFoldersCountSeparately) {
    Installation one, two;
    ASSERT_TRUE(one.Ok() && two.Ok());
    HostProcess a, b, c;
    ASSERT_TRUE(a.Start(one.Path(L"viewproc.exe")));
    ASSERT_TRUE(b.Start(one.Path(L"linkproc.exe")));
    ASSERT_TRUE(c.Start(two.Path(L"viewproc.exe")));
    EXPECT_EQ(0, a.Quit());
    EXPECT_EQ("0", b.Value("exist"));   // its installation's first process has gone
    EXPECT_EQ("1", c.Value("exist"));   // first of its own installation
    EXPECT_EQ(0, b.Quit());
    EXPECT_EQ(0, c.Quit());
}

TEST(ExistenceMutex, OnlyTheFirstProcessEmptiesThePendingWebInstallLine) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess first, keeper;
    ASSERT_TRUE(first.Start(inst.Path(L"dockproc.exe")));
    ASSERT_TRUE(keeper.Start(inst.Path(L"linkproc.exe")));   // keeps the block mapped
    EXPECT_EQ("1", keeper.Value("webinstall pending.exe"));

    HostProcess second;
    ASSERT_TRUE(second.Start(inst.Path(L"viewproc.exe")));     // not first: leaves the line
    EXPECT_EQ("pending.exe", second.Value("get g_szWebInstallCmdLine"));
    EXPECT_EQ(0, second.Quit());

    EXPECT_EQ(0, first.Quit());
    EXPECT_EQ("0", keeper.Value("exist"));   // lets go of the abandoned mutex
    HostProcess next;
    ASSERT_TRUE(next.Start(inst.Path(L"viewproc.exe")));       // first again: empties it
    EXPECT_EQ("1", next.Value("exist"));
    EXPECT_EQ("", next.Value("get g_szWebInstallCmdLine"));
    EXPECT_EQ("", keeper.Value("get g_szWebInstallCmdLine"));
    EXPECT_EQ(0, next.Quit());
    EXPECT_EQ(0, keeper.Quit());
}
