// Telling damage apart from the other reasons a catalogue file fails (see catalogue_check.h).
//
// SQLite names damage itself (SQLITE_CORRUPT, SQLITE_NOTADB) and names a lock (SQLITE_BUSY,
// SQLITE_LOCKED) and a medium that fails (SQLITE_IOERR, SQLITE_CANTOPEN) apart from it, so a
// file is called damaged only on SQLite's word or on a quick_check that reads to its end and
// finds faults. A check that cannot finish for any other reason gives that reason.
#include "catalogue_check.h"
#include <map>
#include <mutex>
#include <string>
#include "AppDB.h"
#include "sqlite_owners.h"

namespace {

int file_state_of(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return AppDB::FILE_OK;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return AppDB::FILE_DAMAGED;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return AppDB::FILE_LOCKED;
    case SQLITE_NOMEM: return AppDB::FILE_NO_MEMORY;
    default: return AppDB::FILE_CANNOT_OPEN;   // CANTOPEN, IOERR, PERM, READONLY, FULL, ...
    }
}

// Steps sql to its first row; the result's state, and its first column in text.
int first_row_state(sqlite3* db, const char* sql, std::string& text) {
    unique_stmt q;
    int rc = sqlite3_prepare_v2(db, sql, -1, q.put(), nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(q.get());
    if (rc == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(q.get(), 0);
        text = t ? reinterpret_cast<const char*>(t) : "";
    }
    return file_state_of(rc);
}

std::mutex g_lock;
std::map<const AppDB*, int> g_initFailures;   // only objects whose last Init failed

void remember(const AppDB* db, int state) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (state == AppDB::FILE_OK)
        g_initFailures.erase(db);
    else
        g_initFailures[db] = state;
}

} // namespace

int CheckCatalogueFile(const char* path, bool full) {
    unique_db db;
    const int rc = sqlite3_open_v2(path, db.put(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) return file_state_of(rc);
    std::string text;
    int state = first_row_state(db.get(), "SELECT count(*) FROM sqlite_master", text);
    if (state != AppDB::FILE_OK || !full) return state;
    state = first_row_state(db.get(), "PRAGMA quick_check", text);
    return state == AppDB::FILE_OK && text != "ok" ? AppDB::FILE_DAMAGED : state;
}

int InitFailureOf(const AppDB* db) {
    std::lock_guard<std::mutex> hold(g_lock);
    const auto it = g_initFailures.find(db);
    return it == g_initFailures.end() ? AppDB::FILE_OK : it->second;
}

void ForgetInitFailure(const AppDB* db) { remember(db, AppDB::FILE_OK); }

InitOutcome::InitOutcome(const AppDB* db, const SimpleDB* store, const char* path)
    : db_(db), store_(store), path_(path), wasOpen_(store->IsOpen()) {}

// Init failed when the store is closed after it. The file is read again in full: the read
// that failed in Init may have met a damaged page that the schema alone does not show. A
// file that now reads whole failed on something that has since passed, which was not
// damage: a lock that another program held for the moment.
InitOutcome::~InitOutcome() {
    const DWORD why = GetLastError();   // Init's own reason stays for its caller
    if (wasOpen_) {
        remember(db_, AppDB::FILE_ALREADY_OPEN);
    } else if (store_->IsOpen()) {
        remember(db_, AppDB::FILE_OK);
    } else {
        const int state = CheckCatalogueFile(path_, true);
        remember(db_, state == AppDB::FILE_OK ? AppDB::FILE_LOCKED : state);
    }
    SetLastError(why);
}
