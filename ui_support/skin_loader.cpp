// _LoadSkinResource: the skin library of the current language, else the base one.
#include <LanguageResources.h>
#include "language_choice.h"
#include "library_names.h"

HINSTANCE _LoadSkinResource(const unsigned short* baseName, int, int) {
    if (!IsUsableName(baseName)) return nullptr;
    CString language = GetCurrentLanguage();
    if (!IsBuiltInLanguage(language)) {
        CString file;
        file.Format(L"%s_%s.dll", language.GetString(), WideText(baseName));
        if (FitsLibraryName(file))
            if (HINSTANCE skin = LoadLibraryW(file)) return skin;
    }
    CString base(WideText(baseName));
    return FitsLibraryName(base) ? LoadLibraryW(base) : nullptr;
}
