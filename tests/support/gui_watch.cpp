// The GUI test kit: finding, reading and driving windows with deadlines.
#include "gui_watch.h"
#include <algorithm>
#include <atomic>

namespace gui {

namespace {

using clock = std::chrono::steady_clock;
const ms kPoll(5);

struct FindArgs {
    const wchar_t* caption;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK find_top(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<FindArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(h)) return TRUE;
    if (a->cls && ClassOf(h) != a->cls) return TRUE;
    if (a->caption && TextOf(h) != a->caption) return TRUE;
    a->found = h;
    return FALSE;
}

void post_key(HWND target, UINT vk) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

BOOL CALLBACK collect_thread_windows(HWND h, LPARAM lp) {
    if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> visible_windows_of(DWORD thread) {
    std::vector<HWND> out;
    EnumThreadWindows(thread, &collect_thread_windows, reinterpret_cast<LPARAM>(&out));
    return out;
}

} // namespace

bool DisplayAvailable() {
    static const bool ok = [] {
        HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"display probe", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!h) return false;
        DestroyWindow(h);
        return true;
    }();
    return ok;
}

std::wstring TextOf(HWND h) {
    // WM_GETTEXT reaches controls of other threads too (GetWindowText does not).
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &n)) return L"";
    std::wstring s(n + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&s[0]), SMTO_ABORTIFHUNG, 2000, &got);
    s.resize(got);
    return s;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

HWND FindTopLevel(const wchar_t* caption, const wchar_t* cls) {
    FindArgs a{caption, cls, nullptr};
    EnumWindows(&find_top, reinterpret_cast<LPARAM>(&a));
    return a.found;
}

bool WaitFor(const std::function<bool()>& cond, ms timeout) {
    auto end = clock::now() + timeout;
    for (;;) {
        if (cond()) return true;
        if (clock::now() >= end) return false;
        std::this_thread::sleep_for(kPoll);
    }
}

HWND WaitForTopLevel(const wchar_t* caption, const wchar_t* cls, ms timeout) {
    HWND h = nullptr;
    WaitFor([&] { return (h = FindTopLevel(caption, cls)) != nullptr; }, timeout);
    return h;
}

bool WaitForClose(HWND h, ms timeout) {
    return WaitFor([&] { return !IsWindow(h); }, timeout);
}

bool PumpUntil(const std::function<bool()>& cond, ms timeout) {
    auto end = clock::now() + timeout;
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (cond()) return true;
        auto left = std::chrono::duration_cast<ms>(end - clock::now()).count();
        if (left <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 10 ? left : 10), QS_ALLINPUT);
    }
}

std::vector<Control> ControlsOf(HWND h) {
    std::vector<Control> out;
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Control k;
        k.hwnd = c;
        k.cls = ClassOf(c);
        k.id = GetDlgCtrlID(c);
        k.text = TextOf(c);
        k.style = static_cast<DWORD>(GetWindowLongPtrW(c, GWL_STYLE));
        GetWindowRect(c, &k.rect);
        k.visible = IsWindowVisible(c) != FALSE;
        out.push_back(k);
    }
    return out;
}

HWND ControlById(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND FindControl(HWND parent, const wchar_t* cls, const wchar_t* text) {
    for (const Control& c : ControlsOf(parent))
        if ((!cls || _wcsicmp(c.cls.c_str(), cls) == 0) && (!text || c.text == text)) return c.hwnd;
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    HWND s = GetDlgItem(box, 0xFFFF);
    return s ? TextOf(s) : L"";
}

bool SetText(HWND ctl, const std::wstring& text) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               2000, &r) && r;
}

void Type(HWND ctl, const std::wstring& text) {
    DWORD_PTR r = 0;
    for (wchar_t ch : text) SendMessageTimeoutW(ctl, WM_CHAR, ch, 1, SMTO_ABORTIFHUNG, 2000, &r);
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool ClickId(HWND dlg, int id) {
    HWND b = GetDlgItem(dlg, id);
    if (!b) return false;
    Click(b);
    return true;
}

void PressKey(HWND top, UINT vk) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    HWND target = top;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti) && gti.hwndFocus &&
        (gti.hwndFocus == top || IsChild(top, gti.hwndFocus)))
        target = gti.hwndFocus;
    post_key(target, vk);
}

static void send_mouse(int x, int y, DWORD extra) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65535LL + w / 2) / (w > 1 ? w - 1 : 1));
    in.mi.dy = static_cast<LONG>((y * 65535LL + h / 2) / (h > 1 ? h - 1 : 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
    SendInput(1, &in, sizeof(in));
}

void MouseMove(int x, int y) { send_mouse(x, y, 0); }

void MouseClick(int x, int y) {
    send_mouse(x, y, 0);
    send_mouse(x, y, MOUSEEVENTF_LEFTDOWN);
    send_mouse(x, y, MOUSEEVENTF_LEFTUP);
}

Watcher::Watcher(std::function<void()> script, ms deadline) : owner_(GetCurrentThreadId()) {
    before_ = visible_windows_of(owner_);
    thread_ = std::thread(&Watcher::Run, this, std::move(script), deadline);
}

Watcher::~Watcher() { Join(); }

void Watcher::Join() {
    if (thread_.joinable()) thread_.join();
}

bool Watcher::Rescued() {
    Join();
    return rescued_;
}

void Watcher::Run(std::function<void()> script, ms deadline) {
    auto end = clock::now() + deadline;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        script();
        done = true;
    });
    // The script's own waits have deadlines; this one covers a script that overruns them.
    WaitFor([&] { return done.load(); }, std::chrono::duration_cast<ms>(end - clock::now()));
    // Whatever the script left open on the test's thread is closed now, so its modal call
    // returns. A little grace lets a box the script has just answered go away by itself.
    auto opened = [&] {
        std::vector<HWND> now = visible_windows_of(owner_), out;
        for (HWND h : now)
            if (std::find(before_.begin(), before_.end(), h) == before_.end()) out.push_back(h);
        return out;
    };
    WaitFor([&] { return opened().empty(); }, ms(500));
    for (int round = 0; round < 50; ++round) {
        std::vector<HWND> open = opened();
        if (open.empty()) break;
        rescued_ = true;
        for (HWND h : open) {
            if (ClassOf(h) == L"#32770") PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            else PostMessageW(h, WM_CLOSE, 0, 0);
        }
        WaitFor([&] { return opened().empty(); }, ms(200));
    }
    worker.join();
}

} // namespace gui
