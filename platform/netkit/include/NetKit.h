// CNetKit: the suite's HTTP client (NetKit.dll), on the platform's WinINet.
//
// One request at a time: Connect, then one Request..., then the header, status and body
// queries, then Close. Redirects are not followed (a 302 comes back as it is). The proxy is
// the one the user's Internet settings name; without one the connection is direct.
// Connecting, sending and each wait for response bytes give up after kTimeoutMs.
#pragma once
#include <windows.h>
#include <memory>

#ifdef NETKIT_BUILD
#define NETKIT_API __declspec(dllexport)
#else
#define NETKIT_API __declspec(dllimport)
#endif

class NETKIT_API CNetKit {
public:
    CNetKit();
    virtual ~CNetKit();
    CNetKit(const CNetKit&) = delete;
    CNetKit& operator=(const CNetKit&) = delete;

    static constexpr unsigned long kTimeoutMs = 10000;

    // Opens a connection to the URL's host and port (http:// or https://; other texts are
    // read as http). user and password may be null. False when it cannot.
    bool Connect(const char* url, const char* user, const char* password, const char* agent);
    // The request path (with its query) of the URL given to Connect; "" before Connect.
    const char* GetURI();
    // Send a request; true when a response is available. extraHeaders may be null.
    bool RequestGet(const char* uri, const char* extraHeaders);
    bool RequestPostXml(const char* uri, const char* xml);
    // Adds name=value to the form of the next RequestPost (encode: URL-encode both first).
    bool AddPostArgument(const char* name, const char* value, bool encode);
    bool RequestPost(const char* uri, const char* extraHeaders);

    // The raw response header, zero-terminated, cut to fit: the bytes copied with the zero.
    int QueryRawHeader(char* buffer, int capacity);
    int QueryStatusCode();
    unsigned long QueryContentLength();   // 0 when none is announced
    // The next body bytes, at most capacity: what has arrived, or what the link is expected
    // to deliver within about 50 ms; waits only while nothing has arrived or for that. 0 at
    // the end of the body, -1 when the connection failed or timed out before it.
    int Response(char* buffer, int capacity);

    // Percent-encodes text (every byte but letters, digits and "-_.~") into out, always
    // terminated. flags: 0x1000 also encodes a space as %20 (the only form written).
    bool URLEncoding(const char* text, char* out, int capacity, unsigned long flags);

    // Ends the request and the connection; drops form arguments. Safe at any time.
    void Close();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
