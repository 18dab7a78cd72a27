// UiKitU.dll loaded by a test and unloaded when it says or ends, for the tests of the notify
// popup's ends; and what the process holds (GDI objects, windows, blocks of the C heap).
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <malloc.h>
#include <SplashWindow.h>
#include <unique_res.h>
#include "test_paths.h"

namespace popup_test {

using ShowFn = HWND (*)(const wchar_t*, DWORD, HWND, int, int, DWORD, BOOL, const SPLASH_STYLE_INFO*);

// The process's GDI objects. Wine counts none (GetGuiResources answers 0): there a handle whose
// high word is 0 names the entry of the handle table at its index, so the live entries are
// counted instead.
inline long GdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    long n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

inline BOOL CALLBACK CountOwnWindow(HWND w, LPARAM n) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId()) ++*reinterpret_cast<long*>(n);
    return TRUE;
}

// The process's top-level windows (the popups are top-level).
inline long TopLevelWindows() {
    long n = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

inline long HeapBlocks() {
    long n = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) ++n;
    return n;
}

// What the system and the runtimes keep for themselves between two counts (a thread's first
// window leaves a few GDI objects): far less than one object per popup of the runs that use it.
const long kSlack = 8;

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
    void Unload() { module_.reset(); }

    win32::unique_hmodule module_;
    ShowFn show_ = nullptr;
};

} // namespace popup_test
