// Tour step: the engine assigns a handset's capabilities; another process reads them.
#include <string>
#include <host_driver.h>
#include "tour.h"

bool CapabilityTour(const std::wstring& bin) {
    HostProcess engine, ui;
    if (!engine.Start(bin + L"\\linkproc.exe")) return false;
    if (engine.Call("cap-assign 4") != "ok") return false;
    TourPrint("linkproc.exe (engine) built a sample handset's raw capability record in its own memory\n"
              "and assigned it to g_cap: the lists were copied into the library's shared tables.\n");
    if (!ui.Start(bin + L"\\viewproc.exe")) return false;
    TourPrint("viewproc.exe, started afterwards, reads through the accessors:\n");
    TourPrintLines(ui.Value("cap-report"));
    ui.Quit();
    engine.Quit();
    return true;
}
