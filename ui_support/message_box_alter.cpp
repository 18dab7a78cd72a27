// The alterations of a message box, applied once when it has handled WM_INITDIALOG.
#include <windows.h>
#include <algorithm>
#include <memory>
#include <vector>
#include <unique_res.h>
#include <work_area.h>
#include "message_box_state.h"

namespace {

constexpr DWORD kCheckBoxStyle = 0x50010003;   // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX

std::vector<HWND> Children(HWND box) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

// The message text: the first child whose control identifier is 0xFFFF or more.
HWND FindTextControl(HWND box) {
    for (HWND c : Children(box))
        if (UINT(GetDlgCtrlID(c)) >= 0xFFFF) return c;
    return nullptr;
}

// A window's rectangle in the box's client coordinates.
RECT RectInBox(HWND box, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveBy(HWND box, HWND child, int dx, int dy) {
    RECT r = RectInBox(box, child);
    SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveButtonsBy(HWND box, int dx, int dy) {
    for (HWND c : Children(box))
        if (IsBoxButton(c)) MoveBy(box, c, dx, dy);
}

// Dialog units of the box in pixels.
int DluX(HWND box, int units) { RECT r{0, 0, units, 0}; MapDialogRect(box, &r); return r.right; }
int DluY(HWND box, int units) { RECT r{0, 0, 0, units}; MapDialogRect(box, &r); return r.bottom; }

void PushButtonsRight(HWND box) {
    LONG rightmost = LONG_MIN;
    for (HWND c : Children(box)) {
        if (!IsBoxButton(c)) continue;
        RECT r;
        GetWindowRect(c, &r);
        rightmost = std::max(rightmost, r.right);
    }
    if (rightmost == LONG_MIN) return;
    RECT boxRect;
    GetWindowRect(box, &boxRect);
    int shift = boxRect.right - DluX(box, 7) - rightmost;
    if (shift > 0) MoveButtonsBy(box, shift, 0);
}

// The button that carries BS_DEFPUSHBUTTON when the box opens: its default button.
UINT OpeningDefaultButton(HWND box) {
    for (HWND c : Children(box))
        if (IsBoxButton(c) && (GetWindowLongW(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) return GetDlgCtrlID(c);
    return 0;
}

// The check box goes below the text; the box grows by its height and the gap, and, when the
// check box with a margin on either side is wider than the client area, by the width it
// lacks (never past the width of its monitor's work area). The buttons keep their place
// relative to the middle of the box, or to its right edge once pushed there.
void AddCheckBox(HWND box, SXMSGBOXSTATE& st, HINSTANCE module) {
    st.checkBoxId = IDC_SX_CHECKBOX;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    const wchar_t* text = reinterpret_cast<const wchar_t*>(st.rec.pcszCheckBoxText);
    const bool centred = (st.rec.uFlags & SX_MSGBOX_CENTER) != 0;

    SIZE extent{};
    win32::unique_dc dc(CreateCompatibleDC(nullptr));
    if (dc) {
        HGDIOBJ old = font ? SelectObject(dc.get(), font) : nullptr;
        GetTextExtentPoint32W(dc.get(), text, lstrlenW(text), &extent);
        if (old) SelectObject(dc.get(), old);
    }
    int width = extent.cx + GetSystemMetrics(SM_CXMENUCHECK) + 5;
    int height = std::max<int>(extent.cy, GetSystemMetrics(SM_CYMENUCHECK));
    int gap = DluY(box, 8);
    int margin = DluX(box, 7);

    RECT textRect = st.hText ? RectInBox(box, st.hText) : RECT{};
    RECT boxRect, client;
    GetWindowRect(box, &boxRect);
    GetClientRect(box, &client);
    int boxWidth = boxRect.right - boxRect.left;
    int lead = centred ? margin : int(textRect.left);   // room left of the check box
    int grow = std::max(0, lead + width + margin - int(client.right));
    RECT work = work_area_near(POINT{boxRect.left, boxRect.top});
    grow = std::max(0, std::min<int>(grow, work.right - work.left - boxWidth));
    int x = boxRect.left;
    if (x + boxWidth + grow > work.right) x = std::max<int>(work.left, work.right - boxWidth - grow);

    SetWindowPos(box, nullptr, x, boxRect.top, boxWidth + grow, boxRect.bottom - boxRect.top + height + gap,
                 SWP_NOZORDER | SWP_NOACTIVATE | (x == boxRect.left ? SWP_NOMOVE : 0));
    MoveButtonsBy(box, (st.rec.uFlags & SX_MSGBOX_RIGHT_BUTTONS) ? grow : grow / 2, height + gap);

    int clientWidth = client.right + grow;
    width = std::min(width, std::max(0, clientWidth - lead - margin));   // a box as wide as the screen: cut
    int left = centred ? (clientWidth - width) / 2 : lead;
    int top = textRect.bottom + gap;

    // A child of the box: the box destroys it.
    HWND check = CreateWindowExW(0, L"Button", text, kCheckBoxStyle, left, top, width, height, box,
                                 reinterpret_cast<HMENU>(UINT_PTR(IDC_SX_CHECKBOX)), module, nullptr);
    if (!check) return;
    SendMessageW(check, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (*st.rec.puValue) SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
}

void CentreOverParent(HWND box) {
    HWND parent = GetParent(box);
    if (!parent) return;
    RECT p, b;
    GetWindowRect(parent, &p);
    GetWindowRect(box, &b);
    int w = b.right - b.left, h = b.bottom - b.top;
    int x = p.left + (p.right - p.left - w) / 2;
    int y = p.top + (p.bottom - p.top - h) / 2;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Top-left corner at (x, y), kept inside the work area of the monitor nearest to that point.
void PlaceAt(HWND box, int x, int y) {
    const RECT work = work_area_near(POINT{x, y});
    RECT b;
    GetWindowRect(box, &b);
    int w = b.right - b.left, h = b.bottom - b.top;
    x = std::max<int>(x, work.left);
    y = std::max<int>(y, work.top);
    if (x + w > work.right) x -= x + w - work.right;
    if (y + h > work.bottom) y -= y + h - work.bottom;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Hangs the box's state on it and routes the box's messages through SxMsgBoxWndProc; then
// starts the count-down and adds the check box.
void AttachState(HWND box, const SXMSGBOX& rec, HWND hText, HINSTANCE module) {
    auto owned = std::make_unique<SXMSGBOXSTATE>();
    SXMSGBOXSTATE& st = *owned;
    st.rec = rec;
    st.hText = hText;
    st.defaultId = OpeningDefaultButton(box);
    if (!SetPropW(box, kSxMsgBoxProp, owned.get())) return;
    owned.release();   // the box owns it from here; freed at WM_NCDESTROY
    st.prevProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SxMsgBoxWndProc)));
    if (rec.uFlags & SX_MSGBOX_TIMEOUT) {
        if (hText) {
            st.text.resize(GetWindowTextLengthW(hText) + 1);
            st.text.resize(GetWindowTextW(hText, &st.text[0], int(st.text.size())));
        }
        SetTimer(box, IDT_SX_COUNTDOWN, 1000, nullptr);
        ShowCountDownText(st);
    }
    if (rec.uFlags & SX_MSGBOX_CHECKBOX) AddCheckBox(box, st, module);
}

} // namespace

const wchar_t kSxMsgBoxProp[] = L"SxMsgBox";

bool IsBoxButton(HWND child) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, cls, std::min(lstrlenW(cls), 6), L"BUTTON", 6) == CSTR_EQUAL;
}

void AlterMessageBox(HWND box, const SXMSGBOX& rec, HINSTANCE module) {
    HWND hText = FindTextControl(box);
    if ((rec.uFlags & SX_MSGBOX_CENTER_TEXT) && hText)
        SetWindowLongW(hText, GWL_STYLE, GetWindowLongW(hText, GWL_STYLE) | SS_CENTER);
    if (rec.uFlags & SX_MSGBOX_RIGHT_BUTTONS) PushButtonsRight(box);

    if (rec.uFlags & (SX_MSGBOX_TIMEOUT | SX_MSGBOX_CHECKBOX)) AttachState(box, rec, hText, module);

    if (rec.uFlags & SX_MSGBOX_CENTER) CentreOverParent(box);
    if (rec.uFlags & SX_MSGBOX_SET_POS) PlaceAt(box, rec.nPosX, rec.nPosY);
}
