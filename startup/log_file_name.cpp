// Names of the diagnostic log files.
#include "log_file_name.h"
#include <FilePath.h>

CString LogFileName(const wchar_t* folder, const SYSTEMTIME& t) {
    CString name;
    name.Format(L"%s\\%02d%02d%2d_%02d%02d%02d.log", folder, t.wYear % 100, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
    return name;
}

bool LogFolderExists(const wchar_t* folder) {
    if (!folder || GetFileNameOnly(reinterpret_cast<const unsigned short*>(folder)).IsEmpty())
        return false;
    if (GetFileAttributesW(folder) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD err = GetLastError();
    return err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND;
}
