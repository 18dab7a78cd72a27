// The suite's help file and its URL scheme.
#pragma once
#include "CorelinkApi.h"

// Opens the help beside the running executable with the shell, in the user interface's
// language when that help exists: <language>Help.chm, <language>Help.htm, Help.chm, else
// Help.htm. Reports nothing.
CORELINK_API void OpenHelpFile();

// Makes scheme a URL protocol under HKEY_CLASSES_ROOT whose links open DockProc.exe beside
// the running executable. Writes nothing for a null scheme; write failures are not reported.
CORELINK_API void RegisterURLProtocol(const unsigned short* scheme);
