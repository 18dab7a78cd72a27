// Tour step: the altered message box counting down with its check box, and the notify popup,
// shown by a user-interface host.
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <host_driver.h>
#include "tour.h"

namespace {

// The value of key in a "key=value|key=value" report, or "".
std::string field(const std::string& report, const std::string& key) {
    size_t at = ("|" + report).find("|" + key + "=");
    if (at == std::string::npos) return std::string();
    at += key.size() + 1;
    size_t end = report.find('|', at);
    return report.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

const char* button_name(const std::string& id) {
    if (id == "1") return "IDOK";
    if (id == "2") return "IDCANCEL";
    return "?";
}

} // namespace

bool MessageTour(const std::wstring& bin) {
    HostProcess host;
    if (!host.Start(bin + L"\\messagehost.exe")) return false;

    std::string box = host.Value("countdown 3", 20000);
    TourPrint("A user-interface host shows a message box that counts down in its text (\"(T)\").\n");
    if (box.empty() || box[0] == '!') return false;
    TourPrint("SxMessageBox(MB_OKCANCEL, check box opened checked, uTimeout 3):\n");
    TourPrint("   the text counted down, one second apart:\n");
    const std::string texts = field(box, "texts");
    for (size_t start = 0; start < texts.size();) {
        size_t end = texts.find(';', start);
        if (end == std::string::npos) end = texts.size();
        TourPrint("      \"%s\"\n", texts.substr(start, end - start).c_str());
        start = end + 1;
    }
    TourPrint("   the user unchecked the check box and pressed nothing\n");
    const unsigned long flags = strtoul(field(box, "flags").c_str(), nullptr, 10);
    TourPrint("   returned %s (%s, the default button) after %s ms by itself\n", field(box, "returned").c_str(),
              button_name(field(box, "returned")), field(box, "after").c_str());
    TourPrint("   *puValue = %s (the check box's last state); uFlags written back = 0x%02lX (check box 0x08, count-down 0x02)\n",
              field(box, "value").c_str(), flags);

    std::string notify = host.Value("notify", 20000);
    host.Quit();
    if (notify.empty() || notify[0] == '!') return false;
    TourPrint("ShowNotifyMessage twice (one popup per process; the second closes by itself after 1500 ms):\n");
    TourPrint("   first popup: %s\n", field(notify, "first").c_str());
    TourPrint("   second popup: %s\n", field(notify, "second").c_str());
    TourPrint("   second popup closed %s\n", field(notify, "closed").c_str());
    return true;
}
