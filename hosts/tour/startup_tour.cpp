// Tour step: the library loading into the panel, the engine and the user interface.
#include <windows.h>
#include <stdio.h>
#include <string>
#include <host_driver.h>
#include "tour.h"

namespace {

std::string value(HostProcess& host, const std::string& command) { return host.Value(command); }

void print_file(const std::string& path) {
    FILE* f = _wfopen(FromUtf8(path).c_str(), L"rb");
    if (!f) { TourPrint("   (cannot read %s)\n", path.c_str()); return; }
    char line[512];
    while (fgets(line, sizeof(line), f)) TourPrint("   | %s", line);
    fclose(f);
}

} // namespace

bool StartupTour(const std::wstring& bin) {
    for (const wchar_t* folder : {L"c:\\qb_ui", L"c:\\qb_eng", L"c:\\qb_panel"}) CreateDirectoryW(folder, nullptr);
    TourPrint("Log folders c:\\qb_ui, c:\\qb_eng and c:\\qb_panel exist, so each process keeps a log.\n");

    HostProcess panel, engine, ui;
    if (!panel.Start(bin + L"\\dockproc.exe")) return false;
    TourPrint("dockproc.exe (panel, pid %lu) loaded the library:\n", panel.Pid());
    TourPrint("   product name %s, hardware name %s, queue name %s\n", value(panel, "get g_szProductName").c_str(),
              value(panel, "get g_szProductNameHW").c_str(), value(panel, "get g_szQueueName").c_str());
    TourPrint("   program folder %s\n", value(panel, "get g_szExecProgPath").c_str());
    TourPrint("   application data folder %s\n", value(panel, "get g_szAppDataPath").c_str());
    TourPrint("   suite running (CheckSystemExistFlag): %s -- the panel is the first process here\n",
              value(panel, "exist").c_str());
    TourPrint("   shared initial values: g_bRestartPhone=%s g_niDENSIMCap=%s g_nEngineStatus=%s\n",
              value(panel, "get g_bRestartPhone").c_str(), value(panel, "get g_niDENSIMCap").c_str(),
              value(panel, "get g_nEngineStatus").c_str());
    std::string panelLogs = value(panel, "logs");
    TourPrint("   logs: %s\n", panelLogs.c_str());

    if (!engine.Start(bin + L"\\linkproc.exe")) return false;
    TourPrint("linkproc.exe (engine, pid %lu) loaded the library:\n", engine.Pid());
    TourPrint("   suite running: %s (the panel owns the existence mutex)\n", value(engine, "exist").c_str());
    engine.Call("set g_nBattery 50");
    engine.Call("set g_szTP_Model SHARP_GX25");
    engine.Call("setcache 1");
    TourPrint("   wrote g_nBattery=50 and g_szTP_Model=SHARP_GX25 into the shared block, marked the cache modified\n");
    TourPrint("   logs: %s\n", value(engine, "logs").c_str());

    if (!ui.Start(bin + L"\\viewproc.exe")) return false;
    TourPrint("viewproc.exe (user interface, pid %lu) loaded the library:\n", ui.Pid());
    TourPrint("   sees g_nBattery=%s, Check_TP_ModelName(SHARP_GX25)=%s, (sharp_gx25)=%s, IsCacheModify=%s\n",
              value(ui, "get g_nBattery").c_str(), value(ui, "model SHARP_GX25").c_str(),
              value(ui, "model sharp_gx25").c_str(), value(ui, "cache").c_str());
    TourPrint("   communication block header: %s (the panel's process id)\n", value(ui, "comm").c_str());
    std::string first = value(ui, "webinstall setup.exe /web");
    std::string second = value(engine, "webinstall other.exe");
    std::string pending = value(panel, "get g_szWebInstallCmdLine");
    std::string cleared = value(panel, "webinstall-null");
    TourPrint("   web-install hand-over: first line accepted=%s, second line while pending accepted=%s,\n"
              "   pending line seen by the panel \"%s\", cleared by the panel=%s\n",
              first.c_str(), second.c_str(), pending.c_str(), cleared.c_str());
    TourPrint("   logs: %s\n", value(ui, "logs").c_str());

    size_t at = panelLogs.find("panel=");
    if (at != std::string::npos && panelLogs.compare(at + 6, 1, "-") != 0) {
        TourPrint("The panel's log, with its version report:\n");
        print_file(panelLogs.substr(at + 6));
    }

    ui.Quit();
    engine.Quit();
    panel.Quit();
    TourPrint("All three processes ended.\n");
    return true;
}
