// The single-table store under faults, linked on its own with this program's SQLite so that
// the test can reach the store's connections: a file whose pages are capped gives a real
// SQLITE_FULL. Whatever the fault, a write reported as stored (its call true and the
// following Commit or Close true) is in the file, and a loss is reported by the next Commit
// or Close, or logged by a close nobody can be told of.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include <sqlite3.h>
#include <SimpleDB.h>
#include "catalogue_files.h"
#include "store_loss_log.h"

namespace {

// What LogStoreLoss was told, in this program instead of a process's log.
std::vector<DWORD> g_logged;

// The cap on the pages of every connection opened from now on (0: none), and the last
// connection opened, which the test frees again.
int g_maxPages = 0;
sqlite3* g_lastOpened = nullptr;

int cap_pages(sqlite3* db, const char**, const sqlite3_api_routines*) {
    g_lastOpened = db;
    if (g_maxPages > 0) sqlite3_exec(db, ("PRAGMA max_page_count = " + std::to_string(g_maxPages)).c_str(), nullptr, nullptr, nullptr);
    return SQLITE_OK;
}

// A photo row whose texts stay with the caller.
SimpleDB::Record Row(const std::string& key, const std::string& value) {
    return SimpleDB::Record{const_cast<char*>(key.c_str()), 8, 100, 0, nullptr, nullptr, const_cast<char*>(value.c_str()), 0};
}
const std::string kValue(1000, 'v');

class FullFile : public testing::Test {
protected:
    void SetUp() override {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&cap_pages));
        path = NewDatabasePath();
        {
            SimpleDB db;
            ASSERT_TRUE(db.Open(Utf8Path(path).c_str(), "app"));
            ASSERT_TRUE(db.Put(&committed));
            ASSERT_TRUE(db.Commit());
            ASSERT_TRUE(db.Close());
        }
        Reader reader(path);
        g_maxPages = std::stoi(reader.Scalar("PRAGMA page_count")) + 4;   // room for a few rows
        g_logged.clear();
    }
    void TearDown() override {
        g_maxPages = 0;
        sqlite3_reset_auto_extension();
    }

    // Stores rows of 1,000 bytes until one fails for want of pages; their keys into accepted.
    // The result of the write that failed.
    DWORD FillUp(SimpleDB& db, std::vector<std::string>& accepted) {
        for (int i = 0; i < 100; ++i) {
            const std::string key = "k" + std::to_string(round) + "_" + std::to_string(i);
            SimpleDB::Record r = Row(key, kValue);
            if (!db.Put(&r)) return GetLastError();
            accepted.push_back(key);
        }
        return ERROR_SUCCESS;
    }

    std::string InFile(const std::string& sql) {
        Reader reader(path);
        return reader.Scalar(sql);
    }
    int Stored(const std::vector<std::string>& keys) {
        int n = 0;
        for (const std::string& k : keys) n += InFile("SELECT count(*) FROM app WHERE key = '" + k + "'") == "1";
        return n;
    }

    std::wstring path;
    const std::string committedKey = "before", committedValue = "kept";
    SimpleDB::Record committed = Row(committedKey, committedValue);
    int round = 0;
};

} // namespace

void LogStoreLoss(const char*, DWORD error) { g_logged.push_back(error); }

// SQLite rolls the whole transaction back on SQLITE_FULL: the writes accepted before the
// failing one are gone, the next Commit says so once, and once there is room again the same
// store writes and commits.
TEST_F(FullFile, TheNextCommitReportsTheLossOnceAndTheStoreGoesOn) {
    SimpleDB db;
    ASSERT_TRUE(db.Open(Utf8Path(path).c_str(), "app"));
    sqlite3* connection = g_lastOpened;
    std::vector<std::string> accepted;
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), FillUp(db, accepted));
    ASSERT_FALSE(accepted.empty());
    EXPECT_EQ(0, Stored(accepted));

    EXPECT_FALSE(db.Commit());
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    EXPECT_FALSE(db.Commit());   // reported: nothing pending, nothing lost
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());

    ASSERT_EQ(SQLITE_OK, sqlite3_exec(connection, "PRAGMA max_page_count = 1000000", nullptr, nullptr, nullptr));
    ++round;
    accepted.clear();
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), FillUp(db, accepted));
    EXPECT_TRUE(db.Commit());
    EXPECT_EQ(static_cast<int>(accepted.size()), Stored(accepted));
    EXPECT_TRUE(db.Close());
    EXPECT_EQ("kept", InFile("SELECT value FROM app WHERE key = 'before'"));
    EXPECT_EQ("ok", InFile("PRAGMA integrity_check"));
    EXPECT_TRUE(g_logged.empty());
}

// Writes accepted after the loss join a new transaction: the commit stores them and still
// reports the loss before them. A loss is never cleared by a write that opens a transaction.
TEST_F(FullFile, WritesAfterTheLossAreStoredAndTheCommitStillReportsIt) {
    SimpleDB db;
    ASSERT_TRUE(db.Open(Utf8Path(path).c_str(), "app"));
    sqlite3* connection = g_lastOpened;
    std::vector<std::string> lost;
    ASSERT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), FillUp(db, lost));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(connection, "PRAGMA max_page_count = 1000000", nullptr, nullptr, nullptr));
    const std::string afterKey = "after";
    SimpleDB::Record after = Row(afterKey, kValue);
    ASSERT_TRUE(db.Put(&after));
    EXPECT_FALSE(db.Commit());
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    EXPECT_EQ("1", InFile("SELECT count(*) FROM app WHERE key = 'after'"));
    EXPECT_TRUE(db.Close());
}

// The close reports a loss it finds; a close nobody can be told of (the destructor) logs it.
TEST_F(FullFile, CloseReportsTheLossAndTheDestructorLogsIt) {
    struct Case { bool close; };
    for (const Case& c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.close ? "Close" : "destructor");
        g_logged.clear();
        ++round;
        {
            SimpleDB db;
            ASSERT_TRUE(db.Open(Utf8Path(path).c_str(), "app"));
            std::vector<std::string> lost;
            ASSERT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), FillUp(db, lost));
            ASSERT_FALSE(lost.empty());
            if (c.close) {
                EXPECT_FALSE(db.Close());
                EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
            }
        }
        EXPECT_EQ(c.close ? std::vector<DWORD>{} : std::vector<DWORD>{ERROR_DISK_FULL}, g_logged);
    }
    EXPECT_EQ("ok", InFile("PRAGMA integrity_check"));
}
