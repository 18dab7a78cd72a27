// The altered message boxes and the notify popup as the screenshot host shows them. Texts
// come from the language resources loaded for the step; the count-down sentence is the
// caller's own text, so it is given here in each language.
#include <windows.h>
#include <Corelink.h>
#include <SplashWindow.h>
#include <VXLibConfig.h>
#include <afxwin.h>
#include "message_shots.h"

namespace {

CString Text(UINT id) {
    CString s;
    s.LoadString(id);
    return s;
}

const unsigned short* U16(const CString& s) { return reinterpret_cast<const unsigned short*>(s.GetString()); }

bool Is(const wchar_t* language) { return lstrcmpW(VXLibConfig::GetUILanguage(), language) == 0; }

CString AppName() { return AfxGetApp() ? AfxGetApp()->m_pszAppName : L""; }

int Show(const CString& text, const CString& caption, UINT type, SXMSGBOX& rec) {
    return SxMessageBox(static_cast<HWND>(nullptr), U16(text), U16(caption), type, &rec);
}

} // namespace

void ShotCheckBoxBox() {
    CString check = Text(2023);
    UINT value = 0;
    SXMSGBOX rec{SX_MSGBOX_CHECKBOX, 0, U16(check), &value, 0, 0};
    // A connection hint, as the hinted messages show one (its opening quotation mark is one the
    // German text needs the dialog font for).
    Show(Text(2028), Text(2200), MB_OK | MB_ICONINFORMATION, rec);
}

void ShotCountDownBox() {
    // Long enough for the picture: the first second shows the full count.
    CString text = Text(2007) + L"\n\n" +
                   (Is(L"Deutsch")    ? L"Dieses Fenster schlie\u00dft sich in (T) Sekunden."
                    : Is(L"Japanese") ? L"\u3053\u306e\u30a6\u30a3\u30f3\u30c9\u30a6\u306f (T) \u79d2\u5f8c\u306b\u9589\u3058\u307e\u3059\u3002"
                                      : L"This box closes in (T) seconds.");
    SXMSGBOX rec{0, 30, nullptr, nullptr, 0, 0};
    Show(text, AppName(), MB_OKCANCEL | MB_ICONINFORMATION, rec);
}

void ShotRightButtonsBox() {
    SXMSGBOX rec{SX_MSGBOX_RIGHT_BUTTONS, 0, nullptr, nullptr, 0, 0};
    Show(Text(2013), AppName(), MB_RETRYCANCEL | MB_ICONWARNING, rec);
}

void ShotCenteredTextBox() {
    SXMSGBOX rec{SX_MSGBOX_CENTER_TEXT, 0, nullptr, nullptr, 0, 0};
    Show(Text(2005), AppName(), MB_YESNO | MB_ICONQUESTION, rec);
}

void ShotNotifyPopup() {
    CString text = Text(2016);
    ShowNotifyMessage(U16(text), 0, SPLASH_ICON_INFORMATION, nullptr, 0, 0);
    // The popup lives on this thread: handle its messages until the screenshot host closes it.
    HWND popup = FindWindowW(SPLASH_WINDOW_CLASS, text);
    while (popup && IsWindow(popup)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
