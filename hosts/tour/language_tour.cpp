// Tour step: the user-interface language, chosen from the registry and the locale, and the
// language file that then supplies the texts.
#include <windows.h>
#include <string>
#include <host_driver.h>
#include <unique_res.h>
#include "tour.h"

namespace {

const wchar_t kGuiKey[] = L"Software\\Veranox\\Quillbox\\GUI";

void set_language(const wchar_t* value) {
    if (!value) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kGuiKey, L"Language");
        return;
    }
    win32::unique_hkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kGuiKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) == ERROR_SUCCESS)
        RegSetValueExW(key.get(), L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// The registry's "Language" as it was, to put back afterwards (null: there was none).
bool saved_language(std::wstring& value) {
    wchar_t text[256];
    DWORD bytes = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, kGuiKey, L"Language", RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS)
        return false;
    value = text;
    return true;
}

// Starts a language host, loads the language file of base name "Corelink" and shows what
// came of it and two texts of the resource source.
bool show(const std::wstring& bin, const char* registry) {
    HostProcess host;
    if (!host.Start(bin + L"\\langhost.exe")) return false;
    std::string locale = host.Value("locale");
    std::string report = host.Value("language-load Corelink");
    if (report.empty() || report[0] == '!') return false;
    TourPrint("Registry \"Language\" %s, locale %s: _LoadLanguageResource(\"Corelink\") gives\n", registry, locale.c_str());
    TourPrintLines(report);
    TourPrint("   string 2200: %s\n", host.Value("string 2200").c_str());
    TourPrint("   string 2205: %s\n", host.Value("string 2205").c_str());
    TourPrint("   skin library: %s\n", host.Value("skin-load CorelinkSkin").c_str());
    host.Quit();
    return true;
}

} // namespace

bool LanguageTour(const std::wstring& bin) {
    std::wstring before;
    bool had = saved_language(before);
    set_language(nullptr);
    bool ok = show(bin, "absent (the locale decides)");
    set_language(L"Deutsch");
    ok = ok && show(bin, "= Deutsch");
    set_language(L"Japanese");
    ok = ok && show(bin, "= Japanese");
    set_language(had ? before.c_str() : nullptr);
    return ok;
}
