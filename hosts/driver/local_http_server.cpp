// The local HTTP server.
#include "local_http_server.h"
#include <process.h>
#include <string.h>

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
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    int len = sizeof(addr);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_, 16);
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, run, this, 0, nullptr));
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = 1;
    closesocket(listener_);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    WSACleanup();
}

std::vector<std::string> LocalHttpServer::Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

unsigned __stdcall LocalHttpServer::run(void* p) {
    auto* self = static_cast<LocalHttpServer*>(p);
    while (!self->stop_) {
        SOCKET client = accept(self->listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        self->serve(client);
        shutdown(client, SD_BOTH);
        closesocket(client);
    }
    return 0;
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
    const std::string path = line.substr(method.size() + 1, line.find(' ', method.size() + 1) - method.size() - 1);
    const std::string body = in.substr(headerEnd + 4);
    {
        std::lock_guard<std::mutex> guard(lock_);
        requests_.push_back(method + " " + path);
    }
    auto respond = [&](const std::string& status, const std::string& headers, const std::string& content, bool withLength) {
        std::string out = "HTTP/1.1 " + status + "\r\n" + headers + "Connection: close\r\n";
        if (withLength) out += "Content-Length: " + std::to_string(content.size()) + "\r\n";
        out += "\r\n" + content;
        send_all(client, out.data(), out.size());
    };
    if (method == "GET" && path == "/body5000") return respond("200 OK", "", Body5000(), true);
    if (method == "GET" && path == "/body5000-nolength") return respond("200 OK", "", Body5000(), false);
    if (method == "GET" && path == "/redirect")
        return respond("302 Found",
                       "Location: http://" + Base() + "/body5000\r\nProduct-url: http://" + Base() +
                           "/body5000\r\nProduct-name: sample.bin\r\n",
                       "", true);
    const bool sized = method == "GET" && path.compare(0, 6, "/size/") == 0;
    if ((method == "GET" && path == "/big") || sized) {
        const size_t total = sized ? static_cast<size_t>(_strtoui64(path.c_str() + 6, nullptr, 10)) : 8u << 20;
        std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " + std::to_string(total) + "\r\n\r\n";
        if (!send_all(client, head.data(), head.size())) return;
        std::string block(65536, 'b');
        for (size_t sent = 0; sent < total && !stop_; sent += block.size())
            if (!send_all(client, block.data(), block.size())) return;
        return;
    }
    if (method == "POST" && (path == "/echo" || path == "/xml")) return respond("200 OK", "", body, true);
    respond("404 Not Found", "", "missing", true);
}
