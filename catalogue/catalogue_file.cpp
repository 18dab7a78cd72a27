// Reading a catalogue file's state before Init decides whether to keep or start its table.
//
// The version lookup reads the whole version row, so a damaged record or page, or a lock that
// another process holds, reports an error instead of "no row". Only the path that would
// drop the table checks the whole file first (PRAGMA quick_check): a damaged page can hide
// the version row without an error, and checking every Init would read every page of a
// large catalogue.
#include "catalogue_file.h"
#include <string>
#include "sql_text.h"
#include "sqlite_owners.h"
#include "store_errors.h"
#include "store_waits.h"

namespace {

// Steps sql once; on SQLITE_ROW, out holds the first column as text ("" for NULL). Any other
// result than a row or the end leaves its reason in the last error.
int first_row(sqlite3* db, const std::string& sql, std::string& out) {
    unique_stmt q;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, q.put(), nullptr);
    if (rc != SQLITE_OK) return FailSqlite(rc), rc;
    rc = sqlite3_step(q.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) FailSqlite(rc);
    if (rc == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(q.get(), 0);
        out = text ? reinterpret_cast<const char*>(text) : "";
    }
    return rc;
}

} // namespace

CatalogueFile ReadCatalogueFile(const char* path, const char* table) {
    unique_db db;
    const int rc = sqlite3_open_v2(path, db.put(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc == SQLITE_CANTOPEN) return CatalogueFile::Unversioned;   // no file yet: the store's Open makes it
    if (rc != SQLITE_OK) return FailSqlite(rc), CatalogueFile::Unreadable;
    WaitForLocks(db.get(), kLockWaitMs);   // another program's commit in progress

    std::string sql, text;
    if (!SqlFormat(sql, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = %Q", table) ||
        first_row(db.get(), sql, text) != SQLITE_ROW)
        return CatalogueFile::Unreadable;
    if (text == "0") return CatalogueFile::Unversioned;

    if (!SqlFormat(sql,
                   "SELECT `value`, `key`, `cat`, `time`, `level`, `group`, `keywords`, length(`bin`) FROM `%s` "
                   "WHERE `key` = 'VERSION' AND `cat` & 1 LIMIT 1",
                   table))
        return CatalogueFile::Unreadable;
    switch (first_row(db.get(), sql, text)) {
    case SQLITE_ROW:
        if (!text.empty()) return CatalogueFile::Versioned;
        break;
    case SQLITE_DONE:
        break;
    default:
        return CatalogueFile::Unreadable;
    }
    if (first_row(db.get(), "PRAGMA quick_check", text) != SQLITE_ROW) return CatalogueFile::Unreadable;
    return text == "ok" || Fail(ERROR_FILE_CORRUPT) ? CatalogueFile::Unversioned : CatalogueFile::Unreadable;
}
