// SxMessageBox's record check: the debugger messages, the plain box it falls back to, and the
// count-down flag it writes back.
#include <gtest/gtest.h>
#include <Corelink.h>
#include "box_watch.h"
#include "debug_output.h"

namespace {

DebugOutputListener& Listener() {
    static DebugOutputListener listener;
    return listener;
}

struct CheckCase {
    const char* name;
    bool nullRecord;
    UINT flags;
    bool withValue;
    bool withText;
    const char* message;   // expected debugger message, or null when the record passes
};
const CheckCase kChecks[] = {
    {"null record", true, 0, true, true, "Invalid pointer given\n"},
    {"check box without puValue", false, SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER_TEXT, false, true,
     "Invalid puValue or pcszCheckBoxText\n"},
    {"check box without text", false, SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER_TEXT, true, false,
     "Invalid puValue or pcszCheckBoxText\n"},
    {"SET_POS with CENTER (0x21) and a check box", false, 0x21 | SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER_TEXT, true, true,
     "SX_MSGBOX_SET_POS and SX_MSGBOX_CENTER - mutually exclusive!\n"},
    {"valid check box", false, SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER_TEXT, true, true, nullptr},
};

const char* const kAllMessages[] = {"Invalid pointer given\n", "Invalid puValue or pcszCheckBoxText\n",
                                    "SX_MSGBOX_SET_POS and SX_MSGBOX_CENTER - mutually exclusive!\n"};

} // namespace

TEST(SxMessageBoxCheck, BadRecordsAreReportedAndShowAPlainBox) {
    ASSERT_TRUE(Listener().Ok());
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.name);
        Listener().Clear();
        UINT value = 0;
        SXMSGBOX rec{c.flags, 0, c.withText ? U16(L"Do not ask again") : nullptr, c.withValue ? &value : nullptr, 0, 0};
        const std::wstring caption = std::wstring(L"Check ") + std::wstring(c.name, c.name + strlen(c.name));
        BoxThread call([&] {
            return SxMessageBox(nullptr, U16(L"Record check"), U16(caption.c_str()), MB_OKCANCEL, c.nullRecord ? nullptr : &rec);
        });
        HWND box = WaitForBox(caption);
        ASSERT_TRUE(box);
        HWND text = TextControl(box);
        ASSERT_TRUE(text);
        bool altered = c.message == nullptr;
        EXPECT_EQ(altered, GetDlgItem(box, IDC_SX_CHECKBOX) != nullptr);
        EXPECT_EQ(altered, (GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER);
        EXPECT_EQ(altered, GetPropW(box, L"SxMsgBox") != nullptr);
        Click(ButtonById(box, IDCANCEL));
        ASSERT_TRUE(call.Wait());
        EXPECT_EQ(IDCANCEL, call.result());
        if (c.message) {
            EXPECT_TRUE(Listener().WaitFor(c.message));
        } else {
            for (const char* m : kAllMessages) EXPECT_FALSE(Listener().WaitFor(m, 0)) << m;
        }
    }
}

// The count-down flag follows uTimeout whatever the caller passed, and is written back.
TEST(SxMessageBoxCheck, TimeoutFlagFollowsTimeout) {
    struct Row { UINT flags, timeout, flagsAfter; bool countsDown; };
    const Row rows[] = {
        {SX_MSGBOX_TIMEOUT, 0, 0, false},
        {0, 5, SX_MSGBOX_TIMEOUT, true},
        {SX_MSGBOX_TIMEOUT | SX_MSGBOX_CENTER_TEXT, 7, SX_MSGBOX_TIMEOUT | SX_MSGBOX_CENTER_TEXT, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "flags " << r.flags << " timeout " << r.timeout);
        SXMSGBOX rec{r.flags, r.timeout, nullptr, nullptr, 0, 0};
        BoxThread call([&] { return SxMessageBox(nullptr, U16(L"Left: (T)"), U16(L"Timeout flag"), MB_OK, &rec); });
        HWND box = WaitForBox(L"Timeout flag");
        ASSERT_TRUE(box);
        EXPECT_EQ(r.flagsAfter, rec.uFlags);
        std::wstring shown = TextOf(TextControl(box));
        EXPECT_EQ(r.countsDown ? L"Left: " + std::to_wstring(r.timeout) : std::wstring(L"Left: (T)"), shown);
        Click(ButtonById(box, IDOK));
        ASSERT_TRUE(call.Wait());
        EXPECT_EQ(IDOK, call.result());
    }
}

// A null caption: the platform's default caption, no alteration, and the hook leaves with the call.
TEST(SxMessageBoxCheck, NullCaptionShowsAPlainBox) {
    UINT value = 1;
    SXMSGBOX rec{SX_MSGBOX_CHECKBOX, 0, U16(L"Never shown"), &value, 0, 0};
    BoxThread call([&] { return SxMessageBox(nullptr, U16(L"No caption here"), nullptr, MB_OK, &rec); });
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND w : ThreadWindows(call.thread_id()))
            if (IsWindowVisible(w)) box = w;
        return box != nullptr;
    }));
    EXPECT_EQ(L"No caption here", TextOf(TextControl(box)));
    EXPECT_FALSE(GetDlgItem(box, IDC_SX_CHECKBOX));
    Click(ButtonById(box, IDOK));
    ASSERT_TRUE(call.Wait());
    EXPECT_EQ(IDOK, call.result());
    EXPECT_EQ(1u, value);
}
