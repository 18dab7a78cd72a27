// Test host: built as viewproc.exe, linkproc.exe and dockproc.exe. It loads the library
// like the suite's processes do and answers one line per command on standard output, so
// that tests and the tour can drive several real processes.
//
//   get NAME | set NAME VALUE       a global (see kGlobals); texts as UTF-8
//   exist | model TEXT | cache | setcache 0|1 | comm | webinstall TEXT | webinstall-null
//   logs | pid | quit
//   cap-assign VIDEOS (assign the sample handset) | cap-summary | cap-report
//   db-init PATH | db-photo KEY|GROUP|KEYWORDS|VALUE | db-thumb KEY|BYTES | db-flush |
//   db-count-photos [GROUP] | db-albums | db-search TEXT | db-cleanup   (the process's AppDB)
//   db-read KIND KEY (one read of kind exists, item, thumb, has-thumb, list, page, count,
//   albums, search or config, and nothing after it) | db-list (every photo: "ok N" or
//   "fail", with "kept" when the array still holds what it held before) |
//   db-list-loop MS (whole photo listings for MS milliseconds: "ok N1,N2,... failed F") |
//   db-list-timed MS (the same, timed: "ok LISTINGS failed F p50 MS p99 MS max MS") |
//   db-commit ("ok 1" or "ok 0 ERROR", AppDB::Commit and GetLastError) |
//   db-write-batch FIRST|COUNT|BYTES (photos "bNNNNNN" FIRST.. with a thumbnail of BYTES, then
//   Commit: "ok STORED COMMIT ERROR", STORED the items whose two calls returned true) |
//   db-write-loop FIRST|COUNT|BYTES (such batches without end, a line "committed LAST STORED"
//   after each Commit that returned true and "lost LAST ERROR" after each that did not, LAST
//   the number of the batch's last photo; for killing) |
//   db-recover PATH (AppDB::RecoverFile: "ok STATE ROWS")
//   catalogue-sample PATH (build the tour's sample catalogue and report on it)
//   net-probe HOST (a connector's connectivity probe of HOST)
//   net-download SERVER|PATH|FILE (a download through a connector, with progress)
//   net-download-dialog URL (a download with the download dialog, unattended)
//   net-watch-start HOST | net-watch-count | net-watch-stop (status reports of idle probes)
//   xml-sample PATH (write, load and report on the tour's sample response document)
// It says "ready" once the library has loaded.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include <Corelink.h>
#include <CxLogMsg.h>
#include <host_driver.h>
#include <host_lines.h>
#include <sample_catalogue.h>
#include <sample_download.h>
#include <sample_handset.h>
#include <sample_xml.h>

namespace {

enum class Kind { Int, Bool, Dword, Text };

struct Global {
    const char* name;
    Kind kind;
    void* address;
    size_t units;   // capacity of a text
};

#define INT_GLOBAL(g) {#g, Kind::Int, &g, 0}
#define BOOL_GLOBAL(g) {#g, Kind::Bool, &g, 0}
#define TEXT_GLOBAL(g) {#g, Kind::Text, g, sizeof(g) / sizeof(g[0])}

const Global kGlobals[] = {
    INT_GLOBAL(g_nBattery), INT_GLOBAL(g_niDENSIMCap), INT_GLOBAL(g_bME_PROTECT),
    INT_GLOBAL(g_nEngineStatus), INT_GLOBAL(g_nRSSI), INT_GLOBAL(g_bPanelRunning),
    INT_GLOBAL(g_bProcessRefresh), INT_GLOBAL(g_UIFontHeightMinus), INT_GLOBAL(g_nCountryCode),
    BOOL_GLOBAL(g_bRestartPhone), BOOL_GLOBAL(g_bLaunchUIFunction), BOOL_GLOBAL(g_bEnableWebInstall),
    BOOL_GLOBAL(g_bAuthFail), BOOL_GLOBAL(g_bInitialFlag),
    {"g_cap.dwHead", Kind::Dword, &g_cap.dwHead, 0},
    {"g_cap.adwModuleValue[6]", Kind::Dword, &g_cap.adwModuleValue[6], 0},
    TEXT_GLOBAL(g_szWebInstallCmdLine), TEXT_GLOBAL(g_szTP_Model), TEXT_GLOBAL(g_szInterface),
    TEXT_GLOBAL(g_szExecProgPath), TEXT_GLOBAL(g_szAppDataPath), TEXT_GLOBAL(g_szProductName),
    TEXT_GLOBAL(g_szProductNameHW), TEXT_GLOBAL(g_szQueueName),
    {"g_cap.szText1", Kind::Text, g_cap.szText1, 64},
};

const Global* find_global(const std::string& name) {
    for (const Global& g : kGlobals)
        if (name == g.name) return &g;
    return nullptr;
}

std::string text_of(const unsigned short* text) {
    return ToUtf8(reinterpret_cast<const wchar_t*>(text));
}

std::string get(const Global& g) {
    switch (g.kind) {
    case Kind::Int: return std::to_string(*static_cast<int*>(g.address));
    case Kind::Bool: return std::to_string(*static_cast<bool*>(g.address) ? 1 : 0);
    case Kind::Dword: return std::to_string(*static_cast<unsigned long*>(g.address));
    case Kind::Text: return text_of(static_cast<unsigned short*>(g.address));
    }
    return std::string();
}

bool set(const Global& g, const std::string& value) {
    switch (g.kind) {
    case Kind::Int: *static_cast<int*>(g.address) = atoi(value.c_str()); return true;
    case Kind::Bool: *static_cast<bool*>(g.address) = atoi(value.c_str()) != 0; return true;
    case Kind::Dword: *static_cast<unsigned long*>(g.address) = strtoul(value.c_str(), nullptr, 0); return true;
    case Kind::Text: {
        std::wstring w = FromUtf8(value);
        if (w.size() >= g.units) return false;
        auto* dst = static_cast<unsigned short*>(g.address);
        for (size_t i = 0; i < w.size(); ++i) dst[i] = w[i];
        dst[w.size()] = 0;
        return true;
    }
    }
    return false;
}

// The fields of "a|b|c" (missing ones empty).
std::vector<CString> fields(const std::string& arg, size_t n) {
    std::vector<CString> out;
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
        size_t bar = arg.find('|', start);
        std::string piece = start <= arg.size() ? arg.substr(start, bar == std::string::npos ? std::string::npos : bar - start) : "";
        out.push_back(CString(FromUtf8(piece).c_str()));
        start = bar == std::string::npos ? arg.size() + 1 : bar + 1;
    }
    return out;
}

std::string utf8(const CString& s) { return ToUtf8(s.GetString()); }

// One read of the photo stored under key; "ok 1" when it found something.
std::string read_once(AppDB& db, const std::string& kind, const CString& key) {
    auto flag = [](bool b) { return std::string(b ? "ok 1" : "ok 0"); };
    AppDB::PhotoItem item;
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    CArray<AppDB::NameValue, AppDB::NameValue> groups;
    char buffer[64];
    unsigned int size = sizeof(buffer);
    if (kind == "exists") return flag(db.GetDB()->Exists(utf8(key).c_str(), AppDB::CAT_PHOTO));
    if (kind == "item") return flag(db.GetPhotoItem(key, item));
    if (kind == "thumb") return flag(db.GetPhotoThumb(key, buffer, &size) && size > 0);
    if (kind == "has-thumb") return flag(db.HasPhotoThumb(key));
    if (kind == "list") return flag(db.GetAllPhotoItems(items, CString(), 0, 0) && !items.IsEmpty());
    if (kind == "page") return flag(db.GetAllPhotoItems(items, CString(), 1, 1) && !items.IsEmpty());
    if (kind == "count") return flag(db.CountPhotoItems(CString()) > 0);
    if (kind == "albums") return flag(db.GetPhotoAlbumList(groups) && !groups.IsEmpty());
    if (kind == "search") return flag(db.SearchPhotoItems(key, CString(), items) && !items.IsEmpty());
    if (kind == "config") return flag(!db.GetConfigItem(L"VERSION").IsEmpty());
    return "error unknown read " + kind;
}

std::string run_catalogue(const std::string& verb, const std::string& arg) {
    AppDB& db = *GetAppDB();
    auto flag = [](bool b) { return std::string(b ? "ok 1" : "ok 0"); };
    if (verb == "db-init") return flag(db.Init(CString(FromUtf8(arg).c_str())));
    if (verb == "db-cleanup") return flag(db.Cleanup());
    if (verb == "db-flush") { db.Flush(); return "ok"; }
    if (verb == "db-photo") {
        std::vector<CString> f = fields(arg, 4);
        AppDB::PhotoItem item{f[0], f[1], f[3], 0, 0};
        return flag(db.SetPhotoItem(item, f[2]));
    }
    if (verb == "db-thumb") {
        std::vector<CString> f = fields(arg, 2);
        std::string bytes = utf8(f[1]);
        return flag(db.SetPhotoThumb(f[0], bytes.data(), static_cast<unsigned int>(bytes.size())));
    }
    if (verb == "db-recover") {
        AppDB::RecoveryReport report = {};
        const int state = AppDB::RecoverFile(CString(FromUtf8(arg).c_str()), report);
        return "ok " + std::to_string(state) + " " + std::to_string(report.nRecovered);
    }
    if (verb == "db-has-photo") {   // KEY: the item's album, or "-" when there is none
        AppDB::PhotoItem item;
        return db.GetPhotoItem(CString(FromUtf8(arg).c_str()), item) ? "ok " + utf8(item.strGroup) : "ok -";
    }
    if (verb == "db-count-photos") return "ok " + std::to_string(db.CountPhotoItems(CString(FromUtf8(arg).c_str())));
    if (verb == "db-albums") {
        CArray<AppDB::NameValue, AppDB::NameValue> list;
        if (!db.GetPhotoAlbumList(list)) return "fail";
        std::string out = "ok";
        for (INT_PTR i = 0; i < list.GetSize(); ++i) out += " " + utf8(list[i].strName) + "=" + utf8(list[i].strValue);
        return out;
    }
    if (verb == "db-read") return read_once(db, arg.substr(0, arg.find(' ')), FromUtf8(arg.substr(arg.find(' ') + 1)).c_str());
    if (verb == "db-list") {
        CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
        items.Add(AppDB::PhotoItem{L"before", L"", L"", 0, 0});
        if (db.GetAllPhotoItems(items, CString(), 0, 0)) return "ok " + std::to_string(items.GetSize());
        return items.GetSize() == 1 && items[0].strKey == L"before" ? "fail kept" : "fail";
    }
    if (verb == "db-list-loop") {
        const DWORD end = GetTickCount() + static_cast<DWORD>(atoi(arg.c_str()));
        std::string counts;
        int failed = 0;
        do {
            CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
            if (db.GetAllPhotoItems(items, CString(), 0, 0)) counts += (counts.empty() ? "" : ",") + std::to_string(items.GetSize());
            else ++failed;
        } while (static_cast<int>(end - GetTickCount()) > 0);
        return "ok " + counts + " failed " + std::to_string(failed);
    }
    if (verb == "db-list-timed") {
        LARGE_INTEGER freq, start, stop;
        QueryPerformanceFrequency(&freq);
        const DWORD end = GetTickCount() + static_cast<DWORD>(atoi(arg.c_str()));
        std::vector<double> ms;
        int failed = 0;
        do {
            CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
            QueryPerformanceCounter(&start);
            const bool ok = db.GetAllPhotoItems(items, CString(), 0, 0);
            QueryPerformanceCounter(&stop);
            if (ok) ms.push_back(1000.0 * (stop.QuadPart - start.QuadPart) / freq.QuadPart);
            else ++failed;
        } while (static_cast<int>(end - GetTickCount()) > 0);
        std::sort(ms.begin(), ms.end());
        auto at = [&](double q) { return ms.empty() ? 0.0 : ms[static_cast<size_t>(q * (ms.size() - 1) + 0.5)]; };
        char out[160];
        snprintf(out, sizeof(out), "ok %u failed %d p50 %.1f p99 %.1f max %.1f", static_cast<unsigned>(ms.size()), failed,
                 at(0.5), at(0.99), at(1.0));
        return out;
    }
    if (verb == "db-commit") return db.Commit() ? "ok 1" : "ok 0 " + std::to_string(GetLastError());
    if (verb == "db-write-batch" || verb == "db-write-loop") {
        std::vector<CString> f = fields(arg, 3);
        int first = _wtoi(f[0]);
        const int count = _wtoi(f[1]);
        const std::string thumb(static_cast<size_t>(_wtoi(f[2])), 't');
        for (;;) {
            int stored = 0;
            for (int i = first; i < first + count; ++i) {
                CString key;
                key.Format(L"b%06d", i);
                stored += db.SetPhotoItem({key, L"B", L"640x480", 0, 0}, L"batch") &&
                          db.SetPhotoThumb(key, thumb.data(), static_cast<unsigned int>(thumb.size()));
            }
            const bool committed = db.Commit();
            const DWORD error = committed ? 0 : GetLastError();
            if (verb == "db-write-batch")
                return "ok " + std::to_string(stored) + " " + (committed ? "1" : "0") + " " + std::to_string(error);
            if (committed) printf("committed %d %d\n", first + count - 1, stored);
            else printf("lost %d %lu\n", first + count - 1, error);
            fflush(stdout);
            first += count;
        }
    }
    if (verb == "db-search") {
        CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
        if (!db.SearchPhotoItems(CString(FromUtf8(arg).c_str()), CString(), items)) return "fail";
        std::string out = "ok";
        for (INT_PTR i = 0; i < items.GetSize(); ++i) out += " " + utf8(items[i].strKey);
        return out;
    }
    return "error unknown command " + verb;
}

// net-watch-*: a connector whose status reports are counted by a window of this thread.
struct NetWatch {
    std::unique_ptr<CNetConnector> net;
    HWND window = nullptr;
};
NetWatch g_watch;
int g_statusReports = 0;
const UINT kStatusMsg = WM_APP + 5;

LRESULT CALLBACK watch_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kStatusMsg) {
        ++g_statusReports;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

std::string run_watch(const std::string& verb, const std::string& arg) {
    if (verb == "net-watch-start") {
        g_watch.window = CreateMessageWindow(L"CorelinkHostStatus", watch_proc);
        g_watch.net.reset(new CNetConnector);
        g_watch.net->SetDefTryConnectionServerURL(FromUtf8(arg).c_str());
        if (!g_watch.net->Initial()) return "fail";
        g_watch.net->SetReportConnectionStatus(g_watch.window, kStatusMsg);
        return "ok " + std::to_string(g_watch.net->IsNetConnect(true));
    }
    if (verb == "net-watch-count") {   // handles the reports posted meanwhile
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return "ok " + std::to_string(g_statusReports);
    }
    g_watch.net.reset();
    return "ok";
}

std::string log_path(CxLogMsg* log) {
    return log ? ToUtf8(log->GetPath()) : std::string("-");
}

const unsigned short* us(const std::wstring& w) { return reinterpret_cast<const unsigned short*>(w.c_str()); }

std::string run(const std::string& verb, const std::string& arg) {
    if (verb == "get" || verb == "set") {
        std::string name = arg.substr(0, arg.find(' '));
        const Global* g = find_global(name);
        if (!g) return "error unknown global " + name;
        if (verb == "get") return "ok " + get(*g);
        std::string value = arg.size() > name.size() ? arg.substr(name.size() + 1) : std::string();
        return set(*g, value) ? "ok" : "error value does not fit";
    }
    if (verb == "exist") return "ok " + std::to_string(CheckSystemExistFlag());
    if (verb == "model") return "ok " + std::to_string(Check_TP_ModelName(us(FromUtf8(arg))) ? 1 : 0);
    if (verb == "cache") return "ok " + std::to_string(IsCacheModify());
    if (verb == "setcache") { SetCacheModify(arg == "1"); return "ok"; }
    if (verb == "comm") {
        COMMUNICATION_INFO_DATA data;
        return GetCommunicationData(&data) ? "ok " + std::to_string(data.dwHead) : "fail";
    }
    if (verb == "webinstall") return "ok " + std::to_string(SetWebInstallData(us(FromUtf8(arg))) ? 1 : 0);
    if (verb == "webinstall-null") return "ok " + std::to_string(SetWebInstallData(nullptr) ? 1 : 0);
    if (verb == "logs")
        return "ok ui=" + log_path(g_pDbgUI) + " eng=" + log_path(g_pDbgEng) + " panel=" + log_path(g_pDbgPanel);
    if (verb == "cap-assign") {
        // The engine's lists live in this process; the conversion copies them into the
        // shared tables, after which they are no longer needed.
        SampleHandset handset;
        BuildSampleHandset(handset, atoi(arg.c_str()));
        g_cap = handset.raw;
        g_cap.SetAgentInfo(handset.agent);
        return "ok";
    }
    if (verb == "cap-summary") return "ok " + CapabilitySummary();
    if (verb == "cap-report") return "ok " + CapabilityReport();
    if (verb == "xml-sample") return "ok " + SampleXmlReport(FromUtf8(arg));
    if (verb == "catalogue-sample") return "ok " + SampleCatalogueReport(FromUtf8(arg));
    if (verb.compare(0, 3, "db-") == 0) return run_catalogue(verb, arg);
    if (verb == "net-download") {   // SERVER PATH FILE
        std::vector<CString> f = fields(arg, 3);
        return "ok " + SampleDownloadReport(utf8(f[0]), utf8(f[1]), f[2].GetString());
    }
    if (verb == "net-download-dialog") return "ok " + SampleDownloadDialogReport(FromUtf8(arg));
    if (verb.compare(0, 10, "net-watch-") == 0) return run_watch(verb, arg);
    if (verb == "net-probe") {   // a connector probing the host named by arg
        CNetConnector net;
        net.SetDefTryConnectionServerURL(FromUtf8(arg).c_str());
        if (!net.Initial()) return "fail";
        return "ok " + std::to_string(net.IsNetConnect(true));
    }
    if (verb == "pid") return "ok " + std::to_string(GetCurrentProcessId());
    return "error unknown command " + verb;
}

} // namespace

int wmain() {
    // The library was loaded (and started up) before wmain: tell the driver.
    return HostServe(run);
}
