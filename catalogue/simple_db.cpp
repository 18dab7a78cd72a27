// SimpleDB: connection, transaction and the cached record operations.
//
// Invariants: m_db is null exactly when the store is closed. m_inTransaction is the store's
// transaction as SQLite reports it, moved only by settle() after every BEGIN, write, COMMIT
// and ROLLBACK: none, open without a change, open with changes; and apart from that, whether
// writes accepted earlier were lost (SQLite rolled their transaction back by itself on a full
// disk, an I/O error or no memory) and no call has reported it yet. Only a write opens the
// transaction, right before its step; a write that leaves it without a change (it failed, or
// changed nothing) ends it again: an open transaction always holds writes, and no read keeps
// a lock on the file after its call. A loss is reported by the next Commit, Close or
// Cleanup (false), or logged by the unload; AppDB::Flush, which cannot report, keeps it.
// Cached statements are reset before each use and right after their step.
#include "SimpleDB.h"
#include <stdlib.h>
#include <string.h>
#include <sqlite3.h>
#include "sql_text.h"
#include "sqlite_owners.h"
#include "store_errors.h"
#include "store_loss_log.h"
#include "store_waits.h"

namespace {

// How long the last commit of a closing connection waits for other programs' reads to end.
// Close can report a failure, so it waits long enough for a long listing; the destructor
// cannot, and runs at the library's unload under the loader lock, so it waits only briefly.
const int kCloseCommitWaitMs = 5000;
const int kUnloadCommitWaitMs = 250;

// m_inTransaction: the transaction in its low bits, a loss not yet reported above them.
enum : int {
    kNoTxn = 0,        // no transaction open
    kTxnEmpty = 1,     // open, holding no change
    kTxnChanged = 2,   // open, holding changes not yet committed
    kTxnBits = 3,
    kLost = 4,         // writes accepted earlier are not in the file; nobody was told yet
    kCauseShift = 8,   // bits 8-15: SQLite's primary result code that lost them
};

enum class Ran { Check, Begin, Write, Commit, Rollback };

// Moves the transaction state after `ran` gave result rc (changed: the write changed rows),
// from SQLite's own state: when SQLite has left a transaction that held changes other than
// by this store's COMMIT, those changes are lost.
void settle(sqlite3* db, int& state, Ran ran, int rc, bool changed = false) {
    int txn = state & kTxnBits;
    int loss = state & ~kTxnBits;
    if (sqlite3_get_autocommit(db)) {
        if (txn == kTxnChanged && !(ran == Ran::Commit && rc == SQLITE_OK)) {
            int cause = (rc & 0xFF) > SQLITE_OK && (rc & 0xFF) < SQLITE_ROW ? rc : sqlite3_errcode(db);
            if ((cause & 0xFF) == SQLITE_OK || (cause & 0xFF) >= SQLITE_ROW) cause = SQLITE_ABORT;
            loss = kLost | ((cause & 0xFF) << kCauseShift);
        }
        txn = kNoTxn;
    } else if (txn == kNoTxn) {
        txn = kTxnEmpty;   // this store's BEGIN
    }
    if (txn != kNoTxn && changed) txn = kTxnChanged;
    state = txn | loss;
}

// Whether db's rollback journal is still there, not empty, after a commit that SQLite
// reported done. SQLite ends a commit by deleting the journal; under Wine a delete happens at
// the file's last close, and a medium that refuses it then (turned read-only) goes untold.
// The journal left behind rolls the commit back at the next transaction or open, so the
// commit is lost. (Another program that starts its own transaction at that very moment also
// has a journal there: its commit is then taken for lost, the safe way round.)
bool journal_left(sqlite3* db) {
    const char* journal = sqlite3_filename_journal(sqlite3_db_filename(db, "main"));
    wchar_t name[MAX_PATH * 2];
    WIN32_FILE_ATTRIBUTE_DATA data;
    return journal && MultiByteToWideChar(CP_UTF8, 0, journal, -1, name, MAX_PATH * 2) > 0 &&
           GetFileAttributesExW(name, GetFileExInfoStandard, &data) && (data.nFileSizeLow || data.nFileSizeHigh);
}

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

SimpleDB::SimpleDB() : m_db(nullptr), m_table(nullptr), m_inTransaction(kNoTxn), m_stmts(new_slots()) {
    static_assert(int(kStatements) == int(sqlite_owner::kSlots), "one slot per cached statement");
}

SimpleDB::~SimpleDB() {
    close_unreported();
    release_member<unique_slots>(m_stmts);
}

bool SimpleDB::IsOpen() const { return m_db != nullptr; }

bool SimpleDB::run(const char* sql) {
    if (!m_db) return Fail(kStoreClosed);
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK || FailSqlite(rc);
}

bool SimpleDB::Open(const char* path, const char* table) {
    if (!path || !table) return Fail(kBadArgument);
    if (m_db) Close();
    // A file that is not a database, or cannot be opened: nothing stays open.
    unique_db db;
    std::string create;
    int rc = sqlite3_open_v2(path, db.put(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) return FailSqlite(rc);
    if (!SqlFormat(create, kCreateSql, table)) return FailSqlite(SQLITE_NOMEM);
    WaitForLocks(db.get(), kLockWaitMs);
    if ((rc = sqlite3_exec(db.get(), create.c_str(), nullptr, nullptr, nullptr)) != SQLITE_OK) return FailSqlite(rc);
    m_table = strdup(table);
    if (!m_table) return FailSqlite(SQLITE_NOMEM);
    m_db = db.release();
    m_inTransaction = kNoTxn;
    return true;
}

bool SimpleDB::Close() { return m_db ? close(kCloseCommitWaitMs) : Fail(kStoreClosed); }

// Closing the connection rolls back whatever is still uncommitted, so the last commit waits
// up to commitWaitMs for other connections' reads to end, longer than the 1 s of a commit
// that can be tried again. False when writes were pending and that commit failed (they are
// lost), or when writes accepted earlier were lost and not yet reported. Closed either way.
bool SimpleDB::close(int commitWaitMs) {
    if (!m_db) return true;
    WaitForLocks(m_db, commitWaitMs);
    const bool kept = commit_pending(true);
    const DWORD why = GetLastError();
    for (int i = 0; i < kStatements; ++i) release_member<unique_stmt>(m_stmts[i]);
    release_member<unique_db>(m_db);
    m_inTransaction = kNoTxn;
    free(m_table);
    m_table = nullptr;
    return kept || Fail(why);
}

// A close nobody can be told of (the destructor, the library's unload): a short wait, and
// writes it loses go to the process's log.
void SimpleDB::close_unreported() {
    if (!m_db) return;
    const std::string file = sqlite3_db_filename(m_db, "main");
    if (!close(kUnloadCommitWaitMs)) LogStoreLoss(file.c_str(), GetLastError());
}

bool SimpleDB::DropTable() {
    std::string sql;
    if (!m_db) return Fail(kStoreClosed);
    return SqlFormat(sql, "DROP TABLE %s", m_table) ? run(sql.c_str()) : FailSqlite(SQLITE_NOMEM);
}

bool SimpleDB::BeginTransaction() {
    if (!m_db) return Fail(kStoreClosed);
    settle(m_db, m_inTransaction, Ran::Check, SQLITE_OK);
    if (m_inTransaction & kTxnBits) return Fail(ERROR_ALREADY_INITIALIZED);   // one is open
    const int rc = sqlite3_exec(m_db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    settle(m_db, m_inTransaction, Ran::Begin, rc);
    return rc == SQLITE_OK || FailSqlite(rc);
}

// False also when nothing was open (last error 0: nothing pending, nothing lost).
bool SimpleDB::Commit() {
    if (!m_db) return Fail(kStoreClosed);
    settle(m_db, m_inTransaction, Ran::Check, SQLITE_OK);
    if (m_inTransaction == kNoTxn) return Fail(ERROR_SUCCESS);
    return commit_pending(true);
}

// Commits the open transaction, waiting up to the connection's bound for other programs'
// reads to end. True when nothing is left pending and no loss awaits its report; a call that
// reports (reportLoss) returns false once for a loss and forgets it, the others keep it. A
// commit that fails on a lock keeps the writes pending; one that SQLite rolls back loses them.
bool SimpleDB::commit_pending(bool reportLoss) {
    if (!m_db) return Fail(kStoreClosed);
    settle(m_db, m_inTransaction, Ran::Check, SQLITE_OK);
    int rc = SQLITE_OK;
    if (m_inTransaction & kTxnBits) {
        const bool changed = (m_inTransaction & kTxnBits) == kTxnChanged;
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        settle(m_db, m_inTransaction, Ran::Commit, rc);
        if (rc == SQLITE_OK && changed && journal_left(m_db))
            m_inTransaction |= kLost | (SQLITE_IOERR << kCauseShift);
    }
    if (m_inTransaction & kLost) {
        const int cause = (m_inTransaction >> kCauseShift) & 0xFF;
        if (reportLoss) m_inTransaction &= kTxnBits;
        return FailSqlite(cause);
    }
    return rc == SQLITE_OK || FailSqlite(rc);
}

// Runs a bound write statement in the store's transaction, which it opens when none is
// open; true when the statement completed. The write does not wait for a lock: another
// program's transaction may stay open for minutes. When the transaction holds no change
// afterwards (the write failed or changed nothing) it is ended, losing nothing, so that no
// lock of an empty transaction keeps other programs from writing or committing.
bool SimpleDB::finish_write(sqlite3_stmt* st) {
    BeginTransaction();
    const int before = sqlite3_total_changes(m_db);
    WaitForLocks(m_db, 0);
    const int rc = sqlite3_step(st);
    WaitForLocks(m_db, kLockWaitMs);
    sqlite3_reset(st);   // a busy statement stays active until reset
    settle(m_db, m_inTransaction, Ran::Write, rc, rc == SQLITE_DONE && sqlite3_total_changes(m_db) != before);
    if ((m_inTransaction & kTxnBits) == kTxnEmpty)
        settle(m_db, m_inTransaction, Ran::Rollback, sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr));
    return rc == SQLITE_DONE || FailSqlite(rc);
}

// The slot's statement, prepared on first use and reset for this use; null on failure
// (the reason set). sqlite3_reset repeats the error of the statement's last step, but resets
// it all the same: that old error does not fail this use.
sqlite3_stmt* SimpleDB::statement(int slot) {
    if (!m_db) return Fail(kStoreClosed), nullptr;
    if (!m_stmts[slot]) {
        std::string sql;
        unique_stmt st;
        if (!SqlFormat(sql, kSlotSql[slot], m_table)) return FailSqlite(SQLITE_NOMEM), nullptr;
        const int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, st.put(), nullptr);
        if (rc != SQLITE_OK) return FailSqlite(rc), nullptr;
        m_stmts[slot] = st.release();
    }
    sqlite3_reset(m_stmts[slot]);
    return m_stmts[slot];
}

namespace {

// Binding without copying reports only misuse or no memory.
bool bound(int sum) { return sum == 0 || FailSqlite(SQLITE_NOMEM); }

} // namespace

// A read of its own: it opens no transaction, so its lock on the file ends with the reset.
// False with kNoRecord when there is no such record.
bool SimpleDB::Exists(const char* key, int cat) {
    if (!m_db) return Fail(kStoreClosed);
    if (empty(key)) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(kExists);
    if (!st || !bound(bind_text(st, 1, key) + sqlite3_bind_int(st, 2, cat))) return false;
    const int rc = sqlite3_step(st);
    const bool found = rc == SQLITE_ROW && sqlite3_column_int(st, 0) > 0;
    sqlite3_reset(st);
    return found || (rc == SQLITE_ROW ? Fail(kNoRecord) : FailSqlite(rc));
}

// Binds the seven columns of a row to the INSERT of `slot` and runs it.
bool SimpleDB::write_row(int slot, const Record* rec) {
    if (!m_db) return Fail(kStoreClosed);
    if (!rec || empty(rec->key)) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(slot);
    return st &&
           bound(bind_text(st, 1, rec->key) + sqlite3_bind_int(st, 2, rec->cat) + sqlite3_bind_int(st, 3, rec->time) +
                 sqlite3_bind_int(st, 4, rec->level) + bind_text(st, 5, rec->group) + bind_text(st, 6, rec->keywords) +
                 bind_text(st, 7, rec->value)) &&
           finish_write(st);
}

bool SimpleDB::Insert(const Record* rec) { return write_row(kInsert, rec); }

// An existing row of the same key and category keeps its attachment.
bool SimpleDB::Put(const Record* rec) { return write_row(kPut, rec); }

bool SimpleDB::Delete(const char* key, int catMask) {
    if (!m_db) return Fail(kStoreClosed);
    if (empty(key)) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(kDelete);
    return st && bound(bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask)) && finish_write(st);
}

bool SimpleDB::DeleteAll(int catMask) {
    if (!m_db) return Fail(kStoreClosed);
    sqlite3_stmt* st = statement(kDeleteAll);
    return st && bound(sqlite3_bind_int(st, 1, catMask)) && finish_write(st);
}

// Nothing stored for a key without a record: false with kNoRecord.
bool SimpleDB::SetBin(const char* key, int catMask, const void* data, int size) {
    if (!m_db) return Fail(kStoreClosed);
    if (!key || !data || size <= 0) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(kSetBin);
    if (!st || !bound(sqlite3_bind_blob(st, 1, data, size, SQLITE_STATIC) + bind_text(st, 2, key) +
                      sqlite3_bind_int(st, 3, catMask)))
        return false;
    const int before = sqlite3_total_changes(m_db);
    return finish_write(st) && (sqlite3_total_changes(m_db) != before || Fail(kNoRecord));
}

bool SimpleDB::GetBin(const char* key, int catMask, void* buffer, unsigned int* size) {
    if (!m_db) return Fail(kStoreClosed);
    if (!key || !buffer || !size) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(kGetBin);
    if (!st || !bound(bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask))) return false;
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {   // no such record: buffer and size untouched
        sqlite3_reset(st);
        return rc == SQLITE_DONE ? Fail(kNoRecord) : FailSqlite(rc);
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

// False with kNoRecord when the record has no attachment or there is no record.
bool SimpleDB::HasBin(const char* key, int catMask) {
    if (!m_db) return Fail(kStoreClosed);
    if (!key) return Fail(kBadArgument);
    sqlite3_stmt* st = statement(kHasBin);
    if (!st || !bound(bind_text(st, 1, key) + sqlite3_bind_int(st, 2, catMask))) return false;
    const int rc = sqlite3_step(st);
    const bool has = rc == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL;
    sqlite3_reset(st);
    return has || (rc == SQLITE_ROW || rc == SQLITE_DONE ? Fail(kNoRecord) : FailSqlite(rc));
}
