// GetRemindMessage and ShowRemindMessage: the remind texts of the sibling message library.
#include <afxwin.h>
#include <Hintbook.h>
#include <unique_res.h>
#include "HintMessages.h"

CString GetRemindMessage(ACTION_TYPE type, ACTION_TIME time, int index) {
    CString text;
    // By name, through the platform's search: the suite installs Hintbook beside its programs.
    win32::unique_hmodule library(LoadLibraryW(L"Hintbook"));
    if (!library) return text;
    auto remind = reinterpret_cast<HintbookRemindFn>(reinterpret_cast<void*>(GetProcAddress(library.get(), "GetRemindMessage")));
    if (remind) text = remind(type, time, index);   // the text's storage is the MFC subset's, not Hintbook's
    return text;
}

int ShowRemindMessage(ACTION_TYPE type, ACTION_TIME time, int index, UINT mbType) {
    CString text = GetRemindMessage(type, time, index);
    if (text.IsEmpty()) return -1;
    return AfxMessageBox(text, mbType);
}
