// The user-interface language: the user's registry choice, else the language of the
// user's locale (with "Language.def" in the current folder as an override).
#pragma once
#include <windows.h>
#include <afxstr.h>

// The name for the user's locale from the locale table, replaced by a matching line of
// "Language.def"; empty when neither knows the locale.
CString GetDefaultLanguageName();

// The GDI character set of a language name (exact names); ANSI_CHARSET for any other.
BYTE GetLanguageCharset(CString language);

// The registry's "Language" value (default "Default"); the keyword "Default" (exact case)
// is replaced by GetDefaultLanguageName().
CString GetCurrentLanguage();

// A language that means the built-in resources: "Default" or "English".
bool IsBuiltInLanguage(const CString& language);
