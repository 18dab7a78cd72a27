// The handset capability record and the entry records its lists lead to.
//
// These records are shared, as raw bytes, with separately built processes through the
// library's shared section: every size and offset below is fixed and checked at compile
// time. Integers are little-endian 32-bit, pointers 32-bit, texts UTF-16 units.
#pragma once
#include <stddef.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"

enum ME_CAL_TYPE : int { ME_CAL_TYPE_NONE = 0 };

struct MDY_FORMAT_INFO {
    unsigned long dwFormat;
    unsigned char abData[40];
};

struct MDY_FORMAT_CAP {
    unsigned short szExt[6];
    unsigned long dwSizeLimit;
    int nMaxNameCLen;
    int nMaxNameWLen;
    MDY_FORMAT_INFO* pInfo;
};

struct IMG_CAP_INFO {
    int nType;
    unsigned long dwFunFlags;
    unsigned char abDetail[172];
    unsigned long dwSetLogoFlags;
};

struct xMDY_CAP_INFO {
    int nType;
    unsigned long dwFunFlags;
    MDY_FORMAT_CAP* pFormats;
    int nFormatCount;
    int nMaxMelodys;
    unsigned char abDetail[20];
    unsigned long dwSetTonesFlags;
};

struct VIDEO_QUALITY {
    unsigned char abDetail[24];
};

struct VIDEO_DIMENSION {
    unsigned char abDetail[12];
    VIDEO_QUALITY* pQualities;
    int nQualityCount;
};

struct VIDEO_CAP_INFO {
    int nType;
    unsigned long dwFunFlags;
    unsigned char abDetail[176];
    VIDEO_DIMENSION* pDimensions;
    int nDimensionCount;
};

struct CAL_CAP_INFO {
    ME_CAL_TYPE eType;
    unsigned char abDetail[20];
};

struct MMS_CAP_INFO {
    unsigned long dwMMSFlags;
    unsigned char abDetail[140];
};

// A row of a file-type list; a row named "NULL" (any case) ends the list.
struct FMGR_FILETYPE_CAP {
    unsigned short szName[8];
    unsigned char abDetail[8];
};

struct FMGR_CAP_INFO {
    unsigned char abHead[8];
    FMGR_FILETYPE_CAP* pFileTypes;
    unsigned char abDetail[16];
};

struct PL_CAP_INFO {
    unsigned char abDetail[544];
};

struct FJ_CAP_INFO {
    FMGR_FILETYPE_CAP* pFileTypes;
    PL_CAP_INFO* pPLCap;
    int nPLCount;
};

// The 880-byte capability layout shared by the raw (engine) and cooked (shared) forms.
struct ME_CAPABILITY_FIELDS {
    unsigned long dwHead;
    unsigned short szText1[64];
    unsigned short szText2[64];
    unsigned short szText3[20];
    unsigned short szText4[20];
    unsigned short szText5[48];
    unsigned short szText6[32];
    unsigned long adwValue[21];
    unsigned short szText7[65];
    unsigned short szText8[32];
    unsigned long dwValueA;          // offset 780, after two bytes of padding
    IMG_CAP_INFO* pImgCap;
    int nImgCapCount;
    unsigned long dwValueB;
    xMDY_CAP_INFO* pMdyCap;
    int nMdyCapCount;
    unsigned long adwValueC[5];
    FMGR_CAP_INFO* pFmgrCap;
    // One value per module of the suite: modules 0, 1, 2, 4, 16, 32 and 256, in this order.
    unsigned long adwModuleValue[7];
    MMS_CAP_INFO* pMMSCap;
    CAL_CAP_INFO* pCalCap;
    int nCalCapCount;
    VIDEO_CAP_INFO* pVideoCap;
    int nVideoCapCount;
    FJ_CAP_INFO* pFJCap;
};

// Opaque records of the engine that the capability object stores and copies whole.
struct CONN_CAP_INFO { unsigned long adwValue[2]; };
struct AGENT_INFO { unsigned char abData[1240]; };

// The raw record as the device engine fills it: the pointers lead to its own lists, which
// stay the engine's.
struct RAW_ME_CAPABILITY : ME_CAPABILITY_FIELDS {};

// The cooked record held in the shared block as g_cap.
//
// Assigning a RAW_ME_CAPABILITY copies every list into the library's shared tables and
// nulls the pointers, so that every process reads the same capabilities. The accessors
// read the shared tables; only the four top-level counts come from the object itself, so
// a local copy of g_cap answers like g_cap.
class CORELINK_API ME_CAPABILITY : public ME_CAPABILITY_FIELDS {
public:
    // Does nothing: a process that loads the library later leaves the shared content as it is.
    ME_CAPABILITY() {}
    ME_CAPABILITY(const ME_CAPABILITY& other) = default;
    // Copy all 880 bytes; the shared tables are not touched.
    ME_CAPABILITY& operator=(const ME_CAPABILITY& other);
    // The conversion from the engine's raw record.
    ME_CAPABILITY& operator=(const RAW_ME_CAPABILITY& raw);

    int GetImgCapCount();
    int GetMdyCapCount();
    int GetVideoCapCount();

    // By position (0 to count - 1): the entry's key, the entry copied out when the output
    // is not null; 0 and the output untouched when out of range.
    int GetImgCapByIndex(int index, IMG_CAP_INFO* out);
    int GetMdyCapByIndex(int index, xMDY_CAP_INFO* out);
    int GetVideoCapByIndex(int index, VIDEO_CAP_INFO* out);
    ME_CAL_TYPE GetCalCapByIndex(int index, CAL_CAP_INFO* out);

    // By key (the first entry whose key matches): the entry's index, or -1.
    int GetImgCap(int type, IMG_CAP_INFO* out);        // output cleared first
    int GetVideoCap(int type, VIDEO_CAP_INFO* out);    // output cleared first
    int GetMdyCap(int type, xMDY_CAP_INFO* out);       // output untouched when not found
    int GetCalCap(int type, CAL_CAP_INFO* out);        // output untouched when not found
    int SetImgCap(int type, IMG_CAP_INFO entry);       // overwrites the found entry whole
    int SetMdyCap(int type, xMDY_CAP_INFO entry);
    // 1 when found (and copied / overwritten), else 0.
    int GetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO* out);   // 0 for a null output
    int SetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO entry);

    // The entry's flags AND mask (0 when the type is not found).
    unsigned long IsImgCapFunEnable(int type, unsigned long mask);
    unsigned long IsImgCapSetLogoEnable(int type, unsigned long mask);
    unsigned long IsMdyCapSetTonesEnable(int type, unsigned long mask);
    unsigned long IsMdyCapFunEnable(int type, unsigned long mask);   // 0 also when it has no format
    unsigned long IsVideoCapFunEnable(int type, unsigned long mask);
    // 1 when the entry's flags are all clear, 0 when any is set or the type is not found.
    int IsImgCapSupportLogoFun(int type);
    int IsMdyCapSupportTonesFun(int type);

    // Dimension dim (0-3) / quality (0-2) of the first of the four video slots with the
    // key, whatever the current video count. 1 when copied; 0 otherwise (output cleared).
    int GetVideoDimAttr(int type, int dim, VIDEO_DIMENSION* out);
    int GetVideoQuality(int type, int dim, int quality, VIDEO_QUALITY* out);

    int GetMMSCap(MMS_CAP_INFO* out);        // 1 when the last record had MMS information
    int GetFmgrCap(FMGR_CAP_INFO* out);      // 1 when the last record had a file manager
    int GetFmgrFileAttrCount();
    int GetFmgrFileAttr(int index, FMGR_FILETYPE_CAP* out);
    int GetFJCap(FJ_CAP_INFO* out);
    int GetFJFileTypeCount();
    int GetFJPLCapCount();
    int GetFJFileTypeAttr(int index, FMGR_FILETYPE_CAP* out);
    int GetFJPLCapInfo(int index, PL_CAP_INFO* out);

    // Copies the shared agent record out: 1, or 0 for a null output.
    int GetAgentInfo(AGENT_INFO* out) const;
    void SetAgentInfo(const AGENT_INFO& info);
    CONN_CAP_INFO& GetConnectionCap() const;
};

// True when the last record had MMS information and its flags hold every bit of flags.
CORELINK_API bool TestMMSCapFlag(ME_CAPABILITY& cap, unsigned long flags);

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(ME_CAL_TYPE, 4);
CORELINK_CHECK_SIZE(MDY_FORMAT_INFO, 44);
CORELINK_CHECK_OFFSET(MDY_FORMAT_INFO, dwFormat, 0);
CORELINK_CHECK_OFFSET(MDY_FORMAT_INFO, abData, 4);
CORELINK_CHECK_SIZE(MDY_FORMAT_CAP, 28);
CORELINK_CHECK_OFFSET(MDY_FORMAT_CAP, szExt, 0);
CORELINK_CHECK_OFFSET(MDY_FORMAT_CAP, dwSizeLimit, 12);
CORELINK_CHECK_OFFSET(MDY_FORMAT_CAP, nMaxNameCLen, 16);
CORELINK_CHECK_OFFSET(MDY_FORMAT_CAP, nMaxNameWLen, 20);
CORELINK_CHECK_OFFSET(MDY_FORMAT_CAP, pInfo, 24);
CORELINK_CHECK_SIZE(IMG_CAP_INFO, 184);
CORELINK_CHECK_OFFSET(IMG_CAP_INFO, nType, 0);
CORELINK_CHECK_OFFSET(IMG_CAP_INFO, dwFunFlags, 4);
CORELINK_CHECK_OFFSET(IMG_CAP_INFO, abDetail, 8);
CORELINK_CHECK_OFFSET(IMG_CAP_INFO, dwSetLogoFlags, 180);
CORELINK_CHECK_SIZE(xMDY_CAP_INFO, 44);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, nType, 0);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, dwFunFlags, 4);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, pFormats, 8);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, nFormatCount, 12);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, nMaxMelodys, 16);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, abDetail, 20);
CORELINK_CHECK_OFFSET(xMDY_CAP_INFO, dwSetTonesFlags, 40);
CORELINK_CHECK_SIZE(VIDEO_QUALITY, 24);
CORELINK_CHECK_OFFSET(VIDEO_QUALITY, abDetail, 0);
CORELINK_CHECK_SIZE(VIDEO_DIMENSION, 20);
CORELINK_CHECK_OFFSET(VIDEO_DIMENSION, abDetail, 0);
CORELINK_CHECK_OFFSET(VIDEO_DIMENSION, pQualities, 12);
CORELINK_CHECK_OFFSET(VIDEO_DIMENSION, nQualityCount, 16);
CORELINK_CHECK_SIZE(VIDEO_CAP_INFO, 192);
CORELINK_CHECK_OFFSET(VIDEO_CAP_INFO, nType, 0);
CORELINK_CHECK_OFFSET(VIDEO_CAP_INFO, dwFunFlags, 4);
CORELINK_CHECK_OFFSET(VIDEO_CAP_INFO, abDetail, 8);
CORELINK_CHECK_OFFSET(VIDEO_CAP_INFO, pDimensions, 184);
CORELINK_CHECK_OFFSET(VIDEO_CAP_INFO, nDimensionCount, 188);
CORELINK_CHECK_SIZE(CAL_CAP_INFO, 24);
CORELINK_CHECK_OFFSET(CAL_CAP_INFO, eType, 0);
CORELINK_CHECK_OFFSET(CAL_CAP_INFO, abDetail, 4);
CORELINK_CHECK_SIZE(MMS_CAP_INFO, 144);
CORELINK_CHECK_OFFSET(MMS_CAP_INFO, dwMMSFlags, 0);
CORELINK_CHECK_OFFSET(MMS_CAP_INFO, abDetail, 4);
CORELINK_CHECK_SIZE(FMGR_FILETYPE_CAP, 24);
CORELINK_CHECK_OFFSET(FMGR_FILETYPE_CAP, szName, 0);
CORELINK_CHECK_OFFSET(FMGR_FILETYPE_CAP, abDetail, 16);
CORELINK_CHECK_SIZE(FMGR_CAP_INFO, 28);
CORELINK_CHECK_OFFSET(FMGR_CAP_INFO, abHead, 0);
CORELINK_CHECK_OFFSET(FMGR_CAP_INFO, pFileTypes, 8);
CORELINK_CHECK_OFFSET(FMGR_CAP_INFO, abDetail, 12);
CORELINK_CHECK_SIZE(PL_CAP_INFO, 544);
CORELINK_CHECK_OFFSET(PL_CAP_INFO, abDetail, 0);
CORELINK_CHECK_SIZE(FJ_CAP_INFO, 12);
CORELINK_CHECK_OFFSET(FJ_CAP_INFO, pFileTypes, 0);
CORELINK_CHECK_OFFSET(FJ_CAP_INFO, pPLCap, 4);
CORELINK_CHECK_OFFSET(FJ_CAP_INFO, nPLCount, 8);
CORELINK_CHECK_SIZE(ME_CAPABILITY_FIELDS, 880);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, dwHead, 0);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText1, 4);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText2, 132);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText3, 260);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText4, 300);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText5, 340);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText6, 436);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, adwValue, 500);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText7, 584);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, szText8, 714);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, dwValueA, 780);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pImgCap, 784);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, nImgCapCount, 788);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, dwValueB, 792);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pMdyCap, 796);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, nMdyCapCount, 800);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, adwValueC, 804);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pFmgrCap, 824);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, adwModuleValue, 828);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pMMSCap, 856);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pCalCap, 860);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, nCalCapCount, 864);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pVideoCap, 868);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, nVideoCapCount, 872);
CORELINK_CHECK_OFFSET(ME_CAPABILITY_FIELDS, pFJCap, 876);
CORELINK_CHECK_SIZE(CONN_CAP_INFO, 8);
CORELINK_CHECK_OFFSET(CONN_CAP_INFO, adwValue, 0);
CORELINK_CHECK_SIZE(AGENT_INFO, 1240);
CORELINK_CHECK_OFFSET(AGENT_INFO, abData, 0);
CORELINK_CHECK_SIZE(RAW_ME_CAPABILITY, 880);
CORELINK_CHECK_SIZE(ME_CAPABILITY, 880);
