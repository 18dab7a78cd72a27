// The name and position dialogs run modally, driven by a watcher: typed into, answered, read.
#include <gtest/gtest.h>
#include <functional>
#include "controls_test_support.h"
#include "unique_res.h"

using namespace controls_test;

namespace {

const int kList1 = 15016, kList2 = 15017, kEdit = 15018, kPlace = 15019, kPositions = 15000;
const wchar_t kApp[] = L"Name test";

struct Rows {
    std::vector<std::wstring> texts;
    std::vector<LRESULT> data;
    int sel = -2;
};

Rows ComboRows(HWND combo) {
    Rows r;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        int len = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
        std::wstring s(len + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&s[0]));
        s.resize(len);
        r.texts.push_back(s);
        r.data.push_back(SendMessageW(combo, CB_GETITEMDATA, i, 0));
    }
    r.sel = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    return r;
}

bool Visible(HWND dlg, int id) { return IsWindowVisible(GetDlgItem(dlg, id)) != FALSE; }

// The dialog's thread has handled everything sent or posted before this returns.
void Settle(HWND dlg) {
    DWORD_PTR r;
    SendMessageTimeoutW(dlg, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r);
}

// Presses OK; when a message box comes, reads it and answers it. "" when none came (the
// dialog then either closed or stayed open without a word).
std::wstring PressOk(HWND dlg, int answer = IDOK) {
    gui::ClickId(dlg, IDOK);
    HWND box = nullptr;
    gui::WaitFor([&] { return !IsWindow(dlg) || (box = gui::FindTopLevel(kApp, L"#32770")) != nullptr; }, gui::ms(1500));
    if (!box) {
        Settle(dlg);
        box = gui::FindTopLevel(kApp, L"#32770");
        if (!box) return L"";
    }
    std::wstring text = gui::MessageBoxText(box);
    gui::ClickId(box, answer);
    gui::WaitForClose(box);
    Settle(dlg);
    return text;
}

// Runs dlg modally while script drives it (the dialog found by its class and a title).
template <class Dlg>
INT_PTR RunWith(Dlg& dlg, const std::function<void(HWND)>& script, bool* rescued = nullptr) {
    gui::Watcher watcher([&] {
        HWND h = nullptr;
        gui::WaitFor([&] {
            h = gui::FindTopLevel(nullptr, L"#32770");
            return h && gui::TextOf(h) != kApp;
        });
        if (h) script(h);
    });
    INT_PTR r = dlg.DoModal();
    bool forced = watcher.Rescued();
    if (rescued) *rescued = forced;
    else EXPECT_FALSE(forced);
    return r;
}

void SetNames(CxStringList& names, CxStringList& flags, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
    for (const auto& r : rows) {
        names.AddTail(r.first);
        flags.AddTail(r.second);
    }
}

class NameDialog : public testing::Test {
protected:
    void SetUp() override {
        if (!gui::DisplayAvailable()) GTEST_SKIP() << "no working display";
    }
    CWinApp app_{kApp};
};

} // namespace

TEST_F(NameDialog, ModesShowTheirControlTitleAndRows) {
    struct Row {
        const char* name;
        int mode;
        BOOL firstIsCurrent;
        int control;
        UINT title;
        std::vector<std::wstring> rows;
        std::vector<LRESULT> data;
        int sel;
    };
    const std::wstring special = Text(2014), current = Text(2021);
    const Row rows[] = {
        {"mode 1: the edit", 1, FALSE, kEdit, 2003, {}, {}, 0},
        {"mode 2: names flagged W", 2, FALSE, kList1, 2003, {L"X", L"Z"}, {0, 2}, -1},
        {"mode 2, first is current", 2, TRUE, kList1, 2003, {L"X", L"Z"}, {0, 2}, 0},
        {"mode 3: the list, first row chosen", 3, FALSE, kList2, 2003, {L"X", L"Z"}, {0, 2}, 0},
        {"mode 4: every name and the special entry", 4, FALSE, kList2, 2004, {L"X", L"Y", L"Z", special}, {0, 1, 2, 3}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CNameSelectDlg dlg;
        dlg.m_nMode = r.mode;
        dlg.m_nMaxLen = 20;
        dlg.m_bFirstIsCurrent = r.firstIsCurrent;
        SetNames(dlg.m_lstNames, dlg.m_lstFlags, {{L"X", L"W"}, {L"Y", L""}, {L"Z", L"W"}});
        std::wstring title;
        std::vector<int> shown;
        Rows seen;
        RunWith(dlg, [&](HWND h) {
            title = gui::TextOf(h);
            for (int id : {kList1, kList2, kEdit})
                if (Visible(h, id)) shown.push_back(id);
            if (r.control != kEdit) seen = ComboRows(GetDlgItem(h, r.control));
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        });
        EXPECT_EQ(TitleText(r.title), title);
        EXPECT_EQ(std::vector<int>{r.control}, shown);
        if (r.control != kEdit) {
            EXPECT_EQ(r.rows, seen.texts);
            EXPECT_EQ(r.data, seen.data);
            EXPECT_EQ(r.sel, seen.sel);
        }
    }
}

TEST_F(NameDialog, TitleCarriesTheNameOrTheDefaultLimits) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(WS_EX_TOOLWINDOW, nullptr, L"Quillbox main", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    CWnd* savedMain = g_pMainFrame;
    g_pMainFrame = &main;
    struct Row { const char* name; int maxLen, maxWide; BOOL titleName; std::wstring title; int limit, wideLimit; };
    const Row rows[] = {
        {"limits given", 10, 0, FALSE, TitleText(2003), 10, 0},
        {"limits given, a name in the title", 10, 0, TRUE, TitleText(2003) + L"-Song.mp3", 10, 0},
        {"no limits", 0, 0, TRUE, L"Quillbox main - \"Song.mp3\" " + Text(2022), 1024, 1024},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CNameSelectDlg dlg;
        dlg.m_nMode = 1;
        dlg.m_nMaxLen = r.maxLen;
        dlg.m_nMaxWideLen = r.maxWide;
        dlg.m_bTitleName = r.titleName;
        dlg.m_strTitleName = L"Song.mp3";
        std::wstring title;
        RunWith(dlg, [&](HWND h) {
            title = gui::TextOf(h);
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        });
        EXPECT_EQ(r.title, title);
        EXPECT_EQ(r.limit, dlg.m_nMaxLen);
        EXPECT_EQ(r.wideLimit, dlg.m_nMaxWideLen);
    }
    g_pMainFrame = savedMain;
}

TEST_F(NameDialog, TypedNamesAreCheckedBeforeTheDialogCloses) {
    // Each row: what is typed, the limits, the answer to a question, the name in the title
    // (none: the title carries no name); what the OK brought up (a box's text or nothing),
    // what the edit shows afterwards and whether the dialog closed.
    struct Row {
        std::string name;
        std::wstring typed;
        int maxLen, maxWide;
        int answer;
        std::wstring message;
        std::wstring after;
        bool closed;
        std::wstring result;
        const wchar_t* titleName = nullptr;
    };
    const std::wstring latin12 = L"ABCDEFGHIJKL", wide8 = L"\x65E5\x672C\x8A9E\x540D\x524D\x6587\x5B57\x5217";
    // A character outside the first plane: two UTF-16 units that are cut together or not at all.
    const std::wstring smiley = L"\xD83D\xDE00";
    std::vector<Row> rows = {
        {"fits", L"Holiday", 10, 0, 0, L"", L"Holiday", true, L"Holiday"},
        {"blanks around it are dropped", L"  Holiday  ", 10, 0, 0, L"", L"  Holiday  ", true, L"Holiday"},
        {"too long, cut", latin12, 10, 0, IDYES, Text(2005), L"ABCDEFGHIJ", false, L"ABCDEFGHIJ"},
        {"too long, kept", latin12, 10, 0, IDNO, Text(2005), latin12, false, latin12},
        {"wide characters not allowed", L"Caf\x00E9 \x65E5", 10, 0, 0, Text(2006), L"Caf\x00E9 \x65E5", false, L""},
        {"wide characters cut to their limit", wide8, 20, 6, IDYES, Text(2005), wide8.substr(0, 6), false, wide8.substr(0, 6)},
        {"a pair across the limit is cut before it", L"ab" + smiley + L"cd", 20, 3, IDYES, Text(2005), L"ab", false, L"ab"},
        {"a pair within the limit is kept", L"ab" + smiley + L"cd", 20, 4, IDYES, Text(2005), L"ab" + smiley, false, L"ab" + smiley},
        {"Latin-1 is not wide", L"Caf\x00E9", 10, 0, 0, L"", L"Caf\x00E9", true, L"Caf\x00E9"},
        {"a question mark at the end", L"why?", 10, 0, 0, Text(2022), L"why?", false, L"why?"},
        {"a leading dot", L".hidden", 10, 0, 0, Text(2205), L".hidden", false, L".hidden"},
        {"only blanks", L"   ", 10, 0, 0, L"", L"   ", false, L""},
        // With a name in the title both names are checked: the one in the title and the typed one
        // that comes back in m_strName. Each takes the limit its own characters call for.
        {"title: both names pass", L"Trip", 10, 0, 0, L"", L"", true, L"Trip", L"Song"},
        {"title: a colon in the typed name", L"a:b", 10, 0, 0, Text(2022), L"a:b", false, L"a:b", L"Song"},
        {"title: a leading dot in the typed name", L".x", 10, 0, 0, Text(2205), L".x", false, L".x", L"Song"},
        {"title: a leading dot in the title's name", L"x", 10, 0, 0, Text(2205), L"x", false, L"x", L".Song"},
        {"title: the typed name too long, cut", latin12, 10, 0, IDYES, Text(2005), L"ABCDEFGHIJ", false, L"ABCDEFGHIJ", L"Song"},
        {"title: a wide typed name without a wide limit", L"\x65E5", 10, 0, 0, Text(2006), L"\x65E5", false, L"", L"Song"},
        {"title: a Latin title name over the Latin limit", L"\x65E5\x672C", 10, 20, IDNO, Text(2005), L"\x65E5\x672C", false,
         L"\x65E5\x672C", L"Song title long"},
        {"title: a wide title name over the wide limit", L"abc", 20, 6, IDNO, Text(2005), L"abc", false, L"abc", wide8.c_str()},
    };
    // Every character that file names cannot hold, inside a name.
    for (wchar_t c : std::wstring(L"\\/:*?\"<>|")) {
        const std::wstring typed = std::wstring(L"a") + c + L"b";
        rows.push_back({std::string("forbidden character ") + static_cast<char>(c), typed, 10, 0, 0, Text(2022), typed, false, typed});
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CNameSelectDlg dlg;
        dlg.m_nMode = 1;
        dlg.m_nMaxLen = r.maxLen;
        dlg.m_nMaxWideLen = r.maxWide;
        dlg.m_bTitleName = r.titleName != nullptr;
        if (r.titleName) dlg.m_strTitleName = r.titleName;
        std::wstring message, after, title;
        bool closed = false;
        RunWith(dlg, [&](HWND h) {
            // WM_CHAR carries one UTF-16 unit; a text with a pair in it is set whole.
            if (r.typed.find_first_of(smiley) == std::wstring::npos) gui::Type(GetDlgItem(h, kEdit), r.typed);
            else gui::SetText(GetDlgItem(h, kEdit), r.typed);
            message = PressOk(h, r.answer ? r.answer : IDOK);
            closed = !IsWindow(h);
            if (closed) return;
            after = gui::TextOf(GetDlgItem(h, kEdit));
            title = gui::TextOf(h);
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        });
        EXPECT_EQ(r.message, message);
        EXPECT_EQ(r.closed, closed);
        if (!r.closed) {
            EXPECT_EQ(r.after, after);
            // The title shows the title's name as it stands, whatever became of the typed one.
            EXPECT_EQ(TitleText(2003) + (r.titleName ? L"-" + std::wstring(r.titleName) : L""), title);
        }
        if (!r.result.empty()) {
            EXPECT_EQ(r.result, std::wstring(dlg.m_strName.GetString()));
        }
        if (r.titleName) {
            EXPECT_STREQ(r.titleName, dlg.m_strTitleName);   // only a cut of the title's own name changes it
        }
    }
}

TEST_F(NameDialog, ACutNameIsAcceptedByTheNextOk) {
    CNameSelectDlg dlg;
    dlg.m_nMode = 1;
    dlg.m_nMaxLen = 10;
    SetNames(dlg.m_lstNames, dlg.m_lstFlags, {{L"Other", L"W"}, {L"ABCDEFGHIJ", L"W"}});
    std::wstring first, second;
    EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
        gui::Type(GetDlgItem(h, kEdit), L"ABCDEFGHIJKL");
        first = PressOk(h, IDYES);
        second = PressOk(h);
        gui::WaitForClose(h);
    }));
    EXPECT_EQ(Text(2005), first);
    EXPECT_EQ(L"", second);
    EXPECT_STREQ(L"ABCDEFGHIJ", dlg.m_strName);
    EXPECT_EQ(1, dlg.m_nSelIndex);   // its place among the names
}

TEST_F(NameDialog, ANameInTheTitleIsTheOneMeasuredAndCut) {
    CNameSelectDlg dlg;
    dlg.m_nMode = 1;
    dlg.m_nMaxLen = 10;
    dlg.m_bTitleName = TRUE;
    dlg.m_strTitleName = L"Song title long.mp3";
    std::wstring question, titleAfter, editAfter, second;
    EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
        gui::Type(GetDlgItem(h, kEdit), L"x");
        question = PressOk(h, IDYES);
        titleAfter = gui::TextOf(h);
        editAfter = gui::TextOf(GetDlgItem(h, kEdit));
        second = PressOk(h);
        gui::WaitForClose(h);
    }));
    EXPECT_EQ(Text(2005), question);
    EXPECT_EQ(TitleText(2003) + L"-Song title", titleAfter);
    EXPECT_EQ(L"Song title", editAfter);   // the cut name goes into the box
    EXPECT_EQ(L"", second);
    EXPECT_STREQ(L"Song title", dlg.m_strTitleName);
    EXPECT_STREQ(L"Song title", dlg.m_strName);
}

TEST_F(NameDialog, TheIndexOfAnExistingNameComesBack) {
    struct Row { const char* name; int mode; BOOL firstIsCurrent; const wchar_t* chosen; int index; };
    const Row rows[] = {
        {"mode 2, a listed name", 2, FALSE, L"Z", 2},
        {"mode 2, a new name", 2, FALSE, L"New", -1},
        {"mode 2, counted after the current name", 2, TRUE, L"Z", 1},
        {"mode 3, a chosen row", 3, FALSE, L"Z", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CNameSelectDlg dlg;
        dlg.m_nMode = r.mode;
        dlg.m_nMaxLen = 20;
        dlg.m_bFirstIsCurrent = r.firstIsCurrent;
        SetNames(dlg.m_lstNames, dlg.m_lstFlags, {{L"X", L"W"}, {L"Y", L""}, {L"Z", L"W"}});
        EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
            HWND combo = GetDlgItem(h, r.mode == 2 ? kList1 : kList2);
            if (r.mode == 2) gui::SetText(combo, r.chosen);
            else SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(r.chosen));
            PressOk(h);
            gui::WaitForClose(h);
        }));
        EXPECT_STREQ(r.chosen, dlg.m_strName);
        EXPECT_EQ(r.index, dlg.m_nSelIndex);
    }
}

TEST_F(NameDialog, ModeFourGivesTheRowAndAddsTheSpecialEntryOnce) {
    CNameSelectDlg dlg;
    dlg.m_nMode = 4;
    SetNames(dlg.m_lstNames, dlg.m_lstFlags, {{L"A", L""}, {L"B", L""}});
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "first run" : "second run on the same object");
        Rows seen;
        EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
            HWND combo = GetDlgItem(h, kList2);
            seen = ComboRows(combo);
            SendMessageW(combo, CB_SETCURSEL, 2, 0);
            PressOk(h);
            gui::WaitForClose(h);
        }));
        EXPECT_EQ((std::vector<std::wstring>{L"A", L"B", Text(2014)}), seen.texts);
        EXPECT_EQ(0, seen.sel);
        EXPECT_EQ(2, dlg.m_nSelIndex);
        EXPECT_EQ(3, dlg.m_lstNames.GetCount());
        EXPECT_EQ(Text(2014), std::wstring(dlg.m_strSpecial.GetString()));
    }

    CNameSelectDlg plain;
    plain.m_nMode = 4;
    plain.m_bAddSpecial = FALSE;
    SetNames(plain.m_lstNames, plain.m_lstFlags, {{L"A", L""}});
    Rows seen;
    RunWith(plain, [&](HWND h) {
        seen = ComboRows(GetDlgItem(h, kList2));
        gui::ClickId(h, IDCANCEL);
        gui::WaitForClose(h);
    });
    EXPECT_EQ(std::vector<std::wstring>{L"A"}, seen.texts);
}

TEST_F(NameDialog, ModeFiveTakesANameAndAPlace) {
    // The height of the dialog without the place row, for comparison.
    int plainHeight = 0;
    {
        CNameSelectDlg one;
        one.m_nMode = 1;
        one.m_nMaxLen = 20;
        RunWith(one, [&](HWND h) {
            RECT r;
            GetWindowRect(h, &r);
            plainHeight = r.bottom - r.top;
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        });
    }
    // Each row: the caller's names and flags; the place rows offered (string 2021 first, always),
    // their item data, the row selected at first and the name in the edit box; the row then
    // chosen and the index that comes back (the place's position among the caller's names,
    // after the current one).
    struct Row {
        const char* name;
        BOOL firstIsCurrent;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> names;
        std::vector<std::wstring> rows;
        std::vector<LRESULT> data;
        int sel;
        std::wstring edit;
        int choose;
        int index;
    };
    const std::wstring current = Text(2021);
    const Row rows[] = {
        {"the current name, every place flagged", TRUE, {{L"Holiday", L"W"}, {L"Phone", L"W"}, {L"Card", L"W"}},
         {current, L"Phone", L"Card"}, {0, 1, 2}, 0, L"Holiday", 2, 1},
        {"no current name", FALSE, {{L"Phone", L"W"}, {L"Card", L"W"}}, {current, L"Phone", L"Card"}, {0, 1, 2}, -1, L"", 2, 1},
        {"no current name, the current place chosen", FALSE, {{L"Phone", L"W"}, {L"Card", L"W"}}, {current, L"Phone", L"Card"},
         {0, 1, 2}, -1, L"", 0, -1},
        {"an unflagged current name and place", TRUE, {{L"Holiday", L""}, {L"Phone", L""}, {L"Card", L"W"}, {L"Disk", L"W"}},
         {current, L"Card", L"Disk"}, {0, 2, 3}, 0, L"Holiday", 2, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CNameSelectDlg dlg;
        dlg.m_nMode = 5;
        dlg.m_nMaxLen = 20;
        dlg.m_bFirstIsCurrent = r.firstIsCurrent;
        for (const auto& n : r.names) {
            dlg.m_lstNames.AddTail(n.first);
            dlg.m_lstFlags.AddTail(n.second);
        }
        // The same object run again shows what it showed the first time.
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(run == 0 ? "first run" : "second run on the same object");
            Rows seen;
            std::wstring edit;
            bool placeShown = false, editShown = false;
            LONG listTop = 0, placeTop = -1;
            int height = 0;
            EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
                HWND combo = GetDlgItem(h, kList2);
                seen = ComboRows(combo);
                edit = gui::TextOf(GetDlgItem(h, kEdit));
                placeShown = Visible(h, kPlace);
                editShown = Visible(h, kEdit) && Visible(h, kList2);
                RECT a, b, me;
                GetWindowRect(combo, &a);
                GetWindowRect(GetDlgItem(h, kPlace), &b);
                GetWindowRect(h, &me);
                listTop = a.top;
                placeTop = b.top;
                height = me.bottom - me.top;
                SendMessageW(combo, CB_SETCURSEL, r.choose, 0);
                gui::SetText(GetDlgItem(h, kEdit), L"");
                std::wstring none = PressOk(h);   // an empty name: stays open, silently
                if (!none.empty() || !IsWindow(h)) return;
                gui::SetText(GetDlgItem(h, kEdit), L"Trip");
                PressOk(h);
                gui::WaitForClose(h);
            }));
            EXPECT_EQ(r.rows, seen.texts);
            EXPECT_EQ(r.data, seen.data);
            EXPECT_EQ(r.sel, seen.sel);
            EXPECT_EQ(r.edit, edit);
            EXPECT_TRUE(placeShown);
            EXPECT_TRUE(editShown);
            EXPECT_EQ(placeTop, listTop);
            EXPECT_EQ(plainHeight + 25, height);
            EXPECT_STREQ(L"Trip", dlg.m_strName);
            EXPECT_EQ(r.index, dlg.m_nSelIndex);
        }
    }
}

TEST_F(NameDialog, AnUnknownModeHasNoInputAndOnlyCancels) {
    for (int mode : {0, 6, -1}) {
        SCOPED_TRACE(mode);
        CNameSelectDlg dlg;
        dlg.m_nMode = mode;
        dlg.m_nMaxLen = 10;
        bool openAfterOk = false;
        std::vector<int> shown;
        EXPECT_EQ(IDCANCEL, RunWith(dlg, [&](HWND h) {
            for (int id : {kList1, kList2, kEdit})
                if (Visible(h, id)) shown.push_back(id);
            DWORD_PTR ignored;
            SendMessageTimeoutW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &ignored);
            Settle(h);
            openAfterOk = IsWindow(h) && IsWindowVisible(h);
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        }));
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(openAfterOk);
        EXPECT_EQ(nullptr, dlg.m_pActiveCtrl);
    }
}

TEST_F(NameDialog, TextsComeFromTheLanguageFile) {
    win32::unique_hmodule german(LoadLibraryW(L"Corelink(Deutsch).lng"));
    ASSERT_TRUE(german);
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(german.get());
    const std::wstring question = Text(2005), title = TitleText(2003);
    CNameSelectDlg dlg;
    dlg.m_nMode = 1;
    dlg.m_nMaxLen = 4;
    std::wstring seenTitle, message;
    RunWith(dlg, [&](HWND h) {
        seenTitle = gui::TextOf(h);
        gui::Type(GetDlgItem(h, kEdit), L"Urlaub");
        message = PressOk(h, IDNO);
        gui::ClickId(h, IDCANCEL);
        gui::WaitForClose(h);
    });
    AfxSetResourceHandle(saved == GetModuleHandleW(nullptr) ? nullptr : saved);
    EXPECT_EQ(L"Namen eingeben", title);
    EXPECT_EQ(title, seenTitle);
    EXPECT_NE(std::wstring::npos, question.find(L"gekürzt"));
    EXPECT_EQ(question, message);
}

TEST(PosSelectDialog, RowsAndTheChosenRow) {
    GUI_TEST_REQUIRES_DISPLAY();
    struct Row {
        const char* name;
        std::vector<const wchar_t*> positions;
        BOOL special;
        int before;
        int choose;   // -2: leave the first row
        std::vector<std::wstring> rows;
        int pos;
    };
    const Row rows[] = {
        {"three and the special entry, the last chosen", {L"1", L"2", L"3"}, TRUE, 0, 3, {L"1", L"2", L"3", Text(2014)}, 3},
        {"the first row is selected whatever m_nPos held", {L"1", L"2", L"3"}, TRUE, 2, -2, {L"1", L"2", L"3", Text(2014)}, 0},
        {"without the special entry", {L"Top", L"Bottom"}, FALSE, 0, 1, {L"Top", L"Bottom"}, 1},
        {"nothing to choose", {}, FALSE, 5, -2, {}, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CPosSelectDlg dlg;
        for (const wchar_t* p : r.positions) dlg.m_lstPositions.AddTail(p);
        dlg.m_bAddSpecial = r.special;
        dlg.m_nPos = r.before;
        Rows seen;
        EXPECT_EQ(IDOK, RunWith(dlg, [&](HWND h) {
            HWND combo = GetDlgItem(h, kPositions);
            seen = ComboRows(combo);
            if (r.choose != -2) SendMessageW(combo, CB_SETCURSEL, r.choose, 0);
            gui::ClickId(h, IDOK);
            gui::WaitForClose(h);
        }));
        EXPECT_EQ(r.rows, seen.texts);
        EXPECT_EQ(r.rows.empty() ? -1 : 0, seen.sel);
        EXPECT_EQ(r.pos, dlg.m_nPos);
    }
}
