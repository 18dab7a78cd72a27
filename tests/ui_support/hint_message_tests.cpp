// ShowMessageWithHint with the real parts: the capability record in the shared block, the
// model and interface globals, Hintbook.dll beside the program, the suite's string resources
// (built in, and a language file), and the boxes answered as a user would.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <afxwin.h>
#include <test_paths.h>
#include <unique_res.h>
#include "box_script.h"

namespace {

CWinApp theApp(L"Hint Test");
const wchar_t kApp[] = L"Hint Test";

// The connection hints of Hintbook, numbered as they are asked for.
const wchar_t kHint1[] = L"Connect the handset with the USB data cable (VX-200) and switch it on.";
const wchar_t kHint2[] = L"Photos are copied over the data cable (VX-200). Keep the handset connected until the copy has finished.";
const wchar_t kHint6[] = L"Contacts are read from the handset's phone book. Unlock the handset if it asks for a code.";
const wchar_t kHint28[] = L"Connect the handset with the USB data cable (VX-200). The handset shows \"USB mode\" when it is ready.";
const wchar_t kHint29[] = L"Point the handset's infrared port at the adapter (VX-200) and keep it within 30 cm.";
const wchar_t kHint30[] = L"Switch on Bluetooth on the handset and on the adapter (VX-200), then pair them.";

// The Sharp models' information texts, from the built-in English strings.
const wchar_t kUsbInfo[] = L"Connect the handset with its USB data cable, then choose \"Data transfer\" on the handset's screen.";
const wchar_t kIrdaInfo[] =
    L"Before the first connection, prepare the handset:\r\n\r\n"
    L"Switch on the infrared port of the handset (Settings > Connectivity > Infrared).\r\n\r\n"
    L"Keep the handset within one metre of the computer while it connects.\r\nThen click OK to continue.";
const wchar_t kBluetoothInfo[] =
    L"Before the first connection, prepare the handset:\r\n\r\n"
    L"Switch on Bluetooth on the handset (Settings > Connectivity > Bluetooth).\r\n\r\n"
    L"Keep the handset within one metre of the computer while it connects.\r\nThen click OK to continue.\r\n"
    L"When the handset asks for a passkey, enter 0000 on the handset and on the computer.";

const wchar_t kHintCaption[] = L"Connection hint";
const wchar_t kCheckText[] = L"Do not show this hint again";

// The hint numbers of the seven modules 0, 1, 2, 4, 16, 32, 256 (2 has none).
const unsigned long kModuleHints[7] = {1, 6, 0xFFFFFFFFul, 2, 4, 5, 8};

void SetText(unsigned short (&field)[CORELINK_TEXT_UNITS], const wchar_t* text) {
    lstrcpynW(reinterpret_cast<wchar_t*>(field), text, CORELINK_TEXT_UNITS);
}

// The handset state the hints depend on, set in the shared block and put back afterwards.
class HintedMessage : public testing::Test {
protected:
    void SetUp() override {
        memcpy(savedModules_, g_cap.adwModuleValue, sizeof(savedModules_));
        memcpy(savedModel_, g_szTP_Model, sizeof(savedModel_));
        memcpy(savedIface_, g_szInterface, sizeof(savedIface_));
        savedUsb_ = g_nVX_USB;
        savedBt_ = g_nVX_BT;
        memcpy(g_cap.adwModuleValue, kModuleHints, sizeof(kModuleHints));
        Handset(L"VX-Phone", L"USB Cable");
        g_nVX_USB = g_nVX_BT = 0;
    }
    void TearDown() override {
        memcpy(g_cap.adwModuleValue, savedModules_, sizeof(savedModules_));
        memcpy(g_szTP_Model, savedModel_, sizeof(savedModel_));
        memcpy(g_szInterface, savedIface_, sizeof(savedIface_));
        g_nVX_USB = savedUsb_;
        g_nVX_BT = savedBt_;
        g_pMainFrame = nullptr;
        AfxSetResourceHandle(nullptr);
    }
    static void Handset(const wchar_t* model, const wchar_t* iface) {
        SetText(g_szTP_Model, model);
        SetText(g_szInterface, iface);
    }

private:
    unsigned long savedModules_[7];
    unsigned short savedModel_[CORELINK_TEXT_UNITS], savedIface_[CORELINK_TEXT_UNITS];
    int savedUsb_ = 0, savedBt_ = 0;
};

// A box as expected: caption, text, and the check box (-1: none; else its opening state).
struct Expected {
    const wchar_t* caption;
    const wchar_t* text;
    int checked;
};

struct HintCase {
    const char* name;
    const wchar_t* msg;
    UINT type;
    int module;
    const wchar_t* model;
    const wchar_t* iface;
    int vxUsb, vxBt;
    int nCheck;
    std::vector<BoxAnswer> answers;
    std::vector<Expected> boxes;
    int result;
    int checked;   // *pbChecked afterwards
};

const BoxAnswer kOk{false, IDOK};
const BoxAnswer kToggleOk{true, IDOK};
const wchar_t kMsg[] = L"The photos could not be read.";

const HintCase kCases[] = {
    {"message, then the module's hint, checked by the user", kMsg, MB_OK, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {kOk, kToggleOk}, {{kApp, kMsg, -1}, {kHintCaption, kHint2, 0}}, IDOK, 1},
    {"empty message: only the hint, opened checked", L"", MB_OK, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 1,
     {kOk}, {{kHintCaption, kHint2, 1}}, 1, 1},
    {"null message, hint unchecked by the user", nullptr, MB_OK, PHMGR_MODULE_CONTACTS, L"VX-Phone", L"IrDA", 0, 0, 5,
     {kToggleOk}, {{kHintCaption, kHint6, 1}}, 1, 0},
    {"Retry of a retry box: no hint", kMsg, MB_RETRYCANCEL, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 1,
     {{false, IDRETRY}}, {{kApp, kMsg, -1}}, IDRETRY, 1},
    {"Cancel of a retry box: the hint, with the same buttons", kMsg, MB_RETRYCANCEL, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {{false, IDCANCEL}, {false, IDRETRY}}, {{kApp, kMsg, -1}, {kHintCaption, kHint2, 0}}, IDCANCEL, 0},
    {"Retry of a retry box with an icon: no hint", kMsg, MB_RETRYCANCEL | MB_ICONWARNING, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {{false, IDRETRY}}, {{kApp, kMsg, -1}}, IDRETRY, 0},
    {"Ignore of an abort box: no hint", kMsg, MB_ABORTRETRYIGNORE, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {{false, IDIGNORE}}, {{kApp, kMsg, -1}}, IDIGNORE, 0},
    {"Abort of an abort box: the hint", kMsg, MB_ABORTRETRYIGNORE, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {{false, IDABORT}, {false, IDABORT}}, {{kApp, kMsg, -1}, {kHintCaption, kHint2, 0}}, IDABORT, 0},
    {"No of a question box: the hint", kMsg, MB_YESNO, PHMGR_MODULE_FILES, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {{false, IDNO}, {true, IDYES}}, {{kApp, kMsg, -1}, {kHintCaption, L"Calendar entries are synchronised both ways. Close the calendar on the handset first.", 0}}, IDNO, 1},
    {"module 8: no hint, only the message", kMsg, MB_OK, 8, L"VX-Phone", L"USB Cable", 0, 0, 1,
     {kOk}, {{kApp, kMsg, -1}}, IDOK, 1},
    {"module whose entry is -1: no hint", kMsg, MB_OK, PHMGR_MODULE_MESSAGES, L"VX-Phone", L"USB Cable", 0, 0, 0,
     {kOk}, {{kApp, kMsg, -1}}, IDOK, 0},
    {"SHARP_GX25 on IrDA: hint 29 for a module without a hint", L"", MB_OK, 8, L"SHARP_GX25", L"IrDA", 0, 0, 0,
     {kOk}, {{kHintCaption, kHint29, 0}}, 1, 0},
    {"SHARP_GX25 on USB Cable: hint 28", L"", MB_OK, PHMGR_MODULE_PHOTOS, L"SHARP_GX25", L"USB Cable", 0, 0, 0,
     {kOk}, {{kHintCaption, kHint28, 0}}, 1, 0},
    {"SHARP_GX25 on Bluetooth: hint 30", L"", MB_OK, PHMGR_MODULE_MAIN, L"SHARP_GX25", L"Bluetooth", 0, 0, 0,
     {kOk}, {{kHintCaption, kHint30, 0}}, 1, 0},
    {"SHARP_GX25 on another interface: no hint", kMsg, MB_OK, PHMGR_MODULE_PHOTOS, L"SHARP_GX25", L"Serial", 0, 0, 0,
     {kOk}, {{kApp, kMsg, -1}}, IDOK, 0},
    {"sharp_gx25 is not the model: the module's hint", L"", MB_OK, PHMGR_MODULE_PHOTOS, L"sharp_gx25", L"IrDA", 0, 0, 0,
     {kOk}, {{kHintCaption, kHint2, 0}}, 1, 0},
    {"SHARP_902SH on USB Cable: information, then the hint", kMsg, MB_OK, PHMGR_MODULE_PHOTOS, L"SHARP_902SH", L"USB Cable", 0, 0, 0,
     {kOk, kOk, kOk}, {{kApp, kMsg, -1}, {kApp, kUsbInfo, -1}, {kHintCaption, kHint2, 0}}, IDOK, 0},
    {"SHARP_GX40 on IrDA: the filled template, also without a hint", L"", MB_OK, 8, L"SHARP_GX40", L"IrDA", 0, 0, 0,
     {kOk}, {{kApp, kIrdaInfo, -1}}, 1, 0},
    {"SHARP_902SH on Bluetooth: the template and the passkey line", L"", MB_OK, PHMGR_MODULE_MAIN, L"SHARP_902SH", L"Bluetooth", 0, 0, 0,
     {kOk, kOk}, {{kApp, kBluetoothInfo, -1}, {kHintCaption, kHint1, 0}}, 1, 0},
    {"SHARP_902SH on another interface: no empty information box", kMsg, MB_OK, PHMGR_MODULE_PHOTOS, L"SHARP_902SH", L"Serial", 0, 0, 0,
     {kOk, kOk}, {{kApp, kMsg, -1}, {kHintCaption, kHint2, 0}}, IDOK, 0},
    {"nCheck -1: no check box", L"", MB_OK, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 0, -1,
     {kToggleOk}, {{kHintCaption, kHint2, -1}}, 1, 0},
    {"USB adapter 220: (VX-200) becomes (VX-Bluetooth)", L"", MB_OK, PHMGR_MODULE_MAIN, L"VX-Phone", L"USB Cable", 220, 230, 0,
     {kOk}, {{kHintCaption, L"Connect the handset with the USB data cable (VX-Bluetooth) and switch it on.", 0}}, 1, 0},
    {"Bluetooth adapter 230: VX-200 becomes VX-Bluetooth", L"", MB_OK, PHMGR_MODULE_PHOTOS, L"VX-Phone", L"USB Cable", 0, 230, 0,
     {kOk}, {{kHintCaption, L"Photos are copied over the data cable (VX-Bluetooth). Keep the handset connected until the copy has finished.", 0}}, 1, 0},
};

void ExpectBoxes(const std::vector<Expected>& expected, const std::vector<SeenBox>& seen, const wchar_t* checkText) {
    ASSERT_EQ(expected.size(), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "box " << i + 1);
        EXPECT_EQ(expected[i].caption, seen[i].caption);
        EXPECT_EQ(expected[i].text, seen[i].text);
        EXPECT_EQ(expected[i].checked, seen[i].checked);
        EXPECT_EQ(expected[i].checked >= 0 ? std::wstring(checkText) : std::wstring(), seen[i].checkText);
    }
}

} // namespace

TEST_F(HintedMessage, BoxesByModuleModelAndInterface) {
    for (const HintCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Handset(c.model, c.iface);
        g_nVX_USB = c.vxUsb;
        g_nVX_BT = c.vxBt;
        int checked = 0x5EED;
        BoxThread call([&] {
            return ShowMessageWithHint(U16(c.msg), c.type, static_cast<EPhMgrModule>(c.module), c.nCheck, &checked);
        });
        bool finished = false;
        std::vector<SeenBox> seen = PlayBoxes(call, c.answers, &finished);
        ASSERT_TRUE(finished);
        ExpectBoxes(c.boxes, seen, kCheckText);
        EXPECT_EQ(c.result, call.result());
        EXPECT_EQ(c.checked, checked);
    }
}

// Without a place to write the answer the boxes are the same, and nothing is written.
TEST_F(HintedMessage, NullCheckedPointerShowsTheSameBoxes) {
    BoxThread call([&] { return ShowMessageWithHint(U16(kMsg), MB_OK, PHMGR_MODULE_PHOTOS, 1, nullptr); });
    bool finished = false;
    std::vector<SeenBox> seen = PlayBoxes(call, {kOk, kToggleOk}, &finished);
    ASSERT_TRUE(finished);
    ExpectBoxes({{kApp, kMsg, -1}, {kHintCaption, kHint2, 1}}, seen, kCheckText);
    EXPECT_EQ(IDOK, call.result());
}

// The hint box belongs to the main frame when the host has one.
TEST_F(HintedMessage, HintBoxOwnedByTheMainFrame) {
    HWND frameWindow = nullptr;
    int checked = 0;
    BoxThread call([&] {
        win32::unique_hwnd window(CreateWindowExW(0, L"STATIC", L"Main frame", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                                                  nullptr, nullptr, nullptr));
        frameWindow = window.get();
        CWnd frame;
        frame.Attach(window.get());
        g_pMainFrame = &frame;
        int result = ShowMessageWithHint(U16(L""), MB_OK, PHMGR_MODULE_PHOTOS, 0, &checked);
        g_pMainFrame = nullptr;
        frame.Detach();
        return result;
    });
    bool finished = false;
    std::vector<SeenBox> seen = PlayBoxes(call, {kToggleOk}, &finished);
    ASSERT_TRUE(finished);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(kHintCaption, seen[0].caption);
    EXPECT_EQ(frameWindow, seen[0].owner);
    EXPECT_EQ(1, checked);
}

// The texts come from the process's current resource source: a language file's, or, when
// that has no caption string, a plain box without check box that reports the state passed in.
TEST_F(HintedMessage, TextsFromTheResourceSource) {
    win32::unique_hmodule german(LoadLibraryW((BinFolder() + L"\\Corelink(Deutsch).lng").c_str()));
    ASSERT_TRUE(german);
    AfxSetResourceHandle(german.get());
    Handset(L"SHARP_GX40", L"IrDA");
    int checked = 0;
    {
        BoxThread call([&] { return ShowMessageWithHint(U16(L""), MB_OK, PHMGR_MODULE_PHOTOS, 0, &checked); });
        bool finished = false;
        std::vector<SeenBox> seen = PlayBoxes(call, {kOk, kToggleOk}, &finished);
        ASSERT_TRUE(finished);
        ExpectBoxes({{kApp,
                      L"Bereiten Sie das Handy vor der ersten Verbindung vor:\r\n\r\n"
                      L"Schalten Sie die Infrarot-Schnittstelle des Handys ein (Einstellungen > Verbindungen > Infrarot).\r\n\r\n"
                      L"Halten Sie das Handy w\u00e4hrend der Verbindung h\u00f6chstens einen Meter vom Computer entfernt.\r\n"
                      L"Klicken Sie dann auf OK.",
                      -1},
                     {L"Verbindungshinweis", kHint2, 0}},
                    seen, L"Diesen Hinweis nicht mehr anzeigen");
        EXPECT_EQ(1, checked);
    }

    // Corelink.dll holds no string table: no caption, no information text, no check box text.
    AfxSetResourceHandle(GetModuleHandleW(L"Corelink.dll"));
    for (int nCheck : {1, 0}) {
        SCOPED_TRACE(nCheck);
        checked = 0x5EED;
        BoxThread call([&] { return ShowMessageWithHint(U16(L""), MB_OK, PHMGR_MODULE_PHOTOS, nCheck, &checked); });
        bool finished = false;
        std::vector<SeenBox> seen = PlayBoxes(call, {kOk}, &finished);
        ASSERT_TRUE(finished);
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(kHint2, seen[0].text);
        EXPECT_NE(kHintCaption, seen[0].caption);
        EXPECT_EQ(-1, seen[0].checked);
        EXPECT_EQ(nCheck, checked);
    }
}
