// Shared pieces of the controls tests: a top-level parent window that records the
// notifications it receives, texts of the resource source, and the dialogs' windows.
#pragma once
#include <afxwin.h>
#include <string>
#include <vector>
#include <Corelink.h>
#include "gui_watch.h"

namespace controls_test {

const UINT kButtonId = 1001;
const UINT kNotifyMsg = WM_APP + 5;

// A visible popup that logs, in order, the button's extra notifications ("xmb W L") and the
// combo-box style WM_COMMANDs about it ("selendok", "selchange", "selendcancel").
class CRecordingParent : public CWnd {
public:
    std::vector<std::string> log;
    // Every combo-box notification of any control, by name ("setfocus", "dropdown", "closeup",
    // "killfocus" and the three above), in order.
    std::vector<std::string> told;
    // WM_COMMANDs whose control was no longer a window when they came.
    int fromDeadWindows = 0;
    BOOL CreateAt(int x, int y, int w, int h);

protected:
    BOOL OnCommand(WPARAM w, LPARAM l) override;
    LRESULT OnXmb(WPARAM w, LPARAM l);
    void OnSelEndOk() { log.push_back("selendok"); }
    void OnSelChange() { log.push_back("selchange"); }
    void OnSelEndCancel() { log.push_back("selendcancel"); }
    DECLARE_MESSAGE_MAP()
};

// The button with its state visible to the tests.
class CTestMenuButton : public CxMenuButton {
public:
    bool Dropped() const { return m_bDropped; }
    void SetDropped(bool dropped) { m_bDropped = dropped; }
    const CString& Caption() const { return m_strCaption; }
};

// The text of string id of the current resource source.
std::wstring Text(UINT id);
// The part of a title string after its first line feed.
std::wstring TitleText(UINT id);
// The open list of the calling thread's buttons, or null.
CxMenuList* OpenList();
// The name of a combo-box notification code ("selendok", "dropdown", ...).
std::string ComboCode(UINT code);

} // namespace controls_test
