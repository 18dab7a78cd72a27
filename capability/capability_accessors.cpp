// ME_CAPABILITY accessors over the shared tables.
#include <string.h>
#include "Capability.h"
#include "SharedState.h"
#include "shared_tables.h"

namespace {

// The index of the first of the first `count` entries whose key is `key`, or -1.
template <class T, class Key>
int find(const T* table, int count, Key key, Key T::*field) {
    for (int i = 0; i < count; ++i)
        if (table[i].*field == key) return i;
    return -1;
}

template <class T>
void copy_out(T* out, const T& entry) {
    if (out) *out = entry;
}

bool in_range(int index, int count) { return index >= 0 && index < count; }

// A count read from a record or the shared block, limited to its table: a record copied
// whole from elsewhere may carry any count, and no accessor reads past its table.
int limit(int count, int bound) { return count < bound ? count : bound; }

int find_img(int count, int type) { return find(g_aryImgCap, limit(count, kImgCapSlots), type, &IMG_CAP_INFO::nType); }
int find_mdy(int count, int type) { return find(g_aryMdyCap, limit(count, kMdyCapSlots), type, &xMDY_CAP_INFO::nType); }
int find_video(int count, int type) { return find(g_aryVideoCap, limit(count, kVideoCapSlots), type, &VIDEO_CAP_INFO::nType); }
int find_cal(int count, ME_CAL_TYPE type) { return find(g_aryCalCap, limit(count, kCalCapSlots), type, &CAL_CAP_INFO::eType); }

} // namespace

int ME_CAPABILITY::GetImgCapCount() { return nImgCapCount; }
int ME_CAPABILITY::GetMdyCapCount() { return nMdyCapCount; }
int ME_CAPABILITY::GetVideoCapCount() { return nVideoCapCount; }

int ME_CAPABILITY::GetImgCapByIndex(int index, IMG_CAP_INFO* out) {
    if (!in_range(index, limit(nImgCapCount, kImgCapSlots))) return 0;
    copy_out(out, g_aryImgCap[index]);
    return g_aryImgCap[index].nType;
}

int ME_CAPABILITY::GetMdyCapByIndex(int index, xMDY_CAP_INFO* out) {
    if (!in_range(index, limit(nMdyCapCount, kMdyCapSlots))) return 0;
    copy_out(out, g_aryMdyCap[index]);
    return g_aryMdyCap[index].nType;
}

int ME_CAPABILITY::GetVideoCapByIndex(int index, VIDEO_CAP_INFO* out) {
    if (!in_range(index, limit(nVideoCapCount, kVideoCapSlots))) return 0;
    copy_out(out, g_aryVideoCap[index]);
    return g_aryVideoCap[index].nType;
}

ME_CAL_TYPE ME_CAPABILITY::GetCalCapByIndex(int index, CAL_CAP_INFO* out) {
    if (!in_range(index, limit(nCalCapCount, kCalCapSlots))) return static_cast<ME_CAL_TYPE>(0);
    copy_out(out, g_aryCalCap[index]);
    return g_aryCalCap[index].eType;
}

int ME_CAPABILITY::GetImgCap(int type, IMG_CAP_INFO* out) {
    if (!out) return -1;
    memset(out, 0, sizeof(*out));
    int i = find_img(nImgCapCount, type);
    if (i >= 0) *out = g_aryImgCap[i];
    return i;
}

int ME_CAPABILITY::GetVideoCap(int type, VIDEO_CAP_INFO* out) {
    if (!out) return -1;
    memset(out, 0, sizeof(*out));
    int i = find_video(nVideoCapCount, type);
    if (i >= 0) *out = g_aryVideoCap[i];
    return i;
}

int ME_CAPABILITY::GetMdyCap(int type, xMDY_CAP_INFO* out) {
    if (!out) return -1;
    int i = find_mdy(nMdyCapCount, type);
    if (i >= 0) *out = g_aryMdyCap[i];
    return i;
}

int ME_CAPABILITY::GetCalCap(int type, CAL_CAP_INFO* out) {
    if (!out) return -1;
    int i = find_cal(nCalCapCount, static_cast<ME_CAL_TYPE>(type));
    if (i >= 0) *out = g_aryCalCap[i];
    return i;
}

int ME_CAPABILITY::SetImgCap(int type, IMG_CAP_INFO entry) {
    int i = find_img(nImgCapCount, type);
    if (i >= 0) g_aryImgCap[i] = entry;
    return i;
}

int ME_CAPABILITY::SetMdyCap(int type, xMDY_CAP_INFO entry) {
    int i = find_mdy(nMdyCapCount, type);
    if (i >= 0) g_aryMdyCap[i] = entry;
    return i;
}

int ME_CAPABILITY::GetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO* out) {
    int i = find_cal(nCalCapCount, type);
    if (i < 0 || !out) return 0;
    *out = g_aryCalCap[i];
    return 1;
}

int ME_CAPABILITY::SetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO entry) {
    int i = find_cal(nCalCapCount, type);
    if (i < 0) return 0;
    g_aryCalCap[i] = entry;
    return 1;
}

unsigned long ME_CAPABILITY::IsImgCapFunEnable(int type, unsigned long mask) {
    int i = find_img(nImgCapCount, type);
    return i < 0 ? 0 : g_aryImgCap[i].dwFunFlags & mask;
}

unsigned long ME_CAPABILITY::IsImgCapSetLogoEnable(int type, unsigned long mask) {
    int i = find_img(nImgCapCount, type);
    return i < 0 ? 0 : g_aryImgCap[i].dwSetLogoFlags & mask;
}

int ME_CAPABILITY::IsImgCapSupportLogoFun(int type) {
    int i = find_img(nImgCapCount, type);
    return i >= 0 && g_aryImgCap[i].dwSetLogoFlags == 0 ? 1 : 0;
}

unsigned long ME_CAPABILITY::IsMdyCapSetTonesEnable(int type, unsigned long mask) {
    int i = find_mdy(nMdyCapCount, type);
    return i < 0 ? 0 : g_aryMdyCap[i].dwSetTonesFlags & mask;
}

int ME_CAPABILITY::IsMdyCapSupportTonesFun(int type) {
    int i = find_mdy(nMdyCapCount, type);
    return i >= 0 && g_aryMdyCap[i].dwSetTonesFlags == 0 ? 1 : 0;
}

unsigned long ME_CAPABILITY::IsMdyCapFunEnable(int type, unsigned long mask) {
    int i = find_mdy(nMdyCapCount, type);
    if (i < 0 || g_aryMdyCap[i].nFormatCount < 1) return 0;
    return g_aryMdyCap[i].dwFunFlags & mask;
}

unsigned long ME_CAPABILITY::IsVideoCapFunEnable(int type, unsigned long mask) {
    int i = find_video(nVideoCapCount, type);
    return i < 0 ? 0 : g_aryVideoCap[i].dwFunFlags & mask;
}

int ME_CAPABILITY::GetVideoDimAttr(int type, int dim, VIDEO_DIMENSION* out) {
    if (!out || !in_range(dim, kVideoDimSlots)) return 0;
    memset(out, 0, sizeof(*out));
    // All slots: one left by an earlier, longer list is still found.
    int i = find_video(kVideoCapSlots, type);
    if (i < 0) return 0;
    *out = g_aryVideoDim[i][dim];
    return 1;
}

int ME_CAPABILITY::GetVideoQuality(int type, int dim, int quality, VIDEO_QUALITY* out) {
    if (!out || !in_range(dim, kVideoDimSlots) || !in_range(quality, kVideoQualitySlots)) return 0;
    memset(out, 0, sizeof(*out));
    int i = find_video(kVideoCapSlots, type);
    if (i < 0) return 0;
    *out = g_aryVideoQuality[i][dim][quality];
    return 1;
}

int ME_CAPABILITY::GetMMSCap(MMS_CAP_INFO* out) {
    if (!out || !g_bMMSCap) return 0;
    *out = g_MMSCap;
    return 1;
}

bool TestMMSCapFlag(ME_CAPABILITY& /*cap*/, unsigned long flags) {
    return g_bMMSCap && (g_MMSCap.dwMMSFlags & flags) == flags;
}

int ME_CAPABILITY::GetFmgrCap(FMGR_CAP_INFO* out) {
    if (!out || !g_bFmgrCap) return 0;
    *out = g_FmgrCap;
    return 1;
}

int ME_CAPABILITY::GetFmgrFileAttrCount() { return g_nFmgrFileTypeCount; }

int ME_CAPABILITY::GetFmgrFileAttr(int index, FMGR_FILETYPE_CAP* out) {
    if (!out || !in_range(index, limit(g_nFmgrFileTypeCount, kFileTypeSlots))) return 0;
    memset(out, 0, sizeof(*out));
    *out = g_aryFmgrFileType[index];
    return 1;
}

int ME_CAPABILITY::GetFJCap(FJ_CAP_INFO* out) {
    if (!out) return 0;
    *out = g_FJCap;
    return 1;
}

int ME_CAPABILITY::GetFJFileTypeCount() { return g_nFJFileTypeCount; }
int ME_CAPABILITY::GetFJPLCapCount() { return g_nFJPLCount; }

int ME_CAPABILITY::GetFJFileTypeAttr(int index, FMGR_FILETYPE_CAP* out) {
    if (!out || !in_range(index, limit(g_nFJFileTypeCount, kFileTypeSlots))) return 0;
    memset(out, 0, sizeof(*out));
    *out = g_aryFJFileType[index];
    return 1;
}

int ME_CAPABILITY::GetFJPLCapInfo(int index, PL_CAP_INFO* out) {
    if (!out || !in_range(index, limit(g_nFJPLCount, kFJPLSlots))) return 0;
    *out = g_aryFJPLCap[index];
    return 1;
}

int ME_CAPABILITY::GetAgentInfo(AGENT_INFO* out) const {
    if (!out) return 0;
    *out = g_AgentInfo;
    return 1;
}

void ME_CAPABILITY::SetAgentInfo(const AGENT_INFO& info) { g_AgentInfo = info; }

CONN_CAP_INFO& ME_CAPABILITY::GetConnectionCap() const { return g_EngineConnCap; }
