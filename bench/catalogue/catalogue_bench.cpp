// Catalogue benchmark: AppDB against the same work done with SQLite directly, in one
// process, on the same SQLite build. Each operation runs in alternating rounds (library,
// plain, library, plain...); its ratio (library / plain) is that of the two medians, so
// that one noisy round does not decide it. The overall ratio is printed last.
//
//   catalogue_bench [ITEMS]   (default 100000)
//
// With more than 100,000 items the catalogue is measured twice, at 100,000 and, after the
// rest is stored, at ITEMS; the growth of each operation's time between the two is printed.
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include <sqlite3.h>
#include <Corelink.h>
#include "../peak_probe.h"

namespace {

const int kRounds = 5;          // rounds per side for each operation
const int kDeletes = 500;       // items each delete round removes, then commits
const int kFirstCheckpoint = 100000;

const char kCreate[] =
    "CREATE TABLE IF NOT EXISTS `app` (  `key` VARCHAR(255) NOT NULL,  `cat` UNSIGNED INT NOT NULL DEFAULT 0,  "
    "`time` INT NOT NULL DEFAULT 0,  `level` INT NOT NULL DEFAULT 0,  `group` VARCHAR(255),  "
    "`keywords` VARCHAR(1024),  `value` TEXT,  `bin` BLOB,  PRIMARY KEY (`key`, `cat`))";
// The statements the library runs for these calls.
const char kPut[] =
    "INSERT INTO `app` (`key`, `cat`, `time`, `level`, `group`, `keywords`, `value`) VALUES (?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT (`key`, `cat`) DO UPDATE SET `time` = excluded.`time`, `level` = excluded.`level`, "
    "`group` = excluded.`group`, `keywords` = excluded.`keywords`, `value` = excluded.`value`";
const char kSetBin[] = "UPDATE `app` SET `bin` = ? WHERE `key` = ? AND `cat` & ?";
const char kDelete[] = "DELETE FROM `app` WHERE `key` = ? AND `cat` & ?";
const char kSelect[] = "SELECT `key`, `cat`, `time`, `level`, `group`, `keywords`, `value`, length(`bin`) FROM `app` WHERE ";

double now_ms() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::wstring temp_file(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    DeleteFileW(path.c_str());
    DeleteFileW((path + L"-journal").c_str());
    return path;
}

std::string utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    s.resize(n - 1);
    return s;
}

// Item i of the data set: 20 albums, keywords that hold "beach" for one item in 10 and
// "sun" for one in 7, so that a two-term search matches about one in 70.
std::wstring key_of(int i) { return L"IMG_" + std::to_wstring(100000 + i) + L".jpg"; }
std::wstring album_of(int i) { return L"Album " + std::to_wstring(i % 20); }
std::wstring keywords_of(int i) {
    std::wstring k = L"photo " + std::to_wstring(i);
    if (i % 10 == 0) k += L" beach";
    if (i % 7 == 0) k += L" sun";
    return k;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// One operation's rounds on each side.
struct Timing {
    std::string what;
    std::vector<double> ours, plain;
    static double total(const std::vector<double>& v) {
        double s = 0;
        for (double t : v) s += t;
        return s;
    }
};

void report(const Timing& t) {
    const double o = median(t.ours), p = median(t.plain);
    printf("%-34s library %9.1f ms   plain SQLite %9.1f ms   ratio %.3f   (median of %d rounds each)\n",
           t.what.c_str(), o, p, o / p, static_cast<int>(t.ours.size()));
    fflush(stdout);
}

template <class Ours, class Plain>
Timing alternate(const char* what, int rounds, Ours ours, Plain plain) {
    Timing t{what, {}, {}};
    for (int r = 0; r < rounds; ++r) {
        double t0 = now_ms();
        ours(r);
        t.ours.push_back(now_ms() - t0);
        t0 = now_ms();
        plain(r);
        t.plain.push_back(now_ms() - t0);
    }
    report(t);
    return t;
}

// ---- the plain side ---------------------------------------------------------------------------

sqlite3* plain_open(const std::wstring& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(utf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr);
    return db;
}

void plain_store(sqlite3* db, int first, int end, const std::vector<char>& thumb) {
    sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_stmt *ins = nullptr, *bin = nullptr;
    sqlite3_prepare_v2(db, kPut, -1, &ins, nullptr);
    sqlite3_prepare_v2(db, kSetBin, -1, &bin, nullptr);
    for (int i = first; i < end; ++i) {
        // The same conversions the library makes: the caller's texts are UTF-16.
        std::string key = utf8(key_of(i)), group = utf8(album_of(i)), kw = utf8(keywords_of(i)), value = "640x480";
        sqlite3_reset(ins);
        sqlite3_bind_text(ins, 1, key.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(ins, 2, 8);
        sqlite3_bind_int(ins, 3, 1000 + i);
        sqlite3_bind_int(ins, 4, 0);
        sqlite3_bind_text(ins, 5, group.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, 6, kw.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, 7, value.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(ins);
        sqlite3_reset(bin);
        sqlite3_bind_blob(bin, 1, thumb.data(), static_cast<int>(thumb.size()), SQLITE_STATIC);
        sqlite3_bind_text(bin, 2, key.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(bin, 3, 8);
        sqlite3_step(bin);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(ins);
    sqlite3_finalize(bin);
}

void plain_delete(sqlite3* db, const std::vector<int>& which) {
    sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_stmt* del = nullptr;
    sqlite3_prepare_v2(db, kDelete, -1, &del, nullptr);
    for (int i : which) {
        const std::string key = utf8(key_of(i));
        sqlite3_reset(del);
        sqlite3_bind_text(del, 1, key.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(del, 2, 8);
        sqlite3_step(del);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(del);
}

// Runs sql and reads every column of every row as the library's copy would; the row count.
int plain_rows(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c) sqlite3_column_text(st, c);
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

std::wstring self_path() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return exe;
}

void run_child(std::wstring cmd) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> line(cmd.begin(), cmd.end());
    line.push_back(0);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// ---- memory -----------------------------------------------------------------------------------

template <class Item>
size_t result_bytes(const CArray<Item, Item>& items) {
    size_t bytes = 0;
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        bytes += sizeof(Item) + 2 * (items[i].strKey.GetLength() + items[i].strGroup.GetLength() +
                                     items[i].strValue.GetLength() + 3);
    return bytes;
}

void memory_line(const char* what, int items, size_t bytes, SIZE_T peak, SIZE_T after, bool highWater) {
    printf("%-34s %7d items, result %8lu KB, peak memory added %8lu KB, ratio %.2f (%lu KB still added at the end%s)\n",
           what, items, static_cast<unsigned long>(bytes / 1024), static_cast<unsigned long>(peak / 1024),
           bytes ? static_cast<double>(peak) / static_cast<double>(bytes) : 0.0, static_cast<unsigned long>(after / 1024),
           highWater ? "" : "; peak as the system reports it");
    fflush(stdout);
}

// Peak memory that one listing or search adds to a process that has just opened the
// catalogue, against the size of what it returns. "records": the store's own heap records
// of the whole listing alone, for comparison.
int memory_child(const std::wstring& what, const std::wstring& path) {
    AppDB db;
    if (!db.Init(path.c_str())) return 1;
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    SIZE_T peak = 0, after = 0;
    if (what == L"records") {
        PeakProbe probe;
        SimpleDB::RecordSet* set = db.GetDB()->Query(nullptr, 0, 0, "`cat` & %d", AppDB::CAT_PHOTO);
        probe.finish(peak, after);
        size_t bytes = 0;
        for (int i = 0; set && i < set->count; ++i) {
            const SimpleDB::Record& r = set->records[i];
            bytes += sizeof(AppDB::PhotoItem) + 2 * (MultiByteToWideChar(CP_UTF8, 0, r.key, -1, nullptr, 0) +
                                                     (r.group ? MultiByteToWideChar(CP_UTF8, 0, r.group, -1, nullptr, 0) : 1) +
                                                     (r.value ? MultiByteToWideChar(CP_UTF8, 0, r.value, -1, nullptr, 0) : 1));
        }
        memory_line("memory of the store's records:", set ? set->count : 0, bytes, peak, after, probe.high_water());
        SimpleDB::FreeRecordSet(set);
        return 0;
    }
    PeakProbe probe;
    const double t0 = now_ms();
    if (what == L"listing") db.GetAllPhotoItems(items, L"", 0, 0);
    else db.SearchPhotoItems(L"beach sun", L"", items);
    const double took = now_ms() - t0;
    probe.finish(peak, after);
    printf("%-34s %9.1f ms\n", what == L"listing" ? "time of the whole listing:" : "time of the two-term search:", took);
    const size_t bytes = result_bytes(items);
    memory_line(what == L"listing" ? "memory of the whole listing:" : "memory of the two-term search:",
                static_cast<int>(items.GetSize()), bytes, peak, after, probe.high_water());
    if (what == L"listing") {
        // What the same items take when the caller copies them into an array made to size:
        // the heap blocks of the result itself, which no listing can go below.
        PeakProbe copyProbe;
        CArray<AppDB::PhotoItem, AppDB::PhotoItem> copy;
        copy.SetSize(items.GetSize());
        for (INT_PTR i = 0; i < items.GetSize(); ++i) copy[i] = items[i];
        SIZE_T held = 0, heldAfter = 0;
        copyProbe.finish(held, heldAfter);
        printf("%-34s %7d items, held in %8lu KB of heap blocks, %.2f times the result; the listing's peak %.2f times that\n",
               "the same items copied to size:", static_cast<int>(copy.GetSize()), static_cast<unsigned long>(held / 1024),
               bytes ? static_cast<double>(held) / static_cast<double>(bytes) : 0.0,
               held ? static_cast<double>(peak) / static_cast<double>(held) : 0.0);
        fflush(stdout);
    }
    return 0;
}

// ---- one measurement of the catalogue at its present size -------------------------------------

struct Bench {
    std::wstring oursPath, plainPath;
    AppDB db;
    sqlite3* plainDb = nullptr;   // the plain side's own file, for the stores
    sqlite3* raw = nullptr;       // plain connection to the library's file, for the rest
    std::vector<char> thumb = std::vector<char>(4096, 'T');
    int stored = 0;
    int checkpoint = 0;

    std::vector<Timing> measure(int n) {
        std::vector<Timing> out;
        printf("-- %d photo items\n", n);
        fflush(stdout);
        // 1. Bulk store up to n, then flush, in as many slices as rounds.
        const int from = stored;
        auto slice = [&](int r, int& a, int& b) {
            a = from + static_cast<int>(static_cast<long long>(n - from) * r / kRounds);
            b = from + static_cast<int>(static_cast<long long>(n - from) * (r + 1) / kRounds);
        };
        out.push_back(alternate(
            "store + thumbnail, then Flush", kRounds,
            [&](int r) {
                int a, b;
                slice(r, a, b);
                for (int i = a; i < b; ++i) {
                    const std::wstring key = key_of(i);
                    db.SetPhotoItem(AppDB::PhotoItem{key.c_str(), album_of(i).c_str(), L"640x480", 1000 + i, 0},
                                    keywords_of(i).c_str());
                    db.SetPhotoThumb(key.c_str(), thumb.data(), static_cast<unsigned int>(thumb.size()));
                }
                db.Flush();
            },
            [&](int r) {
                int a, b;
                slice(r, a, b);
                plain_store(plainDb, a, b, thumb);
            }));
        stored = n;
        if (!raw) sqlite3_open_v2(utf8(oursPath).c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);

        // 2. Queries over the same rows: the library's call against its SQL run directly.
        CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
        CArray<AppDB::NameValue, AppDB::NameValue> albums;
        out.push_back(alternate(
            "page 500 of 200 items", kRounds, [&](int) { db.GetAllPhotoItems(items, L"", 200, 500); },
            [&](int) { plain_rows(raw, (std::string(kSelect) + "`cat` & 8 LIMIT 99800,200").c_str()); }));
        out.push_back(alternate(
            "two-term search", kRounds, [&](int) { db.SearchPhotoItems(L"beach sun", L"", items); },
            [&](int) {
                plain_rows(raw, (std::string(kSelect) + "keywords like '%beach%' AND keywords like '%sun%' AND `cat` & 8").c_str());
            }));
        out.push_back(alternate(
            "album list", kRounds, [&](int) { db.GetPhotoAlbumList(albums); },
            [&](int) { plain_rows(raw, "SELECT `group`, count(`key`) FROM `app` WHERE `cat` & 8 GROUP BY `group`"); }));
        out.push_back(alternate(
            "count", kRounds, [&](int) { db.CountPhotoItems(L""); },
            [&](int) { plain_rows(raw, "SELECT count(`key`) FROM `app` WHERE `cat` & 8"); }));

        // 3. Deletes spread over the whole catalogue, then a commit; every round and side
        //    removes items of its own.
        auto victims = [&](int r, int side) {
            std::vector<int> v;
            const int stride = n / kDeletes;
            const int offset = checkpoint * 2 * kRounds + 2 * r + side;
            for (int k = 0; k < kDeletes; ++k) v.push_back(k * stride + offset);
            return v;
        };
        out.push_back(alternate(
            "delete 500 items, then Flush", kRounds,
            [&](int r) {
                for (int i : victims(r, 0)) db.DeletePhotoItem(key_of(i).c_str());
                db.Flush();
            },
            [&](int r) { plain_delete(raw, victims(r, 1)); }));
        ++checkpoint;

        // 4. What Init costs on this file, against a check of every page (PRAGMA quick_check),
        //    which Init runs only before it would start an unversioned table anew.
        db.Cleanup();
        std::vector<double> inits;
        for (int r = 0; r < 3; ++r) {
            const double t0 = now_ms();
            AppDB again;
            again.Init(oursPath.c_str());
            inits.push_back(now_ms() - t0);
        }
        std::string verdict;
        const double t0 = now_ms();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "PRAGMA quick_check", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW) verdict = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        const double check = now_ms() - t0;
        WIN32_FILE_ATTRIBUTE_DATA attr{};
        GetFileAttributesExW(oursPath.c_str(), GetFileExInfoStandard, &attr);
        printf("%-34s %9.1f ms; PRAGMA quick_check of the %lu MB file %9.1f ms (%s)\n", "Init of the catalogue:",
               median(inits), static_cast<unsigned long>(attr.nFileSizeLow / (1024 * 1024) + attr.nFileSizeHigh * 4096ul),
               check, verdict.c_str());
        fflush(stdout);

        // 5. Memory, each in a fresh process of its own so that no earlier work hides the peak.
        for (const wchar_t* what : {L"listing", L"search", L"records"}) {
            std::wstring cmd = L"\"" + self_path() + L"\" --memory " + what + L" \"" + oursPath + L"\"";
            run_child(cmd);
        }
        db.Init(oursPath.c_str());
        return out;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--memory") return memory_child(argv[2], argv[3]);
    const int n = argc > 1 ? _wtoi(argv[1]) : kFirstCheckpoint;
    if (n < kDeletes * 2 * kRounds * 2) {
        printf("at least %d items\n", kDeletes * 2 * kRounds * 2);
        return 2;
    }
    Bench b;
    printf("catalogue benchmark: %d photo items with a %u-byte thumbnail each\n", n, static_cast<unsigned>(b.thumb.size()));
    b.plainPath = temp_file(L"corelink-bench-plain.db");
    b.oursPath = temp_file(L"corelink-bench-ours.db");
    b.plainDb = plain_open(b.plainPath);
    b.db.Init(b.oursPath.c_str());
    b.db.Flush();

    std::vector<Timing> first, last;
    if (n > kFirstCheckpoint) first = b.measure(kFirstCheckpoint);
    last = b.measure(n);
    sqlite3_close(b.raw);
    sqlite3_close(b.plainDb);
    b.db.Cleanup();
    DeleteFileW(b.plainPath.c_str());
    DeleteFileW(b.oursPath.c_str());

    if (!first.empty()) {
        // Store: all n items against the first 100,000; the rest: median against median.
        // Plain SQLite's growth in the same run beside it: the machine's speed may drift
        // between the two sizes, and SQLite's own work may grow faster than the rows.
        auto growth = [&](size_t i, const std::vector<double> Timing::*side, double& a, double& z) {
            const Timing &f = first[i], &l = last[i];
            a = i == 0 ? Timing::total(f.*side) : median(f.*side);
            z = i == 0 ? Timing::total(f.*side) + Timing::total(l.*side) : median(l.*side);
            return z / a;
        };
        printf("-- growth from %d to %d items (time at %d / time at %d)\n", kFirstCheckpoint, n, n, kFirstCheckpoint);
        for (size_t i = 0; i < last.size(); ++i) {
            double a, z, pa, pz;
            const double ours = growth(i, &Timing::ours, a, z), plain = growth(i, &Timing::plain, pa, pz);
            printf("%-34s %9.1f ms -> %9.1f ms   growth %.2f (plain SQLite %.2f)\n", last[i].what.c_str(), a, z, ours, plain);
        }
    }
    double sumOurs = 0, sumPlain = 0;
    for (const Timing& t : last) {
        sumOurs += median(t.ours);
        sumPlain += median(t.plain);
    }
    printf("overall ratio (library / plain SQLite, medians of all timings at %d items): %.3f\n", n, sumOurs / sumPlain);
    return 0;
}
