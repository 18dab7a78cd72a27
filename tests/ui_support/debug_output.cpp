// Debugger output listener of the tests.
#include "debug_output.h"
#include <algorithm>
#include "box_watch.h"

DebugOutputListener::DebugOutputListener() {
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER"));
    bufferReady_.reset(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY"));
    dataReady_.reset(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY"));
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 4096));
    ok_ = view_ && bufferReady_ && dataReady_ && stop_;
    if (ok_) thread_ = std::thread([this] { Run(); });
}

DebugOutputListener::~DebugOutputListener() {
    if (thread_.joinable()) {
        SetEvent(stop_.get());
        thread_.join();
    }
}

void DebugOutputListener::Run() {
    const DWORD self = GetCurrentProcessId();
    HANDLE waits[] = {dataReady_.get(), stop_.get()};
    SetEvent(bufferReady_.get());
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
        const auto* block = static_cast<const char*>(view_.get());
        DWORD pid;
        memcpy(&pid, block, sizeof(pid));
        std::string text(block + sizeof(DWORD), strnlen(block + sizeof(DWORD), 4096 - sizeof(DWORD)));
        if (pid == self) {
            std::lock_guard<std::mutex> hold(lock_);
            messages_.push_back(text);
        }
        SetEvent(bufferReady_.get());
    }
}

bool DebugOutputListener::WaitFor(const std::string& message, DWORD ms) {
    return WaitUntil([&] {
        std::lock_guard<std::mutex> hold(lock_);
        return std::find(messages_.begin(), messages_.end(), message) != messages_.end();
    }, ms);
}

std::vector<std::string> DebugOutputListener::Messages() {
    std::lock_guard<std::mutex> hold(lock_);
    return messages_;
}

void DebugOutputListener::Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    messages_.clear();
}
