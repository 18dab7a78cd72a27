// Catalogue benchmark: AppDB against the same work done with SQLite directly, in one
// process, on the same SQLite build. Prints each ratio (library / plain), the overall
// ratio last.
//
//   catalogue_bench [ITEMS]   (default 100000)
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include <sqlite3.h>
#include <Corelink.h>

namespace {

const char kCreate[] =
    "CREATE TABLE IF NOT EXISTS `app` (  `key` VARCHAR(255) NOT NULL,  `cat` UNSIGNED INT NOT NULL DEFAULT 0,  "
    "`time` INT NOT NULL DEFAULT 0,  `level` INT NOT NULL DEFAULT 0,  `group` VARCHAR(255),  "
    "`keywords` VARCHAR(1024),  `value` TEXT,  `bin` BLOB,  PRIMARY KEY (`key`, `cat`))";

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

struct Timing {
    const char* what;
    double ours, plain;
};

void report(const Timing& t) {
    printf("%-34s library %9.1f ms   plain SQLite %9.1f ms   ratio %.3f\n", t.what, t.ours, t.plain, t.ours / t.plain);
    fflush(stdout);
}

// ---- the plain side ---------------------------------------------------------------------------

double plain_store(const std::wstring& path, int n, const std::vector<char>& thumb) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(utf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr);
    const double t0 = now_ms();
    sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_stmt *ins = nullptr, *bin = nullptr;
    sqlite3_prepare_v2(db, "INSERT OR REPLACE INTO `app` (`key`, `cat`, `time`, `level`, `group`, `keywords`, `value`) VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &ins, nullptr);
    sqlite3_prepare_v2(db, "UPDATE `app` SET `bin` = ? WHERE `key` = ? AND `cat` & ?", -1, &bin, nullptr);
    for (int i = 0; i < n; ++i) {
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
    const double t = now_ms() - t0;
    sqlite3_finalize(ins);
    sqlite3_finalize(bin);
    sqlite3_close(db);
    return t;
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

template <class F>
double best_of(int runs, F f) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        double t0 = now_ms();
        f();
        double t = now_ms() - t0;
        if (t < best) best = t;
    }
    return best;
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

// Peak private memory that one listing or search adds to a process that has just opened
// the catalogue, against the size of what it returns.
int memory_child(const std::wstring& what, const std::wstring& path) {
    AppDB db;
    if (!db.Init(path.c_str())) return 1;
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    const SIZE_T before = pmc.PagefileUsage;
    if (what == L"listing") db.GetAllPhotoItems(items, L"", 0, 0);
    else db.SearchPhotoItems(L"beach sun", L"", items);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    const SIZE_T peak = pmc.PeakPagefileUsage > before ? pmc.PeakPagefileUsage - before : 0;
    size_t bytes = 0;
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        bytes += sizeof(AppDB::PhotoItem) + 2 * (items[i].strKey.GetLength() + items[i].strGroup.GetLength() +
                                                 items[i].strValue.GetLength() + 3);
    printf("%-34s %6d items, result %7lu KB, peak memory added %7lu KB, ratio %.2f\n",
           what == L"listing" ? "memory of the whole listing:" : "memory of the two-term search:",
           static_cast<int>(items.GetSize()), static_cast<unsigned long>(bytes / 1024),
           static_cast<unsigned long>(peak / 1024), bytes ? static_cast<double>(peak) / static_cast<double>(bytes) : 0.0);
    fflush(stdout);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--memory") return memory_child(argv[2], argv[3]);
    const int n = argc > 1 ? _wtoi(argv[1]) : 100000;
    const std::vector<char> thumb(4096, 'T');
    printf("catalogue benchmark: %d photo items with a %u-byte thumbnail each\n", n, static_cast<unsigned>(thumb.size()));
    std::vector<Timing> timings;

    // 1. Bulk store, then flush.
    const std::wstring plainPath = temp_file(L"corelink-bench-plain.db");
    const std::wstring oursPath = temp_file(L"corelink-bench-ours.db");
    const double plain = plain_store(plainPath, n, thumb);
    AppDB db;
    db.Init(oursPath.c_str());
    db.Flush();
    double t0 = now_ms();
    for (int i = 0; i < n; ++i) {
        const std::wstring key = key_of(i);
        db.SetPhotoItem(AppDB::PhotoItem{key.c_str(), album_of(i).c_str(), L"640x480", 1000 + i, 0}, keywords_of(i).c_str());
        db.SetPhotoThumb(key.c_str(), thumb.data(), static_cast<unsigned int>(thumb.size()));
    }
    db.Flush();
    timings.push_back({"store + thumbnail, then Flush", now_ms() - t0, plain});
    report(timings.back());

    // 2. Queries over the same rows: the library's call against its SQL run directly.
    sqlite3* raw = nullptr;
    sqlite3_open_v2(utf8(oursPath).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const char kSelect[] = "SELECT `key`, `cat`, `time`, `level`, `group`, `keywords`, `value`, length(`bin`) FROM `app` WHERE ";
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    CArray<AppDB::NameValue, AppDB::NameValue> albums;
    const int runs = 5;

    double ours = best_of(runs, [&] { db.GetAllPhotoItems(items, L"", 200, 500); });
    double base = best_of(runs, [&] { plain_rows(raw, (std::string(kSelect) + "`cat` & 8 LIMIT 99800,200").c_str()); });
    timings.push_back({"page 500 of 200 items", ours, base});
    report(timings.back());

    ours = best_of(runs, [&] { db.SearchPhotoItems(L"beach sun", L"", items); });
    base = best_of(runs, [&] {
        plain_rows(raw, (std::string(kSelect) + "keywords like '%beach%' AND keywords like '%sun%' AND `cat` & 8").c_str());
    });
    timings.push_back({"two-term search", ours, base});
    report(timings.back());

    ours = best_of(runs, [&] { db.GetPhotoAlbumList(albums); });
    base = best_of(runs, [&] { plain_rows(raw, "SELECT `group`, count(`key`) FROM `app` WHERE `cat` & 8 GROUP BY `group`"); });
    timings.push_back({"album list", ours, base});
    report(timings.back());
    sqlite3_close(raw);

    // 3. What Init costs on this file, against a check of every page (PRAGMA quick_check),
    //    which Init runs only before it would start an unversioned table anew.
    db.Cleanup();
    const double init = best_of(runs, [&] {
        AppDB again;
        again.Init(oursPath.c_str());
    });
    double check = 0;
    std::string verdict;
    sqlite3_open_v2(utf8(oursPath).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    check = best_of(2, [&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "PRAGMA quick_check", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW) verdict = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    });
    sqlite3_close(raw);
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    GetFileAttributesExW(oursPath.c_str(), GetFileExInfoStandard, &attr);
    printf("%-34s %9.1f ms; PRAGMA quick_check of the %lu MB file %9.1f ms (%s)\n", "Init of the catalogue:", init,
           static_cast<unsigned long>(attr.nFileSizeLow / (1024 * 1024) + attr.nFileSizeHigh * 4096ul), check, verdict.c_str());
    fflush(stdout);

    // 4. Memory, each in a fresh process of its own so that no earlier work hides the peak.
    for (const wchar_t* what : {L"listing", L"search"}) {
        std::wstring cmd = L"\"" + self_path() + L"\" --memory " + what + L" \"" + oursPath + L"\"";
        run_child(cmd);
    }
    DeleteFileW(plainPath.c_str());
    DeleteFileW(oursPath.c_str());

    double sumOurs = 0, sumPlain = 0;
    for (const Timing& t : timings) {
        sumOurs += t.ours;
        sumPlain += t.plain;
    }
    printf("overall ratio (library / plain SQLite, all timings): %.3f\n", sumOurs / sumPlain);
    return 0;
}
