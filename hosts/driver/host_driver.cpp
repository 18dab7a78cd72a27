// HostProcess: anonymous pipes to a child's standard input and output.
#include "host_driver.h"
#include <vector>

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

HWND CreateMessageWindow(const wchar_t* className, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);   // fails harmlessly when already registered
    return CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

HostProcess::~HostProcess() { Kill(); }

void HostProcess::Kill() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool HostProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool HostProcess::Start(const std::wstring& exePath) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    win32::unique_handle childIn, childOut;
    HANDLE r = nullptr, w = nullptr;
    if (!CreatePipe(&r, &w, &inherit, 0)) return false;
    childIn.reset(r);
    toChild_.reset(w);
    if (!CreatePipe(&r, &w, &inherit, 0)) return false;
    fromChild_.reset(r);
    childOut.reset(w);
    SetHandleInformation(toChild_.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild_.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = childIn.get();
    si.hStdOutput = childOut.get();
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/"));
    std::wstring cmd = L"\"" + exePath + L"\"";
    std::vector<wchar_t> cmdLine(cmd.begin(), cmd.end());
    cmdLine.push_back(0);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exePath.c_str(), cmdLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        return false;
    win32::unique_handle thread(pi.hThread);   // not needed: the process handle is enough
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    // The host loads the library before its first line: once "ready" arrives, its
    // start-up has run, so hosts started one after another load in that order.
    std::string first;
    return ReadLine(first, 15000) && first == "ready";
}

bool HostProcess::ReadLine(std::string& line, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        size_t eol = pending_.find('\n');
        if (eol != std::string::npos) {
            line = pending_.substr(0, eol);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            pending_.erase(0, eol + 1);
            return true;
        }
        DWORD avail = 0;
        if (!PeekNamedPipe(fromChild_.get(), nullptr, 0, nullptr, &avail, nullptr)) return false;
        if (avail) {
            std::vector<char> buf(avail);
            DWORD got = 0;
            if (!ReadFile(fromChild_.get(), buf.data(), avail, &got, nullptr)) return false;
            pending_.append(buf.data(), got);
            continue;
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(2);
    }
}

std::string HostProcess::Call(const std::string& command, DWORD timeoutMs) {
    std::string line = command + "\n";
    DWORD done = 0;
    if (!toChild_ || !WriteFile(toChild_.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr))
        return "<no reply>";
    std::string reply;
    return ReadLine(reply, timeoutMs) ? reply : "<no reply>";
}

std::string HostProcess::Value(const std::string& command, DWORD timeoutMs) {
    std::string reply = Call(command, timeoutMs);
    return reply.compare(0, 3, "ok ") == 0 ? reply.substr(3) : "!" + reply;
}

int HostProcess::Quit(DWORD timeoutMs) {
    if (!process_) return -1;
    Call("quit", timeoutMs);
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}
