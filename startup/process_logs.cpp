// Opening and closing the per-process diagnostic logs.
#include <windows.h>
#include <memory>
#include <BaseKit.h>
#include "SharedState.h"
#include "log_file_name.h"
#include "process_logs.h"

namespace {

struct ProcessLog {
    CxLogMsg** pointer;
    const wchar_t* folder;
    const wchar_t* executable;
    bool versionReport;
};

const ProcessLog kLogs[] = {
    {&g_pDbgUI, L"c:\\qb_ui", L"viewproc.exe", false},
    {&g_pDbgEng, L"c:\\qb_eng", L"linkproc.exe", false},
    {&g_pDbgPanel, L"c:\\qb_panel", L"dockproc.exe", true},
};

// The logs this process owns; the exported pointers above borrow them.
std::unique_ptr<CxLogMsg> g_openLogs[sizeof(kLogs) / sizeof(kLogs[0])];

bool is_executable(const wchar_t* name) {
    CxString exe;
    return GetCurrentExecFileName(exe) && exe.CompareNoCase(name) == 0;
}

} // namespace

void OpenProcessLogs() {
    for (size_t i = 0; i < sizeof(kLogs) / sizeof(kLogs[0]); ++i) {
        const ProcessLog& log = kLogs[i];
        if (*log.pointer || !LogFolderExists(log.folder) || !is_executable(log.executable)) continue;
        SYSTEMTIME now;
        GetLocalTime(&now);
        CString path = LogFileName(log.folder, now);
        g_openLogs[i] = std::make_unique<CxLogMsg>(1, reinterpret_cast<const unsigned short*>(path.GetString()),
                                                   1, 0x1C, -1, 0x0FFFFFFF);
        *log.pointer = g_openLogs[i].get();
        if (log.versionReport) WriteVersionReport(*g_openLogs[i]);
    }
}

void CloseProcessLogs() {
    for (size_t i = 0; i < sizeof(kLogs) / sizeof(kLogs[0]); ++i) {
        *kLogs[i].pointer = nullptr;
        g_openLogs[i].reset();
    }
}
