// Two real processes on one catalogue file.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <host_driver.h>
#include <installation.h>
#include <atomic>
#include <thread>
#include "catalogue_files.h"

TEST(CatalogueAcrossProcesses, UncommittedWritesLockOthersOutUntilFlush) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    const std::string path = Utf8Path(NewDatabasePath());
    HostProcess a, b;
    ASSERT_TRUE(a.Start(inst.Path(L"viewproc.exe")));
    ASSERT_TRUE(b.Start(inst.Path(L"dockproc.exe")));
    ASSERT_EQ("1", a.Value("db-init " + path));
    a.Call("db-flush");
    ASSERT_EQ("1", b.Value("db-init " + path));

    EXPECT_EQ("1", a.Value("db-photo a1|Album|sun|"));    // a holds an open transaction now
    EXPECT_EQ("0", b.Value("db-photo b1|Album|sun|"));    // fails at once, no waiting
    EXPECT_EQ("0", b.Value("db-count-photos"));           // a's rows are not committed
    EXPECT_EQ("ok", a.Call("db-flush"));
    EXPECT_EQ("1", b.Value("db-photo b1|Album|sun|"));
    EXPECT_EQ("ok", b.Call("db-flush"));
    EXPECT_EQ("2", a.Value("db-count-photos Album"));
    EXPECT_EQ(" Album=2", a.Value("db-albums").insert(0, " ").substr(0, 8));
    EXPECT_EQ(0, a.Quit());
    EXPECT_EQ(0, b.Quit());
}

TEST(CatalogueAcrossProcesses, AProcessKilledBeforeFlushLeavesOnlyCommittedRows) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    const std::wstring file = NewDatabasePath();
    const std::string path = Utf8Path(file);
    {
        HostProcess host;
        ASSERT_TRUE(host.Start(inst.Path(L"linkproc.exe")));
        ASSERT_EQ("1", host.Value("db-init " + path));
        ASSERT_EQ("1", host.Value("db-photo kept|A|x|"));
        ASSERT_EQ("1", host.Value("db-thumb kept|0123456789"));
        ASSERT_EQ("ok", host.Call("db-flush"));
        for (int i = 0; i < 50; ++i) ASSERT_EQ("1", host.Value("db-photo lost" + std::to_string(i) + "|A|x|"));
        host.Kill();
    }
    Reader reader(file);
    EXPECT_EQ("ok", reader.Scalar("PRAGMA integrity_check"));
    EXPECT_EQ("1", reader.Scalar("SELECT count(*) FROM app WHERE cat = 8"));
    EXPECT_EQ("kept", reader.Scalar("SELECT key FROM app WHERE cat = 8"));
    EXPECT_EQ("10", reader.Scalar("SELECT length(bin) FROM app WHERE key = 'kept'"));

    // A process that ends normally commits at unload.
    HostProcess again;
    ASSERT_TRUE(again.Start(inst.Path(L"linkproc.exe")));
    ASSERT_EQ("1", again.Value("db-init " + path));
    ASSERT_EQ("1", again.Value("db-photo late|A|x|"));
    EXPECT_EQ(0, again.Quit());
    EXPECT_EQ("2", reader.Scalar("SELECT count(*) FROM app WHERE cat = 8"));
}

// Another program reads the file while the catalogue closes: the close's commit waits for
// the read to end, rather than closing the connection on its writes (which would roll them
// back). The reader ends its read only once the close is seen waiting: the commit then holds
// the file against new readers, so that a third connection's read is refused.
TEST(CatalogueAcrossProcesses, CloseDuringAnotherProgramsReadStillCommits) {
    const std::wstring file = NewDatabasePath();
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    AppDB::PhotoItem item{L"kept", L"Album", L"", 0, 0};
    ASSERT_TRUE(db.SetPhotoItem(item, L"sun"));

    Peer peer(file);
    ASSERT_TRUE(peer.Ok());
    ASSERT_EQ("ok", peer.Exec("BEGIN; SELECT count(*) FROM sqlite_master"));   // holds a read lock
    std::atomic<bool> seen{false};
    std::thread reader([&] {
        Reader third(file);
        const DWORD deadline = GetTickCount() + 20000;
        while (!(seen = third.Scalar("SELECT count(*) FROM app") == "<error>") && GetTickCount() < deadline) Sleep(5);
        peer.Exec("COMMIT");
    });
    EXPECT_TRUE(db.Cleanup());
    reader.join();
    EXPECT_TRUE(seen);
    Reader check(file);
    EXPECT_EQ("kept", check.Scalar("SELECT key FROM app WHERE cat = 8"));
}
