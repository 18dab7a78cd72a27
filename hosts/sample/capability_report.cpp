// A readable report of what the handset in g_cap supports, for the tour.
#include <stdarg.h>
#include <stdio.h>
#include <string>
#include <Corelink.h>
#include "sample_handset.h"

namespace {

std::string fmt(const char* format, ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    vsnprintf(buf, sizeof(buf), format, args);
    va_end(args);
    return buf;
}

std::string narrow(const wchar_t* s, int n) {
    std::string out;
    for (int i = 0; i < n && s[i]; ++i) out += static_cast<char>(s[i]);
    return out;
}

std::string melody_formats(xMDY_CAP_INFO& m) {
    std::string out;
    for (unsigned long bit = 1; bit; bit <<= 1) {
        if (!(GetSupportFmt(m) & bit)) continue;
        const int f = static_cast<int>(bit);
        CString ext = GetMdyExtensionName(m, f);
        out += fmt("; .%s (format %lu", narrow(ext, ext.GetLength()).c_str(), bit);
        if (GetULNoteCntLimit(m, f)) out += fmt(", %lu notes", GetULNoteCntLimit(m, f));
        if (GetULTrkLimit(m, f) > 0) out += fmt(", %d tracks", GetULTrkLimit(m, f));
        if (GetULSizeLimit(m, f)) out += fmt(", %lu bytes", GetULSizeLimit(m, f));
        out += ")";
    }
    return out;
}

} // namespace

std::string CapabilityReport() {
    ME_CAPABILITY& cap = g_cap;
    std::string out = "image types:";
    for (int i = 0; i < cap.GetImgCapCount(); ++i) {
        int type = cap.GetImgCapByIndex(i, nullptr);
        out += fmt(" %d (logo setting %s)", type, cap.IsImgCapSupportLogoFun(type) ? "yes" : "no");
    }
    for (int i = 0; i < cap.GetMdyCapCount(); ++i) {
        xMDY_CAP_INFO m{};
        cap.GetMdyCapByIndex(i, &m);
        out += fmt("|melody type %d: up to %d melodies, names of %d bytes", m.nType, GetMaxMelodys(m), GetMaxNameCLen(m));
        out += melody_formats(m);
    }
    out += "|video types:";
    for (int i = 0; i < cap.GetVideoCapCount(); ++i) {
        VIDEO_CAP_INFO v{};
        int type = cap.GetVideoCapByIndex(i, &v);
        out += fmt(" %d (%d dimensions)", type, v.nDimensionCount);
    }
    out += "|file manager types:";
    for (int i = 0; i < cap.GetFmgrFileAttrCount(); ++i) {
        FMGR_FILETYPE_CAP row{};
        cap.GetFmgrFileAttr(i, &row);
        out += " " + narrow(reinterpret_cast<const wchar_t*>(row.szName), 8);
    }
    MMS_CAP_INFO mms{};
    out += cap.GetMMSCap(&mms) ? fmt("|MMS: yes, flags 0x%lx", mms.dwMMSFlags) : std::string("|MMS: no");
    return out;
}
