// OpenHelpFile: the help beside the executable, in the user interface's language first.
#include <windows.h>
#include <shellapi.h>
#include <FilePath.h>
#include <VXLibConfig.h>
#include "ShellIntegration.h"

void OpenHelpFile() {
    CxString folder;
    GetCurrentExecPath(folder);
    CString language = VXLibConfig::GetUILanguage();
    const CString candidates[] = {language + L"Help.chm", language + L"Help.htm", L"Help.chm"};

    CxString chosen = ToFullPathName(folder, L"Help.htm");   // used without checking when no other exists
    for (const CString& name : candidates) {
        CxString path = ToFullPathName(folder, name);
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
            chosen = path;
            break;
        }
    }
    ShellExecuteW(nullptr, L"open", chosen, nullptr, nullptr, SW_SHOWNORMAL);
}
