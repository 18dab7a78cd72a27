// catalogue_tool: checks a catalogue file or recovers a damaged one, for support and tests.
//
//   catalogue_tool check FILE     reads every page; prints the state
//   catalogue_tool recover FILE   recovers a damaged file in place; prints the figures
//
// The exit code is AppDB's FILE_ value (0: healthy, or recovered), 64 for a wrong command line.
#include <stdio.h>
#include <wchar.h>
#include <Corelink.h>

namespace {

const wchar_t* state_name(int state) {
    switch (state) {
    case AppDB::FILE_OK: return L"ok";
    case AppDB::FILE_DAMAGED: return L"damaged";
    case AppDB::FILE_LOCKED: return L"locked by another program";
    case AppDB::FILE_CANNOT_OPEN: return L"cannot be opened";
    case AppDB::FILE_NO_MEMORY: return L"out of memory";
    case AppDB::FILE_NOT_DAMAGED: return L"not damaged: left alone";
    case AppDB::FILE_RECOVERY_FAILED: return L"recovery failed: the file is left as it was";
    default: return L"unknown";
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || (wcscmp(argv[1], L"check") != 0 && wcscmp(argv[1], L"recover") != 0)) {
        fwprintf(stderr, L"usage: catalogue_tool check|recover FILE\n");
        return 64;
    }
    if (wcscmp(argv[1], L"check") == 0) {
        const int state = AppDB::CheckFile(argv[2]);
        wprintf(L"state %d %ls\n", state, state_name(state));
        return state;
    }
    AppDB::RecoveryReport report = {};
    const int state = AppDB::RecoverFile(argv[2], report);
    wprintf(L"state %d %ls\n", state, state_name(state));
    if (state == AppDB::FILE_OK)
        wprintf(L"recovered %u\nunreadable %u\nmilliseconds %u\ndamaged-copy %ls\n", report.nRecovered,
                report.nUnreadable, report.nMilliseconds, report.strDamagedFile.GetString());
    fflush(stdout);
    return state;
}
