// A small HTTP server on 127.0.0.1 for the connector's tests, tour and benchmark, on a
// thread of the calling program. One request per connection; each response closes it.
//
//   GET /body5000             5,000 bytes with Content-Length
//   GET /body5000-nolength    5,000 bytes, no Content-Length
//   GET /big                  8 MB with Content-Length (for cancelling)
//   GET /redirect             302 with Location:, Product-url: and Product-name: lines
//   GET /size/N               N bytes with Content-Length
//   POST /echo, POST /xml     the request body as the response body
//   anything else             404
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <mutex>
#include <string>
#include <vector>

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    int Port() const { return port_; }
    std::string Base() const { return "127.0.0.1:" + std::to_string(port_); }
    // "METHOD /path" of every request served so far.
    std::vector<std::string> Requests();
    static std::string Body5000();

private:
    static unsigned __stdcall run(void* self);
    void serve(SOCKET client);
    SOCKET listener_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
    int port_ = 0;
    volatile LONG stop_ = 0;
    std::mutex lock_;
    std::vector<std::string> requests_;
};
