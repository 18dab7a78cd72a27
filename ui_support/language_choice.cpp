// Choosing the user-interface language.
#include "language_choice.h"
#include <stdio.h>
#include <CxRegSDK.h>
#include <SharedState.h>
#include <unique_res.h>
#include "language_def.h"

namespace {

struct LocaleLanguage {
    const wchar_t* name;
    const wchar_t* ids[20];
};

// Walked in order; the first identifier equal to the locale's (ignoring case) wins.
const LocaleLanguage kLocaleTable[] = {
    {L"English", {L"0409", L"0809", L"0C09", L"1009", L"1409", L"1809", L"1C09", L"2009", L"2409"}},
    {L"Deutsch", {L"0407", L"0807", L"0C07", L"1007", L"1407"}},
    {L"French", {L"040C", L"080C", L"0C0C", L"100C", L"140C"}},
    {L"Italian", {L"0410", L"0810"}},
    {L"Spanish", {L"040A", L"080A", L"0C0A", L"440A", L"480A", L"4C0A", L"500A", L"400A", L"100A", L"140A",
                  L"180A", L"1C0A", L"200A", L"240A", L"280A", L"2C0A", L"300A", L"340A", L"380A", L"3C0A"}},
    {L"Chinese (Traditional)", {L"0404"}},
    {L"Chinese (Simplified)", {L"0804"}},
    {L"Russian", {L"0419"}},
    {L"Czech", {L"0405"}},
    {L"Dutch", {L"0413", L"0813"}},
};

struct Charset {
    const wchar_t* name;
    BYTE value;
};

const Charset kCharsets[] = {
    {L"Japanese", SHIFTJIS_CHARSET},  {L"Chinese (Traditional)", CHINESEBIG5_CHARSET},
    {L"Chinese (Simplified)", GB2312_CHARSET}, {L"Greek", GREEK_CHARSET},
    {L"Russian", RUSSIAN_CHARSET},    {L"Turkish", TURKISH_CHARSET},
    {L"Arabic", ARABIC_CHARSET},      {L"Thai", THAI_CHARSET},
    {L"Vietnamese", VIETNAMESE_CHARSET},
};

std::string to_narrow(const CString& s) {
    int n = WideCharToMultiByte(CP_ACP, 0, s.GetString(), s.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, s.GetString(), s.GetLength(), &out[0], n, nullptr, nullptr);
    return out;
}

CString to_wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    CString out;
    if (n <= 0) return out;
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.GetBufferSetLength(n), n);
    out.ReleaseBuffer(n);
    return out;
}

} // namespace

CString GetDefaultLanguageName() {
    wchar_t id[256] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, id, 256);
    CString name;
    for (const LocaleLanguage& lang : kLocaleTable) {
        for (const wchar_t* known : lang.ids)
            if (known && _wcsicmp(known, id) == 0) { name = lang.name; break; }
        if (!name.IsEmpty()) break;
    }
    win32::unique_stream def(_wfopen(L"Language.def", L"rt"));
    std::string fromFile;
    if (def && FindLanguageDefName(def.get(), to_narrow(id), &fromFile)) name = to_wide(fromFile);
    return name;
}

BYTE GetLanguageCharset(CString language) {
    for (const Charset& c : kCharsets)
        if (language.Compare(c.name) == 0) return c.value;
    return ANSI_CHARSET;
}

CString GetCurrentLanguage() {
    CString key;
    key.Format(L"Software\\%s\\%s", L"Veranox", reinterpret_cast<const wchar_t*>(g_szProductName));
    CxRegSDK reg(HKEY_CURRENT_USER, key);
    CString language(reg.GetProfileStringW(L"GUI", L"Language", L"Default").GetString());
    if (language.Compare(L"Default") == 0) language = GetDefaultLanguageName();
    return language;
}

bool IsBuiltInLanguage(const CString& language) {
    return language.Compare(L"Default") == 0 || language.Compare(L"English") == 0;
}
