// SimpleDB: connection, transaction and the cached record operations.
//
// Invariants: m_db is null exactly when the store is closed; m_inTransaction is 1 only
// while SQLite has a transaction open on m_db that BeginTransaction started (checked
// against SQLite's autocommit state, which turns back on when SQLite rolls back by itself).
// Only a write opens that transaction, right before its step, and a write that changed
// nothing ends it again: an open transaction always holds writes, and no read keeps a lock
// on the file after its call. Cached statements are reset before each use; the reading
// ones also right after their row is taken.
#include "SimpleDB.h"
#include <stdlib.h>
#include <string.h>
#include <sqlite3.h>
#include <CxLogMsg.h>
#include "SharedState.h"
#include "sql_text.h"
#include "sqlite_owners.h"
#include "utf8_text.h"

namespace {

// How long the last commit of a closing connection waits for other programs' reads to end.
// Close can report a failure, so it waits long enough for a long listing; the destructor
// cannot, and runs at the library's unload under the loader lock, so it waits only briefly.
const int kCloseCommitWaitMs = 5000;
const int kUnloadCommitWaitMs = 250;

enum Slot { kExists, kInsert, kPut, kDelete, kDeleteAll, kSetBin, kGetBin, kHasBin };

const char* const kSlotSql[] = {
    "SELECT count(*) FROM `%s` WHERE `key` = ? AND `cat` = ?",
    "INSERT OR REPLACE INTO `%s` (`key`, `cat`, `time`, `level`, `group`, `keywords`, `value`) VALUES (?, ?, ?, ?, ?, ?, ?)",
    // Put: one statement that inserts, or updates every column but the attachment.
    "INSERT INTO `%s` (`key`, `cat`, `time`, `level`, `group`, `keywords`, `value`) VALUES (?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT (`key`, `cat`) DO UPDATE SET `time` = excluded.`time`, `level` = excluded.`level`, "
    "`group` = excluded.`group`, `keywords` = excluded.`keywords`, `value` = excluded.`value`",
    "DELETE FROM `%s` WHERE `key` = ? AND `cat` & ?",
    // DeleteAll spares the catalogue's version row, which tells the next Init that the
    // table is its own: a bulk delete never leaves a file that Init would start anew.
    "DELETE FROM `%s` WHERE `cat` & ? AND NOT (`key` = 'VERSION' AND `cat` = 1)",
    "UPDATE `%s` SET `bin` = ? WHERE `key` = ? AND `cat` & ?",
    "SELECT `bin` FROM `%s` WHERE `key` = ? AND `cat` & ?",
    "SELECT length(`bin`) FROM `%s` WHERE `key` = ? AND `cat` & ?",
};

const char kCreateSql[] =
    "CREATE TABLE IF NOT EXISTS `%s` (  `key` VARCHAR(255) NOT NULL,  `cat` UNSIGNED INT NOT NULL DEFAULT 0,  "
    "`time` INT NOT NULL DEFAULT 0,  `level` INT NOT NULL DEFAULT 0,  `group` VARCHAR(255),  "
    "`keywords` VARCHAR(1024),  `value` TEXT,  `bin` BLOB,  PRIMARY KEY (`key`, `cat`))";

bool empty(const char* s) { return !s || !*s; }

// Binds a text without copying it; a null pointer binds NULL.
int bind_text(sqlite3_stmt* st, int i, const char* text) {
    return sqlite3_bind_text(st, i, text, -1, SQLITE_STATIC);
}

} // namespace

SimpleDB::SimpleDB() : m_db(nullptr), m_table(nullptr), m_inTransaction(0), m_stmts(new_slots()) {
    static_assert(int(kStatements) == int(sqlite_owner::kSlots), "one slot per cached statement");
}

SimpleDB::~SimpleDB() {
    close_unreported();
    release_member<unique_slots>(m_stmts);
}

bool SimpleDB::IsOpen() const { return m_db != nullptr; }

bool SimpleDB::run(const char* sql) { return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool SimpleDB::Open(const char* path, const char* table) {
    if (!path || !table) return false;
    if (m_db) Close();
    // A file that is not a database, or cannot be opened: nothing stays open.
    unique_db db;
    std::string create;
    if (sqlite3_open_v2(path, db.put(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr) !=
            SQLITE_OK ||
        !SqlFormat(create, kCreateSql, table) || sqlite3_exec(db.get(), create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    m_table = strdup(table);
    if (!m_table) return false;
    m_db = db.release();
    return true;
}

bool SimpleDB::Close() { return m_db && close(kCloseCommitWaitMs); }

// Closing the connection rolls back whatever is still uncommitted, so the last commit waits
// up to commitWaitMs for other connections' reads to end instead of failing at once like
// every other operation. False when writes were pending and that commit failed: they are
// lost. The store is closed either way.
bool SimpleDB::close(int commitWaitMs) {
    if (!m_db) return true;
    sqlite3_busy_timeout(m_db, commitWaitMs);
    const bool kept = !m_inTransaction || Commit();
    for (int i = 0; i < kStatements; ++i) release_member<unique_stmt>(m_stmts[i]);
    release_member<unique_db>(m_db);
    m_inTransaction = 0;
    free(m_table);
    m_table = nullptr;
    return kept;
}

// A close nobody can be told of (the destructor, the library's unload): a short wait, and
// writes it loses go to the process's log when one is open.
void SimpleDB::close_unreported() {
    if (!m_db) return;
    const CString file = UTF8ToCString(sqlite3_db_filename(m_db, "main"));
    if (close(kUnloadCommitWaitMs)) return;
    for (CxLogMsg* log : {g_pDbgUI, g_pDbgEng, g_pDbgPanel})
        if (log) log->LogMsg(L"Catalogue %s: writes not yet committed were lost at close (another program held the file)\n", file.GetString());
}

bool SimpleDB::DropTable() {
    std::string sql;
    return m_db && SqlFormat(sql, "DROP TABLE %s", m_table) && run(sql.c_str());
}

bool SimpleDB::BeginTransaction() {
    if (!m_db) return false;
    if (m_inTransaction && sqlite3_get_autocommit(m_db)) m_inTransaction = 0;   // rolled back by SQLite
    if (m_inTransaction) return false;
    if (!run("BEGIN TRANSACTION")) return false;
    m_inTransaction = 1;
    return true;
}

bool SimpleDB::Commit() {
    if (!m_db || !m_inTransaction) return false;
    if (sqlite3_get_autocommit(m_db)) {   // SQLite rolled back by itself: nothing to commit
        m_inTransaction = 0;
        return false;
    }
    if (!run("COMMIT")) return false;
    m_inTransaction = 0;
    return true;
}

// Runs a bound write statement in the store's transaction, which it opens when none is
// open; true when the statement completed. A write that failed while the transaction holds
// no change (for example because another process holds the write lock) ends it again:
// nothing is lost, and no read lock of an empty transaction keeps other processes from
// committing.
bool SimpleDB::finish_write(sqlite3_stmt* st) {
    BeginTransaction();
    if (sqlite3_step(st) == SQLITE_DONE) return true;
    sqlite3_reset(st);   // a busy statement stays active until reset
    if (m_inTransaction && sqlite3_txn_state(m_db, nullptr) != SQLITE_TXN_WRITE) {
        run("ROLLBACK");
        m_inTransaction = 0;
    }
    return false;
}

// The slot's statement, prepared on first use and reset for this use; null on failure.
// sqlite3_reset repeats the error of the statement's last step, but resets it all the
// same: that old error does not fail this use.
sqlite3_stmt* SimpleDB::statement(int slot) {
    if (!m_db) return nullptr;
    if (!m_stmts[slot]) {
        std::string sql;
        unique_stmt st;
        if (!SqlFormat(sql, kSlotSql[slot], m_table) ||
            sqlite3_prepare_v2(m_db, sql.c_str(), -1, st.put(), nullptr) != SQLITE_OK)
            return nullptr;
        m_stmts[slot] = st.release();
    }
    sqlite3_reset(m_stmts[slot]);
    return m_stmts[slot];
}

// A read of its own: it opens no transaction, so its lock on the file ends with the reset.
bool SimpleDB::Exists(const char* key, int cat) {
    if (!m_db || empty(key)) return false;
    sqlite3_stmt* st = statement(kExists);
    if (!st || bind_text(st, 1, key) + sqlite3_bind_int(st, 2, cat) != 0) return false;
    const bool found = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) > 0;
    sqlite3_reset(st);
    return found;
}

// Binds the seven columns of a row to the INSERT of `slot` and runs it.
bool SimpleDB::write_row(int slot, const Record* rec) {
    if (!m_db || !rec || empty(rec->key)) return false;
    sqlite3_stmt* st = statement(slot);
    return st &&
           bind_text(st, 1, rec->key) + sqlite3_bind_int(st, 2, rec->cat) + sqlite3_bind_int(st, 3, rec->time) +
                   sqlite3_bind_int(st, 4, rec->level) + bind_text(st, 5, rec->group) +
                   bind_text(st, 6, rec->keywords) + bind_text(st, 7, rec->value) == 0 &&
           finish_write(st);
}

bool SimpleDB::Insert(const Record* rec) { return write_row(kInsert, rec); }

// An existing row of the same key and category keeps its attachment.
bool SimpleDB::Put(const Record* rec) { return write_row(kPut, rec); }

bool SimpleDB::Delete(const char* key, int catMask) {
    if (!m_db || empty(key)) return false;
    sqlite3_stmt* st = statement(kDelete);
    return st && bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask) == 0 && finish_write(st);
}

bool SimpleDB::DeleteAll(int catMask) {
    if (!m_db) return false;
    sqlite3_stmt* st = statement(kDeleteAll);
    return st && sqlite3_bind_int(st, 1, catMask) == 0 && finish_write(st);
}

bool SimpleDB::SetBin(const char* key, int catMask, const void* data, int size) {
    if (!m_db || !key || !data || size <= 0) return false;
    sqlite3_stmt* st = statement(kSetBin);
    // Nothing stored for a key without a record: report it.
    return st &&
           sqlite3_bind_blob(st, 1, data, size, SQLITE_STATIC) + bind_text(st, 2, key) +
                   sqlite3_bind_int(st, 3, catMask) == 0 &&
           finish_write(st) && sqlite3_changes(m_db) > 0;
}

bool SimpleDB::GetBin(const char* key, int catMask, void* buffer, unsigned int* size) {
    if (!m_db || !key || !buffer || !size) return false;
    sqlite3_stmt* st = statement(kGetBin);
    if (!st || bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask) != 0) return false;
    if (sqlite3_step(st) != SQLITE_ROW) {   // no such record: buffer and size untouched
        sqlite3_reset(st);
        return false;
    }
    int copied = 0;
    if (sqlite3_column_type(st, 0) == SQLITE_BLOB) {
        const void* blob = sqlite3_column_blob(st, 0);
        const int n = sqlite3_column_bytes(st, 0);
        const int cap = *size > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(*size);
        copied = n < cap ? n : cap;
        if (copied > 0) memcpy(buffer, blob, copied);
    }
    *size = static_cast<unsigned int>(copied);
    sqlite3_reset(st);
    return true;
}

bool SimpleDB::HasBin(const char* key, int catMask) {
    if (!m_db || !key) return false;
    sqlite3_stmt* st = statement(kHasBin);
    if (!st || bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask) != 0) return false;
    const bool has = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL;
    sqlite3_reset(st);
    return has;
}
