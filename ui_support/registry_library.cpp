// LoadDLLFmRegistryDefine: a library whose path an installer recorded in the registry.
#include <LanguageResources.h>
#include <CxRegSDK.h>
#include <FilePath.h>
#include "library_names.h"

HINSTANCE LoadDLLFmRegistryDefine(const unsigned short* keyRoot, const unsigned short* name) {
    if (!IsUsableName(name)) return nullptr;
    CString key;
    // Any length: the registry limits each key name, not the path, and refuses a name too long.
    key.Format(L"%s\\%s\\%s", keyRoot ? WideText(keyRoot) : L"", L"GUI", WideText(name));
    CxRegSDK reg(HKEY_CURRENT_USER, L"");
    CxString path = reg.GetProfileStringW(key, L"ExePath", L"");
    CxString file = GetFileNameOnly(reinterpret_cast<const unsigned short*>(path.GetString()));
    if (file.IsEmpty() || !FitsLibraryName(file)) return nullptr;
    HINSTANCE library = LoadLibraryExW(file, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return library ? library : LoadLibraryW(file);
}
