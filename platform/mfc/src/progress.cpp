// CProgressCtrl: the progress bar common control.
#include "afxcmn.h"
#include "afx_impl.h"

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID) {
    afx::init_common_controls();
    return CWnd::Create(PROGRESS_CLASSW, nullptr, style, rect, pParent, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
void CProgressCtrl::SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    PBRANGE r{};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&r));
    nLower = r.iLow;
    nUpper = r.iHigh;
}
int CProgressCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
int CProgressCtrl::GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
int CProgressCtrl::OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos))); }
int CProgressCtrl::SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
int CProgressCtrl::StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }

namespace afx {
void init_common_controls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}
} // namespace afx
