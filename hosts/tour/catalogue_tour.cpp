// Tour step: a small catalogue stored, listed and searched by the user interface process.
#include <windows.h>
#include <string>
#include <host_driver.h>
#include "tour.h"

bool CatalogueTour(const std::wstring& bin) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    HostProcess ui;
    if (!ui.Start(bin + L"\\viewproc.exe")) return false;
    std::string report = ui.Value("catalogue-sample " + ToUtf8(std::wstring(temp) + L"corelink-tour.db"));
    ui.Quit();
    if (report.empty() || report[0] == '!') return false;
    TourPrint("viewproc.exe built a catalogue through GetAppDB():\n");
    TourPrintLines(report);
    return true;
}
