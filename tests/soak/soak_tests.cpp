// A multi-process soak: the engine, the user interface and a second panel start, work and quit
// again and again for a bounded time, while a first panel keeps the installation alive. The
// engine writes shared globals that the others read, the user interface and the second panel
// hand web-install lines to the engine, and the engine and the user interface write one
// catalogue with flushes. Afterwards nothing may be lost: every accepted catalogue row is in
// the file, every accepted web-install line reached the engine exactly once, and no host
// stopped answering.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include <host_driver.h>
#include <installation.h>
#include <test_paths.h>

namespace {

DWORD SoakMilliseconds() {
    char text[32] = {};
    DWORD n = GetEnvironmentVariableA("CORELINK_SOAK_SECONDS", text, sizeof text);
    int seconds = n && n < sizeof text ? atoi(text) : 0;
    return static_cast<DWORD>(seconds > 0 ? seconds : 20) * 1000;
}

struct Soak {
    explicit Soak(const Installation& inst) : inst(inst), db(NewTempFolder(L"soak") + L"\\soak.db") {}
    const Installation& inst;
    std::wstring db;
    ULONGLONG end = GetTickCount64() + SoakMilliseconds();
    bool Running() const { return GetTickCount64() < end; }

    std::mutex lock;
    std::vector<std::string> failures;          // what went wrong, with the host's name
    std::set<std::string> acceptedRows;         // catalogue keys whose write was accepted
    std::set<std::string> acceptedLines;        // web-install lines that were stored
    std::multiset<std::string> deliveredLines;  // lines the engine took
    std::atomic<int> lastBattery{0};            // the engine's last written value
    std::atomic<int> writingBattery{0};         // the value the engine is writing (its host may hold it already)
    std::atomic<int> cycles{0};

    void Fail(const std::string& what) {
        std::lock_guard<std::mutex> hold(lock);
        failures.push_back(what);
    }
    // Calls a host; a missing or unexpected reply is a failure of the soak.
    bool Expect(HostProcess& host, const std::string& who, const std::string& command, const std::string& want) {
        std::string got = host.Call(command);
        if (got == want) return true;
        Fail(who + ": " + command + " -> " + got);
        return false;
    }
    std::string Value(HostProcess& host, const std::string& who, const std::string& command) {
        std::string v = host.Value(command);
        if (!v.empty() && v[0] == '!') Fail(who + ": " + command + " -> " + v);
        return v;
    }
};

std::string Utf8(const std::wstring& w) { return ToUtf8(w); }

// Opens the catalogue; Init refuses while the other writer holds the file locked, so it is
// asked again for a while, as a host would.
void OpenCatalogue(Soak& s, HostProcess& host, const std::string& who) {
    std::string reply;
    for (int attempt = 0; attempt < 50; ++attempt) {
        reply = host.Call("db-init " + Utf8(s.db));
        if (reply == "ok 1") return;
        Sleep(20);   // the other process's commit is what is waited for; no signal to wait on
    }
    s.Fail(who + ": db-init -> " + reply);
}

// Writes rows into its album; keeps the keys whose write the store accepted. Flushes each batch.
void WriteRows(Soak& s, HostProcess& host, const std::string& who, int& next) {
    for (int i = 0; i < 5; ++i) {
        std::string key = who + "-" + std::to_string(next++);
        std::string reply = host.Call("db-photo " + key + "|" + who + "|soak|v");
        if (reply == "ok 1") {
            std::lock_guard<std::mutex> hold(s.lock);
            s.acceptedRows.insert(key);
        } else if (reply != "ok 0") {   // 0: busy while the other writer commits
            s.Fail(who + ": db-photo " + key + " -> " + reply);
        }
    }
    s.Expect(host, who, "db-flush", "ok");
}

// The engine: writes the battery level and the model text, takes web-install lines, writes rows.
void Engine(Soak& s) {
    int battery = 0, row = 0;
    while (s.Running()) {
        HostProcess host;
        if (!host.Start(s.inst.Path(L"linkproc.exe"))) { s.Fail("engine: no start"); return; }
        s.Expect(host, "engine", "exist", "ok 1");
        OpenCatalogue(s, host, "engine");
        for (int round = 0; round < 20 && s.Running(); ++round) {
            ++battery;
            s.writingBattery = battery;
            s.Expect(host, "engine", "set g_szTP_Model M" + std::to_string(battery), "ok");
            s.Expect(host, "engine", "set g_nBattery " + std::to_string(battery), "ok");
            s.lastBattery = battery;
            std::string line = s.Value(host, "engine", "get g_szWebInstallCmdLine");
            if (!line.empty() && line[0] != '!') {
                {
                    std::lock_guard<std::mutex> hold(s.lock);
                    s.deliveredLines.insert(line);
                }
                s.Expect(host, "engine", "webinstall-null", "ok 1");
            }
            if (round % 4 == 0) WriteRows(s, host, "eng", row);
        }
        if (host.Quit() != 0) s.Fail("engine: quit");
        ++s.cycles;
    }
}

// The user interface and the second panel: read what the engine wrote, hand over web-install
// lines; the user interface also writes rows.
void Reader(Soak& s, const wchar_t* exe, const std::string& who, bool writesRows) {
    int line = 0, row = 0;
    while (s.Running()) {
        HostProcess host;
        if (!host.Start(s.inst.Path(exe))) { s.Fail(who + ": no start"); return; }
        s.Expect(host, who, "exist", "ok 1");
        if (writesRows) OpenCatalogue(s, host, who);
        for (int round = 0; round < 20 && s.Running(); ++round) {
            // The model text is written before the level: a level read after it never
            // runs ahead of the text, and neither is ever torn.
            int before = s.lastBattery;
            std::string battery = s.Value(host, who, "get g_nBattery");
            std::string model = s.Value(host, who, "get g_szTP_Model");
            int level = atoi(battery.c_str());
            int after = s.writingBattery;
            if (level < before || level > after)
                s.Fail(who + ": battery " + battery + " outside [" + std::to_string(before) + ", " + std::to_string(after) + "]");
            if (model.compare(0, 1, "M") != 0 || atoi(model.c_str() + 1) < level)
                s.Fail(who + ": model " + model + " behind battery " + battery);

            std::string text = who + "-" + std::to_string(line);
            std::string reply = host.Call("webinstall " + text);
            if (reply == "ok 1") {
                std::lock_guard<std::mutex> hold(s.lock);
                s.acceptedLines.insert(text);
                ++line;
            } else if (reply != "ok 0") {   // 0: a line is still pending
                s.Fail(who + ": webinstall -> " + reply);
            }
            if (writesRows && round % 4 == 2) WriteRows(s, host, who, row);
        }
        if (host.Quit() != 0) s.Fail(who + ": quit");
        ++s.cycles;
    }
}

TEST(Soak, HostsComeAndGoWithoutLosingAnything) {
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    Soak s(inst);
    // The first panel keeps the installation's shared block and existence mutex alive: the
    // suite's panel runs for the whole session.
    HostProcess panel;
    ASSERT_TRUE(panel.Start(inst.Path(L"dockproc.exe")));
    ASSERT_EQ("ok", panel.Call("set g_szTP_Model M0"));
    {
        HostProcess maker;   // the catalogue file exists before the writers start
        ASSERT_TRUE(maker.Start(inst.Path(L"viewproc.exe")));
        ASSERT_EQ("ok 1", maker.Call("db-init " + Utf8(s.db)));
        EXPECT_EQ(0, maker.Quit());
    }

    std::thread engine(Engine, std::ref(s));
    std::thread ui(Reader, std::ref(s), L"viewproc.exe", "ui", true);
    std::thread panel2(Reader, std::ref(s), L"dockproc.exe", "panel", false);
    engine.join();
    ui.join();
    panel2.join();

    // The last pending line, if any, is the engine's to take.
    std::string pending = panel.Value("get g_szWebInstallCmdLine");
    if (!pending.empty()) s.deliveredLines.insert(pending);
    EXPECT_EQ(0, panel.Quit());

    printf("soak: %d host runs, %zu catalogue rows, %zu web-install lines\n", s.cycles.load(),
           s.acceptedRows.size(), s.acceptedLines.size());
    for (const std::string& f : s.failures) ADD_FAILURE() << f;
    EXPECT_GT(s.cycles.load(), 6) << "too few host starts to call it a soak";

    for (const std::string& line : s.acceptedLines)
        EXPECT_EQ(1u, s.deliveredLines.count(line)) << "web-install line " << line;
    EXPECT_EQ(s.acceptedLines.size(), s.deliveredLines.size());

    HostProcess check;
    ASSERT_TRUE(check.Start(inst.Path(L"viewproc.exe")));
    ASSERT_EQ("ok 1", check.Call("db-init " + Utf8(s.db)));
    size_t missing = 0;
    for (const std::string& key : s.acceptedRows)
        if (check.Value("db-has-photo " + key) == "-") ++missing;
    EXPECT_EQ(0u, missing) << "of " << s.acceptedRows.size() << " accepted rows";
    EXPECT_GT(s.acceptedRows.size(), 0u);
    EXPECT_EQ(0, check.Quit());
}

} // namespace
