// Addresses, header lines and file names of the download dialog.
#include "download_names.h"
#include <text_cut.h>
#include <wctype.h>

namespace download {

const wchar_t kFallbackName[] = L"download.bin";

namespace {

// The rest of line after key, or nothing (false) when line does not hold key.
bool after(const std::wstring& line, const wchar_t* key, std::wstring& out) {
    const size_t at = line.find(key);
    if (at == std::wstring::npos) return false;
    out = line.substr(at + std::char_traits<wchar_t>::length(key));
    return true;
}

void replace_all(std::wstring& s, const std::wstring& what, const std::wstring& with) {
    for (size_t at = s.find(what); at != std::wstring::npos; at = s.find(what, at + with.size()))
        s.replace(at, what.size(), with);
}

// The system's device names, with or without an extension; the serial and printer ports
// take the digits 0-9 and the superscripts one to three.
bool is_device_name(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    stem = trim(stem);
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    if (stem.size() != 4 || (stem.compare(0, 3, L"COM") != 0 && stem.compare(0, 3, L"LPT") != 0)) return false;
    const wchar_t digit = stem[3];
    return (digit >= L'0' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3;
}

// The system drops a name's trailing dots and blanks: this is the name it really saves.
std::wstring without_trailing_dots(const std::wstring& s) { return s.substr(0, s.find_last_not_of(L". \t") + 1); }

// A clean name cut to at most room characters: a short extension is kept and a surrogate
// pair is never split. The cut name is cleaned again, since it may now end in blanks or
// name a device; it may come back empty.
const size_t kMaxKeptExtension = 16;
std::wstring fit(const std::wstring& name, size_t room) {
    if (name.size() <= room) return name;
    std::wstring extension;
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0 && name.size() - dot <= kMaxKeptExtension && name.size() - dot < room)
        extension = name.substr(dot);
    const std::wstring stem = name.substr(0, whole_cut(name, room - extension.size()));
    return CleanFileName(without_trailing_dots(stem) + extension);
}

} // namespace

HostPath SplitAddress(const std::string& address) {
    HostPath r;
    const size_t slashes = address.find("//");
    if (slashes == std::string::npos) return r;
    r.hasHost = true;
    const size_t start = slashes + 2;
    const size_t slash = address.find('/', start);
    if (slash == std::string::npos) {
        r.host = address.substr(start);
    } else {
        r.host = address.substr(start, slash - start);
        r.path = address.substr(slash);
    }
    return r;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(L'\n', start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return lines;
}

std::vector<std::wstring> HeaderLines(const std::wstring& header) {
    const size_t lastBreak = header.rfind(L'\n');
    if (lastBreak == std::wstring::npos) return std::vector<std::wstring>();
    return SplitLines(header.substr(0, lastBreak));
}

RedirectInfo ScanRedirect(const std::vector<std::wstring>& lines, const std::wstring& knownName) {
    RedirectInfo r;
    r.productName = knownName;
    static const wchar_t kLocation[] = L"Location:";
    for (const std::wstring& line : lines) {
        // Blanks at a line's end are no part of an address.
        if (after(line, L"Product-url:", r.productUrl)) r.productUrl = trim_end(r.productUrl);
        const size_t at = line.find(kLocation);
        if (at != std::wstring::npos) {
            // The key and the one separator after it; a line that ends sooner gives nothing.
            const size_t from = at + 10;
            r.location = from < line.size() ? trim_end(line.substr(from)) : std::wstring();
        }
        after(line, L"Product-name:", r.productName);
        if (!r.location.empty()) {
            if (!r.productName.empty()) break;
            const size_t slash = r.location.rfind(L'/');
            if (slash != std::wstring::npos) r.productName = r.location.substr(slash + 1);
        }
    }
    return r;
}

std::wstring ProductNameFromInfo(const std::vector<std::wstring>& lines, bool* found) {
    std::wstring name;
    for (const std::wstring& line : lines)
        if (after(line, L"Product-name:", name)) {
            if (found) *found = true;
            return name;
        }
    if (found) *found = false;
    return name;
}

std::wstring LastSegment(const std::wstring& address) {
    const size_t slash = address.rfind(L'/');
    return slash == std::wstring::npos ? address : address.substr(slash + 1);
}

std::wstring CleanFileName(const std::wstring& name) {
    std::wstring s = name;
    for (const wchar_t* what : {L"#", L"%", L":", L"<", L">", L"\\", L"//", L"?", L"*", L"\""})
        replace_all(s, what, L"_");
    replace_all(s, L"/", L"_");
    replace_all(s, L"|", L"_");
    std::wstring kept;
    for (wchar_t c : s)
        if (c >= 0x20 && c != 0x7F) kept += c;
    kept = without_trailing_dots(trim(kept));
    if (kept.empty() || is_device_name(kept)) return std::wstring();
    return kept;
}

std::wstring SaveName(const std::wstring& productName, const std::wstring& callerAddress, size_t room) {
    for (const std::wstring& candidate : {productName, LastSegment(callerAddress)}) {
        const std::wstring name = fit(CleanFileName(candidate), room);
        if (!name.empty()) return name;
    }
    return kFallbackName;
}

} // namespace download
