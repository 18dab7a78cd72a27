// Hand-over of a web-install command line between the suite's processes.
#include <windows.h>
#include "SharedServices.h"
#include "wide_text.h"
#include "shared_mutex.h"

bool SetWebInstallData(const unsigned short* cmdLine) {
    win32::unique_handle mutex = OpenSharedMutex(L"@@_WebInstallMutex_@@").handle;
    if (!mutex) return false;
    WaitForSingleObject(mutex.get(), INFINITE);   // an abandoned mutex is ours as well
    win32::held_mutex held(mutex.release());

    if (!cmdLine) {
        g_bEnableWebInstall = false;
        g_szWebInstallCmdLine[0] = 0;
        return true;
    }
    if (g_szWebInstallCmdLine[0] != 0) return false;   // another line is pending
    // A line that does not fit is refused whole: never stored cut short.
    return copy_text(g_szWebInstallCmdLine, wide(cmdLine));
}
