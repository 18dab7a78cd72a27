// The sample handset and the capability summary line.
#include "sample_handset.h"
#include <string.h>
#include <Corelink.h>

namespace {

FMGR_FILETYPE_CAP file_type(const wchar_t* name) {
    FMGR_FILETYPE_CAP row{};
    for (int i = 0; name[i] && i < 7; ++i) row.szName[i] = name[i];
    return row;
}

template <class T>
void put(MDY_FORMAT_INFO& info, size_t offset, T value) {
    memcpy(reinterpret_cast<unsigned char*>(&info) + offset, &value, sizeof(T));
}

MDY_FORMAT_CAP format(const wchar_t* ext, unsigned long sizeLimit) {
    MDY_FORMAT_CAP f{};
    for (int i = 0; ext[i] && i < 6; ++i) f.szExt[i] = ext[i];
    f.dwSizeLimit = sizeLimit;
    f.nMaxNameCLen = 24;
    f.nMaxNameWLen = 12;
    return f;
}

std::string name_of(const FMGR_FILETYPE_CAP& row) {
    std::string out;
    for (int i = 0; i < 8 && row.szName[i]; ++i) out += static_cast<char>(row.szName[i]);
    return out;
}

std::string narrow(const CString& s) {
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i) out += static_cast<char>(s[i]);
    return out;
}

} // namespace

void BuildSampleHandset(SampleHandset& h, int videoCount) {
    RAW_ME_CAPABILITY& raw = h.raw;
    raw = RAW_ME_CAPABILITY{};
    raw.dwHead = 0x51424F58;   // "QBOX"
    const wchar_t model[] = L"SHARP_GX25";
    for (int i = 0; model[i]; ++i) raw.szText1[i] = model[i];

    h.images = {{1, 0x3, {}, 0}, {2, 0x1, {}, 0x4}, {5, 0x0, {}, 0}};
    raw.pImgCap = h.images.data();
    raw.nImgCapCount = static_cast<int>(h.images.size());

    h.formats = {{format(L"mid", 0), format(L"mmf", 100000), format(L"mp3", 300000)}, {format(L"amr", 50000)}};
    h.formatInfos = {{MDY_FORMAT_INFO{1, {}}, MDY_FORMAT_INFO{8, {}}, MDY_FORMAT_INFO{128, {}}}, {MDY_FORMAT_INFO{32768, {}}}};
    put<int>(h.formatInfos[0][0], 12, 500);       // note count limit
    put<short>(h.formatInfos[0][0], 8, 16);       // string length limit of format 1
    put<short>(h.formatInfos[0][1], 8, 4);        // track limit
    put<unsigned long>(h.formatInfos[0][1], 4, 0x3);   // upload capability types
    h.melodies.clear();
    for (size_t i = 0; i < h.formats.size(); ++i) {
        for (size_t j = 0; j < h.formats[i].size(); ++j) h.formats[i][j].pInfo = &h.formatInfos[i][j];
        xMDY_CAP_INFO m{};
        m.nType = static_cast<int>(i + 1);
        m.dwFunFlags = 0x7;
        m.pFormats = h.formats[i].data();
        m.nFormatCount = static_cast<int>(h.formats[i].size());
        m.nMaxMelodys = 20;
        h.melodies.push_back(m);
    }
    raw.pMdyCap = h.melodies.data();
    raw.nMdyCapCount = static_cast<int>(h.melodies.size());

    h.calendars = {{static_cast<ME_CAL_TYPE>(1), {}}, {static_cast<ME_CAL_TYPE>(2), {}}};
    raw.pCalCap = h.calendars.data();
    raw.nCalCapCount = static_cast<int>(h.calendars.size());

    h.videos.assign(videoCount, VIDEO_CAP_INFO{});
    h.dimensions.assign(videoCount, std::vector<VIDEO_DIMENSION>(2));
    h.qualities.assign(videoCount * 2, std::vector<VIDEO_QUALITY>(2));
    for (int v = 0; v < videoCount; ++v) {
        h.videos[v].nType = 10 + v;
        h.videos[v].dwFunFlags = 0x1;
        for (int d = 0; d < 2; ++d) {
            VIDEO_DIMENSION& dim = h.dimensions[v][d];
            dim.abDetail[0] = static_cast<unsigned char>(v * 10 + d);
            dim.pQualities = h.qualities[v * 2 + d].data();
            dim.nQualityCount = 2;
        }
        h.videos[v].pDimensions = h.dimensions[v].data();
        h.videos[v].nDimensionCount = 2;
    }
    raw.pVideoCap = h.videos.data();
    raw.nVideoCapCount = videoCount;

    h.mms.dwMMSFlags = 0x7;
    raw.pMMSCap = &h.mms;

    h.fmgrTypes = {file_type(L"JPG"), file_type(L"MP3"), file_type(L"AMR"), file_type(L"NULL")};
    h.fmgr.pFileTypes = h.fmgrTypes.data();
    raw.pFmgrCap = &h.fmgr;

    h.fjTypes = {file_type(L"GIF"), file_type(L"MID"), file_type(L"null")};
    h.plList.assign(2, PL_CAP_INFO{});
    h.fj.pFileTypes = h.fjTypes.data();
    h.fj.pPLCap = h.plList.data();
    h.fj.nPLCount = 2;
    raw.pFJCap = &h.fj;

    for (int i = 0; i < 7; ++i) raw.adwModuleValue[i] = 100 + i;
    h.agent.abData[0] = 0x5A;
}

std::string CapabilitySummary() {
    ME_CAPABILITY& cap = g_cap;
    std::string s = "img=" + std::to_string(cap.GetImgCapCount()) + "[";
    for (int i = 0; i < cap.GetImgCapCount(); ++i) {
        int type = cap.GetImgCapByIndex(i, nullptr);
        s += (i ? "," : "") + std::to_string(type) + ":logo" + std::to_string(cap.IsImgCapSupportLogoFun(type));
    }
    s += "] mdy=" + std::to_string(cap.GetMdyCapCount()) + "[";
    for (int i = 0; i < cap.GetMdyCapCount(); ++i) {
        xMDY_CAP_INFO m{};
        cap.GetMdyCapByIndex(i, &m);
        s += (i ? "," : "") + std::to_string(m.nType) + ":fmt" + std::to_string(GetSupportFmt(m)) +
             ":ext=" + narrow(GetMdyExtensionName(m, static_cast<int>(GetSupportFmt(m)))) +
             ":size=" + std::to_string(GetULSizeLimit(m, -1)) + ":trk=" + std::to_string(GetULTrkLimit(m, -1)) +
             ":notes=" + std::to_string(GetULNoteCntLimit(m, -1));
    }
    s += "] cal=" + std::to_string(cap.GetCalCapByIndex(0, nullptr)) + " video=" + std::to_string(cap.GetVideoCapCount()) + "[";
    for (int i = 0; i < cap.GetVideoCapCount(); ++i) s += (i ? "," : "") + std::to_string(cap.GetVideoCapByIndex(i, nullptr));
    s += "] dims=[";
    for (int type = 10; type < 14; ++type) {
        VIDEO_DIMENSION d{};
        if (cap.GetVideoDimAttr(type, 1, &d)) s += std::to_string(type) + ":" + std::to_string(d.abDetail[0]) + ";";
    }
    s += "] fmgr=" + std::to_string(cap.GetFmgrFileAttrCount()) + "[";
    for (int i = 0; i < cap.GetFmgrFileAttrCount(); ++i) {
        FMGR_FILETYPE_CAP row{};
        cap.GetFmgrFileAttr(i, &row);
        s += (i ? "," : "") + name_of(row);
    }
    s += "] fj=" + std::to_string(cap.GetFJFileTypeCount()) + "[";
    for (int i = 0; i < cap.GetFJFileTypeCount(); ++i) {
        FMGR_FILETYPE_CAP row{};
        cap.GetFJFileTypeAttr(i, &row);
        s += (i ? "," : "") + name_of(row);
    }
    FJ_CAP_INFO fj{};
    cap.GetFJCap(&fj);
    MMS_CAP_INFO mms{};
    const int hasMms = cap.GetMMSCap(&mms);
    AGENT_INFO agent{};
    cap.GetAgentInfo(&agent);
    s += "] pl=" + std::to_string(cap.GetFJPLCapCount()) + "/" + std::to_string(fj.nPLCount) +
         " mms=" + std::to_string(hasMms) + ":" + std::to_string(mms.dwMMSFlags) +
         " agent=" + std::to_string(agent.abData[0]) + " module6=" + std::to_string(cap.adwModuleValue[6]);
    return s;
}
