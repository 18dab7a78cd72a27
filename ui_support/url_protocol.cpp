// RegisterURLProtocol: a URL scheme whose links the shell hands to the panel executable.
#include <windows.h>
#include <CxRegSDK.h>
#include <FilePath.h>
#include "ShellIntegration.h"

void RegisterURLProtocol(const unsigned short* scheme) {
    const wchar_t* name = reinterpret_cast<const wchar_t*>(scheme);
    if (!name || !*name) return;   // an empty section would write the values onto HKEY_CLASSES_ROOT itself

    CxString folder;
    GetCurrentExecPath(folder);
    CxString panel = ToFullPathName(folder, L"DockProc.exe");

    CString description, commandKey, command;
    description.Format(L"URL:%s Protocol", name);
    commandKey.Format(L"%s\\shell\\open\\command", name);
    // The link is quoted too: a bare %1 would let a link with blanks or quotes add arguments
    // of its own to the panel's command line.
    command.Format(L"\"%s\" \"%%1\"", static_cast<const wchar_t*>(panel));

    CxRegSDK reg(HKEY_CLASSES_ROOT, L"");
    reg.WriteProfileStringW(name, nullptr, description);
    reg.WriteProfileStringW(name, L"URL Protocol", panel);
    reg.WriteProfileStringW(commandKey, nullptr, command);
}
