// The download dialog's reading of server texts on arbitrary input: the address split, the
// header lines, the redirect scan and the save name, which must be a safe file name of whole
// characters.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "download_names.h"

namespace {

// True when s holds half a surrogate pair: a high unit not followed by a low one, or a low
// unit not after a high one.
bool has_lone_surrogate(const std::wstring& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF, low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
        const bool nextLow = i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
        if (high && !nextLow) return true;
        if (high) ++i;   // the pair's low unit
        else if (low) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    download::SplitAddress(std::string(reinterpret_cast<const char*>(data), size));
    std::wstring text(size / 2, L'\0');
    memcpy(&text[0], data, size / 2 * 2);
    const std::vector<std::wstring> lines = download::SplitLines(text);
    const std::vector<std::wstring> header = download::HeaderLines(text);
    if (header.size() > lines.size()) abort();
    const download::RedirectInfo info = download::ScanRedirect(header, lines.empty() ? std::wstring() : lines[0]);
    bool found = false;
    download::ProductNameFromInfo(lines, &found);
    // The room the folder leaves, from the input's first byte: often too little for the name.
    const size_t room = size ? 1 + data[0] : download::kMaxNameLength;
    const std::wstring name = download::SaveName(info.productName, info.location, room);
    if (name.empty()) abort();
    if (name != download::kFallbackName && name.size() > room) abort();
    for (wchar_t c : name)
        if (c < 0x20 || wcschr(L"#%:<>\\/?*\"|", c)) abort();   // nothing a file name may not hold
    // Saved as it stands: already clean (no device name, no trailing dot or blank).
    if (download::CleanFileName(name) != name) abort();
    // A cut keeps whole characters: half a pair in the name was half a pair in the server's text.
    if (has_lone_surrogate(name) && !has_lone_surrogate(info.productName) && !has_lone_surrogate(info.location)) abort();
    return 0;
}
