// Driving windows without a person: a watcher thread that finds a box or dialog, reads it,
// types into it, clicks and presses keys, and waits for it to close; every wait has a
// deadline. Plain Win32, so host programs can use it too.
#pragma once
#include <windows.h>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace gui {

using ms = std::chrono::milliseconds;

// True when top-level windows can be created (a working display); checked once.
bool DisplayAvailable();

// One child control of a window.
struct Control {
    HWND hwnd = nullptr;
    std::wstring cls;     // window class name, as GetClassName gives it
    int id = 0;
    std::wstring text;
    DWORD style = 0;
    RECT rect{};          // screen coordinates
    bool visible = false;
};

// ---- Finding -------------------------------------------------------------------------------

// A visible top-level window of this process whose caption equals caption (null: any) and
// whose class equals cls (null: any); null when there is none.
HWND FindTopLevel(const wchar_t* caption, const wchar_t* cls = nullptr);
// The same, waiting until one appears or the timeout passes.
HWND WaitForTopLevel(const wchar_t* caption, const wchar_t* cls = nullptr, ms timeout = ms(10000));
// Waits until h is no longer a window; false at the timeout.
bool WaitForClose(HWND h, ms timeout = ms(10000));
// Waits until cond() holds, polling every few milliseconds; false at the timeout. For use on
// threads without windows (the watcher).
bool WaitFor(const std::function<bool()>& cond, ms timeout = ms(10000));
// Waits until cond() holds while handling this thread's window messages; false at the timeout.
bool PumpUntil(const std::function<bool()>& cond, ms timeout = ms(10000));

// ---- Reading -------------------------------------------------------------------------------

std::wstring TextOf(HWND h);
std::wstring ClassOf(HWND h);
// Direct children of h, in z-order.
std::vector<Control> ControlsOf(HWND h);
HWND ControlById(HWND parent, int id);
// The first child whose class equals cls (null: any) and text equals text (null: any).
HWND FindControl(HWND parent, const wchar_t* cls, const wchar_t* text);
// The text of a message box (its static with id 0xFFFF), or "" when h has none.
std::wstring MessageBoxText(HWND box);

// ---- Acting --------------------------------------------------------------------------------

// Replaces a control's text (WM_SETTEXT).
bool SetText(HWND ctl, const std::wstring& text);
// Types text into a control character by character (WM_CHAR), as the keyboard would.
void Type(HWND ctl, const std::wstring& text);
// Clicks a button or check box (BM_CLICK, posted, so the click may open a nested modal box).
void Click(HWND button);
// Clicks the button with this id of a dialog or box.
bool ClickId(HWND dlg, int id);
// Presses a key in a window's thread: to the focused control when it belongs to top, else to
// top (posted key down and up, so the dialog manager handles Escape and Enter as usual).
void PressKey(HWND top, UINT vk);
// Moves the mouse to, or clicks at, a screen position (SendInput).
void MouseMove(int x, int y);
void MouseClick(int x, int y);

// ---- The watcher ---------------------------------------------------------------------------

// Runs script on its own thread while the test's thread runs a modal call. If the script
// returns while windows that the test's thread opened since the watcher started remain open,
// or the deadline passes, the watcher closes them (Cancel, then WM_CLOSE) so the modal call returns and the test ends.
class Watcher {
public:
    explicit Watcher(std::function<void()> script, ms deadline = ms(20000));
    ~Watcher();   // waits for the thread
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    void Join();
    // True when the watcher had to close windows by force (the script did not finish its job).
    bool Rescued();

private:
    void Run(std::function<void()> script, ms deadline);
    DWORD owner_;
    std::vector<HWND> before_;   // the test thread's windows when the watcher started
    std::thread thread_;
    bool rescued_ = false;
};

} // namespace gui

// First statement of a test that needs real windows.
#define GUI_TEST_REQUIRES_DISPLAY() \
    do { \
        if (!gui::DisplayAvailable()) GTEST_SKIP() << "no working display: top-level windows cannot be created"; \
    } while (0)
