// Dialogs of the MFC subset: templates through the resource chain, data exchange both ways,
// OK and Cancel driven by a watcher; message boxes and string resources.
#include <gtest/gtest.h>
#include <afxcmn.h>
#include <afxwin.h>
#include <algorithm>
#include <vector>
#include "gui_watch.h"
#include "platform_test_ids.h"
#include "test_resource_module.h"

namespace {

class CFormDlg : public CDialog {
public:
    explicit CFormDlg(CWnd* parent = nullptr) : CDialog(IDD_TEST_FORM, parent) {}
    CString m_strName = L"first";
    int m_nCount = 3;
    int m_nChoice = 1;
    int m_bCheck = 1;
    CEdit m_edName;
    CComboBox m_cbChoice;
    CProgressCtrl m_progress;
    int initCalls = 0;
    int okCalls = 0;

    BOOL OnInitDialog() override {
        ++initCalls;
        // Controls are bound by the first exchange; the list is filled before the index is set.
        CDataExchange bind(this, FALSE);
        DDX_Control(&bind, IDC_FORM_CHOICE, m_cbChoice);
        for (const wchar_t* s : {L"zero", L"one", L"two", L"three"}) m_cbChoice.AddString(s);
        BOOL r = CDialog::OnInitDialog();
        m_edName.LimitText(20);
        m_progress.SetRange32(0, 50);
        m_progress.SetPos(25);
        return r;
    }
    void OnOK() override {
        ++okCalls;
        CDialog::OnOK();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_FORM_NAME, m_edName);
        DDX_Control(pDX, IDC_FORM_CHOICE, m_cbChoice);
        DDX_Control(pDX, IDC_FORM_PROGRESS, m_progress);
        DDX_Text(pDX, IDC_FORM_NAME, m_strName);
        DDX_Text(pDX, IDC_FORM_COUNT, m_nCount);
        DDX_CBIndex(pDX, IDC_FORM_CHOICE, m_nChoice);
        DDX_Check(pDX, IDC_FORM_CHECK, m_bCheck);
    }
};

// What the watcher saw of the form when it opened.
struct FormView {
    std::wstring name, count, choice;
    bool checked = false;
    int progress = -1;
};

FormView read_form(HWND dlg) {
    FormView v;
    v.name = gui::TextOf(GetDlgItem(dlg, IDC_FORM_NAME));
    v.count = gui::TextOf(GetDlgItem(dlg, IDC_FORM_COUNT));
    v.choice = gui::TextOf(GetDlgItem(dlg, IDC_FORM_CHOICE));
    v.checked = SendMessageW(GetDlgItem(dlg, IDC_FORM_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED;
    v.progress = static_cast<int>(SendMessageW(GetDlgItem(dlg, IDC_FORM_PROGRESS), PBM_GETPOS, 0, 0));
    return v;
}

TEST(MfcDialog, TemplateFromAnExtensionModuleAndDataExchangeBothWays) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());

    CFormDlg dlg;
    FormView seen;
    gui::Watcher watcher([&] {
        HWND h = gui::WaitForTopLevel(L"Test form", L"#32770");
        if (!h) return;
        seen = read_form(h);
        gui::SetText(GetDlgItem(h, IDC_FORM_NAME), L"second");
        gui::SetText(GetDlgItem(h, IDC_FORM_COUNT), L"42");
        SendMessageW(GetDlgItem(h, IDC_FORM_CHOICE), CB_SETCURSEL, 3, 0);
        gui::Click(GetDlgItem(h, IDC_FORM_CHECK));
        gui::WaitFor([&] { return SendMessageW(GetDlgItem(h, IDC_FORM_CHECK), BM_GETCHECK, 0, 0) == BST_UNCHECKED; });
        gui::ClickId(h, IDOK);
        gui::WaitForClose(h);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(watcher.Rescued());

    // Loading: members to controls.
    EXPECT_EQ(L"first", seen.name);
    EXPECT_EQ(L"3", seen.count);
    EXPECT_EQ(L"one", seen.choice);
    EXPECT_TRUE(seen.checked);
    EXPECT_EQ(25, seen.progress);
    // Saving: controls to members, through OnOK.
    EXPECT_EQ(1, dlg.initCalls);
    EXPECT_EQ(1, dlg.okCalls);
    EXPECT_STREQ(L"second", dlg.m_strName);
    EXPECT_EQ(42, dlg.m_nCount);
    EXPECT_EQ(3, dlg.m_nChoice);
    EXPECT_EQ(0, dlg.m_bCheck);
    // The window is gone and the controls let go of theirs.
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_edName.m_hWnd);
}

TEST(MfcDialog, EscapeAndTheCloseBoxCancelWithoutSaving) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    struct Row { const char* how; int key; };
    for (const Row& r : {Row{"escape", VK_ESCAPE}, Row{"close box", 0}}) {
        SCOPED_TRACE(r.how);
        CFormDlg dlg;
        gui::Watcher watcher([&] {
            HWND h = gui::WaitForTopLevel(L"Test form", L"#32770");
            if (!h) return;
            gui::SetText(GetDlgItem(h, IDC_FORM_NAME), L"changed");
            if (r.key) gui::PressKey(h, r.key);
            else PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            gui::WaitForClose(h);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_FALSE(watcher.Rescued());
        EXPECT_STREQ(L"first", dlg.m_strName);
        EXPECT_EQ(0, dlg.okCalls);
    }
}

TEST(MfcDialog, EnterAndAMouseClickOnOkSave) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    struct Row { const wchar_t* how; bool mouse; };
    for (const Row& r : {Row{L"enter", false}, Row{L"mouse", true}}) {
        SCOPED_TRACE(r.how);
        CFormDlg dlg;
        gui::Watcher watcher([&] {
            HWND h = gui::WaitForTopLevel(L"Test form", L"#32770");
            if (!h) return;
            gui::SetText(GetDlgItem(h, IDC_FORM_NAME), r.how);
            if (r.mouse) {
                RECT rc{};
                GetWindowRect(GetDlgItem(h, IDOK), &rc);
                gui::MouseClick((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            } else {
                gui::PressKey(h, VK_RETURN);
            }
            gui::WaitForClose(h);
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_FALSE(watcher.Rescued());
        EXPECT_STREQ(r.how, dlg.m_strName);
        EXPECT_EQ(1, dlg.okCalls);
    }
}

// A dialog that decides in OnInitDialog not to run.
class CRefusingDlg : public CDialog {
public:
    CRefusingDlg() : CDialog(IDD_TEST_FORM) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        EndDialog(IDABORT);
        return FALSE;
    }
};

TEST(MfcDialog, EndingInOnInitDialogReturnsAtOnce) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    CRefusingDlg dlg;
    EXPECT_EQ(IDABORT, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(MfcDialog, AWrongNumberIsRefusedWithAMessageAndTheDialogStaysOpen) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    CWinApp app(L"Form test");
    CFormDlg dlg;
    std::wstring complaint;
    bool stayedOpen = false;
    gui::Watcher watcher([&] {
        HWND h = gui::WaitForTopLevel(L"Test form", L"#32770");
        if (!h) return;
        gui::SetText(GetDlgItem(h, IDC_FORM_COUNT), L"12x");
        gui::ClickId(h, IDOK);
        HWND box = gui::WaitForTopLevel(L"Form test", L"#32770");
        if (!box) return;
        complaint = gui::MessageBoxText(box);
        gui::ClickId(box, IDOK);
        gui::WaitForClose(box);
        stayedOpen = IsWindow(h) && IsWindowVisible(h);
        gui::SetText(GetDlgItem(h, IDC_FORM_COUNT), L"-7");
        gui::ClickId(h, IDOK);
        gui::WaitForClose(h);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(watcher.Rescued());
    EXPECT_EQ(L"Please enter an integer.", complaint);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(-7, dlg.m_nCount);
    EXPECT_EQ(2, dlg.okCalls);
}

TEST(MfcDialog, ModelessFromItsTemplate) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    CFormDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_FORM));
    EXPECT_EQ(1, dlg.initCalls);
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    EXPECT_EQ(L"first", gui::TextOf(dlg.GetDlgItem(IDC_FORM_NAME)->m_hWnd));
    dlg.SetDlgItemText(IDC_FORM_NAME, L"typed");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(L"typed", dlg.m_strName);
    EXPECT_FALSE(dlg.Create(IDD_TEST_FORM));   // one window per object
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_edName.m_hWnd);
}

TEST(MfcDialog, AMissingTemplateFailsAtOnce) {
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(MfcMessageBox, CaptionIsTheApplicationNameAndTheAnswerComesBack) {
    GUI_TEST_REQUIRES_DISPLAY();
    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    CWinApp app(L"Box test");
    struct Row { const char* name; UINT type; int press; int expected; bool byId; };
    const Row rows[] = {
        {"yes of yes/no", MB_YESNO | MB_ICONQUESTION, IDYES, IDYES, false},
        {"no of yes/no", MB_YESNO, IDNO, IDNO, false},
        {"cancel of ok/cancel by id", MB_OKCANCEL, IDCANCEL, IDCANCEL, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::wstring text;
        std::vector<int> buttons;
        gui::Watcher watcher([&] {
            HWND box = gui::WaitForTopLevel(L"Box test", L"#32770");
            if (!box) return;
            text = gui::MessageBoxText(box);
            for (const gui::Control& c : gui::ControlsOf(box))
                if (_wcsicmp(c.cls.c_str(), L"Button") == 0 && c.visible) buttons.push_back(c.id);
            gui::ClickId(box, r.press);
            gui::WaitForClose(box);
        });
        int got = r.byId ? AfxMessageBox(IDS_TEST_PROMPT, r.type) : AfxMessageBox(L"Plain question", r.type);
        EXPECT_FALSE(watcher.Rescued());
        EXPECT_EQ(r.expected, got);
        EXPECT_EQ(r.byId ? L"Continue with the test?" : L"Plain question", text);
        std::sort(buttons.begin(), buttons.end());
        const std::vector<int> expected = (r.type & 0xF) == MB_YESNO ? std::vector<int>{IDYES, IDNO}
                                                                     : std::vector<int>{IDOK, IDCANCEL};
        EXPECT_EQ(expected, buttons);
    }
}

TEST(MfcMessageBox, TheApplicationNameIsOwnedAndReplaced) {
    CWinApp app(L"Old name");
    app.SetAppName(L"New name");
    EXPECT_STREQ(L"New name", AfxGetApp()->m_pszAppName);
    app.SetAppName(nullptr);
    EXPECT_EQ(nullptr, app.m_pszAppName);
}

TEST(MfcResources, StringsThroughTheExtensionChain) {
    CString s(L"unchanged");
    EXPECT_FALSE(s.LoadString(IDS_TEST_GREETING));
    EXPECT_STREQ(L"unchanged", s);
    {
        ResourceModule res;
        ASSERT_TRUE(res.Ok());
        EXPECT_TRUE(s.LoadString(IDS_TEST_GREETING));
        EXPECT_STREQ(L"Gr\u00FC\u00DFe aus der Erweiterung", s);
        // The current resource source comes before the chain.
        AfxSetResourceHandle(res.Get());
        EXPECT_EQ(res.Get(), AfxGetResourceHandle());
        EXPECT_TRUE(s.LoadString(IDS_TEST_PROMPT));
        AfxSetResourceHandle(nullptr);
    }
    EXPECT_FALSE(s.LoadString(IDS_TEST_PROMPT));
}

} // namespace
