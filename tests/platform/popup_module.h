// UiKitU.dll loaded by a test and unloaded when it says or ends, for the tests of the notify
// popup's ends; and the blocks of the C heap (GDI objects and windows: object_counts.h).
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <malloc.h>
#include <SplashWindow.h>
#include <object_counts.h>
#include <unique_res.h>
#include "test_paths.h"

namespace popup_test {

using ShowFn = HWND (*)(const wchar_t*, DWORD, HWND, int, int, DWORD, BOOL, const SPLASH_STYLE_INFO*);

inline long HeapBlocks() {
    long n = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) ++n;
    return n;
}

// What the runtimes keep for themselves between two counts of heap blocks: far less than the
// blocks of one popup (its object and text) in each of the runs that use it.
const long kHeapSlack = 8;

class PopupModule : public testing::Test {
protected:
    void SetUp() override {
        counts::WarmSystemCaches();
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

} // namespace popup_test
