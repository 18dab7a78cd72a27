// Queries over a melody type's formats in the shared capability tables.
//
// Each function takes an xMDY_CAP_INFO obtained from ME_CAPABILITY::GetMdyCap or
// GetMdyCapByIndex. It looks at the melody slot whose nType equals the argument's (the
// first of all ten slots) and at its first nFormatCount (at most ten) format entries.
// An argument with no format, or a type in no slot, gives the function's empty result.
#pragma once
#include <afxstr.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"
#include "Capability.h"

// Format flags of MDY_FORMAT_INFO::dwFormat. 6, 24 and 16480 are combined entries that
// share one capability record.
enum MDY_FORMAT_FLAG : unsigned long {
    MDY_FMT_1 = 1, MDY_FMT_2 = 2, MDY_FMT_4 = 4, MDY_FMT_6 = 6, MDY_FMT_8 = 8, MDY_FMT_16 = 16,
    MDY_FMT_24 = 24, MDY_FMT_32 = 32, MDY_FMT_64 = 64, MDY_FMT_128 = 128, MDY_FMT_256 = 256,
    MDY_FMT_8192 = 8192, MDY_FMT_16384 = 16384, MDY_FMT_16480 = 16480, MDY_FMT_32768 = 32768,
    MDY_FMT_16777216 = 0x1000000,
};

CORELINK_API int GetMaxNameCLen(xMDY_CAP_INFO& mdy);      // slot 0's limit; 0 when empty
CORELINK_API int GetMaxNameWLen(xMDY_CAP_INFO& mdy);
CORELINK_API int GetMaxMelodys(xMDY_CAP_INFO& mdy);       // the argument's own nMaxMelodys
CORELINK_API unsigned long GetSupportFmt(xMDY_CAP_INFO& mdy);
CORELINK_API unsigned long GetSupPolyFmt(xMDY_CAP_INFO& mdy);
CORELINK_API unsigned long GetSupSingleFmt(xMDY_CAP_INFO& mdy);
CORELINK_API int IsSupportPoly(xMDY_CAP_INFO& mdy);
CORELINK_API int IsSupportSingle(xMDY_CAP_INFO& mdy);
CORELINK_API unsigned long GetSpecEffCap(xMDY_CAP_INFO& mdy);
CORELINK_API int GetULTrkLimit(xMDY_CAP_INFO& mdy, int formats);
CORELINK_API unsigned long GetULNoteCntLimit(xMDY_CAP_INFO& mdy, int formats);
CORELINK_API unsigned long GetULSizeLimit(xMDY_CAP_INFO& mdy, int formats);
CORELINK_API int GetULStrLenLimit(xMDY_CAP_INFO& mdy, int formats);
CORELINK_API int IsULCapTypeEnable(xMDY_CAP_INFO& mdy, int formats, int types);
CORELINK_API int GetMdyAllSupportFormat(xMDY_CAP_INFO& mdy);
CORELINK_API CString GetMdyExtensionName(xMDY_CAP_INFO& mdy, int formats);
// Copies the format data of the first entry whose format equals `format` (its length
// depends on the format) into out; never more than size bytes. 1 when copied, else 0.
CORELINK_API int GetMdyFileFmtCap(xMDY_CAP_INFO& mdy, int format, void* out, int size);

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(MDY_FORMAT_FLAG, 4);
