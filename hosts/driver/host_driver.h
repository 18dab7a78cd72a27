// Drives a test host process through its standard input and output, one command line
// and one reply line at a time.
#pragma once
#include <windows.h>
#include <string>
#include <unique_res.h>

class HostProcess {
public:
    HostProcess() = default;
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;
    ~HostProcess();   // ends a host that is still running

    // Starts exePath with its folder as the working folder and waits until it has
    // loaded the library. False when it cannot start or does not get ready.
    bool Start(const std::wstring& exePath);
    // Sends one command line; returns the reply line without its line break, or
    // "<no reply>" when none came within timeoutMs.
    std::string Call(const std::string& command, DWORD timeoutMs = 15000);
    // Call, for a command whose reply is "ok VALUE": returns VALUE, or "!" and the whole
    // reply when the reply is anything else.
    std::string Value(const std::string& command, DWORD timeoutMs = 15000);
    // Sends "quit" and waits for the process to end; returns its exit code (or -1).
    int Quit(DWORD timeoutMs = 15000);
    // Ends the process at once, as a crash or a kill would (nothing of it runs any more).
    void Kill();
    DWORD Pid() const { return pid_; }
    bool Running() const;

private:
    bool ReadLine(std::string& line, DWORD timeoutMs);
    win32::unique_handle process_;
    win32::unique_handle toChild_;
    win32::unique_handle fromChild_;
    std::string pending_;
    DWORD pid_ = 0;
};

// A message-only window of the calling thread whose messages go to proc (the class is
// registered on first use). Null when it cannot be made; the caller destroys it.
HWND CreateMessageWindow(const wchar_t* className, WNDPROC proc);

// UTF-8 and UTF-16 conversions for the command lines.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
