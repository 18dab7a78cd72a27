// The connector against a real HTTP server on 127.0.0.1, with results delivered to a
// real window of the test thread.
#include <gtest/gtest.h>
#include <process.h>
#include <string.h>
#include <atomic>
#include <functional>
#include <iterator>
#include <mutex>
#include <memory>
#include <string>
#include <vector>
#include <Corelink.h>
#include <BaseKit.h>
#include <host_driver.h>
#include <installation.h>
#include <test_paths.h>
#include <unique_res.h>
#include <local_http_server.h>

namespace {

const UINT kResultMsg = WM_APP + 24;

struct Result {
    int nMsg, eResult, size;
    std::string header;
    std::wstring file;
};

std::vector<Result> g_results;
// Progress calls come on the worker thread: what they record is read under g_progressLock.
std::mutex g_progressLock;
std::vector<unsigned int> g_progress;
std::vector<unsigned int> g_progressTotals;
std::vector<long long> g_serverSentAtProgress;
LocalHttpServer* g_progressServer = nullptr;
std::atomic<CNetConnector*> g_cancelOnProgress{nullptr};

size_t progress_calls() {
    std::lock_guard<std::mutex> guard(g_progressLock);
    return g_progress.size();
}

LRESULT CALLBACK result_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kResultMsg) {
        auto* b = reinterpret_cast<CCommandNetBlk*>(l);
        g_results.push_back({b->nMsg, b->eResult, b->nResFileSize, b->szResHeader,
                             reinterpret_cast<const wchar_t*>(b->szResFile)});
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

void on_progress(unsigned int total, unsigned int received) {
    {
        std::lock_guard<std::mutex> guard(g_progressLock);
        g_progress.push_back(received);
        g_progressTotals.push_back(total);
        if (g_progressServer) g_serverSentAtProgress.push_back(g_progressServer->BodySent());
    }
    if (CNetConnector* c = g_cancelOnProgress) c->CancelProcedure();
}

// A message-only window on the test thread; Wait pumps its messages.
class ResultWindow {
public:
    ResultWindow() {
        hwnd_ = CreateMessageWindow(L"CorelinkNetResults", result_proc);
        g_results.clear();
        std::lock_guard<std::mutex> guard(g_progressLock);
        g_progress.clear();
        g_progressTotals.clear();
        g_serverSentAtProgress.clear();
        g_progressServer = nullptr;
        g_cancelOnProgress = nullptr;
    }
    ~ResultWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND get() const { return hwnd_; }
    void Destroy() {
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    // Handles messages until `count` results arrived (or 30 s passed).
    bool Wait(size_t count) {
        for (int i = 0; i < 600 && g_results.size() < count; ++i) ReleaseCPUTime(50, nullptr, nullptr);
        return g_results.size() >= count;
    }

private:
    HWND hwnd_ = nullptr;
};

const unsigned short* U(const std::wstring& s) { return reinterpret_cast<const unsigned short*>(s.c_str()); }

std::wstring temp_file(const wchar_t* name) { return NewTempFolder(L"net") + L"\\" + name; }

class Connector : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(net.SetDefTryConnectionServerURL(L"localhost"));
        ASSERT_EQ(1, net.Initial());
    }
    LocalHttpServer server;
    ResultWindow window;
    CNetConnector net;
};

} // namespace

TEST_F(Connector, GetStoresBodyHeaderAndProgress) {
    net.SetDownloadProgressCallBack(on_progress);
    const std::wstring file = temp_file(L"body.txt");
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, U(file));
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    EXPECT_EQ(5000, g_results[0].size);
    EXPECT_EQ(LocalHttpServer::Body5000(), ReadFileBytes(file));
    EXPECT_EQ(0u, g_results[0].header.find("HTTP/1.1 200"));
    EXPECT_EQ(std::string::npos, g_results[0].header.find('\0'));
    ASSERT_FALSE(g_progress.empty());
    EXPECT_EQ(5000u, g_progress.back());
    for (size_t i = 1; i < g_progress.size(); ++i) EXPECT_LE(g_progress[i] - g_progress[i - 1], 2047u);

    // Without an announced length: the body, and no progress calls.
    g_progress.clear();
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000-nolength", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(2));
    EXPECT_EQ(NET_RESULT_OK, g_results[1].eResult);
    EXPECT_EQ(5000, g_results[1].size);
    EXPECT_TRUE(g_progress.empty());
    // An empty response file name comes back as a new "DCx" file in the temporary folder.
    const std::wstring made = g_results[1].file;
    EXPECT_NE(std::wstring::npos, made.find(L"\\DCx"));
    EXPECT_EQ(LocalHttpServer::Body5000(), ReadFileBytes(made));
    DeleteFileW(made.c_str());
}

TEST_F(Connector, SchemePrefixIsAddedOnce) {
    const std::string prefixed = "http://" + server.Base();
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, prefixed.c_str(), "/body5000", "", nullptr, 80, nullptr);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, prefixed.c_str(), "/body5000", "", nullptr, 8080, nullptr);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "5000", "/body", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(3));
    for (const Result& r : g_results) {
        SCOPED_TRACE(testing::PrintToString(r.file));
        EXPECT_EQ(NET_RESULT_OK, r.eResult);
        EXPECT_EQ(5000, r.size);
        DeleteFileW(r.file.c_str());
    }
    // server + cgi + object path, in that order
    EXPECT_EQ("GET /body5000", server.Requests().back());
}

TEST_F(Connector, RedirectsAndErrors) {
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/redirect", "", nullptr, 80, nullptr);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/missing", "", nullptr, 80, nullptr);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, "127.0.0.1:1", "/x", "", nullptr, 80, nullptr);
    const std::wstring noFolder = L"c:\\no\\such\\folder\\body.txt";
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, U(noFolder));
    const std::string longPath(600, 'p');
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), longPath.c_str(), longPath.c_str(), nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(5));
    EXPECT_EQ(NET_RESULT_REDIRECT, g_results[0].eResult);
    EXPECT_NE(std::string::npos, g_results[0].header.find("Location: http://"));
    EXPECT_NE(std::string::npos, g_results[0].header.find("Product-name: sample.bin"));
    EXPECT_EQ("", ReadFileBytes(g_results[0].file));
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[1].eResult);   // 404
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[2].eResult);   // nobody listens
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[3].eResult);   // the file cannot be written
    EXPECT_EQ(0, g_results[3].size);
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[4].eResult);   // the URL does not fit: never sent
    for (const std::string& r : server.Requests()) EXPECT_EQ(std::string::npos, r.find(longPath));
}

TEST_F(Connector, PostArgumentsAndXml) {
    CxStringList args;
    args.AddTail(L"user=alice");
    args.AddTail(L"[#URL_ENCODING#]note=a b&c");
    args.AddTail(L"expr=x=y");
    const std::wstring echo = temp_file(L"echo.txt");
    net.HTTP_POST(static_cast<NET_MSG>(3), window.get(), kResultMsg, server.Base().c_str(), "/echo", &args, 80, U(echo));
    const wchar_t* const kBad[] = {L"novalue=", L"=noname", L"noequals"};
    for (const wchar_t* bad : kBad) {
        CxStringList one;
        one.AddTail(bad);
        net.HTTP_LOGIN(window.get(), kResultMsg, server.Base().c_str(), "/echo", &one, 80, nullptr);
    }
    const std::wstring xmlEcho = temp_file(L"xml.txt");
    // XML POST has no path argument: the server text carries it.
    net.HTTP_POST_XML(NET_MSG_POST_XML, window.get(), kResultMsg, (server.Base() + "/xml").c_str(), "<req id=\"1\"/>", 80, U(xmlEcho));
    ASSERT_TRUE(window.Wait(5));
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    EXPECT_EQ(3, g_results[0].nMsg);
    EXPECT_EQ("user=alice&note=a%20b%26c&expr=x=y", ReadFileBytes(echo));
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(kBad[i - 1])));
        EXPECT_EQ(NET_RESULT_POST_FAILED, g_results[i].eResult);
        EXPECT_EQ(NET_MSG_LOGIN, g_results[i].nMsg);
    }
    EXPECT_EQ(NET_RESULT_OK, g_results[4].eResult);
    EXPECT_EQ("<req id=\"1\"/>", ReadFileBytes(xmlEcho));
}

TEST_F(Connector, MessageKindChoosesTheOperation) {
    for (int kind : {2, 5, 1, 3, 6}) {
        SCOPED_TRACE(kind);
        net.HTTP_GET(static_cast<NET_MSG>(kind), window.get(), kResultMsg, server.Base().c_str(), "/echo", "", nullptr, 80, nullptr);
    }
    ASSERT_TRUE(window.Wait(5));
    const std::vector<std::string> seen = server.Requests();
    ASSERT_EQ(5u, seen.size());
    EXPECT_EQ("GET /echo", seen[0]);
    EXPECT_EQ("GET /echo", seen[1]);
    EXPECT_EQ("POST /echo", seen[2]);   // POST sends to szObjPath
    EXPECT_EQ("POST /echo", seen[3]);
    EXPECT_EQ("POST /echo", seen[4]);
}

TEST_F(Connector, CancelLeavesAPartialFileAndReachesAQueuedGet) {
    net.SetDownloadProgressCallBack(on_progress);
    const std::wstring first = temp_file(L"big1.bin"), second = temp_file(L"big2.bin");
    g_cancelOnProgress = &net;   // cancel as soon as the first chunk is in
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/big", "", nullptr, 80, U(first));
    // Queued before the cancel happens: the flag stays set, so it is cancelled at its first chunk.
    CCommandNetBlk queued;
    queued.nMsg = NET_MSG_GET;
    queued.hWnd = window.get();
    queued.nMsgID = kResultMsg;
    strcpy(queued.szServer, server.Base().c_str());
    strcpy(queued.szObjPath, "/big");
    memcpy(queued.szResFile, second.c_str(), (second.size() + 1) * 2);
    net.SendNetMessage(&queued);
    ASSERT_TRUE(window.Wait(2));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i ? "the queued GET" : "the running GET");
        EXPECT_EQ(NET_RESULT_CANCELLED, g_results[i].eResult);
        EXPECT_GT(g_results[i].size, 0);
        EXPECT_LT(g_results[i].size, 8 << 20);
        EXPECT_EQ(static_cast<size_t>(g_results[i].size), ReadFileBytes(i ? second : first).size());
    }
}

TEST_F(Connector, ResultForADestroyedWindowIsDroppedAndItsFileStays) {
    const std::wstring file = temp_file(L"orphan.txt");
    ResultWindow other;
    HWND gone = other.get();
    other.Destroy();
    net.HTTP_GET(NET_MSG_GET, gone, kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, U(file));
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    ReleaseCPUTime(300, nullptr, nullptr);
    EXPECT_EQ(1u, g_results.size());
    EXPECT_EQ(LocalHttpServer::Body5000(), ReadFileBytes(file));
}

TEST(ConnectorLifecycle, ConnectorsShareOneWorker) {
    LocalHttpServer server;
    ResultWindow window;
    auto first = std::make_unique<CNetConnector>();
    auto second = std::make_unique<CNetConnector>();
    first->SetDefTryConnectionServerURL(L"localhost");
    ASSERT_EQ(1, first->Initial());
    ASSERT_EQ(1, second->Initial());
    EXPECT_EQ(1, first->SetReportConnectionStatus(window.get(), kResultMsg + 1));
    first.reset();
    second->HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    EXPECT_EQ(1, second->IsNetConnect(true));
    second.reset();   // the last one stops the worker
    CNetConnector idle;
    EXPECT_EQ(0, idle.IsNetConnect(true));
    EXPECT_EQ(0, idle.SetReportConnectionStatus(window.get(), kResultMsg + 1));
    EXPECT_EQ(0, CNetConnector::Cancel(&idle));
    CNetConnector third;
    ASSERT_EQ(1, third.Initial());   // a new worker
    third.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(2));
    EXPECT_EQ(NET_RESULT_OK, g_results[1].eResult);
    EXPECT_STREQ(L"Tracer Server", third.GetDeviceId().GetString());
    EXPECT_EQ(0, third.SetDefTryConnectionServerURL(L""));
    EXPECT_EQ(0, third.SetDefTryConnectionServerURL(nullptr));
    EXPECT_EQ(0, third.SetReportConnectionStatus(nullptr, 5));
    EXPECT_EQ(0, third.SetReportConnectionStatus(window.get(), 0));
}

TEST(ConnectorLifecycle, BrowserVersionGate) {
    const char* key = "SOFTWARE\\Microsoft\\Internet Explorer";
    auto set_version = [&](const char* v) {
        win32::unique_hkey k;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr);
        if (v) RegSetValueExA(k.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(v), static_cast<DWORD>(strlen(v) + 1));
        else RegDeleteValueA(k.get(), "Version");
    };
    // Whatever happens below, the value is gone afterwards: the other tests need the gate open.
    struct Restore {
        std::function<void(const char*)> set;
        ~Restore() { set(nullptr); }
    } restore{set_version};
    set_version("9.11.9600.18376");
    {
        CNetConnector refused;
        EXPECT_EQ(0, refused.Initial());
        EXPECT_EQ(1, refused.m_bIE9OrLater);
    }
    set_version("10.0");
    {
        CNetConnector passes;
        passes.SetDefTryConnectionServerURL(L"localhost");
        EXPECT_EQ(1, passes.Initial());
    }
    set_version(nullptr);
    CNetConnector missing;
    EXPECT_EQ(1, missing.Initial());
}

TEST(ConnectorProbe, NamesThatResolveAndNamesThatDoNot) {
    // The probe host is fixed per process at its first probe: each case in a process of its own.
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    for (const auto& c : {std::make_pair("localhost", "1"), std::make_pair("no-such-host.invalid", "0")}) {
        SCOPED_TRACE(c.first);
        HostProcess host;
        ASSERT_TRUE(host.Start(inst.Path(L"viewproc.exe")));
        EXPECT_EQ(c.second, host.Value(std::string("net-probe ") + c.first));
        EXPECT_EQ(0, host.Quit());
    }
}

namespace {
int g_reports = 0;
LRESULT CALLBACK report_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP + 77) {
        ++g_reports;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
}

TEST(ConnectorProbe, IdleProbesWithAnUnchangedOutcomeReportNothing) {
    HWND hwnd = CreateMessageWindow(L"CorelinkNetReports", report_proc);
    CNetConnector net;
    net.SetDefTryConnectionServerURL(L"localhost");
    ASSERT_EQ(1, net.Initial());
    ASSERT_EQ(1, net.SetReportConnectionStatus(hwnd, WM_APP + 77));
    EXPECT_EQ(hwnd, net.GetRepoStatusHwnd());
    EXPECT_EQ(WM_APP + 77, net.GetRepoStatusMsgId());
    g_reports = 0;
    ReleaseCPUTime(3500, nullptr, nullptr);   // at least one idle probe of the worker
    EXPECT_EQ(0, g_reports);
    EXPECT_EQ(1, net.IsNetConnect(false));    // same outcome again: still no report
    ReleaseCPUTime(100, nullptr, nullptr);
    EXPECT_EQ(0, g_reports);
    DestroyWindow(hwnd);
}

TEST(ConnectorProbe, ExactlyOneReportPerChange) {
    // The namespace of the test environment has a hosts file of its own, seen here as
    // Z:\etc\hosts; adding and removing a name changes what the worker's probes find.
    if (!getenv("CORELINK_PRIVATE_HOSTS")) GTEST_SKIP() << "no private hosts file (no network namespace)";
    const std::wstring hosts = L"Z:\\etc\\hosts";
    const std::string original = ReadFileBytes(hosts);
    auto write_hosts = [&](const std::string& text) {
        win32::unique_stream f(_wfopen(hosts.c_str(), L"wb"));   // truncated in place: the file stays bound
        ASSERT_TRUE(f);
        fwrite(text.data(), 1, text.size(), f.get());
    };
    Installation inst;
    ASSERT_TRUE(inst.Ok());
    HostProcess host;
    ASSERT_TRUE(host.Start(inst.Path(L"viewproc.exe")));
    // The reports seen once an idle probe has seen the change (a probe every few seconds).
    auto reports_reach = [&](const char* want) {
        const DWORD deadline = GetTickCount() + 30000;
        while (host.Value("net-watch-count") != want)
            if (static_cast<LONG>(GetTickCount() - deadline) > 0) return false; else Sleep(50);
        return true;
    };
    ASSERT_EQ("0", host.Value("net-watch-start corelink-flip.test"));   // not resolvable yet
    write_hosts(original + "\n127.0.0.1 corelink-flip.test\n");
    EXPECT_TRUE(reports_reach("1"));
    Sleep(3000);   // more probes with the same outcome: no more reports
    EXPECT_EQ("1", host.Value("net-watch-count"));
    write_hosts(original);
    EXPECT_TRUE(reports_reach("2"));
    EXPECT_EQ("ok", host.Call("net-watch-stop"));
    EXPECT_EQ(0, host.Quit());
}

// ---- slow, broken and hostile servers ------------------------------------------------------

namespace {

// A body of `size` bytes sent in pieces of `piece` with a pause after each.
HttpRoute throttled(size_t size, size_t piece, DWORD pauseMs) {
    HttpRoute r;
    r.body.assign(piece, 't');
    r.size = static_cast<long long>(size);
    r.piece = piece;
    r.pauseMs = pauseMs;
    return r;
}

// Handles messages until f() holds or the deadline passes.
template <class F>
bool pump_until(F f, DWORD deadlineMs = 30000) {
    const DWORD start = GetTickCount();
    while (!f() && GetTickCount() - start < deadlineMs) ReleaseCPUTime(10, nullptr, nullptr);
    return f();
}

// Starts the connector and a download of path to window; true once its first chunk is in.
bool start_download(CNetConnector& net, HWND window, LocalHttpServer& server, const char* path) {
    if (net.Initial() != 1) return false;
    net.SetDownloadProgressCallBack(on_progress);
    net.HTTP_GET(NET_MSG_GET, window, kResultMsg, server.Base().c_str(), path, "", nullptr, 80, nullptr);
    return pump_until([] { return progress_calls() > 0; });
}

} // namespace

TEST_F(Connector, CancelledGetLeavesTheNextGetWhole) {
    net.SetDownloadProgressCallBack(on_progress);
    g_cancelOnProgress = &net;
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/big", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_CANCELLED, g_results[0].eResult);
    g_cancelOnProgress = nullptr;
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(2));
    EXPECT_EQ(NET_RESULT_OK, g_results[1].eResult);
    EXPECT_EQ(5000, g_results[1].size);
    EXPECT_EQ(LocalHttpServer::Body5000(), ReadFileBytes(g_results[1].file));
    for (const Result& r : g_results) DeleteFileW(r.file.c_str());
}

TEST_F(Connector, ProgressTellsTheTotalAndAStrictlyGrowingCount) {
    const size_t size = 300000;
    server.Route("/slow", throttled(size, 7000, 5));
    net.SetDownloadProgressCallBack(on_progress);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/slow", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    ASSERT_GT(g_progress.size(), 2u);
    for (size_t i = 0; i < g_progress.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(size, g_progressTotals[i]);
        if (i) {
            EXPECT_GT(g_progress[i], g_progress[i - 1]);
        }
    }
    EXPECT_EQ(size, g_progress.back());
    DeleteFileW(g_results[0].file.c_str());
}

TEST_F(Connector, ThrottledBodyReportsWhatHasArrivedAndCancelsAtTheNextChunk) {
    const size_t size = 60000;
    server.Route("/slow", throttled(size, 1000, 40));
    g_progressServer = &server;
    net.SetDownloadProgressCallBack(on_progress);
    g_cancelOnProgress = &net;
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/slow", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_CANCELLED, g_results[0].eResult);
    ASSERT_FALSE(g_serverSentAtProgress.empty());
    // The first chunk was handed on while the server was still sending, not after the whole body.
    EXPECT_LT(g_serverSentAtProgress[0], static_cast<long long>(size) / 2);
    EXPECT_LT(g_results[0].size, static_cast<int>(size) / 2);
    EXPECT_EQ(static_cast<size_t>(g_results[0].size), ReadFileBytes(g_results[0].file).size());
    DeleteFileW(g_results[0].file.c_str());
}

TEST_F(Connector, BrokenAndOversizedBodiesFail) {
    HttpRoute cut;
    cut.body = std::string(3000, 'c');
    cut.announce = 10000;   // the connection closes after 3,000 of 10,000 bytes
    server.Route("/cut", cut);
    HttpRoute huge;
    huge.body = std::string(1000, 'h');
    huge.announce = 3000000000LL;   // more than nResFileSize can tell
    server.Route("/huge", huge);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/cut", "", nullptr, 80, nullptr);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/huge", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(2));
    const char* names[] = {"/cut", "/huge"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[i].eResult);
        EXPECT_EQ(static_cast<size_t>(g_results[i].size), ReadFileBytes(g_results[i].file).size());
        DeleteFileW(g_results[i].file.c_str());
    }
    EXPECT_EQ(0, g_results[1].size);
}

TEST_F(Connector, AServerThatNeverAnswersTimesOut) {
    HttpRoute silent;
    silent.silent = true;
    server.Route("/silent", silent);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/silent", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[0].eResult);
    DeleteFileW(g_results[0].file.c_str());
}

TEST_F(Connector, ASecondConnectorTakesNeitherProgressNorCancel) {
    server.Route("/slow", throttled(200000, 1000, 20));
    net.SetDownloadProgressCallBack(on_progress);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/slow", "", nullptr, 80, nullptr);
    ASSERT_TRUE(pump_until([] { return progress_calls() > 0; }));
    {
        CNetConnector other;   // made and used while the download runs
        ASSERT_EQ(1, other.Initial());
        other.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg + 5, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
        const size_t before = progress_calls();
        EXPECT_TRUE(pump_until([&] { return progress_calls() > before + 2; }));   // still this dialog's bar
        net.CancelProcedure();
        ASSERT_TRUE(window.Wait(1));
    }
    EXPECT_EQ(NET_RESULT_CANCELLED, g_results[0].eResult);
    EXPECT_LT(g_results[0].size, 200000);
    DeleteFileW(g_results[0].file.c_str());
}

TEST(ConnectorLifecycle, AnEndlessBodyDoesNotHoldTheLastConnectorsEnd) {
    // As good as endless: at most 4,096 bytes every 20 ms, so its 16 MB take 80 s or more.
    // The end that waits for the body instead of the next chunk fails here in that time.
    const long long size = 16LL << 20;
    LocalHttpServer server;
    server.Route("/endless", throttled(size, 4096, 20));
    ResultWindow window;
    auto net = std::make_unique<CNetConnector>();
    ASSERT_TRUE(start_download(*net, window.get(), server, "/endless"));
    const DWORD start = GetTickCount();
    net.reset();   // stops the worker: the download in hand ends at its next chunk
    EXPECT_LT(GetTickCount() - start, 20000u) << "the last connector's end waited for the body";
    EXPECT_LT(server.BodySent(), size / 4);
}

TEST(ConnectorLifecycle, InitialRacingTheLastConnectorsEndGetsAWorkerOrARefusal) {
    struct Racer {
        CNetConnector* net;
        int result;
        static unsigned __stdcall run(void* p) {
            auto* r = static_cast<Racer*>(p);
            r->result = r->net->Initial();
            return 0;
        }
    };
    const DWORD start = GetTickCount();
    for (int round = 0; round < 3 || GetTickCount() - start < 3000; ++round) {
        SCOPED_TRACE(round);
        auto first = std::make_unique<CNetConnector>();
        first->SetDefTryConnectionServerURL(L"localhost");
        ASSERT_EQ(1, first->Initial());
        CNetConnector second;
        Racer racer{&second, -1};
        win32::unique_thread t(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Racer::run, &racer, 0, nullptr)));
        ASSERT_TRUE(t);
        first.reset();   // the last ready connector stops the worker meanwhile
        ASSERT_TRUE(pump_until([&] { return WaitForSingleObject(t.get(), 0) == WAIT_OBJECT_0; }));
        if (racer.result == 1) {
            EXPECT_EQ(1, second.IsNetConnect(true)) << "ready without a worker";
        }
    }
}

TEST(ConnectorProxy, TheUsersProxyIsUsedAndNoneMeansDirect) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    LocalHttpServer proxy;
    auto set_proxy = [&](bool on) {
        win32::unique_hkey k;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr));
        const DWORD enable = on ? 1 : 0;
        RegSetValueExA(k.get(), "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
        const std::string server = proxy.Base();
        if (on) RegSetValueExA(k.get(), "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()), static_cast<DWORD>(server.size() + 1));
        else RegDeleteValueA(k.get(), "ProxyServer");
    };
    struct Restore {
        std::function<void(bool)> set;
        ~Restore() { set(false); }
    } restore{set_proxy};
    ResultWindow window;
    CNetConnector net;
    ASSERT_EQ(1, net.Initial());
    // A name that resolves nowhere: only a proxy can answer for it.
    set_proxy(true);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, "corelink-proxy.test", "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    set_proxy(false);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, "corelink-proxy.test", "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(2));
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    EXPECT_EQ(LocalHttpServer::Body5000(), ReadFileBytes(g_results[0].file));
    ASSERT_EQ(1u, proxy.Requests().size());
    // The absolute form a proxy receives (the client may spell out the port).
    const std::string seen = proxy.Requests()[0];
    EXPECT_EQ(0u, seen.find("GET http://corelink-proxy.test")) << seen;
    EXPECT_NE(std::string::npos, seen.find("/body5000")) << seen;
    EXPECT_EQ(NET_RESULT_HTTP_FAILED, g_results[1].eResult);   // direct: the name does not resolve
    for (const Result& r : g_results) DeleteFileW(r.file.c_str());
}

namespace {
CNetConnector* g_ending = nullptr;
std::string g_endingServer;
int g_callsDuringEnd = 0;
// The result of the request in hand arrives while the last connector's destructor waits for
// the worker; its handler calls a front end of that connector.
LRESULT CALLBACK ending_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kResultMsg && g_ending) {
        ++g_callsDuringEnd;
        g_ending->HTTP_GET(NET_MSG_GET, h, kResultMsg, g_endingServer.c_str(), "/during-end", "", nullptr, 80, nullptr);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
} // namespace

TEST(ConnectorLifecycle, FrontEndsCalledWhileTheLastConnectorEndsAreRefused) {
    LocalHttpServer server;
    server.Route("/slow", throttled(400000, 4096, 10));
    g_endingServer = server.Base();
    win32::unique_hwnd caller(CreateMessageWindow(L"CorelinkNetEnding", ending_proc));
    ResultWindow window;
    auto net = std::make_unique<CNetConnector>();
    ASSERT_TRUE(start_download(*net, caller.get(), server, "/slow"));
    g_ending = net.get();
    g_callsDuringEnd = 0;
    net.reset();
    g_ending = nullptr;
    EXPECT_EQ(1, g_callsDuringEnd);
    CNetConnector next;   // a new worker would serve what a refused call had left queued
    ASSERT_EQ(1, next.Initial());
    next.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/body5000", "", nullptr, 80, nullptr);
    ASSERT_TRUE(window.Wait(1));
    ReleaseCPUTime(300, nullptr, nullptr);
    for (const std::string& r : server.Requests()) EXPECT_EQ(std::string::npos, r.find("/during-end")) << r;
}

TEST_F(Connector, RedirectHeadersAndInformationFilesComeBackAsSent) {
    struct Case { const char* path; const char* status; const char* headers; const char* body; NET_RESULT result; };
    const Case cases[] = {
        {"/only-location", "302 Found", "Location: http://127.0.0.1:1/file.bin\r\n", "", NET_RESULT_REDIRECT},
        {"/product-url", "302 Found", "Product-url: http://127.0.0.1:1/info.txt\r\nLocation: http://127.0.0.1:1/a b.bin\r\n", "",
         NET_RESULT_REDIRECT},
        {"/no-location", "302 Found", "Product-name: n:a?m e\r\n", "", NET_RESULT_REDIRECT},
        {"/info", "200 OK", "", "Version: 2\r\nProduct-name: Caf\xC3\xA9 Pack: \"2?\"\r\n\r\n", NET_RESULT_OK},
    };
    for (const Case& c : cases) {
        HttpRoute r;
        r.status = c.status;
        r.headers = c.headers;
        r.body = c.body;
        server.Route(c.path, r);
        net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), c.path, "", nullptr, 80, nullptr);
    }
    ASSERT_TRUE(window.Wait(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].path);
        EXPECT_EQ(cases[i].result, g_results[i].eResult);
        EXPECT_NE(std::string::npos, g_results[i].header.find(cases[i].headers));
        EXPECT_EQ(cases[i].body, ReadFileBytes(g_results[i].file));
        DeleteFileW(g_results[i].file.c_str());
    }
}

TEST_F(Connector, ConnectorsComingAndGoingElsewhereLeaveADownloadItsProgress) {
    const size_t size = 150000;
    server.Route("/slow", throttled(size, 1500, 15));
    struct Churn {
        std::atomic<bool> stop{false};
        int rounds = 0;
        static unsigned __stdcall run(void* p) {
            auto* c = static_cast<Churn*>(p);
            while (!c->stop) {   // each one made, started, used and destroyed on this thread
                CNetConnector other;
                other.Initial();
                other.CancelProcedure();
                ++c->rounds;
            }
            return 0;
        }
    } churn;
    net.SetDownloadProgressCallBack(on_progress);
    net.HTTP_GET(NET_MSG_GET, window.get(), kResultMsg, server.Base().c_str(), "/slow", "", nullptr, 80, nullptr);
    win32::unique_thread t(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Churn::run, &churn, 0, nullptr)));
    ASSERT_TRUE(t);
    const bool done = window.Wait(1);
    churn.stop = true;
    WaitForSingleObject(t.get(), INFINITE);
    ASSERT_TRUE(done);
    EXPECT_GT(churn.rounds, 0);
    EXPECT_EQ(NET_RESULT_OK, g_results[0].eResult);
    EXPECT_EQ(static_cast<int>(size), g_results[0].size);
    ASSERT_FALSE(g_progress.empty());
    EXPECT_EQ(size, g_progress.back());   // every chunk reported, the last one too
    DeleteFileW(g_results[0].file.c_str());
}
