// The download dialog's reading of addresses and server texts, kept free of windows so that
// it can be checked (and fuzzed) on its own. Texts are UTF-16 (wchar_t) or 8-bit.
#pragma once
#include <string>
#include <vector>

namespace download {

// Host and path of an 8-bit address: the host starts after the first "//" (the scheme in
// front of it is dropped) and ends before the next "/", which starts the path. Without "//"
// there is no host (hasHost false) and the path is empty.
struct HostPath {
    bool hasHost = false;
    std::string host;
    std::string path;
};
HostPath SplitAddress(const std::string& address);

// Lines of a text that ends its lines with "\r\n" (a bare "\n" ends one too); each line
// loses the blanks, tabs and line-break characters at its ends.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// What one redirect answer's header says.
struct RedirectInfo {
    std::wstring productUrl;    // after "Product-url:", as it stands (leading blank kept)
    std::wstring location;      // from the character after "Location:" and its separator
    std::wstring productName;   // after "Product-name:"; else the last segment of the location
};
// Scans the header lines in order. productName comes in holding the name already known (from
// an earlier answer) and goes out holding the name to use. Each value is read within its own
// line: a line that is only "Location:" gives an empty location.
RedirectInfo ScanRedirect(const std::vector<std::wstring>& lines, const std::wstring& knownName);

// The text after "Product-name:" on the first line that holds it, or empty (found false).
std::wstring ProductNameFromInfo(const std::vector<std::wstring>& lines, bool* found);

// The text after the last "/" of an address, or the whole address when it has none.
std::wstring LastSegment(const std::wstring& address);

// A product name made safe as a file name in one folder: "#", "%", ":", "<", ">", "\", "//",
// "?", "*" and the double quote become "_", then every remaining "/" too; control characters
// are dropped and blanks trimmed at both ends. A result that is empty, only dots, or a
// reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension)
// is refused: the empty text comes back.
std::wstring CleanFileName(const std::wstring& name);

// The name the downloaded file is saved under: the cleaned product name, else the cleaned
// last segment of the caller's address, else kFallbackName.
extern const wchar_t kFallbackName[];
std::wstring SaveName(const std::wstring& productName, const std::wstring& callerAddress);

} // namespace download
