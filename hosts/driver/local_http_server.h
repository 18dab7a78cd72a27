// A small HTTP server on 127.0.0.1 for the connector's tests, tour and benchmark, on a
// thread of the calling program. One request per connection, served one at a time; each
// response closes its connection.
//
// Built-in paths:
//   GET /body5000             5,000 bytes with Content-Length
//   GET /body5000-nolength    5,000 bytes, no Content-Length
//   GET /big                  8 MB with Content-Length (for cancelling)
//   GET /redirect             302 with Location:, Product-url: and Product-name: lines
//   GET /size/N               N bytes with Content-Length
//   POST /echo, POST /xml     the request body as the response body
//   anything else             404
// A test adds its own answers with Route. The server also takes requests in the absolute
// form a proxy receives ("GET http://host/path"): it then answers as the proxy in front of
// every host, from the same paths, and records the whole target.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include <unique_res.h>

namespace net_test {
inline void close_socket(SOCKET s) { closesocket(s); }
struct socket_traits {
    using type = SOCKET;
    static SOCKET invalid() { return INVALID_SOCKET; }
    static void close(SOCKET s) { close_socket(s); }
};
}
using unique_socket = win32::unique_res<net_test::socket_traits>;

// One canned answer.
struct HttpRoute {
    std::string status = "200 OK";
    std::string headers;           // extra header lines, each ending in "\r\n"
    std::string body;
    long long size = -1;           // bytes to send when not the body's size: the body repeated
    bool withLength = true;        // send Content-Length
    long long announce = -1;       // Content-Length to announce instead of the body's size
    size_t piece = 0;              // > 0: the body goes in pieces of this size ...
    DWORD pauseMs = 0;             // ... with this pause after each one
    bool silent = false;           // read the request, then never answer while the client waits
};

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const { return "127.0.0.1:" + std::to_string(port_); }
    // Answers GET and POST of path (without its query) with route from now on.
    void Route(const std::string& path, const HttpRoute& route);
    // A download as the download dialog meets it: `from` redirects to `to` naming the product
    // in a "Product-name" header, and `to` sends size bytes of fill in pieces with a pause
    // after each, slowly enough for a progress bar to be seen.
    void RouteProduct(const std::string& from, const std::string& to, const std::string& product, long long size,
                      size_t piece, DWORD pauseMs, char fill);
    // "METHOD TARGET" of every request served so far.
    std::vector<std::string> Requests();
    // Body bytes sent so far for the request being answered (or the last one).
    long long BodySent() const { return bodySent_; }
    static std::string Body5000();

private:
    static unsigned __stdcall run(void* self);
    void serve(SOCKET client);
    bool send_body(SOCKET client, const HttpRoute& route);
    unique_socket listener_;
    win32::unique_thread thread_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<long long> bodySent_{0};
    std::mutex lock_;
    std::vector<std::string> requests_;
    std::map<std::string, HttpRoute> routes_;
};
