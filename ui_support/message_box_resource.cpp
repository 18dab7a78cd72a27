// SxMessageBox with its texts from the string resources of the process.
#include <afxwin.h>
#include "SxMessageBox.h"

int SxMessageBox(CWnd* pWnd, UINT textId, UINT captionId, UINT type, SXMSGBOX* p) {
    CString text, caption;
    text.LoadString(textId);
    if (captionId) caption.LoadString(captionId);
    else if (CWinApp* app = AfxGetApp()) caption = app->m_pszAppName;
    return SxMessageBox(pWnd ? pWnd->GetSafeHwnd() : nullptr, reinterpret_cast<const unsigned short*>(text.GetString()),
                        reinterpret_cast<const unsigned short*>(caption.GetString()), type, p);
}
