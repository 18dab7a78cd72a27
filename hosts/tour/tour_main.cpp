// corelink_tour.exe: runs every step of the tour and says what the library did.
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <host_driver.h>
#include "tour.h"

namespace {
const TourStep kSteps[] = {
    {"Start-up and shared state in the suite's three processes", StartupTour},
    {"Handset capabilities: assigned by the engine, read by another process", CapabilityTour},
    {"Media catalogue: a small catalogue in SQLite, listed and searched", CatalogueTour},
    {"XML: a response document read from a file, searched and written back", XmlTour},
    {"Network connector: a download from a local HTTP server, with progress", NetTour},
    {"Language resources: the language from the registry and the locale, its file loaded", LanguageTour},
    {"Name dialog: a name too long for the handset, cut when the user agrees", NameDialogTour},
    {"Message box and notify popup: a count-down with a check box, one popup per process", MessageTour},
};
}

void TourPrint(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    fflush(stdout);
}

void TourPrintLines(const std::string& report) {
    for (size_t start = 0; start <= report.size();) {
        size_t bar = report.find('|', start);
        if (bar == std::string::npos) bar = report.size();
        TourPrint("   %s\n", report.substr(start, bar - start).c_str());
        start = bar + 1;
    }
}

bool TourHostReport(const std::wstring& bin, const wchar_t* exe, const std::string& command, const char* intro) {
    HostProcess host;
    if (!host.Start(bin + L"\\" + exe)) return false;
    std::string report = host.Value(command);
    host.Quit();
    if (report.empty() || report[0] == '!') return false;
    TourPrint("%s\n", intro);
    TourPrintLines(report);
    return true;
}

std::string TourTempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return ToUtf8(std::wstring(temp) + name);
}

int wmain() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring bin(exe);
    bin = bin.substr(0, bin.find_last_of(L'\\'));

    int failed = 0;
    for (const TourStep& step : kSteps) {
        TourPrint("== %s\n", step.title);
        if (!step.run(bin)) {
            TourPrint("   (this step did not complete)\n");
            ++failed;
        }
        TourPrint("\n");
    }
    TourPrint("Tour finished: %d of %d steps completed.\n", static_cast<int>(sizeof(kSteps) / sizeof(kSteps[0])) - failed,
              static_cast<int>(sizeof(kSteps) / sizeof(kSteps[0])));
    return failed ? 1 : 0;
}
