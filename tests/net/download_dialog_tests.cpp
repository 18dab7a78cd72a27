// The download dialog run modally on the test thread against a local HTTP server, driven by
// a watcher thread as a user would: reading its text and bar, pressing Escape, Enter and
// Abort, answering its message boxes. Plus the name and header rules on their own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string.h>
#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <string>
#include <vector>
#include <Corelink.h>
#include <gui_watch.h>
#include <object_counts.h>
#include <local_http_server.h>
#include <test_paths.h>
#include <unique_res.h>
#include <download_names.h>

namespace {

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring temp_folder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

struct BoxSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK box_of_process(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<BoxSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !IsWindowVisible(h) || gui::ClassOf(h) != L"#32770" || !GetDlgItem(h, 0xFFFF)) return TRUE;
    s->found = h;
    return FALSE;
}

// A message box of this process (a dialog with the box's text static), or null.
HWND find_message_box() {
    BoxSearch search{GetCurrentProcessId(), nullptr};
    EnumWindows(box_of_process, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Reads go with a time limit: a read sent just before the dialog goes would otherwise wait
// for a thread that has stopped handling messages.
int send_with_limit(HWND h, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(h, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<int>(result);
}

int bar_position(HWND dialog) { return send_with_limit(gui::ControlById(dialog, 7216), PBM_GETPOS); }

// What a run of the dialog showed and gave.
struct DialogRun {
    INT_PTR result = -1;
    std::wstring saved;
    std::wstring box;                 // the message box's text, when one came
    std::vector<std::wstring> texts;  // the message line as it changed
    std::vector<int> positions;       // the progress bar as it moved
    bool currentClearedAfter = false;
    bool rescued = false;
    bool forced = false;              // the watcher had to end a dialog that did not end by itself
};

// What the watcher does while the dialog is open; `dialog` is its window.
using Script = std::function<void(HWND dialog, DialogRun& run)>;

// Set by the test thread once DoModal has returned.
std::atomic<bool> g_modalDone{false};

HWND download_dialog() { return gui::FindTopLevel(L"Download", L"#32770"); }

// Waits until the dialog shows; null when it ended first or a message box came before it.
HWND wait_for_dialog() {
    HWND dialog = nullptr;
    gui::WaitFor([&] { return g_modalDone || (dialog = download_dialog()) != nullptr || find_message_box(); });
    return dialog;
}

// Watches until the dialog has ended: records its message line and bar as they change, and
// answers a message box with OK.
void watch_to_the_end(HWND dialog, DialogRun& run) {
    gui::WaitFor(
        [&] {
            if (HWND box = find_message_box()) {
                run.box = gui::MessageBoxText(box);
                gui::ClickId(box, IDOK);
                gui::WaitForClose(box);
            }
            if (g_modalDone) return true;
            if (!dialog) dialog = download_dialog();
            if (!dialog) return false;
            HWND line = gui::ControlById(dialog, 7215), bar = gui::ControlById(dialog, 7216);
            const std::wstring text = gui::TextOf(line);
            const int pos = send_with_limit(bar, PBM_GETPOS);
            // Read from a dialog that is still there, not one being taken down.
            if (!IsWindowVisible(dialog) || !IsWindow(line) || !IsWindow(bar)) return false;
            if (run.texts.empty() || run.texts.back() != text) run.texts.push_back(text);
            if (run.positions.empty() || run.positions.back() != pos) run.positions.push_back(pos);
            return false;
        },
        gui::ms(50000));
    // Never leave the test thread in the modal loop: the finish timer ends the dialog. A run
    // that needed it has failed, whatever the dialog then returns.
    if (!g_modalDone && dialog && IsWindow(dialog)) {
        run.forced = true;
        PostMessageW(dialog, WM_TIMER, 1001, 0);
    }
}

// Runs dlg once for url; the same object may run again.
DialogRun run_dialog_of(CWebFileDownloadDlg& dlg, const std::wstring& url, bool cancelButton = true,
                        Script script = watch_to_the_end) {
    DialogRun run;
    dlg.m_strURL = url.c_str();
    dlg.m_bCancelButton = cancelButton;
    g_modalDone = false;
    std::atomic<bool> scriptDone{false};
    {
        gui::Watcher watcher(
            [&] {
                script(wait_for_dialog(), run);
                scriptDone = true;
            },
            gui::ms(60000));
        run.result = dlg.DoModal();
        g_modalDone = true;
        // Messages the watcher sent meanwhile are answered while it finishes.
        gui::PumpUntil([&] { return scriptDone.load(); }, gui::ms(60000));
        watcher.Join();
        run.rescued = watcher.Rescued();
    }
    run.saved = dlg.m_strSavedFile.GetString();
    run.currentClearedAfter = g_pWebFileDownloadDlg == nullptr;
    EXPECT_FALSE(run.forced) << "the dialog did not end by itself";
    return run;
}

DialogRun run_dialog(const std::wstring& url, bool cancelButton = true, Script script = watch_to_the_end) {
    CWebFileDownloadDlg dlg;
    return run_dialog_of(dlg, url, cancelButton, script);
}

class DownloadDialog : public testing::Test {
protected:
    void SetUp() override { GUI_TEST_REQUIRES_DISPLAY(); }
    void TearDown() override {
        for (const std::wstring& f : made_) DeleteFileW(f.c_str());
    }
    std::wstring url(const std::string& path) { return L"http://" + W(server.Base()) + W(path); }
    // A file the dialog is expected to save in the temporary folder (removed afterwards).
    std::wstring saved_as(const std::wstring& name) {
        made_.push_back(temp_folder() + name);
        return made_.back();
    }
    void route_body(const std::string& path, const std::string& body) {
        HttpRoute r;
        r.body = body;
        server.Route(path, r);
    }
    void route_redirect(const std::string& path, const std::string& headers) {
        HttpRoute r;
        r.status = "302 Found";
        r.headers = headers;
        server.Route(path, r);
    }
    // A body that takes a few seconds: 400 pieces of 1,000 bytes, 10 ms apart.
    void route_slow(const std::string& path) {
        HttpRoute r;
        r.body.assign(1000, 's');
        r.size = 400000;
        r.piece = 1000;
        r.pauseMs = 10;
        server.Route(path, r);
    }
    LocalHttpServer server;
    std::vector<std::wstring> made_;
};

const wchar_t kFailed[] = L"The download failed. Check your Internet connection and try again.";

} // namespace

// ---- names and header lines ----------------------------------------------------------------

TEST(DownloadNames, FileNamesStayInTheirFolder) {
    const struct {
        const wchar_t* name;
        const wchar_t* expected;   // "" : refused
    } kCases[] = {
        {L"report.txt", L"report.txt"},
        {L"  a:b?c  ", L"a_b_c"},
        {L"#%:<>\\*\"?", L"_________"},
        {L"a//b/c", L"a_b_c"},
        {L"../../evil.txt", L".._.._evil.txt"},
        {L"..\\..\\evil.txt", L".._.._evil.txt"},
        {L"C:\\Windows\\win.ini", L"C__Windows_win.ini"},
        {L"x\x01y\tz\x7F", L"xyz"},
        {L"file.txt:stream", L"file.txt_stream"},
        {L"", L""},
        {L"   ", L""},
        {L".", L""},
        {L"..", L""},
        {L" ... ", L""},
        {L"\x01\x02", L""},
        {L"CON", L""},
        {L"nul.txt", L""},
        {L"com1", L""},
        {L"LPT9.log", L""},
        {L"COM0", L""},
        {L"lpt0.txt", L""},
        {L"COM\u00B9", L""},   // the superscript digits name devices too
        {L"com\u00B2.txt", L""},
        {L"LPT\u00B3", L""},
        {L"COM10", L"COM10"},
        {L"COM\u00B4", L"COM\u00B4"},
        {L"console", L"console"},
        {L"a|b", L"a_b"},
        {L". . .", L""},
        {L" .. . ", L""},
        {L"report. . ", L"report"},   // the system drops a name's trailing dots and blanks
        {L"CON. .", L""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        EXPECT_EQ(std::wstring(c.expected), download::CleanFileName(c.name));
    }
    EXPECT_EQ(L"pack.zip", download::SaveName(L" pack.zip ", L"http://h/x"));
    EXPECT_EQ(L"x.bin", download::SaveName(L"CON", L"http://h/files/x.bin"));
    EXPECT_EQ(L"x.bin", download::SaveName(L"", L"http://h/files/x.bin"));
    EXPECT_EQ(L"download.bin", download::SaveName(L"..", L"http://h/files/"));
    EXPECT_EQ(L"download.bin", download::SaveName(L"", L"http://h/nul"));

    // Names cut to the room the folder leaves, keeping a short extension and whole characters.
    const struct {
        std::wstring name;
        size_t room;
        std::wstring expected;
    } kFits[] = {
        {std::wstring(300, L'n') + L".zip", 40, std::wstring(36, L'n') + L".zip"},
        {std::wstring(300, L'n'), 255, std::wstring(255, L'n')},
        {L"a." + std::wstring(60, L'e'), 40, L"a." + std::wstring(38, L'e')},
        {L"ab\xD83D\xDE00", 3, L"ab"},
        {L"ab\xD83D\xDE00" L"cd", 4, L"ab\xD83D\xDE00"},   // a cut right after a pair keeps it
        {L"ab\xD83D\xDE00\xD83D\xDE01" L"cd.txt", 10, L"ab\xD83D\xDE00\xD83D\xDE01.txt"},
        // The name dialog's rule: only a pair is kept whole; a half the text held on its own stays.
        {L"ab\xD83D" L"cd", 3, L"ab\xD83D"},
        {L"ab\xDE00" L"cd", 3, L"ab\xDE00"},
        {L"abc  def.txt", 8, L"abc.txt"},
        {L"CONtents.txt", 7, L"x.bin"},   // cut to a device name: the next candidate
        {L"report.txt", 10, L"report.txt"},
    };
    for (const auto& c : kFits) {
        SCOPED_TRACE(testing::PrintToString(c.name) + " in " + std::to_string(c.room));
        EXPECT_EQ(c.expected, download::SaveName(c.name, L"http://h/files/x.bin", c.room));
    }
    EXPECT_EQ(std::wstring(255, L'n'), download::SaveName(std::wstring(300, L'n'), L"http://h/x"));
}

TEST(DownloadNames, AddressesAndHeaderLines) {
    const auto hp = download::SplitAddress("ftp://host:81/a/b?c");
    EXPECT_TRUE(hp.hasHost);
    EXPECT_EQ("host:81", hp.host);
    EXPECT_EQ("/a/b?c", hp.path);
    EXPECT_FALSE(download::SplitAddress("host/a").hasHost);
    EXPECT_EQ("", download::SplitAddress("host/a").path);
    EXPECT_EQ("h", download::SplitAddress(" http://h").host);

    // "Location:" alone, or with only its separator, gives no location.
    for (const wchar_t* line : {L"Location:", L"Location: ", L"Location:x"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
        const auto info = download::ScanRedirect(download::SplitLines(std::wstring(L"HTTP/1.1 302 Found\r\n") + line), L"");
        EXPECT_EQ(L"", info.location);
        EXPECT_EQ(L"", info.productName);
    }
    auto info = download::ScanRedirect(
        download::SplitLines(L"HTTP/1.1 302 Found\r\nProduct-url: http://h/info\r\nLocation: http://h/d/f.zip\r\n"), L"");
    EXPECT_EQ(L" http://h/info", info.productUrl);
    EXPECT_EQ(L"http://h/d/f.zip", info.location);
    EXPECT_EQ(L"f.zip", info.productName);
    // A name already known stops the scan once a location is found.
    info = download::ScanRedirect(download::SplitLines(L"Location: http://h/a\r\nProduct-name: later\r\n"), L"known");
    EXPECT_EQ(L"known", info.productName);
    // Addresses lose the blanks at their line's end; a name keeps them.
    info = download::ScanRedirect(download::SplitLines(L"Location: http://h/a/f.zip \t\r\nProduct-url: http://h/i  \r\n"), L"");
    EXPECT_EQ(L"http://h/a/f.zip", info.location);
    EXPECT_EQ(L" http://h/i", info.productUrl);
    EXPECT_EQ(L"f.zip", info.productName);
    info = download::ScanRedirect(download::SplitLines(L"Location: http://h/a\r\nProduct-name:  two  words  \r\n"), L"");
    EXPECT_EQ(L"  two  words  ", info.productName);
    // A location without a last segment names nothing.
    for (const wchar_t* line : {L"Location: elsewhere", L"Location: http://h/dir/", L"Location: http://h/dir/  "}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
        const auto unnamed = download::ScanRedirect(download::SplitLines(line), L"");
        EXPECT_NE(L"", unnamed.location);
        EXPECT_EQ(L"", unnamed.productName);
    }
    // A header cut at its limit: its unfinished last line is not read.
    const struct {
        const wchar_t* header;
        const wchar_t* location;
    } kCut[] = {
        {L"HTTP/1.1 302 Found\r\nLocation: http://h/a/b", L""},
        {L"HTTP/1.1 302 Found\r\nLocation: http://h/a/b\r", L""},
        {L"HTTP/1.1 302 Found\r\nLocation: http://h/a/b\r\nProduct-na", L"http://h/a/b"},
        {L"HTTP/1.1 302 Found\r\nLocation: http://h/a/b\r\n\r\n", L"http://h/a/b"},
    };
    for (const auto& c : kCut) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.header)));
        EXPECT_EQ(c.location, download::ScanRedirect(download::HeaderLines(c.header), L"").location);
    }
    bool found = false;
    EXPECT_EQ(L" Caf\u00e9 ", download::ProductNameFromInfo(download::SplitLines(L"V: 1\r\nProduct-name: Caf\u00e9 \r\n"), &found));
    EXPECT_TRUE(found);
    download::ProductNameFromInfo(download::SplitLines(L"nothing"), &found);
    EXPECT_FALSE(found);
}

// ---- the dialog ----------------------------------------------------------------------------

TEST_F(DownloadDialog, SchemeIsIgnoredAndTheLastSegmentNamesTheFile) {
    route_body("/files/report.txt", "report body");
    for (const char* scheme : {"http://", "ftp://", "xyz://"}) {
        SCOPED_TRACE(scheme);
        const DialogRun run = run_dialog(W(scheme) + W(server.Base()) + L"/files/report.txt");
        EXPECT_EQ(IDOK, run.result);
        EXPECT_EQ(saved_as(L"report.txt"), run.saved);
        EXPECT_EQ("report body", ReadFileBytes(run.saved));
        EXPECT_TRUE(run.box.empty());
        EXPECT_TRUE(run.currentClearedAfter);
        EXPECT_FALSE(run.rescued);
    }
    EXPECT_EQ("GET /files/report.txt", server.Requests().back());
}

TEST_F(DownloadDialog, AddressWithoutSlashesFails) {
    route_body("/body", "x");
    const DialogRun run = run_dialog(W(server.Base()) + L"/body");
    EXPECT_EQ(IDCANCEL, run.result);
    EXPECT_EQ(kFailed, run.box);
    EXPECT_TRUE(run.saved.empty());
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(DownloadDialog, RedirectsNameTheProduct) {
    route_body("/data", "product bytes");
    const std::string base = "http://" + server.Base();
    route_redirect("/leading-space", "Location:  " + base + "/data\r\n");
    route_redirect("/named", "Location: " + base + "/data\r\nProduct-name: Holiday Pack: 2?  \r\n");
    const struct {
        const char* path;
        const wchar_t* name;      // saved as
        const wchar_t* message;   // shown while the product downloads
    } kCases[] = {
        {"/leading-space", L"data", L"data"},
        // The blank after the key stays; the HTTP client drops blanks at a header line's end.
        {"/named", L"Holiday Pack_ 2_", L" Holiday Pack: 2?"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        const DialogRun run = run_dialog(url(c.path));
        EXPECT_EQ(IDOK, run.result);
        EXPECT_EQ(saved_as(c.name), run.saved);
        EXPECT_EQ("product bytes", ReadFileBytes(run.saved));
        EXPECT_NE(run.texts.end(), std::find(run.texts.begin(), run.texts.end(), std::wstring(c.message)))
            << testing::PrintToString(run.texts);
        EXPECT_EQ("GET /data", server.Requests().back());
    }
}

TEST_F(DownloadDialog, InformationFileComesBeforeTheLocation) {
    const std::string base = "http://" + server.Base();
    route_redirect("/start", "Product-url: " + base + "/info\r\nLocation: " + base + "/data\r\n");
    route_body("/info", "Version: 2\r\nProduct-name: Caf\xC3\xA9 Pack \r\nProduct-name: second\r\n");
    route_body("/data", "product bytes");
    const DialogRun run = run_dialog(url("/start"));
    EXPECT_EQ(IDOK, run.result);
    EXPECT_EQ(saved_as(L"Caf\u00e9 Pack"), run.saved);
    EXPECT_EQ("product bytes", ReadFileBytes(run.saved));
    EXPECT_NE(run.texts.end(), std::find(run.texts.begin(), run.texts.end(), std::wstring(L" Caf\u00e9 Pack ")))
        << testing::PrintToString(run.texts);
    const std::vector<std::string> expected = {"GET /start", "GET /info", "GET /data"};
    EXPECT_EQ(expected, server.Requests());
}

TEST_F(DownloadDialog, HostileProductNamesStayInTheTemporaryFolder) {
    const std::string base = "http://" + server.Base();
    route_body("/files/pack.zip", "product bytes");
    const struct {
        const char* name;
        const wchar_t* saved;
    } kCases[] = {
        {"..\\..\\evil.txt", L".._.._evil.txt"},
        {"../../evil.txt", L".._.._evil.txt"},
        {"C:\\Windows\\evil.ini", L"C__Windows_evil.ini"},
        {"..", L"r"},   // refused names fall back to the last segment of the caller's address
        {"CON", L"r"},
        {"\x01\x02", L"r"},
        {"a|b", L"a_b"},
        {". . .", L"r"},
        {"COM\xB9", L"r"},   // the system code page's superscript one
        {"lpt0.txt", L"r"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        route_redirect("/r", std::string("Location: ") + base + "/files/pack.zip\r\nProduct-name: " + c.name + "\r\n");
        const DialogRun run = run_dialog(url("/r"));
        EXPECT_EQ(IDOK, run.result);
        EXPECT_EQ(saved_as(c.saved), run.saved);
        EXPECT_EQ("product bytes", ReadFileBytes(run.saved));
    }
    // A name too long for the folder is cut to fill the longest path, its extension kept.
    route_redirect("/r", "Location: " + base + "/files/pack.zip\r\nProduct-name: " + std::string(300, 'n') + ".zip\r\n");
    const DialogRun run = run_dialog(url("/r"));
    EXPECT_EQ(IDOK, run.result);
    if (!run.saved.empty()) made_.push_back(run.saved);
    EXPECT_EQ(0u, run.saved.find(temp_folder() + L"nnnnnnnnnn")) << testing::PrintToString(run.saved);
    EXPECT_EQ(run.saved.size() - 4, run.saved.rfind(L".zip"));
    EXPECT_EQ(static_cast<size_t>(MAX_PATH - 1), run.saved.size());
    EXPECT_EQ("product bytes", ReadFileBytes(run.saved));
}

TEST_F(DownloadDialog, RedirectsWithoutATargetEndQuietly) {
    const std::string base = "http://" + server.Base();
    route_body("/files/pack.zip", "product bytes");
    // A header longer than the record holds: its Location line is cut in the middle.
    const std::string fill = "X-Fill: " + std::string(1850, 'f') + "\r\n";
    const struct {
        const char* path;
        std::string headers;
    } kCases[] = {
        {"/no-location", "Product-name: x\r\n"},
        {"/bare-location", "Location:\r\nX-After: http://elsewhere/y\r\n"},
        // A Location that names no product, and no "Product-name:" line.
        {"/no-slash", "Location: elsewhere\r\n"},
        {"/trailing-slash", "Location: " + base + "/files/\r\n"},
        {"/cut-location", fill + "Location: " + base + "/files/" + std::string(400, 'p') + "/pack.zip\r\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        route_redirect(c.path, c.headers);
        const size_t before = server.Requests().size();
        const DialogRun run = run_dialog(url(c.path));
        EXPECT_EQ(IDCANCEL, run.result);
        EXPECT_TRUE(run.box.empty()) << testing::PrintToString(run.box);
        EXPECT_FALSE(run.rescued);
        EXPECT_EQ(before + 1, server.Requests().size()) << "followed to " << server.Requests().back();
    }
}

TEST_F(DownloadDialog, EndlessRedirectsStopAfterTen) {
    route_redirect("/loop", "Location: http://" + server.Base() + "/loop\r\nProduct-name: loop.bin\r\n");
    const DialogRun run = run_dialog(url("/loop"));
    EXPECT_EQ(IDCANCEL, run.result);
    EXPECT_EQ(kFailed, run.box);
    EXPECT_EQ(11u, server.Requests().size());   // the first request and ten redirects
}

TEST_F(DownloadDialog, BadAddressesFailWithoutARequest) {
    const DialogRun tooLong = run_dialog(L"http://" + W(server.Base()) + L"/" + std::wstring(600, L'a'));
    EXPECT_EQ(IDCANCEL, tooLong.result);
    EXPECT_EQ(kFailed, tooLong.box);
    // An empty address ends the dialog at once, without a box.
    const DialogRun empty = run_dialog(L"");
    EXPECT_EQ(IDCANCEL, empty.result);
    EXPECT_TRUE(empty.box.empty());
    EXPECT_TRUE(empty.currentClearedAfter);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(DownloadDialog, FailedAndCutDownloadsSaveNothing) {
    HttpRoute cut;
    cut.body.assign(3000, 'c');
    cut.announce = 10000;
    server.Route("/cut.bin", cut);
    HttpRoute missing;
    missing.status = "404 Not Found";
    missing.body = "no";
    server.Route("/missing.bin", missing);
    for (const char* path : {"/cut.bin", "/missing.bin"}) {
        SCOPED_TRACE(path);
        const DialogRun run = run_dialog(url(path));
        EXPECT_EQ(IDCANCEL, run.result);
        EXPECT_EQ(kFailed, run.box);
        EXPECT_TRUE(run.saved.empty());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved_as(W(path + 1)).c_str()));
    }
}

TEST_F(DownloadDialog, ProgressMovesOnASlowBody) {
    route_slow("/slow.bin");
    const DialogRun run = run_dialog(url("/slow.bin"));
    EXPECT_EQ(IDOK, run.result);
    EXPECT_EQ(saved_as(L"slow.bin"), run.saved);
    EXPECT_EQ(400000u, ReadFileBytes(run.saved).size());
    std::set<int> between;
    for (int p : run.positions)
        if (p > 0 && p < 100) between.insert(p);
    EXPECT_GE(between.size(), 3u) << "the bar should pass through several values";
    EXPECT_TRUE(std::is_sorted(run.positions.begin(), run.positions.end()));
    EXPECT_EQ(100, run.positions.back());
}

TEST_F(DownloadDialog, AbortAndEscapeCancelMidDownload) {
    route_slow("/slow.bin");
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abort button");
        const size_t before = server.Requests().size();
        const DialogRun run = run_dialog(url("/slow.bin"), true, [&](HWND dialog, DialogRun& r) {
            gui::WaitFor([&] { return bar_position(dialog) > 0; });
            if (escape) gui::PressKey(dialog, VK_ESCAPE);
            else gui::ClickId(dialog, 7217);
            watch_to_the_end(dialog, r);
        });
        EXPECT_EQ(IDCANCEL, run.result);
        EXPECT_TRUE(run.box.empty());
        EXPECT_TRUE(run.saved.empty());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved_as(L"slow.bin").c_str()));
        EXPECT_LT(server.BodySent(), 400000);
        EXPECT_EQ(before + 1, server.Requests().size());
        EXPECT_FALSE(run.rescued);
    }
}

TEST_F(DownloadDialog, WithoutTheCancelButtonEscapeAndEnterDoNothing) {
    route_slow("/slow.bin");
    const DialogRun run = run_dialog(url("/slow.bin"), false, [](HWND dialog, DialogRun& r) {
        EXPECT_FALSE(IsWindowVisible(gui::ControlById(dialog, 7217)));
        gui::WaitFor([&] { return bar_position(dialog) > 0; });
        gui::PressKey(dialog, VK_ESCAPE);
        gui::PressKey(dialog, VK_RETURN);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        watch_to_the_end(dialog, r);
    });
    EXPECT_EQ(IDOK, run.result);
    EXPECT_EQ(saved_as(L"slow.bin"), run.saved);
    EXPECT_EQ(400000u, ReadFileBytes(run.saved).size());
}

TEST_F(DownloadDialog, ACancelWinsOverAStallAndADrop) {
    // The first 1,000 of 100,000 announced bytes, then nothing: the connection is dropped
    // after a few seconds, or held longer than the client waits for bytes.
    const struct {
        const char* path;
        DWORD pauseMs;
    } kCases[] = {{"/drop.bin", 6000}, {"/stall.bin", 16000}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        HttpRoute r;
        r.body.assign(1000, 'd');
        r.announce = 100000;
        r.pauseMs = c.pauseMs;
        server.Route(c.path, r);
        const DialogRun run = run_dialog(url(c.path), true, [&](HWND dialog, DialogRun& rr) {
            gui::WaitFor([&] { return bar_position(dialog) > 0; });
            gui::ClickId(dialog, 7217);
            watch_to_the_end(dialog, rr);
        });
        EXPECT_EQ(IDCANCEL, run.result);
        EXPECT_TRUE(run.box.empty()) << testing::PrintToString(run.box);
        EXPECT_TRUE(run.saved.empty());
        EXPECT_FALSE(run.rescued);
    }
}

TEST_F(DownloadDialog, EachRunStartsAfresh) {
    const std::string base = "http://" + server.Base();
    route_body("/files/pack.zip", "product bytes");
    route_body("/files/plain.txt", "plain bytes");
    // Leaves an information address, a Location and a product name behind: the information
    // file is missing.
    route_redirect("/r", "Product-url: " + base + "/no-info\r\nLocation: " + base +
                             "/files/pack.zip\r\nProduct-name: Old Name\r\n");
    CWebFileDownloadDlg dlg;
    const DialogRun first = run_dialog_of(dlg, url("/r"));
    EXPECT_EQ(IDCANCEL, first.result);
    EXPECT_EQ(kFailed, first.box);

    const DialogRun second = run_dialog_of(dlg, url("/files/plain.txt"));
    EXPECT_EQ(IDOK, second.result);
    EXPECT_EQ(saved_as(L"plain.txt"), second.saved);
    EXPECT_EQ("plain bytes", ReadFileBytes(second.saved));
    saved_as(L"Old Name");
    saved_as(L"pack.zip");

    const DialogRun third = run_dialog_of(dlg, url("/missing.bin"));
    EXPECT_EQ(IDCANCEL, third.result);
    EXPECT_TRUE(third.saved.empty());
    const std::vector<std::string> expected = {"GET /r", "GET /no-info", "GET /files/plain.txt", "GET /missing.bin"};
    EXPECT_EQ(expected, server.Requests());
}

TEST_F(DownloadDialog, MessageLineNeverKeepsTheFocus) {
    route_slow("/slow.bin");
    const DialogRun run = run_dialog(url("/slow.bin"), true, [](HWND dialog, DialogRun& r) {
        // The dialog's own thread puts the focus on the message line, as a click would.
        HWND edit = gui::ControlById(dialog, 7215);
        send_with_limit(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        EXPECT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info));
        EXPECT_NE(edit, info.hwndFocus);
        EXPECT_TRUE(IsWindow(dialog));
        watch_to_the_end(dialog, r);
    });
    // The download went on to its end: the dialog closed itself with the whole file.
    EXPECT_EQ(IDOK, run.result);
    EXPECT_FALSE(run.forced);
    EXPECT_EQ(saved_as(L"slow.bin"), run.saved);
    EXPECT_EQ(400000u, ReadFileBytes(run.saved).size());
}

TEST_F(DownloadDialog, CancelDuringARedirectIsNotUndoneByTheNextRequest) {
    route_slow("/slow.bin");
    route_redirect("/r", "Location: http://" + server.Base() + "/slow.bin\r\n");
    // Abort as soon as the dialog shows: the redirect's answer is then in, or nearly, and the
    // dialog is in the pause before it follows.
    const DialogRun run = run_dialog(url("/r"), true, [](HWND dialog, DialogRun& r) {
        if (dialog) gui::ClickId(dialog, 7217);
        watch_to_the_end(dialog, r);
    });
    EXPECT_EQ(IDCANCEL, run.result);
    EXPECT_TRUE(run.saved.empty());
    EXPECT_TRUE(run.box.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved_as(L"slow.bin").c_str()));
}

namespace {

// Counts the request results that reach the dialog (a hook on its thread, which sees each one
// before the dialog handles it).
std::atomic<int> g_results{0};
LRESULT CALLBACK count_results(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == CWebFileDownloadDlg::WM_NET_RESULT)
        ++g_results;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(DownloadDialog, CancelWhileTheInformationFileArrivesEndsTheRun) {
    const std::string base = "http://" + server.Base();
    route_redirect("/start", "Product-url: " + base + "/info\r\nLocation: " + base + "/slow.bin\r\n");
    route_body("/info", "Product-name: Pack\r\n");
    route_slow("/slow.bin");
    g_results = 0;
    win32::unique_hook hook(SetWindowsHookExW(WH_CALLWNDPROC, count_results, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    // The information file has arrived whole: its result, the second, is in the dialog's hands
    // (in the pause before it is read) when the user aborts.
    const DialogRun run = run_dialog(url("/start"), true, [](HWND dialog, DialogRun& r) {
        gui::WaitFor([] { return g_results >= 2 || g_modalDone; });
        if (dialog) gui::ClickId(dialog, 7217);
        watch_to_the_end(dialog, r);
    });
    EXPECT_EQ(IDCANCEL, run.result);
    EXPECT_TRUE(run.box.empty()) << testing::PrintToString(run.box);
    EXPECT_TRUE(run.saved.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved_as(L"Pack").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved_as(L"slow.bin").c_str()));
    EXPECT_FALSE(run.rescued);
}

TEST_F(DownloadDialog, RefusedConnectorShowsItsMessage) {
    const char* key = "SOFTWARE\\Microsoft\\Internet Explorer";
    win32::unique_hkey k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr));
    const char version[] = "9.11.9600.18376";
    RegSetValueExA(k.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof(version));
    route_body("/body", "x");
    const DialogRun run = run_dialog(url("/body"));
    RegDeleteValueA(k.get(), "Version");   // the other tests need the gate open
    EXPECT_EQ(IDCANCEL, run.result);
    EXPECT_EQ(0u, run.box.find(L"Downloads need a browser component"));
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(run.currentClearedAfter);
}

// ---- Windows that go with their thread or their parent -----------------------------------

namespace lifetime {

// The owner of the window under test. It counts the notifications that come from windows no
// longer alive, and may destroy itself in a notification of the modal window it owns: when
// its loop goes idle (WM_ENTERIDLE, which a dialog sends its owner), or, for a message box,
// when the box's loop disables it.
class COwner : public CWnd {
public:
    std::atomic<int> fromDead{0};
    bool destroyOnIdle = false;
    bool destroyOnDisable = false;
    BOOL Make() {
        return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, nullptr, GetSysColorBrush(COLOR_BTNFACE)), L"owner",
                        WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 300, 200, nullptr, nullptr);
    }
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == WM_COMMAND && l && !::IsWindow(reinterpret_cast<HWND>(l))) ++fromDead;
        // Wine's message box sends no WM_ENTERIDLE: its owner goes when the box's modal loop
        // disables it instead.
        if (((msg == WM_ENTERIDLE && !destroyOnDisable) || (msg == WM_ENABLE && !w && destroyOnDisable)) && destroyOnIdle) {
            destroyOnIdle = false;
            DestroyWindow();
            // The modal loop waits for the next message before it looks at its window again.
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
            return 0;
        }
        return CWnd::WindowProc(msg, w, l);
    }
};

// A menu button whose parent may go when the open list's highlighted row changes.
class CHoverButton : public CxMenuButton {
public:
    bool destroyParentOnHover = false;

protected:
    LRESULT OnHover(WPARAM, LPARAM) {
        if (destroyParentOnHover) {
            destroyParentOnHover = false;
            ::DestroyWindow(::GetParent(m_hWnd));
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHoverButton, CxMenuButton)
    ON_MESSAGE(WM_XMB_SELCHANGE, OnHover)
END_MESSAGE_MAP()

enum Kind { MenuList, NameDialog, PositionDialog, DownloadDialog, AlteredBox };
enum Ending { ThreadEnds, ParentGoesInANotification };

// Shows a window of kind owned by owner on this thread and returns when it has gone: with
// ThreadEnds, when the thread is told to quit (WM_QUIT); otherwise when the owner destroys
// itself in a notification.
void Show(COwner& owner, Kind kind, Ending ending, const std::wstring& slowUrl) {
    owner.destroyOnIdle = ending == ParentGoesInANotification;
    switch (kind) {
    case MenuList: {
        CHoverButton button;
        if (!button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &owner, 1001)) return;
        for (const wchar_t* s : {L"A", L"B", L"C"}) button.AddString(reinterpret_cast<const unsigned short*>(s));
        button.SetNotifyMessage(WM_APP + 5);
        button.SendMessage(WM_KEYDOWN, VK_F4);
        HWND list = ::GetFocus();
        if (ending == ParentGoesInANotification) {
            button.destroyParentOnHover = true;
            ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
        } else {
            MSG m;
            while (GetMessageW(&m, nullptr, 0, 0) > 0) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
        break;   // the button and its list, if still open, go with the object
    }
    case NameDialog: {
        CNameSelectDlg dlg(&owner);
        dlg.m_nMode = 2;
        dlg.m_lstNames.AddTail(L"one");
        dlg.m_lstFlags.AddTail(L"W");
        dlg.m_nMaxLen = 20;
        dlg.DoModal();
        break;
    }
    case PositionDialog: {
        CPosSelectDlg dlg(&owner);
        dlg.m_lstPositions.AddTail(L"Ringtones");
        dlg.DoModal();
        break;
    }
    case DownloadDialog: {
        CWebFileDownloadDlg dlg(&owner);
        dlg.m_strURL = slowUrl.c_str();
        dlg.DoModal();
        break;
    }
    case AlteredBox: {
        UINT checked = 1;
        SXMSGBOX rec{SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER, 0, reinterpret_cast<const unsigned short*>(L"Do not ask again"),
                     &checked, 0, 0};
        owner.destroyOnDisable = true;
        SxMessageBox(owner.m_hWnd, reinterpret_cast<const unsigned short*>(L"Going?"),
                     reinterpret_cast<const unsigned short*>(L"lifetime"), MB_OKCANCEL, &rec);
        break;
    }
    }
}

BOOL CALLBACK CountVisible(HWND w, LPARAM n) {
    if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(n);
    return TRUE;
}

// One run: false when the window never showed or its thread did not end.
bool RunOnce(Kind kind, Ending ending, const std::wstring& slowUrl, int& fromDead) {
    if (ending == ParentGoesInANotification) {
        COwner owner;
        if (!owner.Make()) return false;
        Show(owner, kind, ending, slowUrl);
        bool gone = !::IsWindow(owner.m_hWnd);
        fromDead += owner.fromDead;
        return gone;
    }
    std::atomic<DWORD> tid{0};
    std::atomic<bool> done{false};
    std::atomic<int> dead{0};
    std::thread ui([&] {
        tid = GetCurrentThreadId();
        {
            COwner owner;
            if (owner.Make()) Show(owner, kind, ending, slowUrl);
            dead = owner.fromDead.load();
        }
        done = true;
    });
    // Quits once the owner and the window it owns are on the screen.
    bool shown = gui::WaitFor([&] {
        int n = 0;
        if (tid) EnumThreadWindows(tid, CountVisible, reinterpret_cast<LPARAM>(&n));
        return n >= 2;
    });
    if (tid) PostThreadMessageW(tid, WM_QUIT, 0, 0);
    bool ended = gui::WaitFor([&] { return done.load(); }, gui::ms(20000));
    ui.join();
    fromDead += dead;
    return shown && ended && counts::WaitForThreadEnd(tid);
}

} // namespace lifetime

// Each kind of window the library makes, left open when its thread ends, or losing its parent
// in the middle of a notification: no crash, no notification from a window that has gone, and
// no GDI object of any type and no window left behind by ten runs after the first.
TEST_F(DownloadDialog, EveryWindowGoesCleanlyWithItsThreadOrItsParent) {
    using namespace lifetime;
    route_slow("/lifetime.bin");
    const std::wstring slow = url("/lifetime.bin");
    struct Row { const char* name; Kind kind; };
    const Row kinds[] = {{"menu list", MenuList}, {"name dialog", NameDialog}, {"position dialog", PositionDialog},
                         {"download dialog", lifetime::DownloadDialog}, {"message box", AlteredBox}};
    const struct { const char* name; Ending ending; } endings[] = {
        {"its thread ends with it open", ThreadEnds}, {"its parent goes in a notification", ParentGoesInANotification}};
    for (const Row& k : kinds) {
        for (const auto& e : endings) {
            SCOPED_TRACE(std::string(k.name) + ", " + e.name);
            int fromDead = 0;
            EXPECT_TRUE(counts::NoGrowthOver(10, [&] { return RunOnce(k.kind, e.ending, slow, fromDead); }));
            EXPECT_EQ(0, fromDead);
        }
    }
}
