// Per-process start-up: names, folders, existence mutex and logs.
#include <windows.h>
#include <shlobj.h>
#include <BaseKit.h>
#include "SharedState.h"
#include "catalogue_unload.h"
#include "existence_mutex.h"
#include "process_attach.h"
#include "process_logs.h"
#include "wide_text.h"

namespace {

// "%APPDATA%\Veranox\Quillbox", created when missing. A folder that would not fit the
// global is left empty rather than stored cut short.
void set_up_folders() {
    CxString exeFolder;
    if (GetCurrentExecPath(exeFolder)) copy_text(g_szExecProgPath, exeFolder);

    wchar_t appData[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE);
    CString folder;
    folder.Format(L"%s\\%s\\%s", appData, L"Veranox", L"Quillbox");
    if (copy_text(g_szAppDataPath, folder)) MakeDir(folder);
}

} // namespace

void OnProcessAttach() {
    copy_text(g_szProductName, L"Quillbox");
    copy_text(g_szProductNameHW, L"Quillbox");
    copy_text(g_szQueueName, L"qUiLlBoX");

    if (!g_bInitialFlag) {
        g_bInitialFlag = true;
        set_up_folders();
    }

    ClaimExistenceMutex();
    OpenProcessLogs();
}

void OnProcessDetach() {
    CloseCatalogueAtUnload();   // before the logs close: it logs writes it had to lose
    CloseProcessLogs();
}
