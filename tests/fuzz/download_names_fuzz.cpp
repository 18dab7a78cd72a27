// The download dialog's reading of server texts on arbitrary input: the address split, the
// header lines, the redirect scan and the save name, which must be a safe file name.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "download_names.h"

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
    return 0;
}
