// Diagnostic logs of the suite's three processes, across real processes.
#include <gtest/gtest.h>
#include <BaseKit.h>
#include <host_driver.h>
#include <installation.h>
#include <test_paths.h>
#include <unique_res.h>
#include <set>
#include <sstream>
#include <vector>

namespace {

const wchar_t* const kLogFolders[] = {L"c:\\qb_ui", L"c:\\qb_eng", L"c:\\qb_panel"};

// Each test decides which log folders exist; none is left behind.
class ProcessLogs : public testing::Test {
protected:
    void SetUp() override { RemoveLogFolders(); }
    void TearDown() override { RemoveLogFolders(); }
    static void RemoveLogFolders() {
        for (const wchar_t* f : kLogFolders) RemoveTree(f);
    }
    static void MakeLogFolders(std::initializer_list<const wchar_t*> folders) {
        for (const wchar_t* f : folders) ASSERT_TRUE(CreateDirectoryW(f, nullptr));
    }
};

struct Logs { std::string ui, eng, panel; };

Logs logs_of(HostProcess& host) {
    std::istringstream in(host.Value("logs"));
    Logs l;
    std::string word;
    while (in >> word) {
        if (word.rfind("ui=", 0) == 0) l.ui = word.substr(3);
        else if (word.rfind("eng=", 0) == 0) l.eng = word.substr(4);
        else if (word.rfind("panel=", 0) == 0) l.panel = word.substr(6);
    }
    return l;
}

ULONGLONG to_ticks(const SYSTEMTIME& t) {
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// True when path is folder\YYMMDD_hhmmss.log (day blank-padded) for a time in [from, to].
bool named_for_time(const std::string& path, const std::string& folder, const SYSTEMTIME& from, const SYSTEMTIME& to) {
    if (path.size() != folder.size() + 1 + 17 || path.compare(0, folder.size() + 1, folder + "\\") != 0) return false;
    std::string name = path.substr(folder.size() + 1);
    if (name[6] != '_' || name.substr(13) != ".log") return false;
    auto num = [&](size_t at) { return (name[at] == ' ' ? 0 : name[at] - '0') * 10 + (name[at + 1] - '0'); };
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(2000 + num(0));
    t.wMonth = static_cast<WORD>(num(2));
    t.wDay = static_cast<WORD>(num(4));
    t.wHour = static_cast<WORD>(num(7));
    t.wMinute = static_cast<WORD>(num(9));
    t.wSecond = static_cast<WORD>(num(11));
    if (name[4] == '0') return false;   // the day is padded with a blank, never a zero
    const ULONGLONG second = 10000000ULL;
    ULONGLONG at = to_ticks(t);
    return at + second >= to_ticks(from) && at <= to_ticks(to) + second;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(ProcessLogs, EachOfTheThreeExecutablesGetsItsOwnLogCaseIgnored) {
    MakeLogFolders({L"c:\\qb_ui", L"c:\\qb_eng", L"c:\\qb_panel"});
    Installation inst({{L"viewproc.exe", L"ViewProc.EXE"}, {L"viewproc.exe", L"other.exe"}});
    ASSERT_TRUE(inst.Ok());

    struct Case { const wchar_t* exe; const char* folder; std::string Logs::*which; };
    const Case cases[] = {
        {L"viewproc.exe", "c:\\qb_ui", &Logs::ui},
        {L"linkproc.exe", "c:\\qb_eng", &Logs::eng},
        {L"dockproc.exe", "c:\\qb_panel", &Logs::panel},
        {L"ViewProc.EXE", "c:\\qb_ui", &Logs::ui},
        {L"other.exe", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.exe));
        HostProcess host;
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        ASSERT_TRUE(host.Start(inst.Path(c.exe)));
        Logs logs = logs_of(host);
        GetLocalTime(&after);
        for (std::string Logs::*field : {&Logs::ui, &Logs::eng, &Logs::panel}) {
            if (field != c.which) {
                EXPECT_EQ("-", logs.*field);
            }
        }
        if (c.which) {
            const std::string& path = logs.*c.which;
            EXPECT_TRUE(named_for_time(path, c.folder, before, after)) << path;
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(FromUtf8(path).c_str())) << path;
        }
        EXPECT_EQ(0, host.Quit());
    }
}

TEST_F(ProcessLogs, NoFolderNoLog) {
    MakeLogFolders({L"c:\\qb_ui"});
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess panel, engine, ui;
    ASSERT_TRUE(panel.Start(inst.Path(L"dockproc.exe")));
    ASSERT_TRUE(engine.Start(inst.Path(L"linkproc.exe")));
    ASSERT_TRUE(ui.Start(inst.Path(L"viewproc.exe")));
    EXPECT_EQ("-", logs_of(panel).panel);
    EXPECT_EQ("-", logs_of(engine).eng);
    EXPECT_NE("-", logs_of(ui).ui);
    EXPECT_EQ(0, panel.Quit());
    EXPECT_EQ(0, engine.Quit());
    EXPECT_EQ(0, ui.Quit());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"c:\\qb_panel"));   // never created by the library
}

TEST_F(ProcessLogs, PanelLogStartsWithTheVersionReport) {
    MakeLogFolders({L"c:\\qb_panel"});
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    { win32::unique_file lng(CreateFileW(inst.Path(L"Quillbox(Deutsch).lng").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }

    HostProcess panel;
    ASSERT_TRUE(panel.Start(inst.Path(L"dockproc.exe")));
    std::string path = logs_of(panel).panel;
    ASSERT_NE("-", path);
    EXPECT_EQ(0, panel.Quit());

    // The expected line of a file: its name and the version read from it (0s when none).
    auto line_for = [&](const wchar_t* file) {
        int a = 0, b = 0, c = 0, d = 0;
        GetVersionFromResource(2, inst.Path(file).c_str(), a, b, c, d);
        return ToUtf8(file) + "\t(Version: " + std::to_string(a) + "." + std::to_string(b) + "." +
               std::to_string(c) + "." + std::to_string(d) + ")";
    };
    const std::string stars(45, '*'), dashes(45, '-');
    const std::set<std::string> exes = {line_for(L"dockproc.exe"), line_for(L"linkproc.exe"), line_for(L"viewproc.exe")};
    const std::set<std::string> dlls = {line_for(L"BaseKitU.dll"), line_for(L"Corelink.dll"), line_for(L"MfcLiteU.dll"),
                                        line_for(L"UiKitU.dll"), line_for(L"NetKit.dll"), line_for(L"libstdc++-6.dll"),
                                        line_for(L"libgcc_s_dw2-1.dll"), line_for(L"libwinpthread-1.dll")};
    EXPECT_NE(std::string::npos, line_for(L"Corelink.dll").find("(Version: 1."));

    std::vector<std::string> lines = lines_of(ReadFileBytes(FromUtf8(path)));
    ASSERT_EQ(4 + exes.size() + 1 + dlls.size() + 1 + 1, lines.size());
    EXPECT_EQ(stars, lines[0]);
    EXPECT_EQ(0u, lines[1].find("OS: Windows 7 ... ")) << lines[1];
    EXPECT_GT(lines[1].size(), 18u);   // the system language follows
    EXPECT_EQ(dashes, lines[2]);
    EXPECT_EQ(exes, std::set<std::string>(lines.begin() + 3, lines.begin() + 6));
    EXPECT_EQ("-", lines[6]);
    EXPECT_EQ(dlls, std::set<std::string>(lines.begin() + 7, lines.begin() + 7 + dlls.size()));
    const size_t after = 7 + dlls.size();
    EXPECT_EQ("-", lines[after]);
    EXPECT_EQ("Quillbox(Deutsch).lng\t(Version: 0.0.0.0)", lines[after + 1]);
    EXPECT_EQ(stars, lines[after + 2]);
}
