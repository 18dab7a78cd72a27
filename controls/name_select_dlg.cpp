// CNameSelectDlg: the name dialog with its length and character checks.
#include "NameSelectDlg.h"
#include "SharedState.h"
#include <stddef.h>
#include <initializer_list>
#include <text_cut.h>

namespace {

const UINT kTemplate = 15021;
const int kList1 = 15016, kList2 = 15017, kEdit = 15018, kPlaceLabel = 15019;
const UINT kTitleName = 2003, kTitleSelect = 2004, kAskCut = 2005, kNoWideChars = 2006, kSpecialEntry = 2014,
           kCurrentPlace = 2021, kForbiddenChars = 2022, kLeadingDot = 2205;
const int kDefaultLimit = 1024;
const int kMode5ExtraHeight = 25;
const wchar_t kForbidden[] = L"\\/:*?\"<>|";

CString load(UINT id) {
    CString s;
    s.LoadString(id);
    return s;
}

// The part of a title string after its first line feed (all of it when there is none).
CString title_part(UINT id) {
    CString s = load(id);
    int lf = s.Find(L'\n');
    return lf < 0 ? s : s.Mid(lf + 1);
}

bool all_narrow(const CString& s) {
    for (int i = 0; i < s.GetLength(); ++i)
        if (s[i] > 0xFF) return false;
    return true;
}

// The first limit UTF-16 units of s, one fewer where the cut would split a surrogate pair.
CString cut_whole(const CString& s, int limit) {
    if (limit <= 0) return CString();
    return s.Left(static_cast<int>(whole_cut(std::wstring(s.GetString(), s.GetLength()), limit)));
}

CString trimmed(const CString& s) { return trim(std::wstring(s.GetString(), s.GetLength())).c_str(); }

// The title of the suite's main window: the host's main frame, else the top-level window the
// dialog belongs to, else the application's name.
CString main_window_title(CWnd* parent) {
    CString title;
    if (g_pMainFrame && g_pMainFrame->m_hWnd) {
        g_pMainFrame->GetWindowText(title);
        return title;
    }
    if (parent && parent->m_hWnd) {
        CWnd::FromHandle(::GetAncestor(parent->m_hWnd, GA_ROOT))->GetWindowText(title);
        return title;
    }
    if (CWinApp* app = AfxGetApp(); app && app->m_pszAppName) title = app->m_pszAppName;
    return title;
}

} // namespace

BEGIN_MESSAGE_MAP(CNameSelectDlg, CDialog)
END_MESSAGE_MAP()

CNameSelectDlg::CNameSelectDlg(CWnd* parent)
    : CDialog(kTemplate, parent), m_nMode(0), m_pActiveCtrl(nullptr), m_nSelIndex(0), m_nMaxLen(0),
      m_nMaxWideLen(0), m_bFirstIsCurrent(FALSE), m_bTitleName(FALSE), m_bAddSpecial(TRUE) {
    // Hosts compile against this layout: the fields keep their order.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    using D = CNameSelectDlg;
    static_assert(offsetof(D, m_nMode) == sizeof(CDialog) && offsetof(D, m_nMode) < offsetof(D, m_lstNames) &&
                      offsetof(D, m_lstNames) < offsetof(D, m_lstFlags) && offsetof(D, m_lstFlags) < offsetof(D, m_strName) &&
                      offsetof(D, m_strName) < offsetof(D, m_pActiveCtrl) && offsetof(D, m_pActiveCtrl) < offsetof(D, m_nSelIndex) &&
                      offsetof(D, m_nSelIndex) < offsetof(D, m_nMaxLen) && offsetof(D, m_nMaxLen) < offsetof(D, m_nMaxWideLen) &&
                      offsetof(D, m_nMaxWideLen) < offsetof(D, m_bFirstIsCurrent) &&
                      offsetof(D, m_bFirstIsCurrent) < offsetof(D, m_bTitleName) &&
                      offsetof(D, m_bTitleName) < offsetof(D, m_strTitleName) &&
                      offsetof(D, m_strTitleName) < offsetof(D, m_bAddSpecial) &&
                      offsetof(D, m_bAddSpecial) < offsetof(D, m_fontText) && offsetof(D, m_fontText) < offsetof(D, m_cbList1) &&
                      offsetof(D, m_cbList1) < offsetof(D, m_cbList2) && offsetof(D, m_cbList2) < offsetof(D, m_edName) &&
                      offsetof(D, m_edName) < offsetof(D, m_strSpecial),
                  "CNameSelectDlg's fields keep their order");
    static_assert(sizeof(m_nMode) == 4 && sizeof(m_nSelIndex) == 4 && sizeof(m_nMaxLen) == 4 && sizeof(m_nMaxWideLen) == 4 &&
                      sizeof(m_bFirstIsCurrent) == 4 && sizeof(m_bTitleName) == 4 && sizeof(m_bAddSpecial) == 4,
                  "numbers and flags are 32-bit");
#pragma GCC diagnostic pop
}

CNameSelectDlg::~CNameSelectDlg() = default;

void CNameSelectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kList1, m_cbList1);
    DDX_Control(pDX, kList2, m_cbList2);
    DDX_Control(pDX, kEdit, m_edName);
}

BOOL CNameSelectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const bool defaultLimits = m_nMaxLen == 0 && m_nMaxWideLen == 0;
    if (defaultLimits) m_nMaxLen = m_nMaxWideLen = kDefaultLimit;

    for (CWnd* ctrl : {static_cast<CWnd*>(&m_cbList1), static_cast<CWnd*>(&m_cbList2), static_cast<CWnd*>(&m_edName)}) {
        if (!ctrl->m_hWnd) continue;
        CreateWndTextFont(ctrl, nullptr, m_fontText, nullptr, TRUE, 0);
        ctrl->SetFont(&m_fontText);
        ctrl->ShowWindow(SW_HIDE);
    }

    UINT titleId = 0;
    m_pActiveCtrl = nullptr;
    CxStringList places, placeFlags;   // mode 5's rows
    switch (m_nMode) {
    case 1: m_pActiveCtrl = &m_edName; titleId = kTitleName; break;
    case 2: m_pActiveCtrl = &m_cbList1; titleId = kTitleName; break;
    case 3: m_pActiveCtrl = &m_cbList2; titleId = kTitleName; break;
    case 4:
        m_pActiveCtrl = &m_cbList2;
        titleId = kTitleSelect;
        m_strSpecial = load(kSpecialEntry);
        // Once per object: a second run finds the entry already in the list.
        if (m_bAddSpecial && !m_bSpecialAdded) {
            m_lstNames.AddTail(m_strSpecial);
            m_bSpecialAdded = true;
        }
        break;
    case 5: {
        m_pActiveCtrl = &m_cbList2;
        titleId = kTitleName;
        // The places: string 2021 (always offered), then the caller's names after the current
        // one, each with its own flag. The caller's lists stay as they were given, so the same
        // object run again shows the same rows.
        places.AddTail(load(kCurrentPlace));
        placeFlags.AddTail(L"W");
        for (int i = m_bFirstIsCurrent ? 1 : 0; i < m_lstNames.GetCount(); ++i) {
            places.AddTail(m_lstNames.GetItem(i));
            placeFlags.AddTail(m_lstFlags.GetItem(i));
        }
        if (m_bFirstIsCurrent) m_edName.SetEditBox(m_lstNames.GetItem(0));
        CRect label, list;
        if (CWnd* place = GetDlgItem(kPlaceLabel)) {
            place->ShowWindow(SW_SHOW);
            place->GetWindowRect(&label);
            ScreenToClient(&label);
            m_cbList2.GetWindowRect(&list);
            ScreenToClient(&list);
            m_cbList2.SetWindowPos(nullptr, list.left, label.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        m_edName.ShowWindow(SW_SHOW);
        CRect me;
        GetWindowRect(&me);
        SetWindowPos(nullptr, 0, 0, me.Width(), me.Height() + kMode5ExtraHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    default:
        break;
    }
    if (m_pActiveCtrl) m_pActiveCtrl->ShowWindow(SW_SHOW);

    if (titleId) {
        CString title = title_part(titleId);
        if (m_bTitleName) title += L"-" + m_strTitleName;
        SetWindowText(title);
    }

    if (m_pActiveCtrl == &m_cbList1 || m_pActiveCtrl == &m_cbList2) {
        CxComboBox* box = static_cast<CxComboBox*>(m_pActiveCtrl);
        const CxStringList& names = m_nMode == 5 ? places : m_lstNames;
        const CxStringList& flags = m_nMode == 5 ? placeFlags : m_lstFlags;
        for (int i = 0; i < names.GetCount(); ++i) {
            if (m_nMode != 4 && flags.GetItem(i) != CxString(L"W")) continue;
            int row = box->AddString(names.GetItem(i));
            if (row >= 0) box->SetItemData(row, static_cast<DWORD_PTR>(i));
        }
        if (m_bFirstIsCurrent || m_nMode == 3 || m_nMode == 4) box->SetCurSel(0);
    }

    if (defaultLimits) {
        CString title;
        title.Format(L"%s - \"%s\" %s", static_cast<const wchar_t*>(main_window_title(m_pParentWnd)),
                     static_cast<const wchar_t*>(m_strTitleName), static_cast<const wchar_t*>(load(kForbiddenChars)));
        SetWindowText(title);
    }
    return TRUE;
}

void CNameSelectDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    // Without an input control (an unknown mode) there is no name to read.
    if (!m_pActiveCtrl) return;

    if (m_nMode == 4) {
        m_nSelIndex = m_cbList2.GetCurSel();
        EndDialog(IDOK);
        return;
    }
    if (m_nMode == 5) {
        CString typed = m_edName.GetEditBox();
        if (typed.IsEmpty()) return;
        // The place's position among the caller's names after the current one (-1: the
        // current place, row 0); -2 when no row is chosen.
        int row = m_cbList2.GetCurSel();
        m_nSelIndex = row < 0 ? -2 : static_cast<int>(m_cbList2.GetItemData(row)) - 1;
        m_strName = typed;
    } else if (m_nMode == 1) {
        m_strName = m_edName.GetEditBox();
    } else {
        m_strName = static_cast<CxComboBox*>(m_pActiveCtrl)->GetEditBox();
    }
    m_strName = trimmed(m_strName);
    if (m_strName.IsEmpty()) return;

    // The names an OK vouches for: the one returned and, when the title carries a name, that
    // one too. The title's name is tried first: its cut goes into the input control and the
    // title. Each name takes the limit its own characters call for.
    CString* const checked[] = {m_bTitleName ? &m_strTitleName : &m_strName, m_bTitleName ? &m_strName : nullptr};
    for (CString* name : checked) {
        if (!name) continue;
        int limit = m_nMaxLen;
        if (!all_narrow(*name)) {
            if (m_nMaxWideLen == 0 && *name != m_strSpecial) {
                AfxMessageBox(kNoWideChars, MB_ICONSTOP, 0);
                return;
            }
            limit = m_nMaxWideLen;
        }
        if (name->GetLength() <= limit) continue;
        CString kept = *name;
        if (AfxMessageBox(kAskCut, MB_YESNO | MB_ICONQUESTION, 0) == IDYES) {
            kept = cut_whole(kept, limit);
            if (m_nMode == 1 || m_nMode == 5) m_edName.SetEditBox(kept);
            else static_cast<CxComboBox*>(m_pActiveCtrl)->SetEditBox(kept);
        }
        if (name == &m_strTitleName) {
            CString title;
            GetWindowText(title);
            int dash = title.Find(L'-');
            SetWindowText(title.Left(dash + 1) + kept);
        }
        *name = kept;
        return;
    }

    if (m_nMode != 5) {
        m_nSelIndex = -1;
        int first = m_bFirstIsCurrent ? 1 : 0;
        for (int i = first; i < m_lstNames.GetCount(); ++i) {
            if (CString(m_lstNames.GetItem(i)) == m_strName) {
                m_nSelIndex = i - first;
                break;
            }
        }
    }

    for (const CString* name : checked) {
        if (name && name->FindOneOf(kForbidden) >= 0) {
            AfxMessageBox(kForbiddenChars, MB_OK, 0);
            return;
        }
    }
    for (const CString* name : checked) {
        if (name && !name->IsEmpty() && (*name)[0] == L'.') {
            AfxMessageBox(kLeadingDot, MB_OK, 0);
            return;
        }
    }
    EndDialog(IDOK);
}
