// SxMessageBox: the record check, the thread hook that finds the box by its caption at
// WM_INITDIALOG, and the call of the platform's message box.
#include <windows.h>
#include <string>
#include <unique_res.h>
#include "message_box_state.h"

namespace {

// What one SxMessageBox call waits to apply. It lives in the call's frame; the thread's
// pointer to it makes the hook state per thread, so boxes opening on several threads at once
// each get their own record.
struct PendingBox {
    win32::unique_hook hook;
    const SXMSGBOX* rec = nullptr;
    const wchar_t* caption = nullptr;
    HINSTANCE module = nullptr;
};
thread_local PendingBox* t_pending = nullptr;

// False (with the debugger message) when the record cannot be used; otherwise sets or clears
// SX_MSGBOX_TIMEOUT in the caller's record from uTimeout.
bool SxCheckParams(SXMSGBOX* p) {
    // The record is written back below, so it must be writable, not only readable.
    if (!p || IsBadWritePtr(p, sizeof(*p))) {
        OutputDebugStringW(L"Invalid pointer given\n");
        return false;
    }
    if ((p->uFlags & SX_MSGBOX_CHECKBOX) &&
        (!p->puValue || IsBadWritePtr(p->puValue, sizeof(*p->puValue)) || !p->pcszCheckBoxText ||
         IsBadStringPtrW(reinterpret_cast<const wchar_t*>(p->pcszCheckBoxText), UINT_PTR(-1)))) {
        OutputDebugStringW(L"Invalid puValue or pcszCheckBoxText\n");
        return false;
    }
    if ((p->uFlags & SX_MSGBOX_SET_POS) && (p->uFlags & SX_MSGBOX_CENTER)) {
        OutputDebugStringW(L"SX_MSGBOX_SET_POS and SX_MSGBOX_CENTER - mutually exclusive!\n");
        return false;
    }
    if (p->uTimeout) p->uFlags |= SX_MSGBOX_TIMEOUT;
    else p->uFlags &= ~UINT(SX_MSGBOX_TIMEOUT);
    return true;
}

std::wstring WindowText(HWND h) {
    std::wstring text(GetWindowTextLengthW(h) + 1, L'\0');
    text.resize(GetWindowTextW(h, &text[0], int(text.size())));
    return text;
}

LRESULT CALLBACK SxMsgBoxHookProc(int code, WPARAM wParam, LPARAM lParam) {
    PendingBox* pending = t_pending;
    HHOOK hook = pending ? pending->hook.get() : nullptr;
    if (code < 0 || !pending) return CallNextHookEx(hook, code, wParam, lParam);
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (pending->caption && msg->message == WM_INITDIALOG && WindowText(msg->hwnd) == pending->caption) {
        const SXMSGBOX* rec = pending->rec;
        pending->rec = nullptr;
        pending->caption = nullptr;
        AlterMessageBox(msg->hwnd, *rec, pending->module);
        pending->hook.reset();
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

int SxMessageBox(HWND hWnd, const unsigned short* text, const unsigned short* caption, UINT type, SXMSGBOX* p) {
    PendingBox pending;
    PendingBox* outer = t_pending;   // a box opened from inside another box's message loop
    if (SxCheckParams(p)) {
        pending.rec = p;
        pending.caption = reinterpret_cast<const wchar_t*>(caption);
        pending.module = hWnd ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hWnd, GWLP_HINSTANCE)) : nullptr;
        t_pending = &pending;
        pending.hook.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, SxMsgBoxHookProc, pending.module, GetCurrentThreadId()));
    }
    int result = MessageBoxW(hWnd, reinterpret_cast<const wchar_t*>(text), reinterpret_cast<const wchar_t*>(caption), type);
    t_pending = outer;
    return result;   // pending's hook, when the box was never recognised, is removed here
}
