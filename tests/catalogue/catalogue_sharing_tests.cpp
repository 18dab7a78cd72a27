// One catalogue file, two real processes: whatever the other process does, a write whose
// call and whose commit reported success is in the file afterwards, a listing that
// succeeded holds every row, and nothing waits without bound. The other process is a host
// that uses the library, or a plain SQLite connection (sqlite_peer) holding SQLite's locks.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <host_driver.h>
#include <installation.h>
#include <test_paths.h>
#include <atomic>
#include <set>
#include <sstream>
#include <thread>
#include "catalogue_files.h"

namespace {

// The writes of the catalogue, each with the query that finds its effect in the file. A
// round's suffix gives every round keys of its own.
struct WriteCase {
    const char* name;
    bool (*write)(AppDB& db, const CString& round);
    const char* check;   // SQL with %s for the round; its answer once the write is in the file
    const char* stored;
};

const WriteCase kWrites[] = {
    {"store an item", [](AppDB& db, const CString& r) { return db.SetPhotoItem({L"new" + r, L"A", L"", 0, 0}, L"sun"); },
     "SELECT count(*) FROM app WHERE key = 'new%s' AND cat = 8", "1"},
    {"update an item", [](AppDB& db, const CString& r) { return db.SetPhotoItem({L"p1", L"A", L"changed" + r, 0, 0}, L"sun"); },
     "SELECT value FROM app WHERE key = 'p1'", "changed%s"},
    {"attach a thumbnail", [](AppDB& db, const CString& r) {
         const std::string bytes = ToUtf8(r.GetString());
         return db.SetPhotoThumb(L"p2", bytes.data(), static_cast<unsigned int>(bytes.size()));
     },
     "SELECT bin FROM app WHERE key = 'p2'", "%s"},
    {"delete an item", [](AppDB& db, const CString& r) { return db.DeletePhotoItem(L"gone" + r); },
     "SELECT count(*) FROM app WHERE key = 'gone%s'", "0"},
    {"delete a kind", [](AppDB& db, const CString&) { return db.DeleteAllMusicItems(); },
     "SELECT count(*) FROM app WHERE cat = 16", "0"},
    {"set a configuration value", [](AppDB& db, const CString& r) { return db.SetConfigItem(L"mode", r); },
     "SELECT value FROM app WHERE key = 'mode'", "%s"},
};

std::string with_round(const char* text, const std::string& round) {
    char out[256];
    snprintf(out, sizeof(out), text, round.c_str());
    return out;
}

// The reads of a host, as "db-read KIND KEY" names them.
const char* const kReads[] = {"exists", "item", "thumb", "has-thumb", "list", "page", "count", "albums", "search", "config"};

const int kPhotos = 40;

class SharedCatalogue : public testing::Test {
protected:
    // A committed catalogue: photos p0.. in album A (keywords "sun", a thumbnail on p0),
    // a music track, and for each round of writes an item "gone<round>" to delete.
    void SetUp() override {
        file = NewDatabasePath();
        AppDB db;
        ASSERT_TRUE(db.Init(file.c_str()));
        for (int i = 0; i < kPhotos; ++i) {
            CString key;
            key.Format(L"p%d", i);
            ASSERT_TRUE(db.SetPhotoItem({key, L"A", L"", 0, 0}, L"sun"));
        }
        ASSERT_TRUE(db.SetPhotoThumb(L"p0", "0123456789", 10));
        ASSERT_TRUE(db.SetMusicItem(L"m", L"", L"", L""));
        for (const char* round : {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9", "r10"})
            ASSERT_TRUE(db.SetPhotoItem({L"gone" + CString(round), L"B", L"", 0, 0}, L""));
        ASSERT_TRUE(db.Cleanup());
    }

    // Starts exe of inst as a host that has this catalogue open.
    bool StartHost(HostProcess& host, const Installation& inst, const wchar_t* exe) {
        return inst.Ok() && host.Start(inst.Path(exe)) && host.Value("db-init " + Utf8Path(file)) == "1";
    }

    // The answer a connection of its own gets now ("<error>" while the file is locked).
    std::string InFile(const std::string& sql) {
        Reader reader(file);
        return reader.Scalar(sql);
    }

    // Runs every write of the table as round `round`; returns the names of those whose call failed.
    std::vector<std::string> WriteAll(AppDB& db, const std::string& round) {
        std::vector<std::string> failed;
        for (const WriteCase& w : kWrites)
            if (!w.write(db, CString(round.c_str()))) failed.push_back(w.name);
        return failed;
    }

    // Every write of round `round` is in the file.
    void ExpectStored(const std::string& round, const char* when) {
        for (const WriteCase& w : kWrites)
            EXPECT_EQ(with_round(w.stored, round), InFile(with_round(w.check, round))) << w.name << ", " << when;
    }

    // Photos large enough for a few to a page, so that the table has many leaf pages, then
    // the first page past the middle whose damage a plain scan of the table meets after some
    // rows: a leaf of the table.
    void DamageALeafInTheMiddle() {
        {
            AppDB db;
            ASSERT_TRUE(db.Init(file.c_str()));
            for (int i = 0; i < 300; ++i) {
                CString key;
                key.Format(L"big%d", i);
                ASSERT_TRUE(db.SetPhotoItem({key, L"A", CString(L'v', 600), 0, 0}, L"sun"));
            }
            ASSERT_TRUE(db.Cleanup());
        }
        const std::string bytes = ReadFileBytes(file);
        const size_t pageSize = 4096, pages = bytes.size() / pageSize;
        bool damaged = false;
        for (size_t page = pages / 2; page < pages && !damaged; ++page) {
            std::string copy = bytes;
            copy[page * pageSize] = '\x01';   // no such page type
            ASSERT_TRUE(WriteFileBytes(file, copy));
            Reader reader(file);
            sqlite3_stmt* st = nullptr;
            ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(reader.db(), "SELECT value FROM app", -1, &st, nullptr));
            int rows = 0, rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) ++rows;
            sqlite3_finalize(st);
            damaged = rc == SQLITE_CORRUPT && rows > 0;
        }
        ASSERT_TRUE(damaged);
    }

    std::wstring file;
};

} // namespace

// A host that has read the catalogue and then does nothing holds no lock: the writer's
// flush commits at once, and its close too.
TEST_F(SharedCatalogue, AReadOfAnotherProcessLeavesNoLockBehind) {
    Installation inst;
    HostProcess reader;
    ASSERT_TRUE(StartHost(reader, inst, L"dockproc.exe"));

    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    int round = 0;
    for (const char* kind : kReads) {
        SCOPED_TRACE(kind);
        const std::string r = "r" + std::to_string(round++);
        ASSERT_EQ("1", reader.Value(std::string("db-read ") + kind + (std::string(kind) == "search" ? " sun" : " p0")));
        EXPECT_TRUE(WriteAll(db, r).empty());
        db.Flush();
        ExpectStored(r, "after the flush");
    }
    EXPECT_TRUE(db.Cleanup());
    EXPECT_EQ(0, reader.Quit());
}

// Another program's read in progress: the writes are taken, the flush cannot commit and
// keeps them pending, and the close commits them once the read has ended; a close that
// cannot (the read never ends) says so.
TEST_F(SharedCatalogue, AReadInProgressDelaysTheCommitAndACloseThatCannotCommitSaysSo) {
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    {
        Peer peer(file);
        ASSERT_TRUE(peer.Ok());
        ASSERT_EQ("ok", peer.Exec("BEGIN; SELECT count(*) FROM app"));
        EXPECT_TRUE(WriteAll(db, "r0").empty());
        db.Flush();
        EXPECT_NE("changed", InFile("SELECT value FROM app WHERE key = 'p1'"));
        AppDB::PhotoItem item;
        EXPECT_TRUE(db.GetPhotoItem(L"newr0", item));   // pending, and seen by the writer
        ASSERT_EQ("ok", peer.Exec("COMMIT"));
        EXPECT_TRUE(db.Cleanup());
    }
    ExpectStored("r0", "after the close");

    ASSERT_TRUE(db.Init(file.c_str()));
    Peer peer(file);
    ASSERT_TRUE(peer.Ok());
    ASSERT_EQ("ok", peer.Exec("BEGIN; SELECT count(*) FROM app"));
    EXPECT_TRUE(WriteAll(db, "r1").empty());
    EXPECT_FALSE(db.Cleanup());   // waited, then closed without the writes
    EXPECT_FALSE(db.IsOpen());
    ASSERT_EQ("ok", peer.Exec("COMMIT"));
    EXPECT_EQ("0", InFile("SELECT count(*) FROM app WHERE key = 'newr1'"));
}

// Another program with a write of its own open: the catalogue's writes fail at once and
// say so; once the other commits, they are taken and kept, and so is the other's row.
TEST_F(SharedCatalogue, AnotherProgramsOpenWriteFailsWritesAtOnce) {
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    Peer peer(file);
    ASSERT_TRUE(peer.Ok());
    ASSERT_EQ("ok", peer.Exec("BEGIN IMMEDIATE; INSERT INTO app (key, cat) VALUES ('peer', 8)"));
    const std::vector<std::string> failed = WriteAll(db, "r0");
    EXPECT_EQ(std::size(kWrites), failed.size());
    AppDB::PhotoItem item;
    EXPECT_TRUE(db.GetPhotoItem(L"p1", item));   // reads go on
    ASSERT_EQ("ok", peer.Exec("COMMIT"));   // no lock of the catalogue's is left in its way

    EXPECT_TRUE(WriteAll(db, "r1").empty());
    EXPECT_TRUE(db.Cleanup());
    ExpectStored("r1", "after the close");
    EXPECT_EQ("1", InFile("SELECT count(*) FROM app WHERE key = 'peer'"));
}

// Another program killed in the middle of a large write leaves a hot journal and pages of
// its own in the file: the catalogue rolls them back, lists only what was committed, and
// its own writes are kept.
TEST_F(SharedCatalogue, AWriterKilledMidWriteLeavesOnlyCommittedRows) {
    {
        Peer peer(file);
        ASSERT_TRUE(peer.Ok());
        // A cache of a few pages spills the transaction into the file before its commit.
        ASSERT_EQ("ok", peer.Exec("PRAGMA cache_size = 2; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                  "SELECT i + 1 FROM n WHERE i < 400) INSERT INTO app (key, cat, value) "
                                  "SELECT 'peer' || i, 8, hex(randomblob(500)) FROM n"));
        peer.Kill();
    }
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
    EXPECT_EQ(kPhotos + 11, items.GetSize());
    EXPECT_EQ(static_cast<unsigned>(kPhotos), db.CountPhotoItems(L"A"));
    EXPECT_TRUE(WriteAll(db, "r0").empty());
    EXPECT_TRUE(db.Cleanup());
    ExpectStored("r0", "after the close");
    EXPECT_EQ("ok", InFile("PRAGMA integrity_check"));
    EXPECT_EQ("0", InFile("SELECT count(*) FROM app WHERE key LIKE 'peer%'"));
}

namespace {

// The listings of the catalogue, each run on an array that holds one item beforehand.
struct ListCase {
    const char* name;
    bool (*list)(AppDB& db, INT_PTR& rows, bool& kept);
};

template <class Item>
bool run_list(CArray<Item, Item>& items, bool ok, INT_PTR& rows, bool& kept) {
    rows = items.GetSize();
    kept = rows == 1 && items[0].strKey == L"before";
    return ok;
}

template <class Item>
void hold_one(CArray<Item, Item>& items) {
    Item before{};
    before.strKey = L"before";
    items.Add(before);
}

const ListCase kLists[] = {
    {"every photo", [](AppDB& db, INT_PTR& n, bool& kept) {
         CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
         hold_one(items);
         return run_list(items, db.GetAllPhotoItems(items, L"", 0, 0), n, kept);
     }},
    {"a page", [](AppDB& db, INT_PTR& n, bool& kept) {
         CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
         hold_one(items);
         return run_list(items, db.GetAllPhotoItems(items, L"A", 30, 1), n, kept);
     }},
    {"a search", [](AppDB& db, INT_PTR& n, bool& kept) {
         CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
         hold_one(items);
         return run_list(items, db.SearchPhotoItems(L"sun", L"", items), n, kept);
     }},
    {"the albums", [](AppDB& db, INT_PTR& n, bool& kept) {
         CArray<AppDB::NameValue, AppDB::NameValue> list;
         list.Add(AppDB::NameValue{L"before", L"1"});
         const bool ok = db.GetPhotoAlbumList(list);
         n = list.GetSize();
         kept = n == 1 && list[0].strName == L"before";
         return ok;
     }},
};

} // namespace

// While another program holds the file exclusively for longer than a commit takes, every
// listing waits its bound, then fails and leaves the caller's array as it was; the counts
// give 0. Nothing waits without bound.
TEST_F(SharedCatalogue, ListingsFailWholeWhileAnotherProgramCommits) {
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    Peer peer(file);
    ASSERT_TRUE(peer.Ok());
    ASSERT_EQ("ok", peer.Exec("BEGIN EXCLUSIVE"));
    for (const ListCase& c : kLists) {
        INT_PTR rows = 0;
        bool kept = false;
        EXPECT_FALSE(c.list(db, rows, kept)) << c.name;
        EXPECT_TRUE(kept) << c.name << ": " << rows << " entries";
    }
    EXPECT_EQ(0u, db.CountPhotoItems(L""));
    AppDB::PhotoItem item;
    EXPECT_FALSE(db.GetPhotoItem(L"p1", item));

    ASSERT_EQ("ok", peer.Exec("COMMIT"));
    const INT_PTR whole[] = {kPhotos + 11, 30, kPhotos, 2};
    for (size_t i = 0; i < std::size(kLists); ++i) {
        INT_PTR rows = 0;
        bool kept = false;
        EXPECT_TRUE(kLists[i].list(db, rows, kept)) << kLists[i].name;
        EXPECT_EQ(whole[i], rows) << kLists[i].name;
    }
    EXPECT_EQ(static_cast<unsigned>(kPhotos + 11), db.CountPhotoItems(L""));
}

// A damaged page in the middle of the table: the rows before it are read, then the step
// fails. A listing or search that met it fails whole; nothing returns part of it.
TEST_F(SharedCatalogue, ListingsThatMeetADamagedPageFailWhole) {
    ASSERT_NO_FATAL_FAILURE(DamageALeafInTheMiddle());
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    for (const ListCase& c : kLists) {
        if (std::string(c.name) == "a page") continue;   // the first page may end before the damage
        INT_PTR rows = 0;
        bool kept = false;
        SetLastError(0);
        EXPECT_FALSE(c.list(db, rows, kept)) << c.name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_CORRUPT), GetLastError()) << c.name;
        EXPECT_TRUE(kept) << c.name << ": " << rows << " entries";
    }
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    EXPECT_FALSE(db.GetAllPhotoItems(items, L"A", 1000, 1));
    EXPECT_EQ(0, items.GetSize());
    EXPECT_TRUE(db.Cleanup());
}

// A write that fails after other writes of the same transaction costs only itself where
// SQLite keeps the transaction (a trigger refuses a bulk delete): the earlier write is stored.
// After a write met a damaged page SQLite refuses to commit the transaction at all. Either
// way the close's result says whether the earlier write is in the file.
TEST_F(SharedCatalogue, AWriteThatFailsAfterOthersAndTheCloseSaysWhetherTheyAreKept) {
    struct Case { const char* name; bool damaged; const char* kept; DWORD error; };
    const Case cases[] = {
        {"a bulk delete that a trigger refuses", false, "1", ERROR_INVALID_DATA},
        {"a bulk delete that meets a damaged page", true, "0", ERROR_FILE_CORRUPT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.damaged) {
            ASSERT_NO_FATAL_FAILURE(DamageALeafInTheMiddle());
        } else {
            Reader setup(file);
            ASSERT_TRUE(setup.Exec("CREATE TRIGGER refuse BEFORE DELETE ON app WHEN OLD.cat = 8 "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
        AppDB db;
        ASSERT_TRUE(db.Init(file.c_str()));
        ASSERT_TRUE(db.SetConfigItem(L"mode", L"kept"));
        EXPECT_FALSE(db.DeleteAllPhotoItems());
        EXPECT_EQ(c.error, GetLastError());
        const bool closed = db.Cleanup();
        const std::string stored = InFile("SELECT count(*) FROM app WHERE key = 'mode' AND value = 'kept'");
        EXPECT_EQ(closed ? "1" : "0", stored) << "the close's result says whether the row is in the file";
        EXPECT_EQ(c.kept, stored);
        if (!c.damaged) {
            Reader setup(file);
            ASSERT_TRUE(setup.Exec("DROP TRIGGER refuse; DELETE FROM app WHERE key = 'mode'"));
        }
    }
}

// A write that changes nothing ends the transaction it opened: another program writes at once.
// Beside a pending change it keeps the transaction, and the other program waits for the flush.
TEST_F(SharedCatalogue, AWriteThatChangesNothingLetsAnotherProgramWrite) {
    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    Peer peer(file);
    ASSERT_TRUE(peer.Ok());
    struct Case { const char* name; bool (*write)(AppDB&); bool result; };
    const Case cases[] = {
        {"a thumbnail for a key without an item", [](AppDB& d) { return d.SetPhotoThumb(L"nobody", "abc", 3); }, false},
        {"a delete that matches nothing", [](AppDB& d) { return d.DeletePhotoItem(L"nobody"); }, true},
        {"a bulk delete that matches nothing", [](AppDB& d) { return d.DeleteAllVideoItems(); }, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, c.write(db)) << c.name;
        EXPECT_EQ("ok", peer.Exec("INSERT INTO app (key, cat) VALUES ('peer" + std::to_string(n++) + "', 8)")) << c.name;
    }
    ASSERT_TRUE(db.SetPhotoItem({L"mine", L"", L"", 0, 0}, L""));
    EXPECT_TRUE(db.DeletePhotoItem(L"nobody"));
    EXPECT_EQ("error 5", peer.Exec("INSERT INTO app (key, cat) VALUES ('late', 8)"));
    EXPECT_TRUE(db.Cleanup());
    EXPECT_EQ("ok", peer.Exec("INSERT INTO app (key, cat) VALUES ('late', 8)"));
    EXPECT_EQ("5", InFile("SELECT count(*) FROM app WHERE key IN ('peer0', 'peer1', 'peer2', 'mine', 'late')"));
}

// A host lists every photo again and again while this process adds batches and commits
// them: each listing that succeeded holds exactly the rows of one committed state, never
// part of one.
TEST_F(SharedCatalogue, ListingsBesideCommitsNeverReturnPartOfTheRows) {
    Installation inst;
    HostProcess lister;
    ASSERT_TRUE(StartHost(lister, inst, L"viewproc.exe"));

    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    std::set<long> committed{kPhotos + 11};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        int next = 0;
        while (!done) {
            for (int i = 0; i < 50; ++i) {
                CString key;
                key.Format(L"w%d", next++);
                if (!db.SetPhotoItem({key, L"W", CString(L'x', 100), 0, 0}, L"")) --next;
            }
            if (db.GetDB()->Commit()) committed.insert(kPhotos + 11 + next);
        }
    });
    const std::string report = lister.Value("db-list-loop 4000", 60000);
    done = true;
    writer.join();
    EXPECT_TRUE(db.Cleanup());
    std::istringstream in(report);
    std::string counts, word;
    int failed = -1;
    in >> counts >> word >> failed;
    ASSERT_EQ("failed", word) << report;
    std::istringstream each(counts);
    std::string n;
    int listings = 0;
    while (std::getline(each, n, ',')) {
        ++listings;
        EXPECT_EQ(1u, committed.count(std::stol(n))) << n << " rows is not a committed state";
    }
    EXPECT_GT(listings, 0) << report;
    EXPECT_EQ(0, lister.Quit());
}

// A host lists a catalogue of 20,000 photos again and again while this process stores batches
// of 50 and commits each: every listing waits out the commits it meets and succeeds whole,
// and every commit waits out the listing in progress and succeeds. The listing times, idle
// and beside the writer, are reported (docs/performance.md), not asserted.
TEST_F(SharedCatalogue, ListingsBesideAWriterAllSucceedAndSoDoItsCommits) {
    {
        AppDB db;
        ASSERT_TRUE(db.Init(file.c_str()));
        for (int i = 0; i < 20000; ++i) {
            CString key;
            key.Format(L"many%d", i);
            ASSERT_TRUE(db.SetPhotoItem({key, L"M", L"640x480", 0, 0}, L"photo"));
        }
        ASSERT_TRUE(db.Cleanup());
    }
    Installation inst;
    HostProcess lister;
    ASSERT_TRUE(StartHost(lister, inst, L"viewproc.exe"));
    const std::string idle = lister.Value("db-list-timed 1500", 60000);

    AppDB db;
    ASSERT_TRUE(db.Init(file.c_str()));
    std::atomic<bool> done{false};
    int commits = 0, failedCommits = 0, failedWrites = 0;
    std::thread writer([&] {
        for (int next = 0; !done; ++commits) {
            for (int i = 0; i < 50; ++i) {
                CString key;
                key.Format(L"w%d", next++);
                failedWrites += !db.SetPhotoItem({key, L"W", CString(L'x', 100), 0, 0}, L"");
            }
            failedCommits += !db.Commit();
        }
    });
    const std::string busy = lister.Value("db-list-timed 3000", 60000);
    done = true;
    writer.join();
    EXPECT_TRUE(db.Cleanup());
    printf("listing 20,000 photos: idle %s; beside a writer %s; %d commits of 50\n", idle.c_str(), busy.c_str(), commits);
    std::istringstream in(busy);
    std::string word;
    int listings = 0, failed = -1;
    in >> listings >> word >> failed;
    ASSERT_EQ("failed", word) << busy;
    EXPECT_GT(listings, 0);
    EXPECT_EQ(0, failed) << busy;
    EXPECT_GT(commits, 0);
    EXPECT_EQ(0, failedCommits);
    EXPECT_EQ(0, failedWrites);
    EXPECT_EQ(0, lister.Quit());
}

// A host that ends without closing its catalogue while another program reads: the library's
// unload does not hold up the process for the close's whole wait, and the writes it could
// not commit are written to the process's log.
TEST_F(SharedCatalogue, AnUnloadThatCannotCommitLogsTheLoss) {
    const wchar_t* const folder = L"c:\\qb_eng";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    Installation inst;
    std::string log;
    {
        HostProcess host;
        ASSERT_TRUE(StartHost(host, inst, L"linkproc.exe"));
        log = host.Value("logs");
        log = log.substr(log.find("eng=") + 4);
        log = log.substr(0, log.find(' '));
        ASSERT_EQ("1", host.Value("db-photo unsaved|A|x|"));
        Peer peer(file);
        ASSERT_TRUE(peer.Ok());
        ASSERT_EQ("ok", peer.Exec("BEGIN; SELECT count(*) FROM app"));
        EXPECT_EQ(0, host.Quit(4000));   // well under the close's wait of 5 s
        peer.Exec("COMMIT");
    }
    EXPECT_NE(std::string::npos, ReadFileBytes(FromUtf8(log)).find("were lost")) << log;
    EXPECT_EQ("0", InFile("SELECT count(*) FROM app WHERE key = 'unsaved'"));
    RemoveTree(folder);
}
