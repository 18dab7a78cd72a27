// The tour's download: a connector, a window for its result, progress lines.
#include "sample_download.h"
#include <stdio.h>
#include <vector>
#include <BaseKit.h>
#include <Corelink.h>
#include <host_driver.h>

namespace {

const UINT kDone = WM_APP + 1;
std::vector<unsigned int> g_steps;   // progress, in tenths of the total
int g_result = -1, g_size = 0;

void on_progress(unsigned int total, unsigned int received) {
    unsigned int tenth = total ? static_cast<unsigned int>(10ull * received / total) : 0;
    if (g_steps.empty() || g_steps.back() != tenth) g_steps.push_back(tenth);
}

LRESULT CALLBACK done_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kDone) {
        auto* b = reinterpret_cast<CCommandNetBlk*>(l);
        g_result = b->eResult;
        g_size = b->nResFileSize;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

} // namespace

std::string SampleDownloadReport(const std::string& server, const std::string& path, const std::wstring& file) {
    HWND window = CreateMessageWindow(L"CorelinkTourDownload", done_proc);

    std::string out;
    {
        CNetConnector net;
        net.SetDefTryConnectionServerURL(L"localhost");
        if (!net.Initial()) return "the connector did not start (registered browser version 9?)";
        out = "connector ready; network reachable (probe of localhost): " + std::to_string(net.IsNetConnect(true));
        net.SetDownloadProgressCallBack(on_progress);
        net.HTTP_GET(NET_MSG_GET, window, kDone, server.c_str(), path.c_str(), "", nullptr, 80,
                     reinterpret_cast<const unsigned short*>(file.c_str()));
        for (int i = 0; i < 600 && g_result < 0; ++i) ReleaseCPUTime(50, nullptr, nullptr);
        std::string bar;
        for (unsigned int t : g_steps) bar += std::to_string(t * 10) + "% ";
        out += "|GET http://" + server + path + "|progress: " + bar;
        out += "|result " + std::to_string(g_result) + " (0 = done), " + std::to_string(g_size) + " bytes in " + ToUtf8(file);
    }
    DestroyWindow(window);
    return out;
}

std::string SampleDownloadDialogReport(const std::wstring& url) {
    CWebFileDownloadDlg dialog;
    dialog.m_strURL = url.c_str();
    const INT_PTR result = dialog.DoModal();
    std::string out = "the dialog ended with ";
    out += result == IDOK ? "IDOK (download finished)" : result == IDCANCEL ? "IDCANCEL" : std::to_string(result);
    out += "|product name from the server: \"" + ToUtf8(dialog.m_strProductName.GetString()) + "\"";
    const std::wstring saved = dialog.m_strSavedFile.GetString();
    if (saved.empty()) return out + "|nothing saved";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(saved.c_str(), GetFileExInfoStandard, &data);
    return out + "|saved in the temporary folder: " + ToUtf8(saved) + " (" + std::to_string(data.nFileSizeLow) + " bytes)";
}
