// Single-owner wrappers for every kind of resource the suite's modules hold (kernel and
// registry handles, files, threads, GDI objects, windows, hooks, C streams; modules add their
// own kinds, such as SQLite statements or WinINet handles, with the same template). Each
// releases its resource exactly once.
#pragma once
#include <windows.h>
#include <cstdio>
#include <utility>

namespace win32 {

// Owns one handle of a kind; releases it exactly once. Move-only.
// Traits: `type`, `static type invalid()` and `static void close(type)`.
template <class Traits>
class unique_res {
public:
    using H = typename Traits::type;
    unique_res() = default;
    explicit unique_res(H h) : h_(h) {}
    unique_res(unique_res&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    unique_res& operator=(unique_res&& o) noexcept { reset(std::exchange(o.h_, Traits::invalid())); return *this; }
    unique_res(const unique_res&) = delete;
    unique_res& operator=(const unique_res&) = delete;
    ~unique_res() { reset(); }

    H get() const { return h_; }
    H release() { return std::exchange(h_, Traits::invalid()); }
    void reset(H h = Traits::invalid()) { if (h_ != Traits::invalid()) Traits::close(h_); h_ = h; }
    H* put() { reset(); return &h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }

private:
    H h_ = Traits::invalid();
};

// Traits for a handle type whose "none" value is null.
template <class T, void (*Close)(T)>
struct null_traits {
    using type = T;
    static T invalid() { return nullptr; }
    static void close(T h) { Close(h); }
};
// Traits for a handle type whose "none" value is INVALID_HANDLE_VALUE.
template <void (*Close)(HANDLE)>
struct invalid_traits {
    using type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { Close(h); }
};

inline void close_handle(HANDLE h) { ::CloseHandle(h); }
inline void close_key(HKEY h) { ::RegCloseKey(h); }
inline void close_find(HANDLE h) { ::FindClose(h); }
inline void free_library(HMODULE h) { ::FreeLibrary(h); }
inline void unmap_view(void* p) { ::UnmapViewOfFile(p); }
inline void release_mutex_and_close(HANDLE h) { ::ReleaseMutex(h); ::CloseHandle(h); }
inline void delete_gdi(HGDIOBJ h) { ::DeleteObject(h); }
inline void delete_dc(HDC h) { ::DeleteDC(h); }
inline void destroy_window(HWND h) { ::DestroyWindow(h); }
inline void unhook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void close_stream(FILE* f) { std::fclose(f); }
inline void release_screen_dc(HDC h) { ::ReleaseDC(nullptr, h); }
inline void destroy_heap(HANDLE h) { ::HeapDestroy(h); }

using unique_handle  = unique_res<null_traits<HANDLE, &close_handle>>;
using unique_file    = unique_res<invalid_traits<&close_handle>>;
using unique_hkey    = unique_res<null_traits<HKEY, &close_key>>;
using unique_find    = unique_res<invalid_traits<&close_find>>;
using unique_hmodule = unique_res<null_traits<HMODULE, &free_library>>;
using unique_view    = unique_res<null_traits<void*, &unmap_view>>;
using unique_thread  = unique_handle;   // a thread handle: closing it does not stop the thread
using unique_gdi     = unique_res<null_traits<HGDIOBJ, &delete_gdi>>;
using unique_dc      = unique_res<null_traits<HDC, &delete_dc>>;   // a memory DC of CreateCompatibleDC
using unique_hwnd    = unique_res<null_traits<HWND, &destroy_window>>;
using unique_hook    = unique_res<null_traits<HHOOK, &unhook>>;
using unique_stream  = unique_res<null_traits<FILE*, &close_stream>>;
using unique_screen_dc = unique_res<null_traits<HDC, &release_screen_dc>>;   // GetDC(nullptr)
using unique_heap    = unique_res<null_traits<HANDLE, &destroy_heap>>;   // a heap of HeapCreate

// A held mutex: released and closed together when it goes out of scope.
using held_mutex = unique_res<null_traits<HANDLE, &release_mutex_and_close>>;

// A security descriptor with a null DACL: every user gets access to the object.
struct open_security {
    SECURITY_DESCRIPTOR sd{};
    SECURITY_ATTRIBUTES sa{};
    open_security() {
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
        sa.nLength = sizeof(sa);
        sa.lpSecurityDescriptor = &sd;
        sa.bInheritHandle = FALSE;
    }
    open_security(const open_security&) = delete;
    open_security& operator=(const open_security&) = delete;
};

} // namespace win32
