// A thread ends with its popup open, and the framework (MfcLiteU.dll) hears of the thread's end
// before UiKitU.dll does: nothing promises the order in which modules are told. The framework
// then has already let go of the popup's window, yet the popup's object, text and font must go
// with the thread all the same.
#include <gui_watch.h>
#include <atomic>
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
    std::atomic<int> shown{0};
    auto showAndEnd = [&](bool frameworkFirst) {
        std::thread t([&] {
            if (show_(L"Syncing", 0, nullptr, 0, 0, SPLASH_ICON_INFORMATION, TRUE, nullptr)) ++shown;
            if (frameworkFirst) FrameworkHearsTheThreadEnd();
        });
        t.join();
    };
    for (bool frameworkFirst : {false, true}) showAndEnd(frameworkFirst);   // the class, the system's caches
    const long gdi = GdiObjects(), windows = TopLevelWindows(), blocks = HeapBlocks();
    for (int i = 0; i < 100; ++i) showAndEnd(true);
    EXPECT_EQ(102, shown.load());
    EXPECT_LE(GdiObjects(), gdi + kSlack) << "the popups' fonts";
    EXPECT_EQ(windows, TopLevelWindows());
    EXPECT_LE(HeapBlocks(), blocks + kSlack) << "the popups' objects and texts";

    // Popups still work on this thread, and go when closed.
    HWND h = show_(L"Still here", 0, nullptr, 0, 0, 0, FALSE, nullptr);
    ASSERT_TRUE(h);
    PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }));
}
