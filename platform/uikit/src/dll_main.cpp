// UiKitU's entry point: the notify popups end with their thread and with the module.
#include <windows.h>
#include "splash_lifetime.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_THREAD_DETACH) end_thread_splashes();
    if (reason == DLL_PROCESS_DETACH) {
        if (reserved) leave_splashes();   // the process ends
        else end_all_splashes();          // unloaded
    }
    return TRUE;
}
