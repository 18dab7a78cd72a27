// Tour step: a response document read from a file, searched and written back out.
#include <windows.h>
#include <string>
#include <host_driver.h>
#include "tour.h"

bool XmlTour(const std::wstring& bin) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    HostProcess ui;
    if (!ui.Start(bin + L"\\viewproc.exe")) return false;
    std::string report = ui.Value("xml-sample " + ToUtf8(std::wstring(temp) + L"corelink-tour-response.xml"));
    ui.Quit();
    if (report.empty() || report[0] == '!') return false;
    TourPrint("viewproc.exe read a response with CXMLDoc::LoadFile:\n");
    TourPrintLines(report);
    return true;
}
