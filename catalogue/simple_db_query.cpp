// SimpleDB queries: statements built, prepared and finalized per call, results copied
// into heap records that stay with their owner until they are handed out.
#include "SimpleDB.h"
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include "simple_db_rows.h"
#include "sql_text.h"
#include "sqlite_owners.h"
#include "store_errors.h"

namespace {

const char kRows[] = "SELECT `key`, `cat`, `time`, `level`, `group`, `keywords`, `value`, length(`bin`) FROM `%s`";

// "<head> WHERE <condition><tail>": the condition is whereFmt formatted with args, or "1"
// for a null format. False when a text could not be made (out of memory).
bool build_select(std::string& sql, const std::string& head, const char* whereFmt, va_list args,
                  const std::string& tail) {
    std::string where = "1";
    if (head.empty() || (whereFmt && !SqlFormatV(where, whereFmt, args))) return false;
    sql = head + " WHERE " + where + tail;
    return true;
}

std::string text_of(const char* fmt, const char* a, const char* b = nullptr) {
    std::string out;
    SqlFormat(out, fmt, a, b);
    return out;
}

std::string order_clause(const char* orderBy) {
    return orderBy ? text_of(" ORDER BY %q", orderBy) : std::string();
}

// " LIMIT offset,count" for a positive count (a page below 1 reads as 1), "" otherwise. The
// offset is computed in 64 bits; false when it does not fit an int.
bool limit_clause(std::string& out, int count, int page) {
    out.clear();
    if (count <= 0) return true;
    const long long offset = (static_cast<long long>(page < 1 ? 1 : page) - 1) * count;
    SqlFormat(out, " LIMIT %lld,%d", offset, count);
    return offset <= INT_MAX;
}

// Copies a clause into a caller's buffer of size bytes, cut and always terminated.
void copy_clause(char* buf, int size, const std::string& clause) {
    if (buf && size >= 1) sqlite3_snprintf(size, buf, "%s", clause.c_str());
}

// False, with the reason set, when SQLite refuses the statement.
bool prepare(sqlite3* db, const std::string& sql, unique_stmt& q) {
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, q.put(), nullptr);
    return rc == SQLITE_OK || FailSqlite(rc);
}

// Null, with the reason set: `return none(kStoreClosed);`.
std::nullptr_t none(DWORD error) {
    Fail(error);
    return nullptr;
}

char* copy_column(sqlite3_stmt* st, int col) {
    const unsigned char* text = sqlite3_column_text(st, col);
    return text ? strdup(reinterpret_cast<const char*>(text)) : nullptr;
}

bool has_key(sqlite3_stmt* st) {
    const unsigned char* key = sqlite3_column_text(st, 0);
    return key && *key;
}

void fill_record(SimpleDB::Record& r, sqlite3_stmt* st) {
    r.key = copy_column(st, 0);
    r.cat = sqlite3_column_int(st, 1);
    r.time = sqlite3_column_int(st, 2);
    r.level = sqlite3_column_int(st, 3);
    r.group = copy_column(st, 4);
    r.keywords = copy_column(st, 5);
    r.value = copy_column(st, 6);
    r.binSize = sqlite3_column_int(st, 7);
}

// A set with room for `room` records, all zero; null when out of memory.
unique_record_set new_set(int room) {
    unique_record_set set(static_cast<SimpleDB::RecordSet*>(calloc(1, sizeof(SimpleDB::RecordSet))));
    if (set) set.get()->records = static_cast<SimpleDB::Record*>(calloc(room, sizeof(SimpleDB::Record)));
    if (set && !set.get()->records) set.reset();
    return set;
}

// The next free record of set, doubling its room when full; null when out of memory.
SimpleDB::Record* next_record(SimpleDB::RecordSet* set, int& room) {
    if (set->count == room) {
        auto* grown = static_cast<SimpleDB::Record*>(realloc(set->records, sizeof(SimpleDB::Record) * room * 2));
        if (!grown) return nullptr;
        memset(grown + room, 0, sizeof(SimpleDB::Record) * room);
        set->records = grown;
        room *= 2;
    }
    return &set->records[set->count];
}

} // namespace

SimpleDB::Record* SimpleDB::QueryOne(const char* whereFmt, ...) {
    if (!m_db) return none(kStoreClosed);
    if (!whereFmt) return none(kBadArgument);
    std::string sql;
    va_list args;
    va_start(args, whereFmt);
    const bool ok = build_select(sql, text_of(kRows, m_table), whereFmt, args, " LIMIT 1");
    va_end(args);
    unique_stmt q;
    if (!ok) return none(StoreErrorOf(SQLITE_NOMEM));
    if (!prepare(m_db, sql, q)) return nullptr;
    const int rc = sqlite3_step(q.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return none(StoreErrorOf(rc));
    if (rc == SQLITE_DONE || !has_key(q.get())) return none(kNoRecord);
    unique_record rec(static_cast<Record*>(calloc(1, sizeof(Record))));
    if (!rec) return none(StoreErrorOf(SQLITE_NOMEM));
    fill_record(*rec.get(), q.get());
    return rec.release();
}

// Runs select and copies its rows (groups: the group value and its count) into a new set;
// null unless every row was read.
SimpleDB::RecordSet* SimpleDB::query_set(const char* select, int count, bool groups) {
    unique_stmt q;
    if (!prepare(m_db, select, q)) return nullptr;
    int room = count >= 1 ? count : 32;
    unique_record_set set = new_set(room);
    if (!set) return none(StoreErrorOf(SQLITE_NOMEM));
    int rc;
    while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) {
        if (!groups && !has_key(q.get())) return set.release();
        Record* r = next_record(set.get(), room);
        if (!r) return none(StoreErrorOf(SQLITE_NOMEM));
        if (groups) {
            r->key = copy_column(q.get(), 0);   // null for the NULL group
            r->level = sqlite3_column_int(q.get(), 1);
        } else {
            fill_record(*r, q.get());
        }
        ++set.get()->count;
    }
    return rc == SQLITE_DONE ? set.release() : none(StoreErrorOf(rc));
}

namespace {

// The SELECT of Query; false where Query returns null before it runs anything.
bool rows_select(std::string& sql, const char* table, const char* orderBy, int count, int page, const char* whereFmt,
                 va_list args) {
    std::string limit;
    return limit_clause(limit, count, page) && build_select(sql, text_of(kRows, table), whereFmt, args, order_clause(orderBy) + limit);
}

bool rows_select_of(std::string& sql, const char* table, int count, int page, const char* whereFmt, ...) {
    va_list args;
    va_start(args, whereFmt);
    const bool ok = rows_select(sql, table, nullptr, count, page, whereFmt, args);
    va_end(args);
    return ok;
}

} // namespace

SimpleDB::RecordSet* SimpleDB::Query(const char* orderBy, int count, int page, const char* whereFmt, ...) {
    std::string sql;
    if (!m_db) return none(kStoreClosed);
    va_list args;
    va_start(args, whereFmt);
    const bool ok = rows_select(sql, m_table, orderBy, count, page, whereFmt, args);
    va_end(args);
    return ok ? query_set(sql.c_str(), count, false) : none(kBadArgument);
}

bool SimpleDBRows::Prepare(SimpleDB& db, const std::string& where, int count, int page, unique_stmt& rows) {
    std::string sql;
    if (!db.m_db) return Fail(kStoreClosed);
    return (rows_select_of(sql, db.m_table, count, page, "%s", where.c_str()) || Fail(kBadArgument)) &&
           prepare(db.m_db, sql, rows);
}

SimpleDB::RecordSet* SimpleDB::QueryGroups(const char* orderBy, int count, int page, const char* column,
                                           const char* whereFmt, ...) {
    std::string limit, sql;
    if (!m_db) return none(kStoreClosed);
    if (!column || !*column || !limit_clause(limit, count, page)) return none(kBadArgument);
    const std::string head = text_of("SELECT `%s`, count(`key`) FROM `%s`", column, m_table);
    va_list args;
    va_start(args, whereFmt);
    const bool ok = build_select(sql, head, whereFmt, args, text_of(" GROUP BY `%q`", column) + order_clause(orderBy) + limit);
    va_end(args);
    return ok ? query_set(sql.c_str(), count, true) : none(kBadArgument);
}

int SimpleDB::Count(const char* whereFmt, ...) {
    if (!m_db) return Fail(kStoreClosed), -1;
    std::string sql;
    va_list args;
    va_start(args, whereFmt);
    const bool ok = build_select(sql, text_of("SELECT count(`key`) FROM `%s`", m_table), whereFmt, args, "");
    va_end(args);
    unique_stmt q;
    if (!ok) return FailSqlite(SQLITE_NOMEM), -1;
    if (!prepare(m_db, sql, q)) return -1;
    const int rc = sqlite3_step(q.get());
    return rc == SQLITE_ROW ? sqlite3_column_int(q.get(), 0) : (FailSqlite(rc), -1);
}

namespace {
void free_texts(SimpleDB::Record& r) {
    free(r.key);
    free(r.value);
    free(r.group);
    free(r.keywords);
}
} // namespace

void SimpleDB::FreeRecord(Record* rec) {
    if (!rec) return;
    free_texts(*rec);
    free(rec);
}

void SimpleDB::FreeRecordSet(RecordSet* set) {
    if (!set) return;
    for (int i = 0; i < set->count; ++i) free_texts(set->records[i]);
    free(set->records);
    free(set);
}

// The one caller of sqlite3_vmprintf in the library.
char* SimpleDB::Printf(const char* fmt, va_list args) { return fmt ? sqlite3_vmprintf(fmt, args) : nullptr; }

void SimpleDB::FreeText(char* text) { release_member<unique_sql_text>(text); }

void SimpleDB::BuildOrderBy(char* buf, int size, const char* orderBy) { copy_clause(buf, size, order_clause(orderBy)); }

void SimpleDB::BuildLimit(char* buf, int size, int count, int page) {
    std::string clause;
    limit_clause(clause, count, page);   // the exact offset, also past the int range
    copy_clause(buf, size, clause);
}
