// The notify popup's ends: a thread that ends with its popup open, and the module unloaded
// (and loaded again) while popups are open, on its own thread and on others. Nothing may stay
// behind (objects, fonts, windows), no window may reach the unloaded module's code, and the
// module shows popups again when it comes back. This program does not link UiKitU.dll: it
// loads and unloads it, so that each load lands at the module's own address.
#include <afxwin.h>
#include <gui_watch.h>
#include <atomic>
#include <string>
#include <thread>
#include "popup_module.h"

using namespace popup_test;

namespace {

// What the process holds: GDI objects by type, windows, blocks of the C heap.
struct Held {
    counts::Snapshot objects;
    long blocks = 0;
};

Held HeldNow() { return Held{counts::Take(), HeapBlocks()}; }

// GDI objects and windows come back exactly; the C heap's blocks within kHeapSlack.
void ExpectBackTo(const Held& before) {
    Held after = HeldNow();
    EXPECT_EQ("", counts::Growth(before.objects, after.objects)) << counts::Describe(before.objects.held);
    EXPECT_LE(after.blocks, before.blocks + kHeapSlack) << "heap blocks before " << before.blocks;
}

// A thread shows a popup and ends with it open.
void ShowAndEnd(ShowFn show, std::atomic<int>& shown) {
    DWORD tid = 0;
    std::thread t([&] {
        tid = GetCurrentThreadId();
        if (show(L"Syncing", 0, nullptr, 0, 0, SPLASH_ICON_INFORMATION, TRUE, nullptr)) ++shown;
    });
    t.join();
    counts::WaitForThreadEnd(tid);
}

// Joins a test's thread however the test ends (an assertion returns early), first letting it
// go on when it waits for the test.
class Joined {
public:
    explicit Joined(std::thread& t, HANDLE go = nullptr) : t_(t), go_(go) {}
    Joined(const Joined&) = delete;
    Joined& operator=(const Joined&) = delete;
    ~Joined() {
        if (go_) SetEvent(go_);
        if (t_.joinable()) t_.join();
    }

private:
    std::thread& t_;
    HANDLE go_;
};

// Closes a popup of this thread and waits until it is gone.
bool Close(HWND h) {
    PostMessageW(h, WM_CLOSE, 0, 0);
    return gui::PumpUntil([&] { return !IsWindow(h); });
}

} // namespace

// Threads of a host show popups and end with them open: each popup goes with its thread, and
// with it its object, text and font.
TEST_F(PopupModule, APopupGoesWithItsThread) {
    GUI_TEST_REQUIRES_DISPLAY();
    std::atomic<int> shown{0};
    ShowAndEnd(show_, shown);   // the class, the system's caches
    const Held before = HeldNow();
    for (int i = 0; i < 300; ++i) ShowAndEnd(show_, shown);
    EXPECT_EQ(301, shown.load());
    ExpectBackTo(before);

    // Popups still work on this thread.
    HWND h = show_(L"Still here", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    EXPECT_TRUE(Close(h));
}

// The module unloaded and loaded again at the same address shows popups: its window class
// went with it. A class that an earlier load left behind serves the next one.
TEST_F(PopupModule, ShowsPopupsAgainWhenLoadedAgain) {
    GUI_TEST_REQUIRES_DISPLAY();
    ShowFn show = show_;
    std::atomic<int> shown{0};
    ShowAndEnd(show, shown);
    HWND h = show(L"First load", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    EXPECT_TRUE(Close(h));
    const HMODULE first = Unload();
    EXPECT_FALSE(ClassThere(first));

    const Held before = HeldNow();
    show = Load();
    ASSERT_TRUE(show);
    ASSERT_EQ(first, module_.get());   // the case in question: the same instance as before
    h = show(L"Second load", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    EXPECT_EQ(L"Second load", gui::TextOf(h));
    EXPECT_TRUE(Close(h));
    ShowAndEnd(show, shown);
    EXPECT_EQ(2, shown.load());
    Unload();
    ExpectBackTo(before);

    // A class of the same name and instance already there, as an unload with a popup still
    // open on an unanswering thread leaves it.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = first;
    wc.lpszClassName = SPLASH_WINDOW_CLASS;
    ASSERT_TRUE(RegisterClassExW(&wc));
    show = Load();
    ASSERT_TRUE(show);
    ASSERT_EQ(first, module_.get());
    h = show(L"Third load", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    EXPECT_TRUE(Close(h));
    Unload();
    EXPECT_FALSE(ClassThere(first));
}

// The module unloads while another thread shows a popup and handles its messages: that thread
// closes the popup at once, its window map lets go of it, and the thread ends cleanly. The
// unloading thread's own popup goes too.
TEST_F(PopupModule, UnloadingClosesThePopupsOfEveryThread) {
    GUI_TEST_REQUIRES_DISPLAY();
    std::atomic<int> shown{0};
    ShowAndEnd(show_, shown);
    const long blocks = HeapBlocks();
    auto run = [&] {
        if (!module_) show_ = Load();
        ShowFn show = show_;
        if (!show) return false;
        std::atomic<bool> started{false}, closed{false}, forgotten{false};
        std::atomic<HWND> popup{nullptr};
        std::atomic<DWORD> tid{0};
        std::thread ui([&] {
            tid = GetCurrentThreadId();
            HWND h = show(L"Downloading", 2000, nullptr, 0, 0, 0, FALSE, nullptr);
            popup = h;
            started = true;
            if (!h) return;
            closed = gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(10000));
            forgotten = CWnd::FromHandlePermanent(h) == nullptr;
        });
        Joined joined(ui);
        gui::WaitFor([&] { return started.load(); });
        const long windows = counts::WindowsNow();
        HWND own = show(L"Here too", 0, nullptr, 0, 0, 0, FALSE, nullptr);
        EXPECT_TRUE(own);
        EXPECT_LT(windows, counts::WindowsNow());   // its popup counts
        HWND other = popup;
        EXPECT_TRUE(other);
        // The case is a thread that handles its messages: it has answered one before the
        // unload (a thread that is still setting up may need the loader lock the unload holds).
        DWORD_PTR answer = 0;
        EXPECT_TRUE(other && SendMessageTimeoutW(other, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer));
        const DWORD start = GetTickCount();
        Unload();
        EXPECT_FALSE(IsWindow(own));
        EXPECT_TRUE(gui::WaitFor([&] { return !IsWindow(other); }, gui::ms(3000)));
        EXPECT_LT(GetTickCount() - start, 3000u);
        ui.join();
        counts::WaitForThreadEnd(tid);
        EXPECT_TRUE(closed);
        EXPECT_TRUE(forgotten);
        return other && closed && forgotten;
    };
    EXPECT_TRUE(counts::NoGrowthOver(10, run));
    EXPECT_LE(HeapBlocks(), blocks + kHeapSlack);
}

// The module unloads while another thread has a popup open and handles no messages for a
// while: once it does, the popup closes without reaching the unloaded code, and the thread ends
// cleanly, its font and window gone, though its object stays.
TEST_F(PopupModule, UnloadingWhileAThreadDoesNotAnswer) {
    GUI_TEST_REQUIRES_DISPLAY();
    std::atomic<int> shown{0};
    ShowAndEnd(show_, shown);
    auto run = [&] {
        if (!module_) show_ = Load();
        ShowFn show = show_;
        if (!show) return false;
        std::atomic<bool> started{false}, closed{false};
        std::atomic<HWND> popup{nullptr};
        std::atomic<DWORD> tid{0};
        win32::unique_handle unloaded(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread ui([&] {
            tid = GetCurrentThreadId();
            HWND h = show(L"Busy", 300, nullptr, 0, 0, 0, FALSE, nullptr);
            popup = h;
            started = true;
            WaitForSingleObject(unloaded.get(), 20000);   // busy: no messages meanwhile
            if (h) closed = gui::PumpUntil([&] { return !IsWindow(h); });
        });
        Joined joined(ui, unloaded.get());
        gui::WaitFor([&] { return started.load(); });
        EXPECT_TRUE(popup.load());
        Unload();
        SetEvent(unloaded.get());
        ui.join();
        counts::WaitForThreadEnd(tid);
        EXPECT_TRUE(closed);
        return popup.load() && closed;
    };
    // Each run waits out the unload's time for the unanswering thread.
    EXPECT_TRUE(counts::NoGrowthOver(5, run));
}
