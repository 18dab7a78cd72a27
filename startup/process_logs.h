// The diagnostic logs of the suite's three processes.
#pragma once
#include <CxLogMsg.h>

// Opens the log of this process when its executable is one of the three and its log
// folder exists; the panel's log starts with the version report.
void OpenProcessLogs();
// Deletes the open logs and nulls their pointers.
void CloseProcessLogs();

// Writes the panel's report of the operating system and of the versions of the program
// folder's executables, libraries and language files.
void WriteVersionReport(CxLogMsg& log);
