// The catalogue: lifecycle, versioning, items, configuration values and attachments.
#include <gtest/gtest.h>
#include <string.h>
#include <time.h>
#include <Corelink.h>
#include <test_paths.h>
#include "catalogue_files.h"

namespace {

AppDB::PhotoItem Photo(const wchar_t* key, const wchar_t* group = L"", int time = 0, const wchar_t* value = L"") {
    return AppDB::PhotoItem{key, group, value, time, 0};
}

class Catalogue : public testing::Test {
protected:
    void SetUp() override {
        path = NewDatabasePath();
        ASSERT_TRUE(db.Init(path.c_str()));
    }
    std::wstring path;
    AppDB db;
};

} // namespace

TEST_F(Catalogue, InitCreatesTheVersionedTableOnce) {
    EXPECT_TRUE(db.IsOpen());
    EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
    EXPECT_FALSE(db.Init(path.c_str()));   // already open
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p1"), L""));
    EXPECT_TRUE(db.Cleanup());
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Cleanup());
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(1u, db.CountPhotoItems(L""));   // kept: the version row is there
    EXPECT_EQ(GetAppDB(), GetAppDB());
}

TEST_F(Catalogue, BulkDeletesKeepTheVersionRowNamedDeleteRemovesIt) {
    ASSERT_TRUE(db.SetConfigItem(L"lastSync", L"yesterday"));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p1"), L""));
    ASSERT_TRUE(db.DeleteAllConfigItems());
    EXPECT_TRUE(db.GetConfigItem(L"lastSync").IsEmpty());
    EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
    ASSERT_TRUE(db.DeleteAllItems(AppDB::CAT_CONFIG | AppDB::CAT_VIDEO));
    EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
    db.Cleanup();
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(1u, db.CountPhotoItems(L""));   // the user's items survived

    ASSERT_TRUE(db.DeleteConfigItem(L"VERSION"));   // named on purpose: gone
    db.Cleanup();
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(0u, db.CountPhotoItems(L""));   // an unversioned table is started anew
    EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
}

TEST_F(Catalogue, BulkDeleteOfConfigurationNeverTakesTheVersionRowAway) {
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p1"), L""));
    ASSERT_TRUE(db.SetConfigItem(L"lastSync", L"yesterday"));
    db.Flush();
    {
        // Nothing may write the version row again: a delete that took it away and meant to
        // put it back would leave the file without it.
        Reader other(path);
        ASSERT_TRUE(other.Exec("CREATE TRIGGER no_version BEFORE INSERT ON app WHEN NEW.key = 'VERSION' "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    EXPECT_TRUE(db.DeleteAllConfigItems());
    EXPECT_TRUE(db.GetConfigItem(L"lastSync").IsEmpty());
    ASSERT_TRUE(db.Cleanup());
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(1u, db.CountPhotoItems(L""));
    EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
}

TEST_F(Catalogue, ItemsRoundTripTimeGroupAndKinds) {
    const int before = static_cast<int>(time(nullptr));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"now"), L"kw"));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"fixed", L"Album", 1000, L"v"), L"kw"));
    AppDB::PhotoItem got{};
    ASSERT_TRUE(db.GetPhotoItem(L"now", got));
    EXPECT_GE(got.nTime, before);
    EXPECT_TRUE(got.strGroup.IsEmpty());
    ASSERT_TRUE(db.GetPhotoItem(L"fixed", got));
    EXPECT_EQ(1000, got.nTime);
    EXPECT_STREQ(L"Album", got.strGroup.GetString());
    EXPECT_STREQ(L"v", got.strValue.GetString());

    // The same key as a photo and as music: two rows.
    ASSERT_TRUE(db.SetMusicItem(L"fixed", L"Disc", L"", L"song"));
    AppDB::MusicItem song{};
    ASSERT_TRUE(db.GetMusicItem(L"fixed", song));
    EXPECT_STREQ(L"Disc", song.strGroup.GetString());
    EXPECT_TRUE(db.DeletePhotoItem(L"fixed"));
    EXPECT_FALSE(db.GetPhotoItem(L"fixed", got));
    EXPECT_TRUE(db.GetMusicItem(L"fixed", song));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"fixed"), L""));
    EXPECT_TRUE(db.DeleteItem(L"fixed", AppDB::CAT_PHOTO | AppDB::CAT_MUSIC));
    EXPECT_FALSE(db.GetMusicItem(L"fixed", song));

    AppDB::VideoItem video{L"clip", L"info", 5};
    ASSERT_TRUE(db.SetVideoItem(video, L""));
    AppDB::VideoItem vgot{};
    ASSERT_TRUE(db.GetVideoItem(L"clip", vgot));
    EXPECT_EQ(5, vgot.nTime);
    ASSERT_TRUE(db.SetAppItem(L"game", L"Games", L"fun", L"1.0"));
    AppDB::AppItem app{};
    ASSERT_TRUE(db.GetAppItem(L"game", app));
    EXPECT_STREQ(L"Games", app.strGroup.GetString());

    // Failures leave the output alone.
    got.strKey = L"untouched";
    EXPECT_FALSE(db.GetPhotoItem(L"", got));
    EXPECT_FALSE(db.GetPhotoItem(L"missing", got));
    EXPECT_STREQ(L"untouched", got.strKey.GetString());
    EXPECT_FALSE(db.SetPhotoItem(Photo(L""), L""));
    EXPECT_FALSE(db.SetConfigItem(L"", L"x"));
    EXPECT_TRUE(db.GetConfigItem(L"never").IsEmpty());
}

TEST_F(Catalogue, QuotesPercentSignsAndNonAsciiRoundTripLiterally) {
    const wchar_t* keys[] = {L"it's", L"100%", L"\u65e5\u672c\u8a9e \u00e9\u00e8", L"a'b\"c%d_e", L"--; DROP TABLE app"};
    for (const wchar_t* key : keys) {
        ASSERT_TRUE(db.SetPhotoItem(Photo(key, key, 0, key), key));
    }
    for (const wchar_t* key : keys) {
        SCOPED_TRACE(testing::Message() << "key \"" << key << "\"");
        AppDB::PhotoItem got{};
        ASSERT_TRUE(db.GetPhotoItem(key, got));
        EXPECT_STREQ(key, got.strKey.GetString());
        EXPECT_STREQ(key, got.strGroup.GetString());
        EXPECT_STREQ(key, got.strValue.GetString());
        EXPECT_EQ(1u, db.CountPhotoItems(key));
    }
    AppDB::PhotoItem got{};
    EXPECT_FALSE(db.GetPhotoItem(L"100_", got));   // no pattern matching on keys
}

TEST_F(Catalogue, AttachmentsNeedTheirItem) {
    const char thumb[60] = "thumbnail bytes";
    EXPECT_FALSE(db.SetPhotoThumb(L"p", thumb, sizeof(thumb)));   // no item: nothing stored
    EXPECT_FALSE(db.HasPhotoThumb(L"p"));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p"), L""));
    ASSERT_TRUE(db.SetPhotoThumb(L"p", thumb, sizeof(thumb)));
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p", L"Album"), L"new keywords"));
    EXPECT_TRUE(db.HasPhotoThumb(L"p"));   // re-storing keeps it
    char buf[100];
    unsigned size = 100;
    ASSERT_TRUE(db.GetPhotoThumb(L"p", buf, &size));
    EXPECT_EQ(60u, size);
    size = 10;
    ASSERT_TRUE(db.GetPhotoThumb(L"p", buf, &size));
    EXPECT_EQ(10u, size);
    AppDB::PhotoItem got{};
    ASSERT_TRUE(db.GetPhotoItem(L"p", got));
    EXPECT_EQ(60, got.nBinSize);

    ASSERT_TRUE(db.SetMusicItem(L"m", L"", L"", L""));
    ASSERT_TRUE(db.SetMusicCover(L"m", thumb, 5));
    EXPECT_TRUE(db.HasMusicCover(L"m"));
    EXPECT_FALSE(db.HasPhotoThumb(L"m"));
    ASSERT_TRUE(db.SetAppItem(L"a", L"", L"", L""));
    EXPECT_FALSE(db.HasAppIcon(L"a"));
    EXPECT_FALSE(db.SetAppIcon(L"a", thumb, 0));
    EXPECT_FALSE(db.HasAppIcon(L""));
    size = 100;
    EXPECT_FALSE(db.GetAppIcon(L"", buf, &size));
}

TEST(CatalogueFiles, AFileThatIsNotADatabaseIsRefusedAndLeftAsItWas) {
    std::wstring path = NewDatabasePath(L"notes.txt");
    const std::string content(5000, 'x');
    ASSERT_TRUE(WriteFileBytes(path, content));
    AppDB db;
    EXPECT_FALSE(db.Init(path.c_str()));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(content, ReadFileBytes(path));

    // A database whose header is damaged: refused too, bytes unchanged.
    std::wstring damaged = NewDatabasePath();
    {
        AppDB good;
        ASSERT_TRUE(good.Init(damaged.c_str()));
        good.SetPhotoItem(AppDB::PhotoItem{L"p", L"", L"", 0, 0}, L"");
    }
    std::string bytes = ReadFileBytes(damaged);
    ASSERT_GT(bytes.size(), 100u);
    bytes.replace(0, 16, "NOT SQLITE FILE!");
    ASSERT_TRUE(WriteFileBytes(damaged, bytes));
    EXPECT_FALSE(db.Init(damaged.c_str()));
    EXPECT_EQ(bytes, ReadFileBytes(damaged));
    // And the object may be pointed at a good file at once.
    EXPECT_TRUE(db.Init(NewDatabasePath().c_str()));
}

TEST(CatalogueFiles, ClosedCatalogueFailsEverything) {
    AppDB db;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.SetPhotoItem(AppDB::PhotoItem{L"p", L"", L"", 0, 0}, L""));
    CArray<AppDB::NameValue, AppDB::NameValue> list;
    list.Add(AppDB::NameValue{L"kept", L"1"});
    EXPECT_FALSE(db.GetPhotoAlbumList(list));
    EXPECT_EQ(1, list.GetSize());
    EXPECT_EQ(0u, db.CountPhotoItems(L""));
    db.Flush();
}

// SQLite rolls a transaction back by itself (here a trigger; a full disk or an I/O error does
// the same): the photo stored before is lost. Flush, which has no result, keeps the loss for
// Cleanup to report; the photo stored after the loss is kept.
TEST_F(Catalogue, ALossIsKeptByFlushAndReportedByCleanup) {
    {
        Reader setup(path);
        ASSERT_TRUE(setup.Exec("CREATE TRIGGER boom BEFORE INSERT ON app WHEN NEW.key = 'boom' "
                               "BEGIN SELECT RAISE(ROLLBACK, 'refused'); END"));
    }
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"lost"), L""));
    EXPECT_FALSE(db.SetPhotoItem(Photo(L"boom"), L""));
    db.Flush();
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"after"), L""));
    db.Flush();
    EXPECT_FALSE(db.Cleanup());
    Reader other(path);
    EXPECT_EQ("0", other.Scalar("SELECT count(*) FROM app WHERE key = 'lost'"));
    EXPECT_EQ("1", other.Scalar("SELECT count(*) FROM app WHERE key = 'after'"));
}

// Every call that fails leaves its reason in GetLastError, as Win32 calls do. A full disk, a
// damaged page and an I/O error are in the fault tests (store_fault_tests.cpp, the sharing tests).
TEST_F(Catalogue, FailuresLeaveTheirReasonInGetLastError) {
    ASSERT_TRUE(db.SetPhotoItem(Photo(L"p"), L""));
    ASSERT_TRUE(db.Commit());
    EXPECT_TRUE(db.Commit());   // nothing pending: every write is in the file
    struct Case { const char* name; bool (*call)(AppDB&); DWORD error; };
    const Case open[] = {
        {"an empty key", [](AppDB& d) { return d.SetPhotoItem(Photo(L""), L""); }, ERROR_INVALID_PARAMETER},
        {"an empty attachment", [](AppDB& d) { return d.SetPhotoThumb(L"p", "x", 0); }, ERROR_INVALID_PARAMETER},
        {"no such item", [](AppDB& d) { AppDB::PhotoItem it; return d.GetPhotoItem(L"nobody", it); }, ERROR_NOT_FOUND},
        {"a thumbnail without an item", [](AppDB& d) { return d.SetPhotoThumb(L"nobody", "x", 1); }, ERROR_NOT_FOUND},
        {"no thumbnail", [](AppDB& d) { return d.HasPhotoThumb(L"p"); }, ERROR_NOT_FOUND},
        {"Init of an open catalogue", [](AppDB& d) { return d.Init(L"other.db"); }, ERROR_ALREADY_INITIALIZED},
    };
    for (const Case& c : open) {
        SetLastError(0);
        EXPECT_FALSE(c.call(db)) << c.name;
        EXPECT_EQ(c.error, GetLastError()) << c.name;
    }
    {
        Reader other(path);
        ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));   // another program that keeps the file
        EXPECT_FALSE(db.SetPhotoItem(Photo(L"q"), L""));
        EXPECT_EQ(static_cast<DWORD>(ERROR_LOCK_VIOLATION), GetLastError());
        CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
        EXPECT_FALSE(db.GetAllPhotoItems(items, L"", 0, 0));   // after its wait
        EXPECT_EQ(static_cast<DWORD>(ERROR_LOCK_VIOLATION), GetLastError());
        ASSERT_TRUE(other.Exec("COMMIT"));
    }
    ASSERT_TRUE(db.Cleanup());
    const Case closed[] = {
        {"store", [](AppDB& d) { return d.SetPhotoItem(Photo(L"p"), L""); }, ERROR_INVALID_HANDLE},
        {"store with an empty key", [](AppDB& d) { return d.SetPhotoItem(Photo(L""), L""); }, ERROR_INVALID_HANDLE},
        {"read", [](AppDB& d) { AppDB::PhotoItem it; return d.GetPhotoItem(L"p", it); }, ERROR_INVALID_HANDLE},
        {"list", [](AppDB& d) { CArray<AppDB::PhotoItem, AppDB::PhotoItem> it; return d.GetAllPhotoItems(it, L"", 0, 0); }, ERROR_INVALID_HANDLE},
        {"albums", [](AppDB& d) { CArray<AppDB::NameValue, AppDB::NameValue> l; return d.GetPhotoAlbumList(l); }, ERROR_INVALID_HANDLE},
        {"commit", [](AppDB& d) { return d.Commit(); }, ERROR_INVALID_HANDLE},
        {"cleanup", [](AppDB& d) { return d.Cleanup(); }, ERROR_INVALID_HANDLE},
    };
    for (const Case& c : closed) {
        SetLastError(0);
        EXPECT_FALSE(c.call(db)) << c.name;
        EXPECT_EQ(c.error, GetLastError()) << c.name;
    }
}
