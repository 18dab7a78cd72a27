// The notify popup's ends: a thread that ends with its popup open, and the module unloaded
// (and loaded again) while popups are open, on its own thread and on others. Nothing may stay
// behind (objects, fonts, windows), no window may reach the unloaded module's code, and the
// module shows popups again when it comes back. This program does not link UiKitU.dll: it
// loads and unloads it, so that each load lands at the module's own address.
#include <gtest/gtest.h>
#include <afxwin.h>
#include <SplashWindow.h>
#include <gui_watch.h>
#include <malloc.h>
#include <atomic>
#include <string>
#include <thread>
#include <unique_res.h>
#include "test_paths.h"

namespace {

// What the process holds: GDI objects, USER objects, blocks of the C heap.
struct Held {
    long gdi = 0;
    long user = 0;
    long blocks = 0;
};

// The process's GDI objects. Wine counts none (GetGuiResources answers 0): there a handle whose
// high word is 0 names the entry of the handle table at its index, whatever the entry's
// generation, so the live entries are counted instead.
long GdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    long n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM n) {
    ++*reinterpret_cast<long*>(n);
    return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND w, LPARAM n) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(n);
        EnumChildWindows(w, CountChild, n);
    }
    return TRUE;
}

// The process's USER objects; under Wine, which counts none either, its windows.
long UserObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(n);
    long n = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

long HeapBlocks() {
    long n = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) ++n;
    return n;
}

Held HeldNow() { return Held{GdiObjects(), UserObjects(), HeapBlocks()}; }

// What the system and the runtimes keep for themselves between two counts (a thread's first
// window leaves a few GDI objects): far less than one object per popup of the runs below.
const long kSlack = 8;

void ExpectBackTo(const Held& before) {
    Held after = HeldNow();
    EXPECT_LE(after.gdi, before.gdi + kSlack) << "GDI objects before " << before.gdi;
    EXPECT_EQ(before.user, after.user) << "USER objects";
    EXPECT_LE(after.blocks, before.blocks + kSlack) << "heap blocks before " << before.blocks;
}

using ShowFn = HWND (*)(const wchar_t*, DWORD, HWND, int, int, DWORD, BOOL, const SPLASH_STYLE_INFO*);

// A thread shows a popup and ends with it open.
void ShowAndEnd(ShowFn show, std::atomic<int>& shown) {
    std::thread t([&] {
        if (show(L"Syncing", 0, nullptr, 0, 0, SPLASH_ICON_INFORMATION, TRUE, nullptr)) ++shown;
    });
    t.join();
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

// UiKitU.dll, loaded by the test and unloaded when it says or ends.
class PopupModule : public testing::Test {
protected:
    void SetUp() override {
        show_ = Load();
        ASSERT_TRUE(show_);
    }
    // Loads the module; its ShowSplashWindow, or null.
    ShowFn Load() {
        module_.reset(LoadLibraryW((BinFolder() + L"\\UiKitU.dll").c_str()));
        if (!module_) return nullptr;
        return reinterpret_cast<ShowFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(module_.get(), "_Z16ShowSplashWindowPKwmP6HWND__iimiPK17SPLASH_STYLE_INFO")));
    }
    // Unloads the module; where it was.
    HMODULE Unload() {
        HMODULE at = module_.get();
        module_.reset();
        return at;
    }
    bool ClassThere(HMODULE at) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        return GetClassInfoExW(at, SPLASH_WINDOW_CLASS, &wc) != 0;
    }

    win32::unique_hmodule module_;
    ShowFn show_ = nullptr;
};

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
    ShowFn show = show_;
    std::atomic<int> shown{0};
    ShowAndEnd(show, shown);
    const Held before = HeldNow();

    std::atomic<bool> started{false}, closed{false}, forgotten{false};
    std::atomic<HWND> popup{nullptr};
    std::thread ui([&] {
        HWND h = show(L"Downloading", 2000, nullptr, 0, 0, 0, FALSE, nullptr);
        popup = h;
        started = true;
        if (!h) return;
        closed = gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(10000));
        forgotten = CWnd::FromHandlePermanent(h) == nullptr;
    });
    Joined joined(ui);
    gui::WaitFor([&] { return started.load(); });
    HWND own = show(L"Here too", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    EXPECT_TRUE(own);
    EXPECT_LE(before.user + 2, UserObjects());   // the two popups count
    HWND other = popup;
    ASSERT_TRUE(other);
    const DWORD start = GetTickCount();
    Unload();
    EXPECT_FALSE(IsWindow(own));
    EXPECT_TRUE(gui::WaitFor([&] { return !IsWindow(other); }, gui::ms(3000)));
    EXPECT_LT(GetTickCount() - start, 3000u);
    ui.join();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(forgotten);
    ExpectBackTo(before);
}

// The module unloads while another thread has a popup open and handles no messages for a
// while: once it does, the popup closes without reaching the unloaded code, and the thread ends
// cleanly.
TEST_F(PopupModule, UnloadingWhileAThreadDoesNotAnswer) {
    GUI_TEST_REQUIRES_DISPLAY();
    ShowFn show = show_;
    std::atomic<int> shown{0};
    ShowAndEnd(show, shown);
    const long gdiBefore = GdiObjects(), userBefore = UserObjects();

    std::atomic<bool> started{false}, closed{false};
    std::atomic<HWND> popup{nullptr};
    win32::unique_handle unloaded(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread ui([&] {
        HWND h = show(L"Busy", 300, nullptr, 0, 0, 0, FALSE, nullptr);
        popup = h;
        started = true;
        WaitForSingleObject(unloaded.get(), 20000);   // busy: no messages meanwhile
        if (h) closed = gui::PumpUntil([&] { return !IsWindow(h); });
    });
    Joined joined(ui, unloaded.get());
    gui::WaitFor([&] { return started.load(); });
    ASSERT_TRUE(popup.load());
    Unload();
    SetEvent(unloaded.get());
    ui.join();
    EXPECT_TRUE(closed);
    // Its font goes too, though its object stays. In a whole run of the program Wine has
    // shown a few objects more after this test (+6 once) that do not come back at once, so the
    // count is held to the slack the other tests use.
    EXPECT_LE(GdiObjects(), gdiBefore + kSlack);
    EXPECT_EQ(userBefore, UserObjects());
}
