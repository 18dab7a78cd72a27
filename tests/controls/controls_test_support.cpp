#include "controls_test_support.h"

namespace controls_test {

BEGIN_MESSAGE_MAP(CRecordingParent, CWnd)
    ON_MESSAGE(kNotifyMsg, OnXmb)
    ON_CONTROL(CBN_SELENDOK, kButtonId, OnSelEndOk)
    ON_CONTROL(CBN_SELCHANGE, kButtonId, OnSelChange)
    ON_CONTROL(CBN_SELENDCANCEL, kButtonId, OnSelEndCancel)
END_MESSAGE_MAP()

BOOL CRecordingParent::CreateAt(int x, int y, int w, int h) {
    return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE)),
                    L"menu button test", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, w, h, nullptr, nullptr);
}

std::string ComboCode(UINT code) {
    switch (code) {
    case CBN_SELCHANGE: return "selchange";
    case CBN_SETFOCUS: return "setfocus";
    case CBN_KILLFOCUS: return "killfocus";
    case CBN_DROPDOWN: return "dropdown";
    case CBN_CLOSEUP: return "closeup";
    case CBN_SELENDOK: return "selendok";
    case CBN_SELENDCANCEL: return "selendcancel";
    default: return "code " + std::to_string(code);
    }
}

BOOL CRecordingParent::OnCommand(WPARAM w, LPARAM l) {
    HWND from = reinterpret_cast<HWND>(l);
    if (from && !::IsWindow(from)) {
        ++fromDeadWindows;
        told.push_back("dead " + ComboCode(HIWORD(w)));
    } else if (from && HIWORD(w) != BN_CLICKED && (_wcsicmp(gui::ClassOf(from).c_str(), L"ComboBox") == 0 ||
                        dynamic_cast<CxMenuButton*>(CWnd::FromHandlePermanent(from)))) {
        told.push_back(ComboCode(HIWORD(w)));
    }
    return CWnd::OnCommand(w, l);
}

LRESULT CRecordingParent::OnXmb(WPARAM w, LPARAM l) {
    log.push_back("xmb " + std::to_string(static_cast<int>(w)) + " " + std::to_string(static_cast<int>(l)));
    return 0;
}

std::wstring Text(UINT id) {
    CString s;
    s.LoadString(id);
    return std::wstring(s.GetString());
}

std::wstring TitleText(UINT id) {
    std::wstring s = Text(id);
    size_t lf = s.find(L'\n');
    return lf == std::wstring::npos ? s : s.substr(lf + 1);
}

namespace {
BOOL CALLBACK find_list(HWND h, LPARAM out) {
    if (auto* list = dynamic_cast<CxMenuList*>(CWnd::FromHandlePermanent(h))) {
        *reinterpret_cast<CxMenuList**>(out) = list;
        return FALSE;
    }
    return TRUE;
}
} // namespace

CxMenuList* OpenList() {
    CxMenuList* list = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_list, reinterpret_cast<LPARAM>(&list));
    return list;
}

} // namespace controls_test
