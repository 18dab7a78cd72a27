// SimpleDB: typed key/value records in one table of one SQLite file.
//
// Every record has a UTF-8 key and category bits; (key, cat) is the primary key. Writes
// join one transaction that stays open until Commit (or Close). Records handed out are
// heap records released only by FreeRecord / FreeRecordSet. Every call that fails leaves
// its reason in GetLastError (docs/api/catalogue.md). Reads and commits wait up to 1 s for
// another program's lock; writes fail at once. When SQLite rolls a transaction that held
// accepted writes back by itself (full disk, I/O error), the next Commit or Close reports
// the loss: false, once.
#pragma once
#include <stdarg.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"

struct sqlite3;
struct sqlite3_stmt;

class CORELINK_API SimpleDB {
public:
    struct Record {
        char* key;        // UTF-8, required
        int cat;          // category bits
        int time;
        int level;        // QueryGroups: the row count of the group
        char* group;      // null for SQL NULL
        char* keywords;
        char* value;
        int binSize;      // results only: length of the attachment, 0 for none
    };
    struct RecordSet {
        int count;
        Record* records;
    };

    SimpleDB();
    virtual ~SimpleDB();
    SimpleDB(const SimpleDB&) = delete;
    SimpleDB& operator=(const SimpleDB&) = delete;

    // Opens (creating when missing) the UTF-8 path and creates the table when missing.
    // A failed Open leaves the store closed.
    bool Open(const char* path, const char* table);
    // Commits (waiting a few seconds for other programs' reads to end), finalizes, closes.
    // False when writes were pending and could not be committed, or writes accepted earlier
    // were lost and not yet reported.
    bool Close();
    bool IsOpen() const;
    bool DropTable();
    bool BeginTransaction();
    // False when nothing was open (last error 0), when the commit failed (on a lock the
    // writes stay pending), or once for writes lost since the last report.
    bool Commit();

    bool Exists(const char* key, int cat);
    bool Insert(const Record* rec);           // replaces a row of the same key and cat
    bool Put(const Record* rec);              // updates (keeping the attachment) or inserts
    bool Delete(const char* key, int catMask);
    // Every record whose cat shares a bit with catMask, except the catalogue's version row
    // ("VERSION" in category 1), which only a Delete that names it removes.
    bool DeleteAll(int catMask);
    // The attachment of the records of key whose cat shares a bit with catMask. SetBin is
    // false when no record matches (nothing is stored).
    bool SetBin(const char* key, int catMask, const void* data, int size);
    // *size: the buffer's capacity on entry, the bytes copied on return (0: no attachment).
    // False, touching nothing, when no record matches.
    bool GetBin(const char* key, int catMask, void* buffer, unsigned int* size);
    bool HasBin(const char* key, int catMask);

    // Conditions are formats in SQLite's printf dialect (a null one selects every row).
    // A query whose rows cannot all be read (a lock another program holds, a damaged file,
    // no memory) gives null or -1, never a part of its rows; Query ends, as designed, at a
    // row whose key is empty.
    // Statements are never cut. Pages of count records are numbered from 1; Query and
    // QueryGroups refuse (null) a page whose offset, (page - 1) * count, does not fit an int.
    Record* QueryOne(const char* whereFmt, ...);
    RecordSet* Query(const char* orderBy, int count, int page, const char* whereFmt, ...);
    RecordSet* QueryGroups(const char* orderBy, int count, int page, const char* column, const char* whereFmt, ...);
    int Count(const char* whereFmt, ...);     // -1 on failure (no connection, bad SQL, out of memory)

    static void FreeRecord(Record* rec);
    static void FreeRecordSet(RecordSet* set);
    static char* Printf(const char* fmt, va_list args);   // release with FreeText
    static void FreeText(char* text);
    // " ORDER BY <orderBy>" (quotes doubled) / " LIMIT offset,count" into buf of size bytes
    // (cut to fit, always terminated); empty for a null orderBy or a count below 1. Pages are
    // numbered from 1; the offset is exact, also past the int range.
    static void BuildOrderBy(char* buf, int size, const char* orderBy);
    static void BuildLimit(char* buf, int size, int count, int page);

private:
    friend class SimpleDBRows;   // the catalogue's listings and its close at the library's unload
    friend class AppDB;          // its Flush commits without reporting a loss
    enum { kStatements = 8 };
    sqlite3_stmt* statement(int slot);
    bool run(const char* sql);
    bool finish_write(sqlite3_stmt* st);
    bool close(int commitWaitMs);
    bool commit_pending(bool reportLoss);
    void close_unreported();
    bool write_row(int slot, const Record* rec);
    RecordSet* query_set(const char* select, int count, bool groups);

    sqlite3* m_db;
    char* m_table;
    int m_inTransaction;
    sqlite3_stmt** m_stmts;
};

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(SimpleDB, 20);
CORELINK_CHECK_SIZE(SimpleDB::Record, 32);
CORELINK_CHECK_OFFSET(SimpleDB::Record, key, 0);
CORELINK_CHECK_OFFSET(SimpleDB::Record, cat, 4);
CORELINK_CHECK_OFFSET(SimpleDB::Record, time, 8);
CORELINK_CHECK_OFFSET(SimpleDB::Record, level, 12);
CORELINK_CHECK_OFFSET(SimpleDB::Record, group, 16);
CORELINK_CHECK_OFFSET(SimpleDB::Record, keywords, 20);
CORELINK_CHECK_OFFSET(SimpleDB::Record, value, 24);
CORELINK_CHECK_OFFSET(SimpleDB::Record, binSize, 28);
CORELINK_CHECK_SIZE(SimpleDB::RecordSet, 8);
CORELINK_CHECK_OFFSET(SimpleDB::RecordSet, count, 0);
CORELINK_CHECK_OFFSET(SimpleDB::RecordSet, records, 4);
