// Language and skin resources: the user-interface language (the registry's choice, else the
// user's locale, with "Language.def" in the current folder as an override), the language
// file "%s(%s).lng" made the process's resource source, the skin library "%s_%s.dll", and
// libraries whose path an installer recorded in the registry.
//
// The caller owns a returned library and frees it when done; a language file made the
// resource source must stay loaded while the process uses resources.
#pragma once
#include <windows.h>
#include "CorelinkApi.h"

// The library named by the value "ExePath" of HKEY_CURRENT_USER\keyRoot\GUI\name (its file
// name only, found by the library search). Null when name is null or empty, the value is
// missing, or the library does not load.
CORELINK_API HINSTANCE LoadDLLFmRegistryDefine(const unsigned short* keyRoot, const unsigned short* name);

// "LANGUAGE_baseName.dll" for a language other than "Default" and "English", falling back to
// baseName itself. Null when baseName is null or empty, or neither loads. The two integers
// have no effect.
CORELINK_API HINSTANCE _LoadSkinResource(const unsigned short* baseName, int, int);

// "baseName(LANGUAGE).lng" for a language other than "Default" and "English", when its file
// version equals the running program's: it becomes the MFC resource source and its string
// 0xE000 the application's name. Tells the foundation library the language and character
// set ("Default" and 0 when no file is used) and lowers g_UIFontHeightMinus to -2 for
// Japanese and Chinese. Null when the built-in resources stay in use, or when baseName is
// null or empty (then nothing changes). The two integers have no effect.
CORELINK_API HINSTANCE _LoadLanguageResource(const unsigned short* baseName, int, int);
