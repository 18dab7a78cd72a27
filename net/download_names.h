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

// Lines of a text that ends its lines with "\r\n" (a bare "\n" ends one too). Each line
// loses only its line break: blanks and tabs stay where they are.
std::vector<std::wstring> SplitLines(const std::wstring& text);
// The lines of a response header. A last line without its line break was cut where the
// header outgrew its record, and is left out.
std::vector<std::wstring> HeaderLines(const std::wstring& header);

// What one redirect answer's header says.
struct RedirectInfo {
    std::wstring productUrl;    // after "Product-url:" (a leading blank kept, trailing ones not)
    std::wstring location;      // from the character after "Location:" and its separator,
                                // without trailing blanks
    std::wstring productName;   // after "Product-name:", as it stands; else the last segment
                                // of the location (empty when it ends in "/")
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
// "?", "*" and the double quote become "_", then every remaining "/" and "|" too; control
// characters are dropped, blanks trimmed at both ends and trailing dots dropped (the system
// would drop them when saving). A result that is empty or a reserved device name (CON, PRN,
// AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9 and COM or LPT with a superscript 1-3, with or
// without an extension) is refused: the empty text comes back.
std::wstring CleanFileName(const std::wstring& name);

// The longest name a folder entry takes.
const size_t kMaxNameLength = 255;

// The name the downloaded file is saved under, at most room characters (what the folder's
// path leaves of the longest path): the cleaned product name, else the cleaned last segment
// of the caller's address, else kFallbackName. A name too long is cut, keeping an extension
// of up to 16 characters; one that cuts to nothing or to a device name is refused.
extern const wchar_t kFallbackName[];
std::wstring SaveName(const std::wstring& productName, const std::wstring& callerAddress,
                      size_t room = kMaxNameLength);

} // namespace download
