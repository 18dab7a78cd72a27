// A small watcher for message boxes that a test opens on a thread of its own: it finds the
// box, reads its controls and presses its buttons, so the tests run unattended.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include <unique_res.h>

// The suite's wide-text form of a literal.
inline const unsigned short* U16(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

// Polls cond until it holds or ms pass. True when it held.
bool WaitUntil(const std::function<bool()>& cond, DWORD ms = 10000);

// The visible message box with this caption (shown, so its WM_INITDIALOG has run), or null
// after ms.
HWND WaitForBox(const std::wstring& caption, DWORD ms = 10000);

std::wstring TextOf(HWND h);
RECT RectOf(HWND h);
HWND TextControl(HWND box);                 // the static whose identifier is 0xFFFF or more
std::vector<HWND> Buttons(HWND box);        // push buttons, left to right
HWND ButtonById(HWND box, int id);
std::vector<HWND> ThreadWindows(DWORD tid);  // the top-level windows of a thread
void Click(HWND control);                   // BM_CLICK, handled on the box's thread

// Runs a call that shows a box on a thread of its own. The destructor closes a box that is
// still open (so a failing test does not hang) and waits for the thread.
class BoxThread {
public:
    explicit BoxThread(std::function<int()> call);
    ~BoxThread();
    BoxThread(const BoxThread&) = delete;
    BoxThread& operator=(const BoxThread&) = delete;

    // Waits up to ms for the call to return. True when it did; its result in result().
    bool Wait(DWORD ms = 15000);
    int result() const { return result_; }
    DWORD thread_id() const { return tid_; }

private:
    std::thread thread_;
    win32::unique_handle done_;
    volatile DWORD tid_ = 0;
    int result_ = -1;
};
