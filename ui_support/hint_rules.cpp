// Hint numbers, the Sharp models' information texts and adapter names of hinted messages.
#include <windows.h>
#include <string>
#include <wchar.h>
#include "hint_rules.h"

namespace {

// Exact names, unit by unit, as Check_TP_ModelName compares them: lstrcmpW follows language
// rules, which take "SHARP_GX25" with a soft hyphen for "SHARP_GX25".
bool Same(const wchar_t* a, const wchar_t* b) { return a && wcscmp(a, b) == 0; }

CString LoadText(UINT id) {
    CString s;
    s.LoadString(id);
    return s;
}

// True when an insert of the message format asks for anything but a plain conversion: the
// format of "%1!...!" may hold flags, a width and a precision in digits, and ends in one of
// s, d, u, x and c. A width or precision taken from an argument ("%1!*s!", "%2!.*s!") would read
// a text's address, a size prefix ("%1!I64d!") or another conversion ("%1!n!", "%1!p!") reads
// its argument otherwise than as the text or number it is, and a format that never closes is
// read by the platform in its own way: such a template is refused.
bool HasUnsafeInsert(const CString& pattern) {
    const wchar_t* p = pattern.GetString();
    for (int i = 0; p[i]; ++i) {
        if (p[i] != L'%' || !p[i + 1]) continue;
        if (p[i + 1] < L'1' || p[i + 1] > L'9') {   // an escape: "%%", "%n", "%0", ...
            ++i;
            continue;
        }
        int j = i + 1;
        while (p[j] >= L'0' && p[j] <= L'9') ++j;
        if (p[j] != L'!') {   // a plain insert: go on at the character after its number
            i = j - 1;
            continue;
        }
        ++j;
        while (p[j] && wcschr(L"-+ #0", p[j])) ++j;
        while (p[j] >= L'0' && p[j] <= L'9') ++j;
        if (p[j] == L'.')
            for (++j; p[j] >= L'0' && p[j] <= L'9';) ++j;
        if (!p[j] || !wcschr(L"sduxc", p[j]) || p[j + 1] != L'!') return true;
        i = j + 1;            // the format's closing "!"
    }
    return false;
}

// The template with its inserts %1 to %5 filled by the strings ids.
CString FillTemplate(UINT templateId, const UINT (&ids)[5]) {
    CString inserts[5];
    for (int i = 0; i < 5; ++i) inserts[i] = LoadText(ids[i]);
    return FillInserts(LoadText(templateId), inserts);
}

} // namespace

CString FillInserts(const CString& pattern, const CString (&inserts)[5]) {
    // The template comes from a language file, so it may name any insert the platform knows:
    // %1 to %99, a 64-bit format taking a second slot. Every slot it can reach holds a text;
    // those past the five are empty. Only plain conversions are taken (HasUnsafeInsert).
    if (HasUnsafeInsert(pattern)) return CString();
    static const wchar_t kNone[] = L"";
    DWORD_PTR args[99 + 1];
    for (DWORD_PTR& a : args) a = reinterpret_cast<DWORD_PTR>(kNone);
    for (int i = 0; i < 5; ++i) args[i] = reinterpret_cast<DWORD_PTR>(inserts[i].GetString());
    std::wstring out(32768, L'\0');
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.GetString(), 0, 0,
                             &out[0], DWORD(out.size()), reinterpret_cast<va_list*>(args));
    return CString(out.c_str(), int(n));
}

int ModuleHintNumber(const unsigned long (&moduleValues)[7], EPhMgrModule module) {
    static const EPhMgrModule kModules[7] = {PHMGR_MODULE_MAIN,   PHMGR_MODULE_CONTACTS, PHMGR_MODULE_MESSAGES,
                                             PHMGR_MODULE_PHOTOS, PHMGR_MODULE_MELODIES, PHMGR_MODULE_VIDEOS,
                                             PHMGR_MODULE_FILES};
    for (int i = 0; i < 7; ++i)
        if (kModules[i] == module) return static_cast<int>(moduleValues[i]);
    return -1;
}

int HintNumberFor(int moduleHint, const wchar_t* model, const wchar_t* iface) {
    if (!Same(model, L"SHARP_GX25")) return moduleHint;
    if (Same(iface, L"USB Cable")) return 28;
    if (Same(iface, L"IrDA")) return 29;
    if (Same(iface, L"Bluetooth")) return 30;
    return -1;
}

bool HasSharpInformation(const wchar_t* model) {
    return Same(model, L"SHARP_902SH") || Same(model, L"SHARP_GX40");
}

CString SharpInformationText(const wchar_t* iface) {
    if (Same(iface, L"USB Cable")) return LoadText(2132);
    if (Same(iface, L"IrDA")) return FillTemplate(2131, {2024, 2025, 2029, 2026, 2027});
    if (Same(iface, L"Bluetooth")) {
        CString text;
        text.Format(L"%s\r\n%s", FillTemplate(2131, {2024, 2025, 2030, 2026, 2027}).GetString(), LoadText(2133).GetString());
        return text;
    }
    return CString();
}

CString ApplyAdapterName(CString hint, int vxUsb, int vxBt) {
    // The closing parenthesis stays: "(VX-200)" names the adapter, ")" belongs to the text.
    if (vxUsb == 220) hint.Replace(L"VX-200)", L"VX-Bluetooth)");
    else if (vxBt == 230) hint.Replace(L"VX-200", L"VX-Bluetooth");
    return hint;
}
