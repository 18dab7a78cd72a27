// _LoadLanguageResource: the language file of the current language, checked against the
// running program's version and made the process's resource source.
#include <LanguageResources.h>
#include <afxwin.h>
#include <FilePath.h>
#include <SharedState.h>
#include <SysInfo.h>
#include <VXLibConfig.h>
#include "language_choice.h"
#include "library_names.h"

namespace {

// "%02d.%02d.%02d.%02d" of a file's version; the numbers start as given when it has none.
CString version_text(const wchar_t* file, int a, int b, int c, int d) {
    GetVersionFromResource(2, file, a, b, c, d);
    CString text;
    text.Format(L"%02d.%02d.%02d.%02d", a, b, c, d);
    return text;
}

// The language file when it belongs to this program's version and loads; else null.
HINSTANCE load_matching_file(const wchar_t* baseName, const CString& language) {
    CString file;
    file.Format(L"%s(%s).lng", baseName, language.GetString());
    if (!FitsLibraryName(file)) return nullptr;
    unsigned short exe[256] = {0};
    GetCurrentExecFileName(exe, 255);
    if (version_text(file, 0, 0, 0, 0) != version_text(WideText(exe), 0, 0, 0, 1)) return nullptr;
    return LoadLibraryW(file);
}

// The language file's string 0xE000 (the application's title) becomes the application's name.
void take_application_name(HINSTANCE file) {
    CWinApp* app = AfxGetApp();
    const wchar_t* text = nullptr;
    int length = LoadStringW(file, 0xE000, reinterpret_cast<wchar_t*>(&text), 0);
    if (!app || length <= 0 || !text) return;
    app->SetAppName(CString(text, length));
}

} // namespace

HINSTANCE _LoadLanguageResource(const unsigned short* baseName, int, int) {
    if (!IsUsableName(baseName)) return nullptr;
    CString language = GetCurrentLanguage();
    HINSTANCE file = nullptr;
    if (!IsBuiltInLanguage(language)) {
        file = load_matching_file(WideText(baseName), language);
        if (file)
            AfxSetResourceHandle(file);
        else
            language = L"Default";
    }
    VXLibConfig::SetLanguage(language);
    VXLibConfig::SetCharset(GetLanguageCharset(language));
    if (language.Compare(L"Japanese") == 0 || language.Compare(L"Chinese (Simplified)") == 0 ||
        language.Compare(L"Chinese (Traditional)") == 0)
        g_UIFontHeightMinus = -2;
    if (file) take_application_name(file);
    return file;
}
