// ME_CAPABILITY accessors over the shared tables.
//
// Every table is read through the same few forms: search by key, take by index, flags of
// a found entry, a row of a counted list. Counts come from the record or the shared block
// and are limited to their table: a record copied whole from elsewhere may carry any
// count, and no accessor reads past a table.
#include <string.h>
#include "Capability.h"
#include "SharedState.h"
#include "shared_tables.h"

namespace {

int limit(int count, int bound) { return count < bound ? count : bound; }
bool in_range(int index, int count) { return index >= 0 && index < count; }

// The first of the first `count` entries of table whose key is `key`, or null.
template <class T, size_t N, class Key>
T* find(T (&table)[N], int count, Key T::*field, Key key) {
    for (int i = 0; i < limit(count, static_cast<int>(N)); ++i)
        if (table[i].*field == key) return &table[i];
    return nullptr;
}

IMG_CAP_INFO* find_img(int count, int type) { return find(g_aryImgCap, count, &IMG_CAP_INFO::nType, type); }
xMDY_CAP_INFO* find_mdy(int count, int type) { return find(g_aryMdyCap, count, &xMDY_CAP_INFO::nType, type); }
VIDEO_CAP_INFO* find_video(int count, int type) { return find(g_aryVideoCap, count, &VIDEO_CAP_INFO::nType, type); }
CAL_CAP_INFO* find_cal(int count, ME_CAL_TYPE type) { return find(g_aryCalCap, count, &CAL_CAP_INFO::eType, type); }

template <class T, size_t N>
int index_of(const T (&table)[N], const T* entry) { return entry ? static_cast<int>(entry - table) : -1; }

// By key: the entry's index, or -1; a null output gives -1 at once. `clear`: the output is
// zeroed before the search, else it is left as it was when nothing is found.
template <class T, size_t N>
int get_by_key(const T (&table)[N], const T* entry, T* out, bool clear) {
    if (!out) return -1;
    if (clear) memset(out, 0, sizeof(*out));
    if (entry) *out = *entry;
    return index_of(table, entry);
}

// By key, overwriting the found entry whole: its index, or -1.
template <class T, size_t N>
int set_by_key(const T (&table)[N], T* entry, const T& value) {
    if (entry) *entry = value;
    return index_of(table, entry);
}

// By position: the entry's key (copied out when out is not null), or a zero key with the
// output untouched when out of range.
template <class T, size_t N, class Key>
Key by_index(const T (&table)[N], int count, int index, T* out, Key T::*key) {
    if (!in_range(index, limit(count, static_cast<int>(N)))) return Key();
    if (out) *out = table[index];
    return table[index].*key;
}

// A found entry's flags AND mask; 0 when not found.
template <class T>
unsigned long masked(const T* entry, unsigned long T::*flags, unsigned long mask) {
    return entry ? entry->*flags & mask : 0;
}

// 1 when the found entry's flags are all clear; 0 when any is set or it is not found.
template <class T>
int all_clear(const T* entry, unsigned long T::*flags) {
    return entry && entry->*flags == 0 ? 1 : 0;
}

// Row `index` of a counted list: 1 with the row copied, 0 for a null output or an index
// out of range.
template <class T, size_t N>
int row(const T (&table)[N], int count, int index, T* out) {
    if (!out || !in_range(index, limit(count, static_cast<int>(N)))) return 0;
    *out = table[index];
    return 1;
}

// A single record behind a presence flag: 1 with the record copied, else 0.
template <class T>
int present(const T& record, int flag, T* out) {
    if (!out || !flag) return 0;
    *out = record;
    return 1;
}

} // namespace

int ME_CAPABILITY::GetImgCapCount() { return nImgCapCount; }
int ME_CAPABILITY::GetMdyCapCount() { return nMdyCapCount; }
int ME_CAPABILITY::GetVideoCapCount() { return nVideoCapCount; }

int ME_CAPABILITY::GetImgCapByIndex(int index, IMG_CAP_INFO* out) {
    return by_index(g_aryImgCap, nImgCapCount, index, out, &IMG_CAP_INFO::nType);
}
int ME_CAPABILITY::GetMdyCapByIndex(int index, xMDY_CAP_INFO* out) {
    return by_index(g_aryMdyCap, nMdyCapCount, index, out, &xMDY_CAP_INFO::nType);
}
int ME_CAPABILITY::GetVideoCapByIndex(int index, VIDEO_CAP_INFO* out) {
    return by_index(g_aryVideoCap, nVideoCapCount, index, out, &VIDEO_CAP_INFO::nType);
}
ME_CAL_TYPE ME_CAPABILITY::GetCalCapByIndex(int index, CAL_CAP_INFO* out) {
    return by_index(g_aryCalCap, nCalCapCount, index, out, &CAL_CAP_INFO::eType);
}

int ME_CAPABILITY::GetImgCap(int type, IMG_CAP_INFO* out) {
    return get_by_key(g_aryImgCap, find_img(nImgCapCount, type), out, true);
}
int ME_CAPABILITY::GetVideoCap(int type, VIDEO_CAP_INFO* out) {
    return get_by_key(g_aryVideoCap, find_video(nVideoCapCount, type), out, true);
}
int ME_CAPABILITY::GetMdyCap(int type, xMDY_CAP_INFO* out) {
    return get_by_key(g_aryMdyCap, find_mdy(nMdyCapCount, type), out, false);
}
int ME_CAPABILITY::GetCalCap(int type, CAL_CAP_INFO* out) {
    return get_by_key(g_aryCalCap, find_cal(nCalCapCount, static_cast<ME_CAL_TYPE>(type)), out, false);
}

int ME_CAPABILITY::SetImgCap(int type, IMG_CAP_INFO entry) {
    return set_by_key(g_aryImgCap, find_img(nImgCapCount, type), entry);
}
int ME_CAPABILITY::SetMdyCap(int type, xMDY_CAP_INFO entry) {
    return set_by_key(g_aryMdyCap, find_mdy(nMdyCapCount, type), entry);
}

int ME_CAPABILITY::GetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO* out) {
    return out && get_by_key(g_aryCalCap, find_cal(nCalCapCount, type), out, false) >= 0 ? 1 : 0;
}
int ME_CAPABILITY::SetCalCapByType(ME_CAL_TYPE type, CAL_CAP_INFO entry) {
    return set_by_key(g_aryCalCap, find_cal(nCalCapCount, type), entry) >= 0 ? 1 : 0;
}

unsigned long ME_CAPABILITY::IsImgCapFunEnable(int type, unsigned long mask) {
    return masked(find_img(nImgCapCount, type), &IMG_CAP_INFO::dwFunFlags, mask);
}
unsigned long ME_CAPABILITY::IsImgCapSetLogoEnable(int type, unsigned long mask) {
    return masked(find_img(nImgCapCount, type), &IMG_CAP_INFO::dwSetLogoFlags, mask);
}
int ME_CAPABILITY::IsImgCapSupportLogoFun(int type) {
    return all_clear(find_img(nImgCapCount, type), &IMG_CAP_INFO::dwSetLogoFlags);
}
unsigned long ME_CAPABILITY::IsMdyCapSetTonesEnable(int type, unsigned long mask) {
    return masked(find_mdy(nMdyCapCount, type), &xMDY_CAP_INFO::dwSetTonesFlags, mask);
}
int ME_CAPABILITY::IsMdyCapSupportTonesFun(int type) {
    return all_clear(find_mdy(nMdyCapCount, type), &xMDY_CAP_INFO::dwSetTonesFlags);
}
unsigned long ME_CAPABILITY::IsMdyCapFunEnable(int type, unsigned long mask) {
    const xMDY_CAP_INFO* melody = find_mdy(nMdyCapCount, type);
    return melody && melody->nFormatCount >= 1 ? masked(melody, &xMDY_CAP_INFO::dwFunFlags, mask) : 0;
}
unsigned long ME_CAPABILITY::IsVideoCapFunEnable(int type, unsigned long mask) {
    return masked(find_video(nVideoCapCount, type), &VIDEO_CAP_INFO::dwFunFlags, mask);
}

// The video searches below look at all slots: one left by an earlier, longer list is
// still found.
int ME_CAPABILITY::GetVideoDimAttr(int type, int dim, VIDEO_DIMENSION* out) {
    if (!out || !in_range(dim, kVideoDimSlots)) return 0;
    memset(out, 0, sizeof(*out));
    const int i = index_of(g_aryVideoCap, find_video(kVideoCapSlots, type));
    if (i < 0) return 0;
    *out = g_aryVideoDim[i][dim];
    return 1;
}

int ME_CAPABILITY::GetVideoQuality(int type, int dim, int quality, VIDEO_QUALITY* out) {
    if (!out || !in_range(dim, kVideoDimSlots) || !in_range(quality, kVideoQualitySlots)) return 0;
    memset(out, 0, sizeof(*out));
    const int i = index_of(g_aryVideoCap, find_video(kVideoCapSlots, type));
    if (i < 0) return 0;
    *out = g_aryVideoQuality[i][dim][quality];
    return 1;
}

int ME_CAPABILITY::GetMMSCap(MMS_CAP_INFO* out) { return present(g_MMSCap, g_bMMSCap, out); }

bool TestMMSCapFlag(ME_CAPABILITY& /*cap*/, unsigned long flags) {
    return g_bMMSCap && (g_MMSCap.dwMMSFlags & flags) == flags;
}

int ME_CAPABILITY::GetFmgrCap(FMGR_CAP_INFO* out) { return present(g_FmgrCap, g_bFmgrCap, out); }
int ME_CAPABILITY::GetFJCap(FJ_CAP_INFO* out) { return present(g_FJCap, 1, out); }   // no presence flag

int ME_CAPABILITY::GetFmgrFileAttrCount() { return g_nFmgrFileTypeCount; }
int ME_CAPABILITY::GetFJFileTypeCount() { return g_nFJFileTypeCount; }
int ME_CAPABILITY::GetFJPLCapCount() { return g_nFJPLCount; }

int ME_CAPABILITY::GetFmgrFileAttr(int index, FMGR_FILETYPE_CAP* out) {
    return row(g_aryFmgrFileType, g_nFmgrFileTypeCount, index, out);
}
int ME_CAPABILITY::GetFJFileTypeAttr(int index, FMGR_FILETYPE_CAP* out) {
    return row(g_aryFJFileType, g_nFJFileTypeCount, index, out);
}
int ME_CAPABILITY::GetFJPLCapInfo(int index, PL_CAP_INFO* out) { return row(g_aryFJPLCap, g_nFJPLCount, index, out); }

int ME_CAPABILITY::GetAgentInfo(AGENT_INFO* out) const { return present(g_AgentInfo, 1, out); }
void ME_CAPABILITY::SetAgentInfo(const AGENT_INFO& info) { g_AgentInfo = info; }

CONN_CAP_INFO& ME_CAPABILITY::GetConnectionCap() const { return g_EngineConnCap; }
