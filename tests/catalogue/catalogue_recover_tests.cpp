// Recovering damaged catalogues: real files of a few thousand photos with thumbnails, damaged
// as they are in the field, recovered by AppDB::RecoverFile and, for comparison, by
// SQLite's own shell built from the same source (its .recover, with the rows of its
// lost_and_found table that fit the catalogue counted).
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include <Corelink.h>
#include <host_driver.h>
#include <test_paths.h>
#include <unique_res.h>
#include "catalogue_files.h"

namespace {

const int kPhotos = 3000;
const unsigned kThumb = 2048;

std::string Thumb(int i) {
    std::string t(kThumb, '\0');
    for (unsigned j = 0; j < kThumb; ++j) t[j] = static_cast<char>((i * 31 + j * 7) & 0xFF);
    return t;
}

// The undamaged catalogue all cases start from, made once.
const std::wstring& Master() {
    static const std::wstring path = [] {
        const std::wstring p = NewDatabasePath(L"master.db");
        AppDB db;
        EXPECT_TRUE(db.Init(p.c_str()));
        for (int i = 0; i < kPhotos; ++i) {
            const std::wstring n = std::to_wstring(i);
            const CString key = (L"photo-" + n).c_str();
            EXPECT_TRUE(db.SetPhotoItem(AppDB::PhotoItem{key, (L"Album " + std::to_wstring(i % 10)).c_str(),
                                                         (L"value-" + n).c_str(), 1000 + i, 0},
                                        L"kw"));
            const std::string t = Thumb(i);
            EXPECT_TRUE(db.SetPhotoThumb(key, t.data(), kThumb));
        }
        EXPECT_TRUE(db.Cleanup());
        return p;
    }();
    return path;
}

// Runs a command line with its standard output into outFile; its exit code, or -1.
int RunProgram(const std::wstring& commandLine, const std::wstring& outFile) {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    win32::unique_file out(CreateFileW(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
    if (!out) return -1;
    STARTUPINFOW si = {sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out.get();
    si.hStdError = out.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return -1;
    win32::unique_handle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

std::wstring Widen(const char* s) { return std::wstring(s, s + strlen(s)); }

// The rows of table (columns key, cat, time, level, group, keywords, value, bin under the
// names in cols) of the database at path that equal a row of the master catalogue.
const char kMatch[] =
    " WHERE EXISTS (SELECT 1 FROM orig.app o WHERE o.`key` = r.k AND o.`cat` = r.c AND o.`time` IS r.t "
    "AND o.`level` IS r.l AND o.`group` IS r.g AND o.keywords IS r.kw AND o.value IS r.v AND o.bin IS r.b)";

std::string AttachMaster() { return "ATTACH DATABASE '" + Utf8Path(Master()) + "' AS orig"; }

// What the reference shell's .recover gets from a copy of the damaged file (and its journal):
// the distinct catalogue rows in its app and lost_and_found tables, the version row left out.
long long ReferenceRows(const std::wstring& damaged, bool withJournal) {
    const std::wstring folder = NewTempFolder(L"ref");
    const std::wstring copy = folder + L"\\damaged.db", sql = folder + L"\\recover.sql", out = folder + L"\\ref.db";
    EXPECT_TRUE(WriteFileBytes(copy, ReadFileBytes(damaged)));
    if (withJournal) EXPECT_TRUE(WriteFileBytes(copy + L"-journal", ReadFileBytes(damaged + L"-journal")));
    const std::wstring shell = Widen(REFERENCE_SHELL);
    std::wstring sqlSlashes = sql;
    for (wchar_t& ch : sqlSlashes)
        if (ch == L'\\') ch = L'/';
    RunProgram(Quoted(shell) + L" " + Quoted(copy) + L" \".output " + sqlSlashes + L"\" .recover", folder + L"\\log1.txt");
    RunProgram(Quoted(shell) + L" " + Quoted(out) + L" \".read " + sqlSlashes + L"\"", folder + L"\\log2.txt");
    Reader ref(out);
    EXPECT_TRUE(ref.Exec(AttachMaster()));
    std::string rows;
    if (ref.Scalar("SELECT count(*) FROM sqlite_master WHERE name = 'app'") == "1")
        rows = "SELECT `key` k, `cat` c, `time` t, `level` l, `group` g, keywords kw, value v, bin b FROM app";
    if (ref.Scalar("SELECT count(*) FROM pragma_table_info('lost_and_found') WHERE name = 'c7'") == "1")
        rows += std::string(rows.empty() ? "" : " UNION ") +
                "SELECT c0, c1, c2, c3, c4, c5, c6, c7 FROM lost_and_found WHERE nfield = 8";
    if (rows.empty()) return 0;
    const std::string n = ref.Scalar("SELECT count(*) FROM (" + rows + ") r" + kMatch + " AND r.k <> 'VERSION'");
    EXPECT_NE("<error>", n);
    return atoll(n.c_str());
}

size_t PageSize(const std::string& bytes) {
    const size_t size = (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    return size == 1 ? 65536 : size;
}

// The pages of the master's table of a b-tree type (5 interior, 13 leaf), page 1 left out.
std::vector<size_t> PagesOfType(const std::string& bytes, unsigned char type) {
    std::vector<size_t> pages;
    const size_t size = PageSize(bytes);
    for (size_t p = 1; (p + 1) * size <= bytes.size(); ++p)
        if (static_cast<unsigned char>(bytes[p * size]) == type) pages.push_back(p);
    return pages;
}

size_t RootPage() {
    Reader r(Master());
    return static_cast<size_t>(atoi(r.Scalar("SELECT rootpage FROM sqlite_master WHERE name = 'app'").c_str())) - 1;
}

void Garbage(std::string& bytes, size_t at, size_t count, unsigned seed) {
    for (size_t i = 0; i < count && at + i < bytes.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[at + i] = static_cast<char>(seed >> 16);
    }
}

void InteriorGarbage(std::string& b) {
    std::vector<size_t> pages = PagesOfType(b, 5);
    const size_t root = RootPage();
    pages.erase(std::remove(pages.begin(), pages.end(), root), pages.end());
    ASSERT_FALSE(pages.empty());
    Garbage(b, pages[pages.size() / 2] * PageSize(b), PageSize(b), 7);
}
void RootGarbage(std::string& b) { Garbage(b, RootPage() * PageSize(b), PageSize(b), 11); }
void LeafZeroed(std::string& b) {
    const std::vector<size_t> pages = PagesOfType(b, 13);
    ASSERT_FALSE(pages.empty());
    b.replace(pages[pages.size() / 2] * PageSize(b), PageSize(b), PageSize(b), '\0');
}
void HeaderOverwritten(std::string& b) { b.replace(0, 16, "garbage garbage!"); }
void Cut80(std::string& b) { b.resize(b.size() * 8 / 10); }
void Cut50(std::string& b) { b.resize(b.size() / 2); }
void Cut25(std::string& b) { b.resize(b.size() / 4 + 1234); }
void MiddleRun(std::string& b) { Garbage(b, b.size() / 2 + 777, 20 * 1024, 23); }

struct DamageCase {
    const char* name;
    void (*damage)(std::string&);
};

const DamageCase kDamage[] = {
    {"an interior page of the table filled with garbage", InteriorGarbage},
    {"the table's root page filled with garbage", RootGarbage},
    {"one leaf zeroed", LeafZeroed},
    {"the header's first 16 bytes overwritten", HeaderOverwritten},
    {"the file cut at 80%", Cut80},
    {"the file cut at 50%", Cut50},
    {"the file cut at 25%", Cut25},
    {"20 KB of garbage in the middle", MiddleRun},
};

// Recovers the damaged file at path and checks the result against the master and the
// reference: at least as many catalogue rows, none that is not one, thumbnails whole (a row
// with any other attachment is not a catalogue row), the damaged file kept byte for byte,
// and a catalogue that Init opens.
void ExpectRecovered(const std::wstring& path, long long reference, bool withJournal) {
    const std::string damaged = ReadFileBytes(path);
    const std::string journal = withJournal ? ReadFileBytes(path + L"-journal") : std::string();
    EXPECT_EQ(AppDB::FILE_DAMAGED, AppDB::CheckFile(path.c_str()));
    AppDB::RecoveryReport report = {};
    ASSERT_EQ(AppDB::FILE_OK, AppDB::RecoverFile(path.c_str(), report));

    Reader r(path);
    ASSERT_TRUE(r.Exec(AttachMaster()));
    const std::string all =
        "SELECT `key` k, `cat` c, `time` t, `level` l, `group` g, keywords kw, value v, bin b FROM main.app WHERE `key` <> 'VERSION'";
    const long long good = atoll(r.Scalar("SELECT count(*) FROM (" + all + ") r" + kMatch).c_str());
    const long long rows = atoll(r.Scalar("SELECT count(*) FROM (" + all + ")").c_str());
    EXPECT_GE(good, reference);
    EXPECT_EQ(rows, good) << "rows that are not the catalogue's";
    EXPECT_EQ("1.1", r.Scalar("SELECT value FROM main.app WHERE `key` = 'VERSION' AND `cat` = 1"));
    EXPECT_EQ(static_cast<unsigned>(rows + 1), report.nRecovered);
    EXPECT_EQ("ok", r.Scalar("PRAGMA main.quick_check"));
    printf("  %s rows recovered (reference %lld), %u unreadable, %u ms\n", std::to_string(good).c_str(), reference,
           report.nUnreadable, report.nMilliseconds);

    const std::wstring kept(report.strDamagedFile.GetString());
    EXPECT_EQ(0u, kept.find(path + L".damaged-"));
    EXPECT_TRUE(damaged == ReadFileBytes(kept)) << "the damaged file was not kept byte for byte";
    if (withJournal) EXPECT_TRUE(journal == ReadFileBytes(kept + L"-journal"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L"-journal").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".recovering").c_str()));

    AppDB db;
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(static_cast<unsigned>(good), db.CountPhotoItems(CString()));
    EXPECT_TRUE(db.Cleanup());
}

} // namespace

TEST(CatalogueRecovery, EachDamageRecoversAtLeastTheReferenceShellsRows) {
    for (const DamageCase& c : kDamage) {
        SCOPED_TRACE(c.name);
        printf("%s\n", c.name);
        std::string bytes = ReadFileBytes(Master());
        c.damage(bytes);
        const std::wstring path = NewDatabasePath();
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        const long long reference = ReferenceRows(path, false);
        EXPECT_GT(reference, 0);
        ExpectRecovered(path, reference, false);
    }
}

// A process killed in the middle of a transaction left its journal beside a file that was
// then damaged elsewhere: the journal's pages come back first (the killed writes are undone),
// then what can be read; the journal is kept beside the damaged copy.
TEST(CatalogueRecovery, AHotJournalBesideADamagedFileIsPlayedBackAndKept) {
    const std::wstring path = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(path, ReadFileBytes(Master())));
    {
        Peer peer(path);
        ASSERT_TRUE(peer.Ok());
        ASSERT_EQ("ok", peer.Exec("BEGIN"));
        ASSERT_EQ("ok", peer.Exec("UPDATE app SET value = 'changed' WHERE `key` IN ('photo-1', 'photo-2999')"));
        peer.Kill();
    }
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L"-journal").c_str()));
    std::string bytes = ReadFileBytes(path);
    LeafZeroed(bytes);
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    const long long reference = ReferenceRows(path, true);
    EXPECT_GT(reference, 0);
    ExpectRecovered(path, reference, true);
    Reader r(path);
    EXPECT_EQ("0", r.Scalar("SELECT count(*) FROM app WHERE value = 'changed'"));
}

// The files beside path whose names start with its name and ".damaged-".
int DamagedCopies(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    win32::unique_find find(FindFirstFileW((path + L".damaged-*").c_str(), &found));
    int n = 0;
    if (find)
        do ++n;
        while (FindNextFileW(find.get(), &found));
    return n;
}

// A file that another process has open is never recovered, damaged or not (nothing is read
// or copied); a healthy file is left alone.
TEST(CatalogueRecovery, AnOpenOrHealthyFileIsLeftAlone) {
    std::string bytes = ReadFileBytes(Master());
    LeafZeroed(bytes);
    const std::wstring damaged = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(damaged, bytes));
    AppDB::RecoveryReport report = {};
    {
        Peer peer(damaged);
        ASSERT_TRUE(peer.Ok());
        EXPECT_EQ(AppDB::FILE_LOCKED, AppDB::RecoverFile(damaged.c_str(), report));
    }
    EXPECT_TRUE(bytes == ReadFileBytes(damaged));
    EXPECT_EQ(0, DamagedCopies(damaged));
    {
        AppDB own;   // this process's own connection counts as well
        if (own.Init(damaged.c_str())) EXPECT_EQ(AppDB::FILE_LOCKED, AppDB::RecoverFile(damaged.c_str(), report));
    }
    EXPECT_TRUE(bytes == ReadFileBytes(damaged));
    const std::wstring healthy = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(healthy, ReadFileBytes(Master())));
    EXPECT_EQ(AppDB::FILE_NOT_DAMAGED, AppDB::RecoverFile(healthy.c_str(), report));
    EXPECT_TRUE(ReadFileBytes(Master()) == ReadFileBytes(healthy));
    EXPECT_TRUE(report.strDamagedFile.IsEmpty());
    EXPECT_EQ(0, DamagedCopies(damaged));
    EXPECT_EQ(0, DamagedCopies(healthy));
}

// The SDK's tool checks and recovers, and prints its figures.
TEST(CatalogueRecovery, TheToolChecksRecoversAndPrintsTheFigures) {
    std::string bytes = ReadFileBytes(Master());
    RootGarbage(bytes);
    const std::wstring path = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    const std::wstring tool = Quoted(BinFolder() + L"\\catalogue_tool.exe");
    const std::wstring out = path + L".out";
    EXPECT_EQ(AppDB::FILE_DAMAGED, RunProgram(tool + L" check " + Quoted(path), out));
    EXPECT_EQ(0u, ReadFileBytes(out).find("state 1 damaged"));
    EXPECT_EQ(AppDB::FILE_OK, RunProgram(tool + L" recover " + Quoted(path), out));
    const std::string printed = ReadFileBytes(out);
    EXPECT_EQ(0u, printed.find("state 0 ok"));
    EXPECT_NE(std::string::npos, printed.find("recovered 3001"));
    EXPECT_NE(std::string::npos, printed.find("unreadable "));
    EXPECT_NE(std::string::npos, printed.find("milliseconds "));
    EXPECT_NE(std::string::npos, printed.find("damaged-copy "));
    EXPECT_EQ(AppDB::FILE_OK, RunProgram(tool + L" check " + Quoted(path), out));
    EXPECT_EQ(AppDB::FILE_NOT_DAMAGED, RunProgram(tool + L" recover " + Quoted(path), out));
    EXPECT_EQ(64, RunProgram(tool + L" mend " + Quoted(path), out));
}

// A recovery killed at any moment leaves the damaged file where and as it was; a later one
// finishes. The tool is killed once its new file appears, and then after growing pauses.
TEST(CatalogueRecovery, ARecoveryKilledHalfWayLeavesTheDamagedFile) {
    std::string bytes = ReadFileBytes(Master());
    InteriorGarbage(bytes);
    const std::wstring path = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    const std::wstring recovering = path + L".recovering";
    int killedMidway = 0;
    for (DWORD pause : {0u, 20u, 60u, 150u}) {
        SCOPED_TRACE(pause);
        std::wstring line = Quoted(BinFolder() + L"\\catalogue_tool.exe") + L" recover " + Quoted(path);
        STARTUPINFOW si = {sizeof(si)};
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        win32::unique_handle process(pi.hProcess), thread(pi.hThread);
        const ULONGLONG deadline = GetTickCount64() + 60000;
        while (GetFileAttributesW(recovering.c_str()) == INVALID_FILE_ATTRIBUTES &&
               WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT && GetTickCount64() < deadline)
            Sleep(1);
        if (WaitForSingleObject(pi.hProcess, pause) == WAIT_TIMEOUT) {
            TerminateProcess(pi.hProcess, 9);
            WaitForSingleObject(pi.hProcess, 10000);
            ++killedMidway;
        }
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        if (code == 9) {
            EXPECT_TRUE(bytes == ReadFileBytes(path)) << "a killed recovery changed the file";
        } else {
            ASSERT_EQ(0u, code);   // it finished first: the rest of the loop has nothing to kill
            break;
        }
    }
    EXPECT_GT(killedMidway, 0);
    AppDB::RecoveryReport report = {};
    EXPECT_EQ(AppDB::FILE_OK, AppDB::RecoverFile(path.c_str(), report));
    EXPECT_TRUE(bytes == ReadFileBytes(report.strDamagedFile.GetString()));
    EXPECT_EQ(3001u, report.nRecovered);
}

// The figures of a recovery go to the process's log.
TEST(CatalogueRecovery, TheFiguresGoToTheProcesssLog) {
    const wchar_t* const folder = L"c:\\qb_eng";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    std::string bytes = ReadFileBytes(Master());
    LeafZeroed(bytes);
    const std::wstring path = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    std::string log;
    {
        HostProcess host;
        ASSERT_TRUE(host.Start(BinFolder() + L"\\linkproc.exe"));
        log = host.Value("logs");
        log = log.substr(log.find("eng=") + 4);
        log = log.substr(0, log.find(' '));
        EXPECT_EQ("0 3000", host.Value("db-recover " + Utf8Path(path), 60000));
        EXPECT_EQ(0, host.Quit());
    }
    const std::string text = ReadFileBytes(std::wstring(log.begin(), log.end()));
    EXPECT_NE(std::string::npos, text.find("recovered 3000 rows, 0 rows seen but unreadable, in ")) << log;
    EXPECT_NE(std::string::npos, text.find(".damaged-")) << log;
    RemoveTree(folder);
}

// Every row on an undamaged page comes back: with one leaf zeroed, exactly the rows that the
// leaf held in the master are missing.
TEST(CatalogueRecovery, OnlyTheRowsOfTheDamagedPageAreMissing) {
    const std::string master = ReadFileBytes(Master());
    const std::vector<size_t> leaves = PagesOfType(master, 13);
    ASSERT_FALSE(leaves.empty());
    const size_t at = leaves[leaves.size() / 2] * PageSize(master);
    const int cells = (static_cast<unsigned char>(master[at + 3]) << 8) | static_cast<unsigned char>(master[at + 4]);
    ASSERT_GT(cells, 0);
    std::string bytes = master;
    LeafZeroed(bytes);
    const std::wstring path = NewDatabasePath();
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    AppDB::RecoveryReport report = {};
    ASSERT_EQ(AppDB::FILE_OK, AppDB::RecoverFile(path.c_str(), report));
    AppDB db;
    ASSERT_TRUE(db.Init(path.c_str()));
    EXPECT_EQ(static_cast<unsigned>(kPhotos - cells), db.CountPhotoItems(CString()));
    EXPECT_TRUE(db.Cleanup());
}
