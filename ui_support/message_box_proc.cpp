// The replaced window procedure of an altered message box: check box clicks, the count-down
// and the release of the box's state.
#include <windows.h>
#include <memory>
#include <string>
#include "message_box_state.h"

namespace {

bool IsButtonOf(HWND box, UINT id) {
    HWND c = GetDlgItem(box, int(id));
    return c && IsBoxButton(c);
}

// The box's default button. DM_GETDEFID does not always name it (some platforms answer IDOK
// for every message box, even one without OK), so the button that was the default when the
// box opened wins; DM_GETDEFID serves when none was found then.
UINT DefaultButton(HWND box, const SXMSGBOXSTATE& st) {
    if (st.defaultId && IsButtonOf(box, st.defaultId)) return st.defaultId;
    return LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0));
}

} // namespace

void ShowCountDownText(const SXMSGBOXSTATE& st) {
    if (!st.hText) return;
    const std::wstring seconds = std::to_wstring(st.rec.uTimeout);
    std::wstring out;
    for (size_t i = 0; i < st.text.size();) {
        if (i + 3 <= st.text.size() && st.text[i] == L'(' && (st.text[i + 1] == L'T' || st.text[i + 1] == L't') &&
            st.text[i + 2] == L')') {
            out += seconds;
            i += 3;
        } else {
            out += st.text[i++];
        }
    }
    SetWindowTextW(st.hText, out.c_str());
}

LRESULT CALLBACK SxMsgBoxWndProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* st = static_cast<SXMSGBOXSTATE*>(GetPropW(box, kSxMsgBoxProp));
    if (!st) return DefWindowProcW(box, msg, wParam, lParam);   // not reached: the state outlives the procedure

    switch (msg) {
    case WM_NCDESTROY: {
        std::unique_ptr<SXMSGBOXSTATE> owned(st);
        LRESULT r = CallWindowProcW(st->prevProc, box, msg, wParam, lParam);
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(st->prevProc));
        RemovePropW(box, kSxMsgBoxProp);
        return r;
    }
    case WM_COMMAND:
        if (st->checkBoxId && LOWORD(wParam) == st->checkBoxId) {
            *st->rec.puValue = SendMessageW(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == IDT_SX_COUNTDOWN) {
            if (st->rec.uTimeout < 2) {
                KillTimer(box, IDT_SX_COUNTDOWN);
                EndDialog(box, DefaultButton(box, *st));
                return 0;
            }
            --st->rec.uTimeout;
            ShowCountDownText(*st);
        }
        break;
    }
    return CallWindowProcW(st->prevProc, box, msg, wParam, lParam);
}
