// What Init does with the file it is given: damaged, locked, unversioned and foreign
// versions, on real files and with a second process holding SQLite's locks.
#include <gtest/gtest.h>
#include <functional>
#include <Corelink.h>
#include <host_driver.h>
#include <test_paths.h>
#include "catalogue_files.h"

namespace {

const int kPhotos = 3000;

// A flushed catalogue of kPhotos photos (key "photo-N", value "value-N") and its version row.
std::wstring MakeCatalogue() {
    const std::wstring path = NewDatabasePath();
    AppDB db;
    EXPECT_TRUE(db.Init(path.c_str()));
    for (int i = 0; i < kPhotos; ++i) {
        const std::wstring n = std::to_wstring(i);
        EXPECT_TRUE(db.SetPhotoItem(AppDB::PhotoItem{(L"photo-" + n).c_str(), L"Album", (L"value-" + n).c_str(), 1000, 0}, L"kw"));
    }
    EXPECT_TRUE(db.Cleanup());
    return path;
}

// Where the table record of the version row starts its data: the key "VERSION" preceded by
// the record header (key text, cat 1, a 4-byte time, level 0, two NULLs, the 3-byte value,
// no attachment). The index record of the same key has a header of another shape.
size_t VersionRecord(const std::string& bytes) {
    for (size_t pos = bytes.find("VERSION"); pos != std::string::npos; pos = bytes.find("VERSION", pos + 1)) {
        if (pos >= 8 && bytes.compare(pos - 8, 8, std::string("\x1b\x09\x04\x08\x00\x00\x13\x00", 8)) == 0) return pos;
    }
    return std::string::npos;
}

size_t PageSize(const std::string& bytes) {
    const size_t size = (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    return size == 1 ? 65536 : size;
}

// Makes the b-tree page that holds offset unreadable (an invalid page type).
void DamagePageAt(std::string& bytes, size_t offset) {
    const size_t page = offset / PageSize(bytes);
    ASSERT_GT(page, 0u);   // never page 1, the schema
    bytes[page * PageSize(bytes)] = 0;
}

// Expects Init to fail on the file, leave the object closed and the file's bytes as they were.
void ExpectRefusedAndUntouched(const std::wstring& path) {
    const std::string before = ReadFileBytes(path);
    AppDB db;
    EXPECT_FALSE(db.Init(path.c_str()));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(before.size(), ReadFileBytes(path).size());
    EXPECT_TRUE(before == ReadFileBytes(path)) << "the file was written";
}

} // namespace

TEST(CatalogueInit, AFileWhoseVersionCannotBeReadIsRefusedAndLeftAsItWas) {
    struct Case {
        const char* damage;
        std::function<void(std::string&)> apply;
    };
    const Case cases[] = {
        {"the version row's record (its value longer than the record)",
         [](std::string& bytes) { bytes[VersionRecord(bytes) - 2] = 0x7f; }},
        {"the page that holds the version row", [](std::string& bytes) { DamagePageAt(bytes, VersionRecord(bytes)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        const std::wstring path = MakeCatalogue();
        std::string bytes = ReadFileBytes(path);
        ASSERT_NE(std::string::npos, VersionRecord(bytes));
        c.apply(bytes);
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        ExpectRefusedAndUntouched(path);
    }
}

TEST(CatalogueInit, AnUnversionedFileWithADamagedPageIsNotStartedAnew) {
    // The version row is gone and a page of photos elsewhere is damaged: the lookup itself
    // succeeds ("no row"), so only a check of the whole file keeps Init from dropping it.
    const std::wstring path = MakeCatalogue();
    {
        Reader other(path);
        ASSERT_TRUE(other.Exec("DELETE FROM app WHERE key = 'VERSION'"));
    }
    std::string bytes = ReadFileBytes(path);
    const size_t photo = bytes.find("value-1500");
    ASSERT_NE(std::string::npos, photo);
    DamagePageAt(bytes, photo);
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    ExpectRefusedAndUntouched(path);
}

TEST(CatalogueInit, ALockHeldByAnotherProcessFailsInitWithoutWriting) {
    struct Case {
        const char* lock;
        bool versioned;
    };
    // A process in the middle of writing (exclusive: nobody may read), and one that holds
    // the write lock on a file whose version row is missing (Init may read, not drop).
    const Case cases[] = {{"BEGIN EXCLUSIVE", true}, {"BEGIN IMMEDIATE", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lock);
        const std::wstring path = MakeCatalogue();
        if (!c.versioned) {
            Reader other(path);
            ASSERT_TRUE(other.Exec("DELETE FROM app WHERE key = 'VERSION'"));
        }
        Peer peer(path);
        ASSERT_TRUE(peer.Ok());
        ASSERT_EQ("ok", peer.Exec(c.lock));
        ExpectRefusedAndUntouched(path);
        ASSERT_EQ("ok", peer.Exec("ROLLBACK"));

        // Once the lock is gone the file is read as usual.
        AppDB db;
        ASSERT_TRUE(db.Init(path.c_str()));
        EXPECT_EQ(c.versioned ? kPhotos : 0u, db.CountPhotoItems(L""));
        EXPECT_STREQ(L"1.1", db.GetConfigItem(L"VERSION").GetString());
    }
}

TEST(CatalogueInit, AReadableVersionOfAnyTextKeepsTheTable) {
    const std::wstring path = MakeCatalogue();
    {
        Reader other(path);
        ASSERT_TRUE(other.Exec("UPDATE app SET value = '2.0' WHERE key = 'VERSION'"));
    }
    AppDB db;
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(static_cast<unsigned>(kPhotos), db.CountPhotoItems(L""));
    EXPECT_STREQ(L"2.0", db.GetConfigItem(L"VERSION").GetString());
}

TEST(CatalogueInit, AnEmptyOrMissingVersionStartsTheTableAnewAndCommitsIt) {
    for (const char* sql : {"UPDATE app SET value = NULL WHERE key = 'VERSION'", "DELETE FROM app WHERE key = 'VERSION'"}) {
        SCOPED_TRACE(sql);
        const std::wstring path = MakeCatalogue();
        {
            Reader other(path);
            ASSERT_TRUE(other.Exec(sql));
        }
        AppDB db;
        ASSERT_TRUE(db.Init(path.c_str()));
        EXPECT_EQ(0u, db.CountPhotoItems(L""));
        Reader other(path);   // the new version row is on disk already
        EXPECT_EQ("1.1", other.Scalar("SELECT value FROM app WHERE key = 'VERSION' AND cat = 1"));
        EXPECT_EQ("1", other.Scalar("SELECT count(*) FROM app"));
    }
}
