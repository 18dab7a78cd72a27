// Private state of the window classes: the per-thread handle maps and the creation hook.
#pragma once
#include "afxwin.h"
#include <memory>
#include <unordered_map>
#include "unique_res.h"

// The base address of MfcLiteU.dll (its HINSTANCE).
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline HINSTANCE afx_dll_instance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Access to CWnd's private members for the window procedure and the creation hook.
struct AfxWndAccess {
    static WNDPROC& super(CWnd* p) { return p->m_pfnSuper; }
    static LRESULT nc_destroyed(CWnd* p, WPARAM w, LPARAM l) { return p->OnNcDestroyed(w, l); }
};

namespace afx {

// Per-thread objects of this module. C++ thread_local objects with destructors are not used
// here: in a mingw-w64 DLL their destructors can run after the thread's emulated TLS storage
// has been freed. Each kind lives in a Win32 TLS slot instead and ends when the thread does
// (end_thread_objects, from the module's DLL_THREAD_DETACH), in the reverse order of first use.
DWORD register_thread_slot(void (*destroy)(void*));
void end_thread_objects();
template <class T> T& thread_object() {
    static const DWORD slot = register_thread_slot([](void* p) { std::unique_ptr<T> end(static_cast<T*>(p)); });
    void* p = TlsGetValue(slot);
    if (!p) {
        std::unique_ptr<T> made(new T());
        TlsSetValue(slot, made.get());
        p = made.release();   // the slot owns it now
    }
    return *static_cast<T*>(p);
}

// Deleter of temporary wrappers: they never release the handle they wrap.
struct temp_wnd_deleter { void operator()(CWnd* p) const { p->m_hWnd = nullptr; delete p; } };

struct WndThreadState {
    WndThreadState() = default;
    WndThreadState(const WndThreadState&) = delete;
    WndThreadState& operator=(const WndThreadState&) = delete;
    // Windows still mapped when the thread's state ends get their own procedures back, so
    // nothing reaches AfxWndProc (and this state) afterwards.
    ~WndThreadState();

    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd, temp_wnd_deleter>> temporary;
    CWnd* wndInit = nullptr;          // the object whose window is being created
    win32::unique_hook createHook;    // WH_CBT hook that attaches wndInit's window
    MSG lastMsg{};                    // the message being handled (for CWnd::Default)
};
WndThreadState& wnd_state();

// Attaches and subclasses the next window this thread creates to p.
void hook_window_create(CWnd* p);
// Removes the hook if it did not fire; true when p's window was attached.
bool unhook_window_create();
// Routes h's messages through AfxWndProc, keeping the old procedure as p's super procedure.
void subclass(CWnd* p, HWND h);

// Temporary GDI and DC wrappers of the calling thread (see afxwin.h).
template <class T> T* temp_gdi(HGDIOBJ h);
void forget_temp_dc(HDC h);
// Registers the common control classes that dialog templates may use (once per process).
void init_common_controls();

} // namespace afx
