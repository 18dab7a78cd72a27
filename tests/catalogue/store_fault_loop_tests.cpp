// The store under a fault at every point of a workload, as SQLite tests itself: for each N the
// Nth VFS call (read, write, sync, truncate, lock, file size, open, delete, access) or the Nth
// allocation of SQLite fails, once or from then on, while the store opens a catalogue,
// stores, updates, attaches, deletes, commits and lists. Then the fault stops, the same store
// writes and commits again (or, when the fault came at its Open, it is opened again), stores
// one more row and closes, and a fresh connection reads the file. The faulty part of the
// workload: open, store, update, attach, delete, commit, list, store, close, reopen, count. For every N:
// - a write whose call and whose following Commit or Close reported success is in the file;
// - a write whose call failed left no trace; a write in the file or not, its reports agree;
// - the rows committed before are whole, and PRAGMA integrity_check is ok;
// - a listing that succeeded holds every committed row.
// The suite runs an even spread of the points (at most kSuitePoints per kind);
// CORELINK_FAULT_POINTS=all runs every one (`./run faults`).
#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include <sqlite3.h>
#include <SimpleDB.h>
#include <test_paths.h>
#include "catalogue_files.h"
#include "fault_injection.h"

namespace {

const int kSuitePoints = 200;
// Rows with 500 bytes of keywords each, on some 30 pages: the writes read pages that the
// connection does not hold yet, so faults meet them in the middle of the transaction.
const int kBaseRows = 200;
const std::string kPadding(500, 'k');
const char kBlob[] = "thumbnail";

SimpleDB::Record Row(const char* key, const char* value) {
    return SimpleDB::Record{const_cast<char*>(key), 8, 100, 0, nullptr, nullptr, const_cast<char*>(value), 0};
}

// One write of the workload: its call, what the file answers once it is there and what it
// answered before.
struct Write {
    const char* name;
    bool (*call)(SimpleDB& db);
    const char* check;
    const char* stored;
    const char* before;
};

const Write kWrites[] = {
    {"store", [](SimpleDB& db) { SimpleDB::Record r = Row("new1", "n1"); return db.Put(&r); },
     "SELECT ifnull(value, '') FROM app WHERE key = 'new1'", "n1", ""},
    {"update", [](SimpleDB& db) { SimpleDB::Record r = Row("base100", "u1"); return db.Put(&r); },
     "SELECT value FROM app WHERE key = 'base100'", "u1", "base"},
    {"attach", [](SimpleDB& db) { return db.SetBin("new1", 8, kBlob, sizeof(kBlob) - 1); },
     "SELECT ifnull(CAST(bin AS TEXT), '') FROM app WHERE key = 'new1'", kBlob, ""},
    {"delete", [](SimpleDB& db) { return db.Delete("base150", 8); },
     "SELECT count(*) FROM app WHERE key = 'base150'", "0", "1"},
};
const Write kBeforeClose = {"store before a close", [](SimpleDB& db) { SimpleDB::Record r = Row("new2", "n2"); return db.Put(&r); },
                            "SELECT ifnull(value, '') FROM app WHERE key = 'new2'", "n2", ""};
const Write kAfter = {"store after the fault", [](SimpleDB& db) { SimpleDB::Record r = Row("recovered", "r"); return db.Put(&r); },
                      "SELECT ifnull(value, '') FROM app WHERE key = 'recovered'", "r", ""};
const Write kLast = {"store before the last close", [](SimpleDB& db) { SimpleDB::Record r = Row("last", "l"); return db.Put(&r); },
                     "SELECT ifnull(value, '') FROM app WHERE key = 'last'", "l", ""};

// What a write's calls said: the call, and the first Commit or Close after it.
struct Said {
    const Write* write;
    bool call;
    int report = -1;   // -1: none yet, 0 false, 1 true
};

// A catalogue of kBaseRows committed rows "base0".. with the value "base"; its bytes.
std::string MakeTemplate() {
    const std::wstring path = NewDatabasePath();
    {
        SimpleDB db;
        if (!db.Open(Utf8Path(path).c_str(), "app")) return "";
        for (int i = 0; i < kBaseRows; ++i) {
            const std::string key = "base" + std::to_string(i);
            SimpleDB::Record r = Row(key.c_str(), "base");
            r.keywords = const_cast<char*>(kPadding.c_str());
            if (!db.Put(&r)) return "";
        }
        if (!db.Commit() || !db.Close()) return "";
    }
    return ReadFileBytes(path);
}

class FaultLoop : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallFailingAllocator();
        InstallFaultyVfs();
    }
    static void TearDownTestSuite() {
        RemoveFaultyVfs();
        RemoveFailingAllocator();
    }

    // Runs the workload on a fresh copy of the template with the plan armed; the checks of
    // the file afterwards go into failures (empty: every check held).
    void RunOnce(FaultPlan& plan, int failAt, bool persist, std::string& failures) {
        const std::wstring path = NewDatabasePath();
        ASSERT_TRUE(WriteFileBytes(path, templ));
        const std::string file = Utf8Path(path);
        std::vector<Said> said;
        auto report = [&](bool ok) {
            for (Said& s : said)
                if (s.report < 0) s.report = ok;
        };
        auto fail = [&](const std::string& what) { failures += "\n  " + what; };

        SimpleDB db;
        plan.Arm(failAt, persist);
        db.Open(file.c_str(), "app");
        for (const Write& w : kWrites) said.push_back({&w, w.call(db)});
        report(commit(db));
        if (SimpleDB::RecordSet* set = db.Query(nullptr, 0, 0, nullptr)) {
            int base = 0;
            for (int i = 0; i < set->count; ++i) {
                const std::string key = set->records[i].key;
                base += key.compare(0, 4, "base") == 0 && key != "base100" && key != "base150";
            }
            if (base != kBaseRows - 2) fail("a listing that succeeded lacks committed rows");
            SimpleDB::FreeRecordSet(set);
        }
        said.push_back({&kBeforeClose, kBeforeClose.call(db)});
        report(db.Close());
        db.Open(file.c_str(), "app");   // reopened
        db.Count(nullptr);
        plan.Disarm();

        // The fault is gone: the same store writes and commits again, or says it must be reopened.
        if (!db.IsOpen() && GetLastError() == ERROR_INVALID_HANDLE)
            if (!db.Open(file.c_str(), "app")) fail("no reopening once the fault is gone");
        said.push_back({&kAfter, kAfter.call(db)});
        if (!said.back().call) fail("no write once the fault is gone");
        const bool committed = db.Commit();
        report(committed);
        if (!committed && GetLastError() == ERROR_SUCCESS) fail("a commit with a write pending found nothing open");
        if (!committed) ++faultsSeen;
        said.push_back({&kLast, kLast.call(db)});
        report(db.Close());
        if (!said.back().report) fail("no close once the fault is gone");

        Reader reader(path);
        if (reader.Scalar("PRAGMA integrity_check") != "ok") fail("integrity_check: " + reader.Scalar("PRAGMA integrity_check"));
        const std::string whole = reader.Scalar(
            "SELECT count(*) FROM app WHERE key LIKE 'base%' AND key NOT IN ('base100', 'base150') AND value = 'base' "
            "AND length(keywords) = " + std::to_string(kPadding.size()));
        if (whole != std::to_string(kBaseRows - 2)) fail("of the committed rows " + whole + " are whole");
        for (const Said& s : said) {
            faultsSeen += !s.call || s.report == 0;
            const std::string now = reader.Scalar(s.write->check);
            const bool there = now == s.write->stored;
            if (!there && now != s.write->before) fail(std::string(s.write->name) + ": the file holds " + now);
            if (s.call && s.report == 1 && !there) fail(std::string(s.write->name) + ": reported stored, not in the file");
            if (!s.call && there && std::string(s.write->name) != "attach")
                fail(std::string(s.write->name) + ": its call failed, yet it is in the file");
        }
    }

    // Every point of the workload for plan (an even spread unless CORELINK_FAULT_POINTS=all),
    // once and from then on.
    void Loop(FaultPlan& plan, const char* kind) {
        templ = MakeTemplate();
        ASSERT_FALSE(templ.empty());
        std::string none;
        RunOnce(plan, 0, false, none);
        ASSERT_EQ("", none) << "without a fault";
        const int points = plan.calls;
        ASSERT_GT(points, 0);
        const char* all = getenv("CORELINK_FAULT_POINTS");
        const int step = all && std::string(all) == "all" ? 1 : (points + kSuitePoints - 1) / kSuitePoints;
        int runs = 0;
        for (bool persist : {false, true}) {
            for (int n = 1; n <= points; n += step) {
                std::string failures;
                RunOnce(plan, n, persist, failures);
                ++runs;
                EXPECT_EQ("", failures) << kind << " fault at call " << n << " of " << points << (persist ? ", from then on" : ", once");
            }
        }
        printf("%s: %d points in the workload, %d runs (every %d%s), %d failed calls and reports\n", kind, points, runs,
               step, step == 1 ? ": all" : "", faultsSeen);
        EXPECT_GT(faultsSeen, runs / 2) << "the faults reach the store";
    }

    // Commit's answer as a host reads it: false with the last error 0 means that nothing was
    // pending and nothing was lost, so every write reported as stored is in the file.
    static bool commit(SimpleDB& db) { return db.Commit() || GetLastError() == ERROR_SUCCESS; }

    std::string templ;
    int faultsSeen = 0;   // calls that failed or reported a loss, over the loop
};

} // namespace

TEST_F(FaultLoop, EveryIoCallOfTheWorkloadMayFail) { Loop(IoFaults(), "I/O"); }

TEST_F(FaultLoop, EveryAllocationOfTheWorkloadMayFail) { Loop(MemoryFaults(), "allocation"); }
