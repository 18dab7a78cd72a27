// Values of the shared block that are not exported: the capability tables with their
// counts and presence flags, and the cache stamps. Defined with the exported globals in
// shared_block.cpp so that the block keeps its order.
#pragma once
#include "Capability.h"

enum {
    kImgCapSlots = 10,
    kMdyCapSlots = 10,
    kMdyFormatSlots = 10,        // per melody
    kVideoCapSlots = 4,
    kVideoDimSlots = 4,          // per video
    kVideoQualitySlots = 3,      // per dimension
    kCalCapSlots = 3,
    kFileTypeSlots = 50,
    kFJPLSlots = 1,
};

extern IMG_CAP_INFO g_aryImgCap[kImgCapSlots];
extern xMDY_CAP_INFO g_aryMdyCap[kMdyCapSlots];
extern MDY_FORMAT_CAP g_aryMdyFormat[kMdyCapSlots][kMdyFormatSlots];
extern MDY_FORMAT_INFO g_aryMdyFormatInfo[kMdyCapSlots][kMdyFormatSlots];
extern VIDEO_CAP_INFO g_aryVideoCap[kVideoCapSlots];
extern VIDEO_DIMENSION g_aryVideoDim[kVideoCapSlots][kVideoDimSlots];
extern VIDEO_QUALITY g_aryVideoQuality[kVideoCapSlots][kVideoDimSlots][kVideoQualitySlots];
extern CAL_CAP_INFO g_aryCalCap[kCalCapSlots];
extern MMS_CAP_INFO g_MMSCap;
extern FMGR_CAP_INFO g_FmgrCap;
extern FMGR_FILETYPE_CAP g_aryFmgrFileType[kFileTypeSlots];
extern FJ_CAP_INFO g_FJCap;
extern FMGR_FILETYPE_CAP g_aryFJFileType[kFileTypeSlots];
extern PL_CAP_INFO g_aryFJPLCap[kFJPLSlots];

extern int g_bMMSCap;
extern int g_bFmgrCap;
extern int g_nFmgrFileTypeCount;
extern int g_nFJFileTypeCount;
extern int g_nFJPLCount;

// Tick counts (GetTickCount) of the last clean mark and the last mark of either kind;
// the cache counts as modified while they differ.
extern unsigned long g_dwCacheStamp;
extern unsigned long g_dwCacheModifyStamp;
