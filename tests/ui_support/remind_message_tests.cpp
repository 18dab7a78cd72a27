// The remind texts of Hintbook and the hinted message in real processes: Hintbook.dll beside
// the program, a host of the same installation reading the capability record this process
// writes, and host copies in folders without Hintbook or with a Hintbook that lacks the entry
// point.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <afxwin.h>
#include <host_driver.h>
#include <installation.h>
#include <test_paths.h>
#include "box_script.h"

namespace {

const wchar_t kBatteryLow[] = L"The handset's battery is low. Charge it before a long transfer.";

std::wstring AppName() { return AfxGetApp() ? AfxGetApp()->m_pszAppName : L""; }

// A host's hint box, answered from this process while the host waits in the box.
struct HostBox {
    std::wstring text;
    int checked = -1;   // -1: no check box
};

// Sends command to host and answers the box with caption that the host shows meanwhile:
// toggles its check box when asked and presses OK. The host's reply in *reply.
bool AnswerHostBox(HostProcess& host, const std::string& command, const wchar_t* caption, bool toggle, HostBox* seen,
                   std::string* reply) {
    BoxThread call([&] {
        *reply = host.Value(command, 20000);
        return 0;
    });
    HWND box = WaitForBox(caption);
    if (!box) return false;
    seen->text = TextOf(TextControl(box));
    HWND check = GetDlgItem(box, IDC_SX_CHECKBOX);
    seen->checked = check ? int(SendMessageW(check, BM_GETCHECK, 0, 0)) : -1;
    if (toggle && check) Click(check);
    Click(ButtonById(box, IDOK));
    return call.Wait(20000);
}

} // namespace

TEST(RemindMessages, TextsFromHintbookBesideTheProgram) {
    struct Row { int type, time, index; const wchar_t* text; };
    const Row rows[] = {
        {0, 6, 1, L"Connect the handset with the USB data cable (VX-200) and switch it on."},
        {1, 0, 0, kBatteryLow},
        {0, 6, 9999, L""},
        {0, 6, -1, L""},
        {0, 5, 1, L""},
        {7, 6, 1, L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.type << "/" << r.time << "/" << r.index);
        EXPECT_STREQ(r.text, GetRemindMessage(ACTION_TYPE(r.type), ACTION_TIME(r.time), r.index).GetString());
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"Hintbook.dll"));   // freed after each call
}

TEST(RemindMessages, ShownInABoxOrMinusOneWithoutText) {
    struct Row { int type, time, index; UINT mbType; int button; const wchar_t* text; int result; };
    const Row rows[] = {
        {1, 0, 0, MB_OKCANCEL, IDCANCEL, kBatteryLow, IDCANCEL},
        {1, 1, 0, MB_OK | MB_ICONINFORMATION, IDOK, L"The transfer has finished. You can disconnect the handset now.", IDOK},
        {0, 6, 9999, MB_OK, IDOK, nullptr, -1},
        {3, 3, 3, MB_YESNO, IDYES, nullptr, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.type << "/" << r.time << "/" << r.index);
        BoxThread call([&] { return ShowRemindMessage(ACTION_TYPE(r.type), ACTION_TIME(r.time), r.index, r.mbType); });
        bool finished = false;
        std::vector<SeenBox> seen = PlayBoxes(call, {{false, r.button}}, &finished);
        ASSERT_TRUE(finished);
        EXPECT_EQ(r.result, call.result());
        ASSERT_EQ(r.text ? 1u : 0u, seen.size());
        if (r.text) {
            EXPECT_EQ(AppName(), seen[0].caption);
            EXPECT_EQ(r.text, seen[0].text);
        }
    }
}

// The engine's side (this process) writes the module's hint number into the shared record;
// a user-interface process of the same installation shows that hint.
TEST(RemindMessages, HostShowsTheHintThatTheSharedRecordNames) {
    struct Restore {
        unsigned long value = g_cap.adwModuleValue[3];
        std::wstring model{reinterpret_cast<const wchar_t*>(g_szTP_Model)};
        ~Restore() {
            g_cap.adwModuleValue[3] = value;
            lstrcpynW(reinterpret_cast<wchar_t*>(g_szTP_Model), model.c_str(), CORELINK_TEXT_UNITS);
        }
    } restore;
    g_szTP_Model[0] = 0;
    g_cap.adwModuleValue[3] = 29;   // module 4
    HostProcess host;
    ASSERT_TRUE(host.Start(BinFolder() + L"\\hint_host.exe"));
    HostBox seen;
    std::string reply;
    ASSERT_TRUE(AnswerHostBox(host, "hint 4 1", L"Connection hint", true, &seen, &reply));
    EXPECT_EQ(L"Point the handset's infrared port at the adapter (VX-200) and keep it within 30 cm.", seen.text);
    EXPECT_EQ(1, seen.checked);
    EXPECT_EQ("1 0", reply);   // no message box: 1; unchecked by the user
    EXPECT_EQ(0, host.Quit());
}

// Without Hintbook.dll beside the host: no remind text, no remind box, and the hint box
// shows an empty text (its check box still answers).
TEST(RemindMessages, WithoutHintbook) {
    Installation inst({{L"hint_host.exe", L"hint_host.exe"}});
    ASSERT_TRUE(inst.Ok());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(inst.Path(L"Hintbook.dll").c_str()));
    HostProcess host;
    ASSERT_TRUE(host.Start(inst.Path(L"hint_host.exe")));
    EXPECT_EQ("", host.Value("remind 0 6 1"));
    EXPECT_EQ("-1", host.Value("show-remind 1 0 0"));
    EXPECT_EQ("1", host.Value("module-hint 3 1"));
    HostBox seen;
    std::string reply;
    ASSERT_TRUE(AnswerHostBox(host, "hint 4 0", L"Connection hint", true, &seen, &reply));
    EXPECT_EQ(L"", seen.text);
    EXPECT_EQ(0, seen.checked);
    EXPECT_EQ("1 1", reply);
    EXPECT_EQ(0, host.Quit());
}

// A library named Hintbook without the entry point gives no text either.
TEST(RemindMessages, HintbookWithoutTheEntryPoint) {
    Installation inst({{L"hint_host.exe", L"hint_host.exe"}, {L"Corelink(Deutsch).lng", L"Hintbook.dll"}});
    ASSERT_TRUE(inst.Ok());
    HostProcess host;
    ASSERT_TRUE(host.Start(inst.Path(L"hint_host.exe")));
    EXPECT_EQ("", host.Value("remind 0 6 1"));
    EXPECT_EQ("-1", host.Value("show-remind 1 0 0"));
    EXPECT_EQ(0, host.Quit());
}
