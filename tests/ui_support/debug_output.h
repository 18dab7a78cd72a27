// Listens to the debugger output of this process, as a debug-output viewer does (the
// DBWIN_BUFFER shared block and its two events), and keeps the messages.
#pragma once
#include <windows.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <unique_res.h>

class DebugOutputListener {
public:
    DebugOutputListener();
    ~DebugOutputListener();
    DebugOutputListener(const DebugOutputListener&) = delete;
    DebugOutputListener& operator=(const DebugOutputListener&) = delete;

    bool Ok() const { return ok_; }
    // True when this process wrote message (exactly) since the last Clear, waiting up to ms.
    bool WaitFor(const std::string& message, DWORD ms = 5000);
    std::vector<std::string> Messages();
    void Clear();

private:
    void Run();
    win32::unique_handle mapping_, bufferReady_, dataReady_, stop_;
    win32::unique_view view_;
    std::mutex lock_;
    std::vector<std::string> messages_;
    std::thread thread_;
    bool ok_ = false;
};
