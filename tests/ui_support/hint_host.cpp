// hint_host.exe: a user-interface host for the remind and hinted messages, so that tests can
// run them in a process of another folder (with or without Hintbook.dll beside it) and
// answer its boxes from outside. One command line in, one reply line out:
//
//   remind TYPE TIME INDEX         GetRemindMessage: "ok TEXT"
//   show-remind TYPE TIME INDEX    ShowRemindMessage(..., MB_OKCANCEL): "ok RESULT"
//   hint MODULE NCHECK             ShowMessageWithHint with no message, MB_OK: "ok RESULT CHECKED"
//   module-hint INDEX VALUE        sets g_cap.adwModuleValue[INDEX]: "ok VALUE"
//   quit
// It carries the built-in English resources and says "ready" once loaded.
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <Corelink.h>
#include <afxwin.h>
#include <host_driver.h>
#include <host_lines.h>

namespace {

CWinApp theApp(L"Hint Host");

std::string run(const std::string& verb, const std::string& arg) {
    int a = 0, b = 0, c = 0;
    sscanf(arg.c_str(), "%d %d %d", &a, &b, &c);
    if (verb == "remind")
        return "ok " + ToUtf8(GetRemindMessage(ACTION_TYPE(a), ACTION_TIME(b), c).GetString());
    if (verb == "show-remind")
        return "ok " + std::to_string(ShowRemindMessage(ACTION_TYPE(a), ACTION_TIME(b), c, MB_OKCANCEL));
    if (verb == "hint") {
        int checked = -7;
        int result = ShowMessageWithHint(reinterpret_cast<const unsigned short*>(L""), MB_OK, EPhMgrModule(a), b, &checked);
        return "ok " + std::to_string(result) + " " + std::to_string(checked);
    }
    if (verb == "module-hint" && a >= 0 && a < 7) {
        g_cap.adwModuleValue[a] = static_cast<unsigned long>(b);
        return "ok " + std::to_string(b);
    }
    return "error unknown command " + verb;
}

} // namespace

int wmain() { return HostServe(run); }
