// CNetKit on WinINet. A body read takes what has arrived, up to 64 KB (each WinINet read
// costs about the same whatever its size), and hands it out in the caller's chunk sizes.
#include "NetKit.h"
#include <wininet.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include <unique_res.h>

namespace {

void close_inet(HINTERNET h) { InternetCloseHandle(h); }
using unique_inet = win32::unique_res<win32::null_traits<HINTERNET, &close_inet>>;

// Time-outs are set on each handle: Wine's WinINet does not pass a session's on to its requests.
void set_timeouts(HINTERNET h) {
    DWORD ms = CNetKit::kTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(h, option, &ms, sizeof(ms));
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '~';
}

std::string encode(const char* text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (unreserved(*p)) {
            out += static_cast<char>(*p);
        } else {
            out += '%';
            out += hex[*p >> 4];
            out += hex[*p & 15];
        }
    }
    return out;
}

} // namespace

struct CNetKit::Impl {
    unique_inet session, connection, request;   // closed in reverse order of declaration
    std::string agent, uri, form;
    bool secure = false;
    std::vector<char> block;   // the last 64 KB read
    size_t blockPos = 0, blockLen = 0;
    bool ended = false, failed = false;
    DWORD readSize = 0;   // the next read's size when more than what has arrived
    static constexpr DWORD kBlock = 64 * 1024;
    static constexpr double kWaitMs = 50;

    bool send(const char* verb, const char* path, const char* headers, const std::string& body) {
        request.reset();
        blockPos = blockLen = 0;
        readSize = 0;
        ended = failed = false;
        DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | (secure ? INTERNET_FLAG_SECURE : 0);
        request.reset(HttpOpenRequestA(connection.get(), verb, path && *path ? path : "/", nullptr, nullptr, nullptr, flags, 0));
        if (!request) return false;
        set_timeouts(request.get());
        std::string all = headers ? headers : "";
        return HttpSendRequestA(request.get(), all.empty() ? nullptr : all.c_str(), static_cast<DWORD>(all.size()),
                                body.empty() ? nullptr : const_cast<char*>(body.data()), static_cast<DWORD>(body.size())) != FALSE;
    }
};

CNetKit::CNetKit() : m_pImpl(std::make_unique<Impl>()) {}
CNetKit::~CNetKit() = default;

bool CNetKit::Connect(const char* url, const char* user, const char* password, const char* agent) {
    Close();
    if (!url || !*url) return false;
    Impl& m = *m_pImpl;
    std::string text = url;
    if (text.compare(0, 7, "http://") != 0 && text.compare(0, 8, "https://") != 0) text = "http://" + text;
    char host[256] = {}, path[2048] = {}, extra[2048] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof(path);
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = sizeof(extra);
    if (!InternetCrackUrlA(text.c_str(), 0, 0, &parts) || !*host) return false;
    m.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    m.uri = std::string(path) + extra;
    m.agent = agent ? agent : "";
    // The user's Internet settings, read afresh for every connection: their proxy, or none.
    m.session.reset(InternetOpenA(m.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m.session) return false;
    set_timeouts(m.session.get());
    m.connection.reset(InternetConnectA(m.session.get(), host, parts.nPort, user, password, INTERNET_SERVICE_HTTP, 0, 0));
    if (!m.connection) return false;
    set_timeouts(m.connection.get());
    return true;
}

const char* CNetKit::GetURI() { return m_pImpl->uri.c_str(); }

bool CNetKit::RequestGet(const char* uri, const char* extraHeaders) {
    return m_pImpl->connection && m_pImpl->send("GET", uri, extraHeaders, std::string());
}

bool CNetKit::RequestPostXml(const char* uri, const char* xml) {
    return m_pImpl->connection &&
           m_pImpl->send("POST", uri, "Content-Type: text/xml\r\n", xml ? std::string(xml) : std::string());
}

bool CNetKit::AddPostArgument(const char* name, const char* value, bool encodeIt) {
    if (!name || !value) return false;
    std::string& form = m_pImpl->form;
    if (!form.empty()) form += '&';
    form += encodeIt ? encode(name) : name;
    form += '=';
    form += encodeIt ? encode(value) : value;
    return true;
}

bool CNetKit::RequestPost(const char* uri, const char* extraHeaders) {
    if (!m_pImpl->connection) return false;
    std::string headers = "Content-Type: application/x-www-form-urlencoded\r\n";
    if (extraHeaders) headers += extraHeaders;
    return m_pImpl->send("POST", uri, headers.c_str(), m_pImpl->form);
}

int CNetKit::QueryRawHeader(char* buffer, int capacity) {
    if (!buffer || capacity < 1 || !m_pImpl->request) return 0;
    DWORD size = 0;
    HttpQueryInfoA(m_pImpl->request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (!size) return 0;
    std::vector<char> all(size + 1, 0);
    if (!HttpQueryInfoA(m_pImpl->request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, all.data(), &size, nullptr)) return 0;
    const int n = static_cast<int>(strlen(all.data())) + 1 < capacity ? static_cast<int>(strlen(all.data())) + 1 : capacity;
    memcpy(buffer, all.data(), n - 1);
    buffer[n - 1] = 0;
    return n;
}

int CNetKit::QueryStatusCode() {
    DWORD code = 0, size = sizeof(code);
    if (!m_pImpl->request ||
        !HttpQueryInfoA(m_pImpl->request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr))
        return 0;
    return static_cast<int>(code);
}

unsigned long CNetKit::QueryContentLength() {
    DWORD length = 0, size = sizeof(length);
    if (!m_pImpl->request ||
        !HttpQueryInfoA(m_pImpl->request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr))
        return 0;
    return length;
}

int CNetKit::Response(char* buffer, int capacity) {
    Impl& m = *m_pImpl;
    if (!buffer || capacity < 1 || !m.request) return 0;
    if (m.blockPos == m.blockLen) {
        if (m.failed) return -1;
        if (m.ended) return 0;
        // Ask what has arrived and read at least that much. WinINet tells at most its own
        // small buffer, so the read may ask for more: as much as the link delivered in about
        // kWaitMs at the rate the last waiting read saw (twice the last read when it did not
        // wait). A slow link then hands out each piece as it comes; a fast one fills blocks.
        // At a rate that fills a block within that time the question is skipped: it costs
        // about as much as the read itself.
        DWORD available = 0, got = 0;
        const bool streaming = m.readSize >= Impl::kBlock;
        if (!streaming && !InternetQueryDataAvailable(m.request.get(), &available, 0, 0)) {
            m.failed = true;
            return -1;
        }
        if (available || streaming) {
            m.block.resize(Impl::kBlock);
            DWORD size = available > m.readSize ? available : m.readSize;
            if (size > Impl::kBlock) size = Impl::kBlock;
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            if (!InternetReadFile(m.request.get(), m.block.data(), size, &got)) {
                m.failed = true;
                return -1;
            }
            QueryPerformanceCounter(&end);
            const double waited = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            if (got < size) m.readSize = 0;
            else if (size <= available || waited <= 0) m.readSize = 2 * size;
            else m.readSize = static_cast<DWORD>(std::min(Impl::kBlock * 1.0, (got - available) / waited * Impl::kWaitMs / 1000));
        }
        if (got == 0) {
            m.ended = true;
            return 0;
        }
        m.blockPos = 0;
        m.blockLen = got;
    }
    size_t n = m.blockLen - m.blockPos < static_cast<size_t>(capacity) ? m.blockLen - m.blockPos : static_cast<size_t>(capacity);
    memcpy(buffer, m.block.data() + m.blockPos, n);
    m.blockPos += n;
    return static_cast<int>(n);
}

bool CNetKit::URLEncoding(const char* text, char* out, int capacity, unsigned long /*flags*/) {
    if (!out || capacity < 1) return false;
    out[0] = 0;
    if (!text) return false;
    std::string e = encode(text);
    if (static_cast<int>(e.size()) >= capacity) return false;
    memcpy(out, e.c_str(), e.size() + 1);
    return true;
}

void CNetKit::Close() {
    Impl& m = *m_pImpl;
    m.request.reset();
    m.connection.reset();
    m.session.reset();
    m.form.clear();
    m.uri.clear();
    m.blockPos = m.blockLen = 0;
    m.ended = m.failed = false;
}
