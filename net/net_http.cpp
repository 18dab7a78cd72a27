// The HTTP operations the worker runs for a request record.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include <BaseKit.h>
#include <unique_res.h>
#include "net_state.h"

namespace {

const char kAgent[] = "Desktop/2.0";
const char kEncodeMarker[] = "[#URL_ENCODING#]";

struct Scheme { int port; const char* prefix; };
const Scheme kSchemes[] = {{80, "http://"}, {443, "https://"}};

// The URL of a request, or false when it does not fit the 1024-byte URL buffer (it is
// then not sent at all rather than sent cut short).
bool build_url(const CCommandNetBlk& b, bool withPath, std::string& url) {
    std::string base = b.szServer;
    if (withPath) base += std::string(b.szCgi) + b.szObjPath;
    url = base;
    for (const Scheme& s : kSchemes) {
        if (s.port != b.iHttpPort) continue;
        if (strncmp(b.szServer, s.prefix, strlen(s.prefix)) != 0) url = s.prefix + base;
        break;
    }
    return url.size() < 1024;
}

// A new empty file "DCx....tmp" in the temporary folder when the block names none.
void fix_response_file(CCommandNetBlk& b) {
    if (b.szResFile[0]) return;
    wchar_t folder[MAX_PATH] = L"", file[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    if (!GetTempFileNameW(folder, L"DCx", 0, file)) return;
    size_t n = wcsnlen(file, 1023);
    memcpy(b.szResFile, file, n * 2);
    b.szResFile[n] = 0;
}

// The response file, opened for writing, written in 64 KB blocks; ok() turns false at the
// first write that does not store all of its bytes.
class ResponseFile {
public:
    explicit ResponseFile(const CCommandNetBlk& b)
        : file_(CreateFileW(reinterpret_cast<const wchar_t*>(b.szResFile), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        buffer_.reserve(kBlock);
    }
    ResponseFile(const ResponseFile&) = delete;
    ResponseFile& operator=(const ResponseFile&) = delete;
    ~ResponseFile() { flush(); }
    bool ok() const { return static_cast<bool>(file_) && !failed_; }
    void write(const char* data, int n) {
        buffer_.insert(buffer_.end(), data, data + n);
        if (buffer_.size() >= kBlock) flush();
    }
    // Stores what is buffered; false when the file did not take all of it.
    bool flush() {
        if (buffer_.empty()) return ok();
        DWORD done = 0;
        if (!file_ || !WriteFile(file_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &done, nullptr) ||
            done != buffer_.size())
            failed_ = true;
        buffer_.clear();
        return ok();
    }

private:
    static constexpr size_t kBlock = 64 * 1024;
    win32::unique_file file_;
    std::vector<char> buffer_;
    bool failed_ = false;
};

// Closes the client when the operation ends, whichever way.
struct ClientSession {
    CNetKit& kit;
    ~ClientSession() { kit.Close(); }
};

// GET and XML POST: status 200 with the body stored, 302 as a redirect, else failure.
NET_RESULT get_or_post_xml(CCommandNetBlk& b, bool xml) {
    NetState& n = Net();
    NetTrace(xml ? "\r\n==> s_HTTP_POST_XML" : "\r\n==> s_HTTP_GET");
    std::string url;
    if (!build_url(b, true, url) || !n.netKit) return NET_RESULT_HTTP_FAILED;
    fix_response_file(b);
    CNetKit& kit = *n.netKit;
    ClientSession session{kit};
    if (!kit.Connect(url.c_str(), nullptr, nullptr, kAgent)) return NET_RESULT_HTTP_FAILED;
    const std::string uri = kit.GetURI();
    if (!(xml ? kit.RequestPostXml(uri.c_str(), b.pszXml) : kit.RequestGet(uri.c_str(), nullptr)))
        return NET_RESULT_HTTP_FAILED;

    char header[2048] = {};
    int h = kit.QueryRawHeader(header, 2047);
    if (h > 0) {   // the last byte of what the client gives is its terminating zero
        memcpy(b.szResHeader, header, h - 1);
        b.szResHeader[h - 1] = 0;
    }
    const int status = kit.QueryStatusCode();
    if (status != 200) return status == 302 ? NET_RESULT_REDIRECT : NET_RESULT_HTTP_FAILED;

    const unsigned long total = kit.QueryContentLength();
    ResponseFile file(b);
    b.nResFileSize = 0;
    char chunk[2048];
    for (int got = kit.Response(chunk, 2047); got > 0; got = kit.Response(chunk, 2047)) {
        file.write(chunk, got);
        if (!file.ok()) return NET_RESULT_HTTP_FAILED;   // nothing counts that was not stored
        b.nResFileSize += got;
        const CurrentView current = CurrentConnector();
        if (current.progress && total > 0) current.progress(total, static_cast<unsigned int>(b.nResFileSize));
        if (CurrentConnector().cancelled) return file.flush() ? NET_RESULT_CANCELLED : NET_RESULT_HTTP_FAILED;
    }
    return file.flush() ? NET_RESULT_OK : NET_RESULT_HTTP_FAILED;
}

NET_RESULT post(CCommandNetBlk& b) {
    NetState& n = Net();
    NetTrace("\r\n==> s_HTTP_POST");
    std::string url;
    if (!build_url(b, false, url) || !n.netKit) return NET_RESULT_POST_FAILED;
    fix_response_file(b);
    CNetKit& kit = *n.netKit;
    ClientSession session{kit};
    if (!kit.Connect(url.c_str(), nullptr, nullptr, kAgent)) return NET_RESULT_POST_FAILED;

    for (POSITION pos = b.listArgument.GetHeadPosition(); pos;) {
        CxString item = b.listArgument.GetNext(pos);
        const bool encode = wcsncmp(item, L"[#URL_ENCODING#]", 16) == 0;
        if (encode) item = item.Mid(16);
        const int eq = item.Find(L'=');
        if (eq < 0) return NET_RESULT_POST_FAILED;
        CxString name = item.Left(eq), value = item.Mid(eq + 1);
        if (encode) {
            char encoded[2048] = {};
            if (value.GetLength() < 2047) kit.URLEncoding(value.GetMByteData(), encoded, 2048, 0x1000);
            value = CxString(CString(encoded));
        }
        if (name.IsEmpty() || value.IsEmpty()) return NET_RESULT_POST_FAILED;
        kit.AddPostArgument(name.GetMByteData(), value.GetMByteData(), false);
    }
    if (!kit.RequestPost(b.szObjPath, nullptr)) return NET_RESULT_POST_FAILED;

    char header[1025] = {};
    int h = kit.QueryRawHeader(header, 1024);
    if (h > 0) memcpy(b.szResHeader, header, h < 2047 ? h : 2047);
    ResponseFile file(b);
    b.nResFileSize = 0;
    char chunk[1025];
    for (int got = kit.Response(chunk, 1024); got > 0; got = kit.Response(chunk, 1024)) {
        file.write(chunk, got);
        if (!file.ok()) return NET_RESULT_POST_FAILED;
        b.nResFileSize += got;
    }
    return file.flush() ? NET_RESULT_OK : NET_RESULT_POST_FAILED;
}

} // namespace

NET_RESULT RunNetRequest(CCommandNetBlk& b) {
    switch (static_cast<int>(b.nMsg)) {
    case NET_MSG_GET:
    case 5:
        NetTrace("\r\nSend NET_MSG_GET\r\n");
        return get_or_post_xml(b, false);
    case NET_MSG_POST_XML:
        NetTrace("\r\nSend NET_MSG_POST_XML\r\n");
        return get_or_post_xml(b, true);
    default:
        return post(b);
    }
}
