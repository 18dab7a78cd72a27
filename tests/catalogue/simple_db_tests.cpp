// The single-table store.
#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>
#include <string>
#include <Corelink.h>
#include "catalogue_files.h"

namespace {

SimpleDB::Record Rec(const char* key, int cat, const char* group = nullptr, const char* value = nullptr) {
    return SimpleDB::Record{const_cast<char*>(key), cat, 100, 0, const_cast<char*>(group), nullptr,
                            const_cast<char*>(value), 0};
}

class Store : public testing::Test {
protected:
    void SetUp() override {
        path = NewDatabasePath();
        ASSERT_TRUE(db.Open(Utf8Path(path).c_str(), "app"));
    }
    std::wstring path;
    SimpleDB db;
};

} // namespace

TEST_F(Store, PutKeepsTheAttachmentInsertReplacesIt) {
    SimpleDB::Record r = Rec("k", 8, "g", "v1");
    ASSERT_TRUE(db.Put(&r));
    const char blob[] = "0123456789012345678901234";   // 25 bytes and the NUL
    ASSERT_TRUE(db.SetBin("k", 8, blob, 25));
    r.value = const_cast<char*>("v2");
    ASSERT_TRUE(db.Put(&r));
    EXPECT_TRUE(db.HasBin("k", 8));
    SimpleDB::Record* got = db.QueryOne("`key` = %Q", "k");
    ASSERT_NE(nullptr, got);
    EXPECT_STREQ("v2", got->value);
    EXPECT_EQ(25, got->binSize);
    SimpleDB::FreeRecord(got);
    ASSERT_TRUE(db.Insert(&r));
    EXPECT_FALSE(db.HasBin("k", 8));
}

TEST_F(Store, AttachmentSizesAndMissingRecords) {
    SimpleDB::Record r = Rec("k", 8);
    ASSERT_TRUE(db.Put(&r));
    const char blob[] = "0123456789012345678901234";
    EXPECT_FALSE(db.SetBin("nobody", 8, blob, 25));   // nothing stored: reported
    EXPECT_FALSE(db.HasBin("nobody", 8));
    ASSERT_TRUE(db.SetBin("k", 8, blob, 25));
    EXPECT_FALSE(db.SetBin("k", 8, blob, 0));
    EXPECT_FALSE(db.SetBin("k", 8, nullptr, 4));

    struct Case { unsigned cap; unsigned want; };
    for (const Case& c : {Case{10, 10}, Case{100, 25}, Case{25, 25}}) {
        SCOPED_TRACE(c.cap);
        char buf[100];
        memset(buf, '#', sizeof(buf));
        unsigned size = c.cap;
        ASSERT_TRUE(db.GetBin("k", 8, buf, &size));
        EXPECT_EQ(c.want, size);
        EXPECT_EQ(0, memcmp(blob, buf, c.want));
        if (c.want < sizeof(buf)) {
            EXPECT_EQ('#', buf[c.want]);
        }
    }
    SimpleDB::Record bare = Rec("bare", 8);
    ASSERT_TRUE(db.Put(&bare));
    unsigned size = 50;
    char buf[50];
    ASSERT_TRUE(db.GetBin("bare", 8, buf, &size));
    EXPECT_EQ(0u, size);
    size = 50;
    memset(buf, '#', sizeof(buf));
    EXPECT_FALSE(db.GetBin("nobody", 8, buf, &size));   // no record: untouched
    EXPECT_EQ(50u, size);
    EXPECT_EQ('#', buf[0]);
    EXPECT_FALSE(db.GetBin("k", 16, buf, &size));      // wrong kind
}

TEST_F(Store, KeysPerCategoryAndMaskedDeletes) {
    SimpleDB::Record a = Rec("same", 8), b = Rec("same", 16), c = Rec("same", 4);
    ASSERT_TRUE(db.Put(&a));
    ASSERT_TRUE(db.Put(&b));
    ASSERT_TRUE(db.Put(&c));
    EXPECT_EQ(3, db.Count(nullptr));
    EXPECT_TRUE(db.Delete("same", 8 | 16));
    EXPECT_EQ(1, db.Count(nullptr));
    EXPECT_TRUE(db.Exists("same", 4));
    EXPECT_TRUE(db.Delete("absent", 8));   // nothing matched: still true
    EXPECT_TRUE(db.DeleteAll(4));
    EXPECT_EQ(0, db.Count(nullptr));
    EXPECT_FALSE(db.Delete("", 8));
    EXPECT_FALSE(db.Exists(nullptr, 8));
    SimpleDB::Record noKey = Rec("", 8);
    EXPECT_FALSE(db.Put(&noKey));
    EXPECT_FALSE(db.Insert(nullptr));
}

TEST_F(Store, PagesGroupsAndCounts) {
    char key[16];
    for (int i = 0; i < 45; ++i) {
        snprintf(key, sizeof(key), "k%02d", i);
        SimpleDB::Record r = Rec(key, 8, i < 5 ? nullptr : (i % 2 ? "odd" : "even"));
        ASSERT_TRUE(db.Put(&r));
    }
    struct Case { int count, page, first, n; };
    for (const Case& c : {Case{20, 3, 40, 5}, Case{20, 0, 0, 20}, Case{20, -5, 0, 20}, Case{0, 7, 0, 45}, Case{10, 2, 10, 10}}) {
        SCOPED_TRACE(testing::Message() << c.count << "/" << c.page);
        SimpleDB::RecordSet* set = db.Query("key ASC", c.count, c.page, nullptr);
        ASSERT_NE(nullptr, set);
        ASSERT_EQ(c.n, set->count);
        snprintf(key, sizeof(key), "k%02d", c.first);
        EXPECT_STREQ(key, set->records[0].key);
        SimpleDB::FreeRecordSet(set);
    }
    char buf[64];
    SimpleDB::BuildLimit(buf, sizeof(buf), 20, 3);
    EXPECT_STREQ(" LIMIT 40,20", buf);
    SimpleDB::BuildOrderBy(buf, sizeof(buf), "it's");
    EXPECT_STREQ(" ORDER BY it''s", buf);

    SimpleDB::RecordSet* groups = db.QueryGroups(nullptr, 0, 0, "group", "`cat` & %d", 8);
    ASSERT_NE(nullptr, groups);
    ASSERT_EQ(3, groups->count);
    int nullGroupRows = -1;
    for (int i = 0; i < groups->count; ++i)
        if (!groups->records[i].key) nullGroupRows = groups->records[i].level;
    EXPECT_EQ(5, nullGroupRows);
    SimpleDB::FreeRecordSet(groups);
    EXPECT_EQ(20, db.Count("`group` = %Q", "odd"));
    EXPECT_EQ(-1, db.Count("no such column = 1"));
    EXPECT_EQ(nullptr, db.QueryGroups(nullptr, 0, 0, "", nullptr));
}

TEST_F(Store, LongConditionsAreNeverCut) {
    const std::string longGroup(3000, 'g');
    SimpleDB::Record r = Rec("k", 8, longGroup.c_str());
    ASSERT_TRUE(db.Put(&r));
    EXPECT_EQ(1, db.Count("`group` = %Q AND `cat` & %d", longGroup.c_str(), 8));
    EXPECT_EQ(0, db.Count("`group` = %Q AND `cat` & %d", (longGroup + "x").c_str(), 8));
    SimpleDB::RecordSet* set = db.Query(nullptr, 0, 0, "`group` = %Q", (longGroup + "x").c_str());
    ASSERT_NE(nullptr, set);
    EXPECT_EQ(0, set->count);   // a cut condition would have matched more, or failed
    SimpleDB::FreeRecordSet(set);
}

TEST_F(Store, WritesStayInOneTransactionUntilCommit) {
    Reader other(path);
    SimpleDB::Record r = Rec("k", 8);
    ASSERT_TRUE(db.Put(&r));
    EXPECT_EQ("0", other.Scalar("SELECT count(*) FROM app"));
    EXPECT_FALSE(other.Exec("INSERT INTO app (key, cat) VALUES ('x', 8)"));   // locked out, at once
    EXPECT_TRUE(db.Commit());
    EXPECT_FALSE(db.Commit());   // nothing open
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_EQ("1", other.Scalar("SELECT count(*) FROM app"));
    EXPECT_TRUE(db.BeginTransaction());
    EXPECT_FALSE(db.BeginTransaction());   // one is open
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_INITIALIZED), GetLastError());
    EXPECT_TRUE(db.Commit());
    EXPECT_TRUE(other.Exec("INSERT INTO app (key, cat) VALUES ('x', 8)"));
}

// SQLite rolls the whole transaction back by itself: the write accepted before is lost, and
// the commit says so once, while the write accepted after it, in a new transaction, is stored.
TEST_F(Store, ALossThatSQLiteCausedIsReportedByTheNextCommit) {
    {
        Reader setup(path);
        ASSERT_TRUE(setup.Exec("CREATE TRIGGER boom BEFORE INSERT ON app WHEN NEW.key = 'boom' "
                               "BEGIN SELECT RAISE(ROLLBACK, 'refused'); END"));
    }
    SimpleDB::Record a = Rec("a", 8), boom = Rec("boom", 8), b = Rec("b", 8);
    ASSERT_TRUE(db.Put(&a));
    EXPECT_FALSE(db.Put(&boom));   // SQLite rolls the whole transaction back
    ASSERT_TRUE(db.Put(&b));       // must open a new transaction
    Reader other(path);
    EXPECT_EQ("0", other.Scalar("SELECT count(*) FROM app"));   // b waits for the commit
    EXPECT_FALSE(db.Commit());                                  // a is lost
    EXPECT_EQ("1", other.Scalar("SELECT count(*) FROM app"));
    EXPECT_EQ("b", other.Scalar("SELECT key FROM app"));
    EXPECT_FALSE(db.Commit());   // reported once: nothing pending now
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    ASSERT_TRUE(db.Put(&a));
    EXPECT_TRUE(db.Commit());
    EXPECT_TRUE(db.Close());
}

// A write that changes nothing ends the transaction it opened, so another connection can
// write at once; joining a transaction that holds changes, it keeps that transaction.
TEST_F(Store, AWriteThatChangesNothingLeavesNoLock) {
    SimpleDB::Record r = Rec("k", 8);
    ASSERT_TRUE(db.Put(&r));
    ASSERT_TRUE(db.Commit());
    Reader other(path);
    struct Case { const char* name; bool (*write)(SimpleDB&); bool result; };
    const Case cases[] = {
        {"a delete that matches nothing", [](SimpleDB& d) { return d.Delete("absent", 8); }, true},
        {"a bulk delete that matches nothing", [](SimpleDB& d) { return d.DeleteAll(64); }, true},
        {"an attachment for a key without a record", [](SimpleDB& d) { return d.SetBin("absent", 8, "abc", 3); }, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.write(db));
        const std::string key = "x" + std::to_string(n++);
        EXPECT_TRUE(other.Exec("INSERT INTO app (key, cat) VALUES ('" + key + "', 8)"));
        EXPECT_FALSE(db.Commit());   // nothing open
    }
    SimpleDB::Record more = Rec("more", 8);
    ASSERT_TRUE(db.Put(&more));
    EXPECT_TRUE(db.Delete("absent", 8));
    EXPECT_FALSE(other.Exec("INSERT INTO app (key, cat) VALUES ('y', 8)"));   // the change is still pending
    EXPECT_TRUE(db.Commit());
    EXPECT_EQ("5", other.Scalar("SELECT count(*) FROM app"));
}

TEST(StoreOpen, FailedOpenLeavesTheStoreClosed) {
    std::wstring path = NewDatabasePath(L"not-a-database.db");
    ASSERT_TRUE(WriteFileBytes(path, "this is not an SQLite database, just some text that is long enough to matter.\n"));
    SimpleDB db;
    EXPECT_FALSE(db.Open(Utf8Path(path).c_str(), "app"));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Close());
    EXPECT_FALSE(db.Open(nullptr, "app"));
    EXPECT_FALSE(db.Open(Utf8Path(path).c_str(), nullptr));
    std::wstring good = NewDatabasePath();
    EXPECT_TRUE(db.Open(Utf8Path(good).c_str(), "app"));   // may be tried again at once
    EXPECT_EQ(-1, SimpleDB().Count(nullptr));
    EXPECT_EQ(nullptr, SimpleDB().Query(nullptr, 0, 0, nullptr));
}

TEST_F(Store, PutOfAnExistingRecordRewritesEveryColumnAndKeepsTheAttachment) {
    SimpleDB::Record first{const_cast<char*>("k"), 8, 100, 1, const_cast<char*>("g1"), const_cast<char*>("kw1"),
                           const_cast<char*>("v1"), 0};
    ASSERT_TRUE(db.Put(&first));
    ASSERT_TRUE(db.SetBin("k", 8, "0123456789", 10));
    SimpleDB::Record second{const_cast<char*>("k"), 8, 200, 2, const_cast<char*>("g2"), const_cast<char*>("kw2"),
                            nullptr, 0};   // the value emptied
    ASSERT_TRUE(db.Put(&second));
    ASSERT_TRUE(db.Commit());
    Reader other(path);
    EXPECT_EQ("1", other.Scalar("SELECT count(*) FROM app"));
    EXPECT_EQ("200|2|g2|kw2|<null>|10",
              other.Scalar("SELECT time || '|' || level || '|' || \"group\" || '|' || keywords || '|' || "
                           "ifnull(value, '<null>') || '|' || length(bin) FROM app WHERE key = 'k' AND cat = 8"));
}

// A cached statement whose step failed is reset right away: its next use does not report
// that old failure, it succeeds as soon as the cause is gone.
TEST_F(Store, ACachedStatementWorksAgainOnceTheLockThatFailedItIsGone) {
    SimpleDB::Record r = Rec("k", 8);
    ASSERT_TRUE(db.Put(&r));
    ASSERT_TRUE(db.SetBin("k", 8, "abc", 3));
    ASSERT_TRUE(db.Commit());
    Reader other(path);

    ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));   // another writer: our write fails at once
    SimpleDB::Record next = Rec("k2", 8);
    EXPECT_FALSE(db.Put(&next));
    ASSERT_TRUE(other.Exec("ROLLBACK"));
    EXPECT_TRUE(db.Put(&next));
    ASSERT_TRUE(db.Commit());

    ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));   // nobody may read: our read fails after its wait
    EXPECT_FALSE(db.HasBin("k", 8));
    ASSERT_TRUE(other.Exec("COMMIT"));
    EXPECT_TRUE(db.HasBin("k", 8));
    EXPECT_EQ("2", other.Scalar("SELECT count(*) FROM app"));
}

TEST_F(Store, PagesWhoseOffsetPassesTheIntRangeAreRefused) {
    SimpleDB::Record r = Rec("k", 8);
    ASSERT_TRUE(db.Put(&r));
    struct Case { int count, page; bool accepted; const char* limit; };
    const Case cases[] = {
        {1000, 2147484, true, " LIMIT 2147483000,1000"},                 // the last page within range
        {1000, 2147485, false, " LIMIT 2147484000,1000"},
        {2147483647, 2147483647, false, " LIMIT 4611686011984936962,2147483647"},
        {1, 2147483647, true, " LIMIT 2147483646,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << ", page " << c.page);
        SimpleDB::RecordSet* set = db.Query(nullptr, c.count, c.page, nullptr);
        EXPECT_EQ(c.accepted, set != nullptr);
        if (set) {
            EXPECT_EQ(0, set->count);
        }
        SimpleDB::FreeRecordSet(set);
        SimpleDB::RecordSet* groups = db.QueryGroups(nullptr, c.count, c.page, "group", nullptr);
        EXPECT_EQ(c.accepted, groups != nullptr);
        SimpleDB::FreeRecordSet(groups);
        char buf[64];
        SimpleDB::BuildLimit(buf, sizeof(buf), c.count, c.page);
        EXPECT_STREQ(c.limit, buf);
    }
}
