// The HTTP operations the worker runs for a request record.
#include <windows.h>
#include <stdio.h>
#include <limits.h>
#include <string.h>
#include <string>
#include <vector>
#include <BaseKit.h>
#include <unique_res.h>
#include <wide_text.h>
#include "net_state.h"

namespace {

const char kAgent[] = "Desktop/2.0";
const wchar_t kEncodeMarker[] = L"[#URL_ENCODING#]";

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

// When the block names no response file: creates a new empty file "DCx....tmp" in the
// temporary folder and names it in the block.
void create_temp_response_file(CCommandNetBlk& b) {
    if (b.szResFile[0]) return;
    wchar_t folder[MAX_PATH] = L"", file[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    if (GetTempFileNameW(folder, L"DCx", 0, file)) copy_cut(b.szResFile, reinterpret_cast<const unsigned short*>(file));
}

// The response file, opened for writing, written in 64 KB blocks; ok() turns false at the
// first write that does not store all of its bytes. written() counts the bytes stored.
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
    long long written() const { return written_; }
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
        written_ += done;
        buffer_.clear();
        return ok();
    }

private:
    static constexpr size_t kBlock = 64 * 1024;
    win32::unique_file file_;
    std::vector<char> buffer_;
    long long written_ = 0;
    bool failed_ = false;
};

// How an operation reads its response: buffer sizes, failure result, and whether the body
// loop reports progress and looks at the cancel flag.
struct Reading {
    int buffer;          // header and chunk buffer, in bytes (one is kept for a terminator)
    NET_RESULT failed;
    bool watched;
};
const Reading kGetReading = {2048, NET_RESULT_HTTP_FAILED, true};
const Reading kPostReading = {1025, NET_RESULT_POST_FAILED, false};

// The raw header as the client gives it: its text, without the client's terminating zero.
void store_header(CNetKit& kit, CCommandNetBlk& b, const Reading& r) {
    char header[2048] = {};
    const int n = kit.QueryRawHeader(header, r.buffer - 1);
    if (n > 0) copy_cut(b.szResHeader, header, static_cast<size_t>(n));
}

// Streams the body into the response file. Fails when the file does not take it, the
// connection breaks, fewer bytes come than announced, or the size does not fit nResFileSize;
// nResFileSize counts the bytes stored in every case.
NET_RESULT receive_body(CNetKit& kit, CCommandNetBlk& b, const Reading& r) {
    const unsigned long total = kit.QueryContentLength();
    b.nResFileSize = 0;
    if (total > static_cast<unsigned long>(INT_MAX)) return r.failed;
    ResponseFile file(b);
    NET_RESULT result = NET_RESULT_OK;
    long long received = 0;
    std::vector<char> chunk(r.buffer);
    for (;;) {
        const int got = kit.Response(chunk.data(), r.buffer - 1);
        if (got <= 0) {
            if (got < 0 || received < static_cast<long long>(total)) result = r.failed;
            break;
        }
        received += got;
        file.write(chunk.data(), got);
        if (!file.ok() || received > INT_MAX) {
            result = r.failed;
            break;
        }
        if (!r.watched) continue;
        const CNetConnector::ProgressCallback progress = RequestInHand().progress;
        if (progress && total > 0) progress(total, static_cast<unsigned int>(received));
        if (RequestInHand().cancelled) {
            result = NET_RESULT_CANCELLED;
            break;
        }
    }
    if (!file.flush()) result = r.failed;
    b.nResFileSize = static_cast<int>(file.written());
    return result;
}

// Builds the URL, creates the response file when none is named, and connects. False when
// the request cannot go out.
bool connect(CNetKit& kit, CCommandNetBlk& b, bool withPath) {
    std::string url;
    if (!build_url(b, withPath, url)) return false;
    create_temp_response_file(b);
    return kit.Connect(url.c_str(), nullptr, nullptr, kAgent);
}

// GET and XML POST: status 200 with the body stored, 302 as a redirect, else failure.
NET_RESULT get_or_post_xml(CNetKit& kit, CCommandNetBlk& b, bool xml) {
    NetTrace(xml ? "\r\n==> s_HTTP_POST_XML" : "\r\n==> s_HTTP_GET");
    if (!connect(kit, b, true)) return NET_RESULT_HTTP_FAILED;
    const std::string uri = kit.GetURI();
    if (!(xml ? kit.RequestPostXml(uri.c_str(), b.pszXml) : kit.RequestGet(uri.c_str(), nullptr)))
        return NET_RESULT_HTTP_FAILED;
    store_header(kit, b, kGetReading);   // failed and redirected requests bring it back too
    const int status = kit.QueryStatusCode();
    if (status != 200) return status == 302 ? NET_RESULT_REDIRECT : NET_RESULT_HTTP_FAILED;
    return receive_body(kit, b, kGetReading);
}

// POST and login: the form arguments; the status is not looked at.
NET_RESULT post(CNetKit& kit, CCommandNetBlk& b) {
    NetTrace("\r\n==> s_HTTP_POST");
    if (!connect(kit, b, false)) return NET_RESULT_POST_FAILED;
    for (POSITION pos = b.listArgument.GetHeadPosition(); pos;) {
        CxString item = b.listArgument.GetNext(pos);
        const int marker = static_cast<int>(wcslen(kEncodeMarker));
        const bool encode = wcsncmp(item, kEncodeMarker, marker) == 0;
        if (encode) item = item.Mid(marker);
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
    store_header(kit, b, kPostReading);
    return receive_body(kit, b, kPostReading);
}

// Closes the client when the operation ends, whichever way.
struct ClientSession {
    CNetKit& kit;
    ~ClientSession() { kit.Close(); }
};

} // namespace

NET_RESULT RunNetRequest(CCommandNetBlk& b) {
    // The worker runs while the client exists: it is made before the worker starts and
    // released only once no worker runs.
    CNetKit& kit = *Net().netKit;
    ClientSession session{kit};
    switch (static_cast<int>(b.nMsg)) {
    case NET_MSG_GET:
    case 5:
        NetTrace("\r\nSend NET_MSG_GET\r\n");
        return get_or_post_xml(kit, b, false);
    case NET_MSG_POST_XML:
        NetTrace("\r\nSend NET_MSG_POST_XML\r\n");
        return get_or_post_xml(kit, b, true);
    default:
        return post(kit, b);
    }
}
