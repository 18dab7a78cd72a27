// Opening and closing the per-process diagnostic logs.
#include <windows.h>
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

bool is_executable(const wchar_t* name) {
    CxString exe;
    return GetCurrentExecFileName(exe) && exe.CompareNoCase(name) == 0;
}

} // namespace

void OpenProcessLogs() {
    for (const ProcessLog& log : kLogs) {
        if (*log.pointer || !LogFolderExists(log.folder) || !is_executable(log.executable)) continue;
        SYSTEMTIME now;
        GetLocalTime(&now);
        CString path = LogFileName(log.folder, now);
        *log.pointer = new CxLogMsg(1, reinterpret_cast<const unsigned short*>(path.GetString()),
                                    1, 0x1C, -1, 0x0FFFFFFF);
        if (log.versionReport) WriteVersionReport(**log.pointer);
    }
}

void CloseProcessLogs() {
    for (const ProcessLog& log : kLogs) {
        delete *log.pointer;
        *log.pointer = nullptr;
    }
}
