// AfxMessageBox: the application's message box.
#include "afx_impl.h"

int AfxMessageBox(const wchar_t* text, UINT nType, UINT) {
    CWinApp* app = AfxGetApp();
    CString caption;
    if (app && app->m_pszAppName && *app->m_pszAppName) {
        caption = app->m_pszAppName;
    } else {
        // Without an application name: the executable's file name without its extension.
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        caption = path;
        caption = caption.Mid(caption.ReverseFind(L'\\') + 1);
        int dot = caption.ReverseFind(L'.');
        if (dot > 0) caption = caption.Left(dot);
    }
    HWND owner = ::GetActiveWindow();
    if (owner) owner = ::GetLastActivePopup(::GetAncestor(owner, GA_ROOTOWNER));
    return ::MessageBoxW(owner, text ? text : L"", caption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}
