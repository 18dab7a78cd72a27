// Names of the diagnostic log files.
#pragma once
#include <windows.h>
#include <afxstr.h>

// folder + "\YYMMDD_hhmmss.log" for time t, where the day is padded with a blank, not a
// zero: 4 October 2012 09:30:05 gives "1210 4_093005.log".
CString LogFileName(const wchar_t* folder, const SYSTEMTIME& t);

// A log folder counts as present when its name part is not empty and its attributes can
// be read, or fail for any reason but "not found" (an access error counts as present).
bool LogFolderExists(const wchar_t* folder);
