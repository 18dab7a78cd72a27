// Hint numbers, the Sharp models' information texts and adapter names of hinted messages.
#include <windows.h>
#include <string>
#include "hint_rules.h"

namespace {

bool Same(const wchar_t* a, const wchar_t* b) { return a && lstrcmpW(a, b) == 0; }

CString LoadText(UINT id) {
    CString s;
    s.LoadString(id);
    return s;
}

// The template with its inserts %1 to %5 filled by the strings ids.
CString FillTemplate(UINT templateId, const UINT (&ids)[5]) {
    CString pattern = LoadText(templateId);
    CString inserts[5];
    DWORD_PTR args[5];
    for (int i = 0; i < 5; ++i) {
        inserts[i] = LoadText(ids[i]);
        args[i] = reinterpret_cast<DWORD_PTR>(inserts[i].GetString());
    }
    std::wstring out(32768, L'\0');
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.GetString(), 0, 0,
                             &out[0], DWORD(out.size()), reinterpret_cast<va_list*>(args));
    return CString(out.c_str(), int(n));
}

} // namespace

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
