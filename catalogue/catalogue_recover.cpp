// Recovering a damaged catalogue file.
//
// The file is held open with no sharing for the whole run, so no process can have it open
// or open it meanwhile; everything is read from copies of it. In order:
//   1. the file (and a hot journal beside it) is copied to a working file in the temporary
//      folder, which is checked: a file that passes is left alone;
//   2. SQLite's recovery writes what it can read of the working file to "NAME.recovering";
//      rows of lost b-tree pages come back in its lost_and_found table and are taken back
//      when their columns fit the catalogue's row; rows that do not fit are dropped;
//   3. the damaged file is copied byte for byte to "NAME.damaged-YYYYMMDD-HHMMSS" (its
//      journal to that name with "-journal"), the journal is removed (it belongs to the
//      damaged file and must never be played back into the new one), and the new file is
//      moved over the damaged one in one rename.
// Until that rename the damaged file is where it was: a failure or a kill at any point
// leaves it, and at worst leftovers named ".recovering" or in the temporary folder.
#include "catalogue_recover.h"
#include <windows.h>
#include <string>
#include <sqlite3recover.h>
#include <unique_res.h>
#include <CxLogMsg.h>
#include "SharedState.h"
#include "SimpleDB.h"
#include "catalogue_check.h"
#include "sql_text.h"
#include "sqlite_owners.h"
#include "utf8_text.h"

namespace {

using win32::unique_file;

const char kTable[] = "app";

// Deletes a file of this run at the end of its scope unless kept.
class TempFile {
public:
    explicit TempFile(std::wstring path) : path_(std::move(path)) { DeleteFileW(path_.c_str()); }
    ~TempFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::wstring path_;
};

// The file at path opened for reading with no sharing: fails while any process has it open.
unique_file open_alone(const std::wstring& path) {
    return unique_file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Copies the whole of from (read from its start) into a new file at to; false on any error.
bool copy_handle(HANDLE from, const std::wstring& to, DWORD disposition) {
    unique_file out(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out || SetFilePointer(from, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    std::string buffer(1 << 20, '\0');
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(from, &buffer[0], static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
        if (got == 0) break;
        if (!WriteFile(out.get(), buffer.data(), got, &put, nullptr) || put != got) return false;
    }
    return FlushFileBuffers(out.get()) != 0;
}

// path + ".damaged-YYYYMMDD-HHMMSS", with "-2", "-3", ... when a copy of that second exists;
// the file is made there (empty) so that the name is this run's.
std::wstring damaged_name(const std::wstring& path, HANDLE from) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t stamp[40];
    swprintf(stamp, 40, L".damaged-%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    for (int n = 1; n < 100; ++n) {
        std::wstring name = path + stamp;
        if (n > 1) name += L"-" + std::to_wstring(n);
        if (copy_handle(from, name, CREATE_NEW)) return name;
        if (GetLastError() != ERROR_FILE_EXISTS) {
            DeleteFileW(name.c_str());
            return std::wstring();
        }
    }
    return std::wstring();
}

int exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

long long scalar(sqlite3* db, const char* sql) {
    unique_stmt q;
    if (sqlite3_prepare_v2(db, sql, -1, q.put(), nullptr) != SQLITE_OK || sqlite3_step(q.get()) != SQLITE_ROW) return -1;
    return sqlite3_column_int64(q.get(), 0);
}

// A row fits the catalogue's table when its columns have the types the catalogue writes:
// a non-empty text key, one kind's bit, whole numbers for time and level, texts or
// NULL, and a blob or NULL attachment.
std::string fits(const char* key, const char* cat, const char* time, const char* level, const char* group,
                 const char* keywords, const char* value, const char* bin) {
    std::string s;
    SqlFormat(s,
              "typeof(%s) = 'text' AND %s <> '' AND typeof(%s) = 'integer' AND %s IN (1, 4, 8, 16, 128) AND "
              "typeof(%s) = 'integer' AND typeof(%s) = 'integer' AND "
              "typeof(%s) IN ('text', 'null') AND typeof(%s) IN ('text', 'null') AND typeof(%s) IN ('text', 'null') AND "
              "typeof(%s) IN ('blob', 'null')",
              key, key, cat, cat, time, level, group, keywords, value, bin);
    return s;
}

// Turns the recovery's output into a catalogue: the table made when the schema was lost,
// rows that do not fit dropped, fitting lost_and_found rows taken back, a "VERSION" row
// (without one, Init would start the table anew), lost_and_found dropped. Fills the counts.
bool finish_output(const std::string& out, AppDB::RecoveryReport& report) {
    {
        SimpleDB store;   // makes the table when the recovery found no schema for it
        if (!store.Open(out.c_str(), kTable) || !store.Close()) return false;
    }
    unique_db db;
    if (sqlite3_open_v2(out.c_str(), db.put(), SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return false;
    if (exec(db.get(), "BEGIN") != SQLITE_OK) return false;
    long long unreadable = 0;
    const std::string bad = "DELETE FROM `app` WHERE NOT (" +
                            fits("`key`", "`cat`", "`time`", "`level`", "`group`", "`keywords`", "`value`", "`bin`") + ")";
    if (exec(db.get(), bad.c_str()) != SQLITE_OK) return false;
    unreadable += sqlite3_changes(db.get());

    const long long lost = scalar(db.get(), "SELECT count(*) FROM lost_and_found");
    if (lost > 0) {
        // lost_and_found has the columns c0 .. cN for the widest record it met.
        if (scalar(db.get(), "SELECT count(*) FROM pragma_table_info('lost_and_found') WHERE name = 'c7'") == 1) {
            const std::string take =
                "INSERT OR IGNORE INTO `app` (`key`, `cat`, `time`, `level`, `group`, `keywords`, `value`, `bin`) "
                "SELECT c0, c1, c2, c3, c4, c5, c6, c7 FROM lost_and_found WHERE nfield = 8 AND " +
                fits("c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7");
            if (exec(db.get(), take.c_str()) != SQLITE_OK) return false;
            const std::string misfits =
                "SELECT count(*) FROM lost_and_found WHERE NOT (nfield = 8 AND " +
                fits("c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7") + ")";
            unreadable += scalar(db.get(), misfits.c_str());
        } else {
            unreadable += lost;
        }
    }
    if (lost >= 0 && exec(db.get(), "DROP TABLE lost_and_found") != SQLITE_OK) return false;
    if (scalar(db.get(), "SELECT count(*) FROM `app` WHERE `key` = 'VERSION' AND `cat` & 1 AND `value` <> ''") == 0 &&
        exec(db.get(),
             "INSERT OR REPLACE INTO `app` (`key`, `cat`, `time`, `value`) VALUES ('VERSION', 1, strftime('%s', 'now'), '1.1')") !=
            SQLITE_OK)
        return false;
    if (exec(db.get(), "COMMIT") != SQLITE_OK) return false;
    const long long rows = scalar(db.get(), "SELECT count(*) FROM `app`");
    if (rows < 0) return false;
    report.nRecovered = static_cast<unsigned int>(rows);
    report.nUnreadable = static_cast<unsigned int>(unreadable);
    return CheckCatalogueFile(out.c_str(), true) == AppDB::FILE_OK;
}

// Runs SQLite's recovery of the file at from into the new file at to.
bool run_recovery(const std::string& from, const std::string& to) {
    unique_db db;
    if (sqlite3_open_v2(from.c_str(), db.put(), SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return false;
    sqlite3_recover* p = sqlite3_recover_init(db.get(), "main", to.c_str());
    if (!p) return false;
    int off = 0, on = 1;
    sqlite3_recover_config(p, SQLITE_RECOVER_LOST_AND_FOUND, const_cast<char*>("lost_and_found"));
    sqlite3_recover_config(p, SQLITE_RECOVER_ROWIDS, &on);
    // Pages on the free list hold deleted rows: they must not come back.
    sqlite3_recover_config(p, SQLITE_RECOVER_FREELIST_CORRUPT, &off);
    sqlite3_recover_run(p);
    return sqlite3_recover_finish(p) == SQLITE_OK;
}

std::wstring temp_path() {
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"rcv", 0, name)) return std::wstring();
    return name;
}

void log_report(const CString& path, const AppDB::RecoveryReport& r) {
    for (CxLogMsg* log : {g_pDbgUI, g_pDbgEng, g_pDbgPanel})
        if (log)
            log->LogMsg(L"Catalogue %s: recovered %u rows, %u rows seen but unreadable, in %u ms; the damaged file is kept as %s\n",
                        path.GetString(), r.nRecovered, r.nUnreadable, r.nMilliseconds, r.strDamagedFile.GetString());
}

} // namespace

int RecoverCatalogueFile(const CString& path, AppDB::RecoveryReport& report) {
    const ULONGLONG start = GetTickCount64();
    const std::wstring file(path.GetString());
    const std::wstring journal = file + L"-journal";
    unique_file held = open_alone(file);
    if (!held) return GetLastError() == ERROR_SHARING_VIOLATION ? AppDB::FILE_LOCKED : AppDB::FILE_CANNOT_OPEN;
    unique_file heldJournal = open_alone(journal);
    if (!heldJournal && GetLastError() != ERROR_FILE_NOT_FOUND) return AppDB::FILE_LOCKED;

    TempFile work(temp_path());
    if (work.path().empty()) return AppDB::FILE_CANNOT_OPEN;
    TempFile workJournal(work.path() + L"-journal");
    if (!copy_handle(held.get(), work.path(), CREATE_ALWAYS) ||
        (heldJournal && !copy_handle(heldJournal.get(), workJournal.path(), CREATE_ALWAYS)))
        return AppDB::FILE_CANNOT_OPEN;
    const std::string workUtf8 = ToUtf8(CString(work.path().c_str()));
    const int state = CheckCatalogueFile(workUtf8.c_str(), true);
    if (state != AppDB::FILE_DAMAGED) return state == AppDB::FILE_OK ? AppDB::FILE_NOT_DAMAGED : state;

    TempFile output(file + L".recovering");
    const std::string outUtf8 = ToUtf8(CString(output.path().c_str()));
    AppDB::RecoveryReport figures = {};
    if (!run_recovery(workUtf8, outUtf8) || !finish_output(outUtf8, figures)) return AppDB::FILE_RECOVERY_FAILED;

    const std::wstring damaged = damaged_name(file, held.get());
    if (damaged.empty()) return AppDB::FILE_CANNOT_OPEN;
    const std::wstring damagedJournal = damaged + L"-journal";
    if (heldJournal && !copy_handle(heldJournal.get(), damagedJournal, CREATE_NEW)) return AppDB::FILE_CANNOT_OPEN;

    // The swap: the journal goes first, so that the new file never meets it.
    if (heldJournal) {
        heldJournal.reset();
        if (!DeleteFileW(journal.c_str())) return AppDB::FILE_LOCKED;
    }
    held.reset();
    if (!MoveFileExW(output.path().c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        // Another process opened the file in the moment since it was let go: the damaged file
        // stays, with its journal back beside it, and the copies go once nothing needs them.
        const bool journalBack = GetFileAttributesW(damagedJournal.c_str()) == INVALID_FILE_ATTRIBUTES ||
                                 CopyFileW(damagedJournal.c_str(), journal.c_str(), TRUE);
        if (journalBack) {
            DeleteFileW(damagedJournal.c_str());
            DeleteFileW(damaged.c_str());
        }
        return AppDB::FILE_LOCKED;
    }
    output.keep();
    figures.nMilliseconds = static_cast<unsigned int>(GetTickCount64() - start);
    figures.strDamagedFile = damaged.c_str();
    report = figures;
    log_report(path, report);
    return AppDB::FILE_OK;
}
