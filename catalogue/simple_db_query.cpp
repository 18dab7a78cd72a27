// SimpleDB queries: statements built, prepared and finalized per call, results copied
// into heap records.
#include "SimpleDB.h"
#include <stdlib.h>
#include <string.h>
#include <sqlite3.h>
#include "sql_text.h"

namespace {

const char kColumns[] = "SELECT `key`, `cat`, `time`, `level`, `group`, `keywords`, `value`, length(`bin`) FROM `%s` WHERE %s";

// Finalizes the statement when the scope ends.
struct Statement {
    sqlite3_stmt* st = nullptr;
    ~Statement() { sqlite3_finalize(st); }
};

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

// The condition text: the formatted whereFmt, or "1" for a null format.
bool condition(std::string& out, const char* whereFmt, va_list args) {
    if (!whereFmt) {
        out = "1";
        return true;
    }
    return SqlFormatV(out, whereFmt, args);
}

std::string order_clause(const char* orderBy) {
    std::string out;
    if (orderBy) SqlFormat(out, " ORDER BY %q", orderBy);
    return out;
}

std::string limit_clause(int count, int page) {
    std::string out;
    if (count > 0) SqlFormat(out, " LIMIT %d,%d", ((page < 1 ? 1 : page) - 1) * count, count);
    return out;
}

// A set with room for `room` records, all zero.
SimpleDB::RecordSet* new_set(int room) {
    auto* set = static_cast<SimpleDB::RecordSet*>(calloc(1, sizeof(SimpleDB::RecordSet)));
    if (!set) return nullptr;
    set->records = static_cast<SimpleDB::Record*>(calloc(room, sizeof(SimpleDB::Record)));
    if (!set->records) {
        free(set);
        return nullptr;
    }
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
    if (!m_db || !whereFmt) return nullptr;
    std::string where, sql;
    va_list args;
    va_start(args, whereFmt);
    bool ok = SqlFormatV(where, whereFmt, args);
    va_end(args);
    if (!ok || !SqlFormat(sql, kColumns, m_table, where.c_str())) return nullptr;
    sql += " LIMIT 1";
    Statement q;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &q.st, nullptr) != SQLITE_OK) return nullptr;
    if (sqlite3_step(q.st) != SQLITE_ROW || !has_key(q.st)) return nullptr;
    auto* rec = static_cast<Record*>(calloc(1, sizeof(Record)));
    if (rec) fill_record(*rec, q.st);
    return rec;
}

SimpleDB::RecordSet* SimpleDB::query_set(const char* select, int count, bool groups) {
    Statement q;
    if (sqlite3_prepare_v2(m_db, select, -1, &q.st, nullptr) != SQLITE_OK) return nullptr;
    int room = count >= 1 ? count : 32;
    RecordSet* set = new_set(room);
    if (!set) return nullptr;
    while (sqlite3_step(q.st) == SQLITE_ROW) {
        if (!groups && !has_key(q.st)) break;
        Record* r = next_record(set, room);
        if (!r) break;
        if (groups) {
            r->key = copy_column(q.st, 0);   // null for the NULL group
            r->level = sqlite3_column_int(q.st, 1);
        } else {
            fill_record(*r, q.st);
        }
        ++set->count;
    }
    return set;
}

SimpleDB::RecordSet* SimpleDB::Query(const char* orderBy, int count, int page, const char* whereFmt, ...) {
    if (!m_db) return nullptr;
    std::string where, sql;
    va_list args;
    va_start(args, whereFmt);
    bool ok = condition(where, whereFmt, args);
    va_end(args);
    if (!ok || !SqlFormat(sql, kColumns, m_table, where.c_str())) return nullptr;
    sql += order_clause(orderBy) + limit_clause(count, page);
    return query_set(sql.c_str(), count, false);
}

SimpleDB::RecordSet* SimpleDB::QueryGroups(const char* orderBy, int count, int page, const char* column,
                                           const char* whereFmt, ...) {
    if (!m_db || !column || !*column) return nullptr;
    std::string where, sql, group;
    va_list args;
    va_start(args, whereFmt);
    bool ok = condition(where, whereFmt, args);
    va_end(args);
    if (!ok || !SqlFormat(sql, "SELECT `%s`, count(`key`) FROM `%s` WHERE %s", column, m_table, where.c_str()) ||
        !SqlFormat(group, " GROUP BY `%q`", column))
        return nullptr;
    sql += group + order_clause(orderBy) + limit_clause(count, page);
    return query_set(sql.c_str(), count, true);
}

int SimpleDB::Count(const char* whereFmt, ...) {
    if (!m_db) return -1;
    std::string where, sql;
    if (whereFmt) {
        va_list args;
        va_start(args, whereFmt);
        bool ok = SqlFormatV(where, whereFmt, args);
        va_end(args);
        if (!ok) return 0;
        where = " WHERE " + where;
    }
    if (!SqlFormat(sql, "SELECT count(`key`) FROM `%s`%s", m_table, where.c_str())) return -1;
    Statement q;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &q.st, nullptr) != SQLITE_OK) return -1;
    return sqlite3_step(q.st) == SQLITE_ROW ? sqlite3_column_int(q.st, 0) : -1;
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

char* SimpleDB::Printf(const char* fmt, va_list args) { return fmt ? sqlite3_vmprintf(fmt, args) : nullptr; }

void SimpleDB::FreeText(char* text) {
    if (text) sqlite3_free(text);
}

void SimpleDB::BuildOrderBy(char* buf, int size, const char* orderBy) {
    if (!buf || size < 1) return;
    buf[0] = 0;
    if (orderBy) sqlite3_snprintf(size, buf, " ORDER BY %q", orderBy);
}

void SimpleDB::BuildLimit(char* buf, int size, int count, int page) {
    if (!buf || size < 1) return;
    buf[0] = 0;
    if (count > 0) sqlite3_snprintf(size, buf, " LIMIT %d,%d", ((page < 1 ? 1 : page) - 1) * count, count);
}
