// The altered message box: its per-box state and the steps that the hook and the box's
// replaced window procedure share.
#pragma once
#include <windows.h>
#include <string>
#include "SxMessageBox.h"

// Lives on the box as the window property "SxMsgBox" from its alteration until WM_NCDESTROY;
// made only for a count-down or a check box.
struct SXMSGBOXSTATE {
    SXMSGBOX rec;                  // copy of the caller's record; the count-down decrements rec.uTimeout
    WNDPROC prevProc = nullptr;    // the box's own procedure
    std::wstring text;             // the message text as the box first showed it (count-down only)
    HWND hText = nullptr;          // the message text control
    UINT checkBoxId = 0;           // IDC_SX_CHECKBOX once the check box exists
    UINT defaultId = 0;            // the button that was the default when the box opened (0: none found)
};

extern const wchar_t kSxMsgBoxProp[];

// Applies every alteration that rec asks for to the box that just handled WM_INITDIALOG.
void AlterMessageBox(HWND box, const SXMSGBOX& rec, HINSTANCE module);

LRESULT CALLBACK SxMsgBoxWndProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam);

// Sets the text control to the saved text with every "(T)" (any case) replaced by the seconds left.
void ShowCountDownText(const SXMSGBOXSTATE& st);

// The buttons of the box: its child windows whose class name begins with "BUTTON".
bool IsBoxButton(HWND child);
