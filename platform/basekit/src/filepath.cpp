// Paths of the running program, path helpers, folder creation and file search.
#include "FilePath.h"
#include <unique_res.h>
#include <wchar.h>
#include <vector>

namespace {

// The executable's full path ("" on failure); grows the buffer for long paths.
CString exe_path() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return CString();
        if (n < buf.size()) return CString(buf.data(), static_cast<int>(n));
        buf.resize(buf.size() * 2);
    }
}

int last_separator(const CString& path) {
    int a = path.ReverseFind(L'\\'), b = path.ReverseFind(L'/');
    return a > b ? a : b;
}

int copy_out(const CString& text, unsigned short* buf, int cap) {
    if (!buf || cap <= 0) return 0;
    int n = text.GetLength() < cap - 1 ? text.GetLength() : cap - 1;
    wmemcpy(reinterpret_cast<wchar_t*>(buf), text, n);
    buf[n] = 0;
    return n;
}

bool is_folder(const wchar_t* path) {
    DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

BOOL GetCurrentExecPath(CxString& folder) {
    CString path = exe_path();
    if (path.IsEmpty()) return FALSE;
    folder = GetFilePath(path, 0);
    return TRUE;
}

int GetCurrentExecPath(unsigned short* buf, int cap) {
    CxString folder;
    return GetCurrentExecPath(folder) ? copy_out(folder, buf, cap) : 0;
}

BOOL GetCurrentExecFileName(CxString& name) {
    CString path = exe_path();
    if (path.IsEmpty()) return FALSE;
    name = path.Mid(last_separator(path) + 1);
    return TRUE;
}

int GetCurrentExecFileName(unsigned short* buf, int cap) {
    CxString name;
    return GetCurrentExecFileName(name) ? copy_out(name, buf, cap) : 0;
}

CxString GetFilePath(const wchar_t* path, int bWithSlash) {
    CString p(path);
    int sep = last_separator(p);
    if (sep < 0) return CxString();
    // "C:\x" keeps the root's backslash: its folder is "C:\", never "C:".
    bool root = sep == 2 && p.GetAt(1) == L':';
    return CxString(p.Left(bWithSlash || root ? sep + 1 : sep));
}

CxString GetFileNameOnly(const unsigned short* path) {
    CString p(path);
    return CxString(p.Mid(last_separator(p) + 1));
}

CxString ToFullPathName(const wchar_t* folder, const wchar_t* name) {
    CString out(folder);
    out.TrimRight(L"\\/");
    CString tail(name);
    tail.TrimLeft(L"\\/");
    if (!out.IsEmpty() || (folder && *folder)) out += L"\\";
    out += tail;
    return CxString(out);
}

BOOL MakeDir(const wchar_t* path) {
    if (!path || !*path) return FALSE;
    if (is_folder(path)) return TRUE;
    CString p(path);
    p.TrimRight(L"\\/");
    int sep = last_separator(p);
    if (sep > 0) {
        CString parent = p.Left(sep);
        if (!(parent.GetLength() == 2 && parent.GetAt(1) == L':')) MakeDir(parent);
    }
    return CreateDirectoryW(p, nullptr) || is_folder(p);
}

int GetAllSubDirFileContent(const wchar_t* folder, const wchar_t* pattern, int bRecurse, CxStringList& out) {
    if (!folder || !pattern) return 0;
    int added = 0;
    WIN32_FIND_DATAW fd;
    win32::unique_find files(FindFirstFileW(ToFullPathName(folder, pattern), &fd));
    if (files) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                out.AddTail(ToFullPathName(folder, fd.cFileName));
                ++added;
            }
        } while (FindNextFileW(files.get(), &fd));
    }
    if (!bRecurse) return added;
    win32::unique_find dirs(FindFirstFileW(ToFullPathName(folder, L"*"), &fd));
    if (!dirs) return added;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L".."))
            added += GetAllSubDirFileContent(ToFullPathName(folder, fd.cFileName), pattern, 1, out);
    } while (FindNextFileW(dirs.get(), &fd));
    return added;
}
