// Why Init fails: damage told apart from a lock, a file that cannot be opened and success,
// on real files and with a second process holding SQLite's locks.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <test_paths.h>
#include "catalogue_files.h"

namespace {

// A flushed catalogue of a few photos.
std::wstring SmallCatalogue() {
    const std::wstring path = NewDatabasePath();
    AppDB db;
    EXPECT_TRUE(db.Init(path.c_str()));
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(db.SetPhotoItem(AppDB::PhotoItem{(L"photo-" + std::to_wstring(i)).c_str(), L"A", L"v", 1000, 0}, L"kw"));
    EXPECT_TRUE(db.Cleanup());
    return path;
}

struct InitCase {
    const char* name;
    std::wstring (*make)();
    int init;    // GetInitFailure after Init
    int check;   // CheckFile
};

std::wstring Healthy() { return SmallCatalogue(); }
std::wstring MissingFolder() { return NewTempFolder(L"db") + L"\\no such folder\\catalogue.db"; }
std::wstring NotADatabase() {
    const std::wstring path = NewDatabasePath();
    WriteFileBytes(path, std::string(8192, 'x'));
    return path;
}
std::wstring SchemaPageBroken() {
    const std::wstring path = SmallCatalogue();
    std::string bytes = ReadFileBytes(path);
    bytes[100] = 0x7F;   // page 1's b-tree type: no such type
    WriteFileBytes(path, bytes);
    return path;
}
std::wstring HeaderMagicOverwritten() {
    const std::wstring path = SmallCatalogue();
    std::string bytes = ReadFileBytes(path);
    bytes.replace(0, 16, "not a database!!");
    WriteFileBytes(path, bytes);
    return path;
}

const InitCase kInitCases[] = {
    {"healthy", Healthy, AppDB::FILE_OK, AppDB::FILE_OK},
    {"missing folder", MissingFolder, AppDB::FILE_CANNOT_OPEN, AppDB::FILE_CANNOT_OPEN},
    {"not a database", NotADatabase, AppDB::FILE_DAMAGED, AppDB::FILE_DAMAGED},
    {"schema page broken", SchemaPageBroken, AppDB::FILE_DAMAGED, AppDB::FILE_DAMAGED},
    {"header magic overwritten", HeaderMagicOverwritten, AppDB::FILE_DAMAGED, AppDB::FILE_DAMAGED},
};

} // namespace

TEST(CatalogueDamage, InitTellsWhyItFailed) {
    for (const InitCase& c : kInitCases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = c.make();
        AppDB db;
        EXPECT_EQ(c.init == AppDB::FILE_OK, db.Init(path.c_str()));
        EXPECT_EQ(c.init, db.GetInitFailure());
        db.Cleanup();
        EXPECT_EQ(c.check, AppDB::CheckFile(path.c_str()));
    }
}

TEST(CatalogueDamage, ASecondInitIsTheAlreadyOpenCaseAndASuccessClearsIt) {
    const std::wstring path = SmallCatalogue();
    AppDB db;
    EXPECT_EQ(AppDB::FILE_OK, db.GetInitFailure());
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_FALSE(db.Init(path.c_str()));
    EXPECT_EQ(AppDB::FILE_ALREADY_OPEN, db.GetInitFailure());
    ASSERT_TRUE(db.Cleanup());
    EXPECT_FALSE(db.Init(NotADatabase().c_str()));
    EXPECT_EQ(AppDB::FILE_DAMAGED, db.GetInitFailure());
    EXPECT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(AppDB::FILE_OK, db.GetInitFailure());
}

// Another program's exclusive lock (a commit in progress) is a lock, never damage: Init,
// the check and the recovery all say so, and the file is not written.
TEST(CatalogueDamage, ALockedCatalogueIsNeverDamagedNorRecovered) {
    const std::wstring path = SmallCatalogue();
    const std::string before = ReadFileBytes(path);
    Peer peer(path);
    ASSERT_TRUE(peer.Ok());
    ASSERT_EQ("ok", peer.Exec("BEGIN EXCLUSIVE"));
    AppDB db;
    EXPECT_FALSE(db.Init(path.c_str()));
    EXPECT_EQ(AppDB::FILE_LOCKED, db.GetInitFailure());
    EXPECT_EQ(AppDB::FILE_LOCKED, AppDB::CheckFile(path.c_str()));
    AppDB::RecoveryReport report = {};
    EXPECT_EQ(AppDB::FILE_LOCKED, AppDB::RecoverFile(path.c_str(), report));
    EXPECT_EQ(0u, report.nRecovered);
    EXPECT_TRUE(report.strDamagedFile.IsEmpty());
    ASSERT_EQ("ok", peer.Exec("ROLLBACK"));
    EXPECT_TRUE(before == ReadFileBytes(path)) << "the file was written";
}
