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
    const download::RedirectInfo info = download::ScanRedirect(lines, lines.empty() ? std::wstring() : lines[0]);
    bool found = false;
    download::ProductNameFromInfo(lines, &found);
    const std::wstring name = download::SaveName(info.productName, info.location);
    if (name.empty()) abort();
    for (wchar_t c : name)
        if (c < 0x20 || wcschr(L"#%:<>\\/?*\"", c)) abort();   // nothing a file name may not hold
    return 0;
}
