// Stands in for the program the shell opens help files with: appends the path it was given,
// one UTF-8 line, to the file named by CORELINK_OPEN_RECORD.
#include <windows.h>
#include <cstdio>
#include <string>
#include <unique_res.h>

int wmain(int argc, wchar_t** argv) {
    wchar_t record[MAX_PATH];
    if (argc < 2 || !GetEnvironmentVariableW(L"CORELINK_OPEN_RECORD", record, MAX_PATH)) return 2;
    std::string line(WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, &line[0], int(line.size()), nullptr, nullptr);
    line.back() = '\n';
    win32::unique_stream out(_wfopen(record, L"ab"));
    if (!out) return 3;
    fwrite(line.data(), 1, line.size(), out.get());
    return 0;
}
