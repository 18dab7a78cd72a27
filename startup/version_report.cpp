// The panel's version report.
#include <windows.h>
#include <BaseKit.h>
#include <UiPath.h>
#include "SharedState.h"
#include "process_logs.h"

namespace {

const wchar_t kStars[] = L"*********************************************\n";
const wchar_t kDashes[] = L"---------------------------------------------\n";

const wchar_t* os_text() {
    struct Os { BOOL (*test)(); const wchar_t* text; };
    static const Os kOs[] = {
        {IsWin7, L"OS: Windows 7"},      {IsWinVista, L"OS: Windows Vista"},
        {IsWinXP, L"OS: Windows XP"},    {IsWin2000, L"OS: Windows 2000"},
        {IsWinNT40, L"OS: Windows NT.x"}, {IsWinME, L"OS: Windows ME"},
        {IsWin98, L"OS: Windows 98"},    {IsWin95, L"OS: Windows 95"},
    };
    for (const Os& os : kOs)
        if (os.test()) return os.text;
    return L"OS: Windows ?";
}

// One line per file of the program folder that matches pattern: name and file version.
void write_file_list(CxLogMsg& log, const wchar_t* pattern) {
    CxStringList list;
    GetAllSubDirFileContent(reinterpret_cast<const wchar_t*>(g_szExecProgPath), pattern, 1, list);
    CxString joined = list.ComposeToString(L"*", 1, 0, 1);
    list.RemoveAll();
    list.AddTokens(joined, L"*", 1, 1, 1, 0);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CxString file = list.GetNext(pos);
        int a = 0, b = 0, c = 0, d = 0;
        GetVersionFromResource(2, file, a, b, c, d);
        log.LogMsg(L"%s\t(Version: %d.%d.%d.%d)\n", GetFileName(file).GetString(), a, b, c, d);
    }
}

} // namespace

void WriteVersionReport(CxLogMsg& log) {
    log.LogMsg(kStars);
    log.LogMsg(L"%s ... %s\n", os_text(), GetCurOSLangSTR());
    log.LogMsg(kDashes);
    write_file_list(log, L"*.exe");
    log.LogMsg(L"-\n");
    write_file_list(log, L"*.dll");
    log.LogMsg(L"-\n");
    write_file_list(log, L"*.lng");
    log.LogMsg(kStars);
}
