// A download through a connector, for the tour.
#pragma once
#include <string>

// Downloads http://server/path into file through a CNetConnector (probe host
// "localhost"), with progress, and reports as lines separated by '|'.
std::string SampleDownloadReport(const std::string& server, const std::string& path, const std::wstring& file);

// Downloads url with the download dialog (CWebFileDownloadDlg), which runs without anyone at
// the keyboard and closes itself, and reports its result and the saved file as lines
// separated by '|'.
std::string SampleDownloadDialogReport(const std::wstring& url);
