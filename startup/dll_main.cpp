// The library's entry point: MFC extension registration and per-process start-up.
#include <afxwin.h>
#include "process_attach.h"

namespace {
AFX_EXTENSION_MODULE g_extensionModule = {};
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (!AfxInitExtensionModule(g_extensionModule, hInstance)) return FALSE;
        // Owned by the MFC chain; AfxTermExtensionModule deletes it.
        new CDynLinkLibrary(g_extensionModule);
        OnProcessAttach();
        break;
    case DLL_PROCESS_DETACH:
        AfxTermExtensionModule(g_extensionModule, FALSE);
        OnProcessDetach();
        break;
    default:
        break;
    }
    return TRUE;
}
