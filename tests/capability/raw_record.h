// Builders of raw capability records for the tests: each list lives in the builder.
#pragma once
#include <string.h>
#include <vector>
#include <Corelink.h>

inline FMGR_FILETYPE_CAP Row(const wchar_t* name) {
    FMGR_FILETYPE_CAP row{};
    for (int i = 0; name[i] && i < 7; ++i) row.szName[i] = name[i];
    return row;
}

inline std::wstring RowName(const FMGR_FILETYPE_CAP& row) {
    std::wstring out;
    for (int i = 0; i < 8 && row.szName[i]; ++i) out += static_cast<wchar_t>(row.szName[i]);
    return out;
}

inline IMG_CAP_INFO Img(int type, unsigned long fun = 0, unsigned long logo = 0) {
    IMG_CAP_INFO e{};
    e.nType = type;
    e.dwFunFlags = fun;
    e.dwSetLogoFlags = logo;
    return e;
}

// One melody type with the given formats, each with its own format record.
struct MelodyList {
    std::vector<MDY_FORMAT_CAP> caps;
    std::vector<MDY_FORMAT_INFO> infos;
    xMDY_CAP_INFO melody{};

    MelodyList(int type, std::vector<unsigned long> formats) : caps(formats.size()), infos(formats.size()) {
        for (size_t i = 0; i < formats.size(); ++i) {
            infos[i].dwFormat = formats[i];
            caps[i].pInfo = &infos[i];
        }
        melody.nType = type;
        melody.pFormats = caps.data();
        melody.nFormatCount = static_cast<int>(formats.size());
    }
    template <class T>
    void Put(size_t entry, size_t offset, T value) {
        memcpy(reinterpret_cast<unsigned char*>(&infos[entry]) + offset, &value, sizeof(T));
    }
};
