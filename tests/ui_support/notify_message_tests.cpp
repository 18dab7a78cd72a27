// ShowNotifyMessage: the notify popup, one per process, its text, icon, place, owner and time.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <SplashWindow.h>
#include <gui_watch.h>
#include <atomic>
#include <malloc.h>
#include <memory>
#include <thread>
#include <unique_res.h>

namespace {

const unsigned short* U16(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

BOOL CALLBACK AddPopup(HWND w, LPARAM out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && gui::ClassOf(w) == SPLASH_WINDOW_CLASS && IsWindowVisible(w))
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
    return TRUE;
}

// The notify popups of this process that are open.
std::vector<HWND> Popups() {
    std::vector<HWND> out;
    EnumWindows(AddPopup, reinterpret_cast<LPARAM>(&out));
    return out;
}

// The one popup open now (null when there is none or more than one).
HWND OnlyPopup() {
    std::vector<HWND> open = Popups();
    return open.size() == 1 ? open[0] : nullptr;
}

// Closes every popup of this thread that a test left open.
void CloseAll() {
    for (HWND h : Popups()) PostMessageW(h, WM_CLOSE, 0, 0);
    gui::PumpUntil([] { return Popups().empty(); });
}

RECT WorkArea() {
    RECT rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

} // namespace

// A second message replaces the first: the first popup closes, the second stays with its text.
TEST(NotifyMessage, ASecondMessageReplacesTheFirst) {
    GUI_TEST_REQUIRES_DISPLAY();
    ShowNotifyMessage(U16(L"Handset connected."), 0, 0, nullptr, 0, 0);
    HWND first = OnlyPopup();
    ASSERT_TRUE(first);
    EXPECT_EQ(L"Handset connected.", gui::TextOf(first));
    EXPECT_TRUE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(first, GetActiveWindow());   // it does not take the focus

    ShowNotifyMessage(U16(L"Reading the phone book\x2026"), 0, 0, nullptr, 0, 0);
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(first); }));   // closed by a posted WM_CLOSE
    HWND second = OnlyPopup();
    ASSERT_TRUE(second);
    EXPECT_EQ(L"Reading the phone book\x2026", gui::TextOf(second));
    // It stays: the messages handled meanwhile do not close it.
    gui::PumpUntil([] { return false; }, gui::ms(300));
    EXPECT_TRUE(IsWindowVisible(second));

    // Closed by the user: the next message opens a new one and leaves nothing behind.
    SendMessageW(second, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(second); }));
    ShowNotifyMessage(U16(L"Done."), 0, 0, nullptr, 0, 0);
    HWND third = OnlyPopup();
    ASSERT_TRUE(third);
    EXPECT_EQ(L"Done.", gui::TextOf(third));
    CloseAll();
}

// The popup is tracked per process: a message on one thread closes the popup of another.
TEST(NotifyMessage, OnePopupPerProcessAcrossThreads) {
    GUI_TEST_REQUIRES_DISPLAY();
    std::atomic<HWND> other{nullptr};
    std::atomic<bool> otherClosed{false};
    std::thread ui([&] {
        ShowNotifyMessage(U16(L"From the other thread"), 0, 0, nullptr, 0, 0);
        HWND mine = OnlyPopup();
        other = mine;
        // This thread handles its popup's messages until the popup has gone.
        otherClosed = mine && gui::PumpUntil([&] { return !IsWindow(mine); }, gui::ms(15000));
    });
    ASSERT_TRUE(gui::WaitFor([&] { return other.load() != nullptr; }));
    ShowNotifyMessage(U16(L"From this thread"), 0, 0, nullptr, 0, 0);
    ui.join();
    EXPECT_TRUE(otherClosed);
    HWND mine = OnlyPopup();
    ASSERT_TRUE(mine);
    EXPECT_EQ(L"From this thread", gui::TextOf(mine));
    CloseAll();
}

// Threads that showed popups end, one after another, while another thread keeps taking and
// freeing small blocks: what a thread leaves behind must not be touched once the thread's
// own storage has gone (the runtime's heap stays sound, and popups still work).
TEST(NotifyMessage, ThreadsThatShowedPopupsEndCleanly) {
    GUI_TEST_REQUIRES_DISPLAY();
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        std::vector<std::unique_ptr<char[]>> held(64);
        for (unsigned i = 0; !stop; ++i) held[i % held.size()].reset(new char[4 + i % 24]);
    });
    for (int round = 0; round < 24; ++round) {
        std::thread ui([round] {
            ShowNotifyMessage(U16(L"Syncing"), 0, 0, nullptr, 0, 0);
            HWND h = OnlyPopup();
            if (h && round % 2) {   // every other thread ends with its popup still open
                PostMessageW(h, WM_CLOSE, 0, 0);
                gui::PumpUntil([&] { return !IsWindow(h); });
            }
        });
        ui.join();
    }
    stop = true;
    churn.join();
    EXPECT_EQ(_HEAPOK, _heapchk());
    ShowNotifyMessage(U16(L"Still here"), 0, 0, nullptr, 0, 0);
    HWND h = OnlyPopup();
    ASSERT_TRUE(h);
    EXPECT_EQ(L"Still here", gui::TextOf(h));
    CloseAll();
}

// The arguments: time-out, icon kind (low four bits of dwArg3), place and owner.
TEST(NotifyMessage, TimeIconPlaceAndOwner) {
    GUI_TEST_REQUIRES_DISPLAY();
    const wchar_t* text = L"Battery low";

    // An icon widens the popup; kinds are only the low four bits.
    struct Row { unsigned long flags; bool icon; };
    const Row rows[] = {{0, false}, {SPLASH_ICON_INFORMATION, true}, {SPLASH_ICON_WARNING, true}, {0x10, false}, {0x13, true}};
    LONG plainWidth = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "flags " << r.flags);
        ShowNotifyMessage(U16(text), 0, r.flags, nullptr, 0, 0);
        HWND h = OnlyPopup();
        ASSERT_TRUE(h);
        RECT rc{};
        GetWindowRect(h, &rc);
        if (!r.flags) plainWidth = rc.right - rc.left;
        if (r.icon) EXPECT_GE(rc.right - rc.left, plainWidth + GetSystemMetrics(SM_CXICON));
        else EXPECT_EQ(plainWidth, rc.right - rc.left);
        // At the bottom right of the work area by default.
        RECT work = WorkArea();
        EXPECT_LE(rc.right, work.right);
        EXPECT_GE(rc.right, work.right - 16);
        EXPECT_LE(rc.bottom, work.bottom);
        EXPECT_GE(rc.bottom, work.bottom - 16);
        PostMessageW(h, WM_CLOSE, 0, 0);
        ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }));
    }

    // At a point, with an owner.
    win32::unique_hwnd owner(CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                             nullptr, nullptr));
    RECT work = WorkArea();
    ShowNotifyMessage(U16(text), 0, 0, owner.get(), work.left + 30, work.top + 40);
    HWND at = OnlyPopup();
    ASSERT_TRUE(at);
    RECT rc{};
    GetWindowRect(at, &rc);
    EXPECT_EQ(work.left + 30, rc.left);
    EXPECT_EQ(work.top + 40, rc.top);
    EXPECT_EQ(owner.get(), GetWindow(at, GW_OWNER));

    // With a time: it replaces the popup at the point and closes by itself.
    ShowNotifyMessage(U16(L"Short-lived"), 200, 0, nullptr, 0, 0);
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(at); }));
    EXPECT_TRUE(gui::PumpUntil([] { return Popups().empty(); }));
    CloseAll();
}
