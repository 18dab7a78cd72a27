// The local HTTP server.
#include "local_http_server.h"
#include <process.h>
#include <string.h>
#include <algorithm>

namespace {

bool send_all(SOCKET s, const char* data, size_t n) {
    while (n) {
        int sent = send(s, data, static_cast<int>(n > 65536 ? 65536 : n), 0);
        if (sent <= 0) return false;
        data += sent;
        n -= static_cast<size_t>(sent);
    }
    return true;
}

// True when the client has closed its side or data came (checked every 100 ms).
bool client_left(SOCKET s) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{0, 100 * 1000};
    if (select(0, &set, nullptr, nullptr, &wait) <= 0) return false;
    char c;
    return recv(s, &c, 1, 0) <= 0;
}

// The path of a request target: an absolute "http://host/path" loses its scheme and host,
// and every target loses its query.
std::string path_of(const std::string& target) {
    std::string path = target;
    if (path.compare(0, 7, "http://") == 0) {
        const size_t slash = path.find('/', 7);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }
    return path.substr(0, path.find('?'));
}

HttpRoute sized(long long total) {
    HttpRoute r;
    r.body.assign(65536, 'b');
    r.size = total;
    r.piece = r.body.size();
    return r;
}

long long size_of(const HttpRoute& r) { return r.size >= 0 ? r.size : static_cast<long long>(r.body.size()); }

} // namespace

std::string LocalHttpServer::Body5000() {
    std::string body;
    for (int i = 0; body.size() < 5000; ++i) body += "line " + std::to_string(i) + "\n";
    body.resize(5000);
    return body;
}

LocalHttpServer::LocalHttpServer() {
    WSADATA wsa;
    WSAStartup(0x202, &wsa);
    listener_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(listener_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    int len = sizeof(addr);
    getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_.get(), 16);

    HttpRoute body5000;
    body5000.body = Body5000();
    routes_["/body5000"] = body5000;
    body5000.withLength = false;
    routes_["/body5000-nolength"] = body5000;
    HttpRoute redirect;
    redirect.status = "302 Found";
    redirect.headers = "Location: http://" + Base() + "/body5000\r\nProduct-url: http://" + Base() +
                       "/body5000\r\nProduct-name: sample.bin\r\n";
    routes_["/redirect"] = redirect;
    routes_["/big"] = sized(8u << 20);
    thread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, run, this, 0, nullptr)));
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    listener_.reset();   // ends the accept
    WaitForSingleObject(thread_.get(), 10000);
    WSACleanup();
}

void LocalHttpServer::Route(const std::string& path, const HttpRoute& route) {
    std::lock_guard<std::mutex> guard(lock_);
    routes_[path] = route;
}

void LocalHttpServer::RouteProduct(const std::string& from, const std::string& to, const std::string& product,
                                   long long size, size_t piece, DWORD pauseMs, char fill) {
    HttpRoute body;
    body.body.assign(piece, fill);
    body.size = size;
    body.piece = piece;
    body.pauseMs = pauseMs;
    Route(to, body);
    HttpRoute redirect;
    redirect.status = "302 Found";
    redirect.headers = "Location: http://" + Base() + to + "\r\nProduct-name: " + product + "\r\n";
    Route(from, redirect);
}

std::vector<std::string> LocalHttpServer::Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

unsigned __stdcall LocalHttpServer::run(void* p) {
    auto* self = static_cast<LocalHttpServer*>(p);
    while (!self->stop_) {
        unique_socket client(accept(self->listener_.get(), nullptr, nullptr));
        if (!client) break;
        self->serve(client.get());
        shutdown(client.get(), SD_BOTH);
    }
    return 0;
}

bool LocalHttpServer::send_body(SOCKET client, const HttpRoute& route) {
    const long long total = size_of(route);
    const size_t piece = route.piece ? route.piece : route.body.size();
    for (long long at = 0; at < total && !route.body.empty() && !stop_;) {
        const size_t from = static_cast<size_t>(at % static_cast<long long>(route.body.size()));
        const size_t n = static_cast<size_t>(std::min<long long>({static_cast<long long>(piece), total - at,
                                                                  static_cast<long long>(route.body.size() - from)}));
        if (!send_all(client, route.body.data() + from, n)) return false;
        at += static_cast<long long>(n);
        bodySent_ += static_cast<long long>(n);
        if (route.pauseMs) Sleep(route.pauseMs);
    }
    return true;
}

void LocalHttpServer::serve(SOCKET client) {
    std::string in;
    char buf[4096];
    size_t headerEnd;
    while ((headerEnd = in.find("\r\n\r\n")) == std::string::npos) {
        int got = recv(client, buf, sizeof(buf), 0);
        if (got <= 0) return;
        in.append(buf, got);
    }
    size_t length = 0;
    const char* cl = strstr(in.c_str(), "Content-Length:");
    if (!cl) cl = strstr(in.c_str(), "content-length:");
    if (cl) length = strtoul(cl + 15, nullptr, 10);
    while (in.size() < headerEnd + 4 + length) {
        int got = recv(client, buf, sizeof(buf), 0);
        if (got <= 0) break;
        in.append(buf, got);
    }
    const std::string line = in.substr(0, in.find("\r\n"));
    const std::string method = line.substr(0, line.find(' '));
    const std::string target = line.substr(method.size() + 1, line.find(' ', method.size() + 1) - method.size() - 1);
    const std::string path = path_of(target);
    const std::string requestBody = in.substr(headerEnd + 4);
    HttpRoute route;
    bool found = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        requests_.push_back(method + " " + target);
        auto it = routes_.find(path);
        found = it != routes_.end();
        if (found) route = it->second;
    }
    bodySent_ = 0;
    if (!found && method == "GET" && path.compare(0, 6, "/size/") == 0) {
        route = sized(static_cast<long long>(_strtoui64(path.c_str() + 6, nullptr, 10)));
    } else if (!found && method == "POST" && (path == "/echo" || path == "/xml")) {
        route.body = requestBody;
    } else if (!found) {
        route.status = "404 Not Found";
        route.body = "missing";
    }
    if (route.silent) {
        while (!stop_ && !client_left(client)) {}
        return;
    }
    std::string head = "HTTP/1.1 " + route.status + "\r\n" + route.headers + "Connection: close\r\n";
    if (route.withLength)
        head += "Content-Length: " +
                std::to_string(route.announce >= 0 ? route.announce : size_of(route)) + "\r\n";
    head += "\r\n";
    if (send_all(client, head.data(), head.size())) send_body(client, route);
}
