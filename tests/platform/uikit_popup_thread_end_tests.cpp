// A thread ends with its popup open, and the framework (MfcLiteU.dll) hears of the thread's end
// before UiKitU.dll does: nothing promises the order in which modules are told. The framework
// then has already let go of the popup's window, yet the popup's object, text and font must go
// with the thread all the same.
#include <gui_watch.h>
#include <object_counts.h>
#include <thread>
#include "popup_module.h"

using namespace popup_test;

namespace {

// MfcLiteU's entry point, called as the system calls it when a thread ends.
void FrameworkHearsTheThreadEnd() {
    HMODULE mfc = GetModuleHandleW(L"MfcLiteU.dll");
    ASSERT_TRUE(mfc);
    auto* base = reinterpret_cast<BYTE*>(mfc);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    using EntryFn = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
    auto entry = reinterpret_cast<EntryFn>(base + nt->OptionalHeader.AddressOfEntryPoint);
    EXPECT_TRUE(entry(mfc, DLL_THREAD_DETACH, nullptr));
}

} // namespace

TEST_F(PopupModule, APopupGoesWithItsThreadWhicheverModuleHearsFirst) {
    GUI_TEST_REQUIRES_DISPLAY();
    // A thread shows a popup, the framework hears of its end first (or not), and it ends.
    auto showAndEnd = [&](bool frameworkFirst) {
        DWORD tid = 0;
        bool shown = false;
        std::thread t([&] {
            tid = GetCurrentThreadId();
            shown = show_(L"Syncing", 0, nullptr, 0, 0, SPLASH_ICON_INFORMATION, TRUE, nullptr) != nullptr;
            if (frameworkFirst) FrameworkHearsTheThreadEnd();
        });
        t.join();
        counts::WaitForThreadEnd(tid);
        return shown;
    };
    ASSERT_TRUE(showAndEnd(false));   // the class, the system's caches
    const long blocks = HeapBlocks();
    EXPECT_TRUE(counts::NoGrowthOver(10, [&] { return showAndEnd(true); })) << "the popups' windows and fonts";
    EXPECT_LE(HeapBlocks(), blocks + kHeapSlack) << "the popups' objects and texts";

    // Popups still work on this thread, and go when closed.
    HWND h = show_(L"Still here", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }));
}
