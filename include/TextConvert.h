// Conversions between UTF-16, the system code page and UTF-8; URL decoding; character
// removal and replacement.
//
// Buffer lengths count elements of the destination (wide characters or bytes) including
// the terminating NUL. The converters return what they wrote including the NUL, 0 on
// failure; MBSToWCS and WCSToMBS leave an empty text in dst when they fail.
#pragma once
#include <afxstr.h>
#include "CorelinkApi.h"

CORELINK_API int MBSToWCS(const char* src, unsigned short* dst, int dstLen, bool utf8);
CORELINK_API int WCSToMBS(const unsigned short* src, char* dst, int dstLen, bool utf8);
CORELINK_API int UTF8ToMBS(const char* src, char* dst, int dstLen);
CORELINK_API int MBSToUTF8(const char* src, char* dst, int dstLen);

// Percent-decodes src into dst (a plus sign stays a plus sign). Returns the decoded length,
// or -1 for a null argument, a zero size, or output that does not fit (dst then holds what
// fitted, unterminated). Never writes past dst[dstSize - 1].
CORELINK_API int url_decode(const char* src, char* dst, unsigned int dstSize);

// Removes (replaces by `with`) every occurrence of each character of chars; null chars:
// nothing happens.
CORELINK_API void RemoveChars(CString& s, const unsigned short* chars);
CORELINK_API void ReplaceChars(CString& s, const unsigned short* chars, unsigned short with);
