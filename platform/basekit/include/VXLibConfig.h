// VXLibConfig: the process-wide language and character set of the suite's user interface.
#pragma once
#include "basekit_api.h"

class BASEKIT_API VXLibConfig {
public:
    static void SetLanguage(const wchar_t* language);   // null stores the empty text
    static const wchar_t* GetUILanguage();              // "" until set
    static void SetCharset(int charset);
    static int GetCharset();                            // 0 (ANSI_CHARSET) until set
};
